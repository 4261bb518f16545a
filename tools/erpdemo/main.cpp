// erpdemo: writes the demo ERP project file.
//   erpdemo <Datei>              about sixty German trade projects
//   erpdemo --anzahl N <Datei>   N synthetic projects (load tests)

#include "ErpDemoDaten.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList argumente = app.arguments().mid(1);
    int anzahl = -1;
    if (argumente.size() == 3 && argumente[0] == QLatin1String("--anzahl"))
        anzahl = argumente.takeAt(1).toInt(), argumente.removeFirst();
    QTextStream fehlerausgabe(stderr);
    if (argumente.size() != 1) {
        fehlerausgabe << "Aufruf: erpdemo [--anzahl N] <Datei>\n";
        return 2;
    }
    QString fehler;
    bool gut = false;
    try {
    if (anzahl < 0) {
        gut = erpdemo::erpDateiSchreiben(argumente[0], erpdemo::demoProjekte(), fehler);
    } else {
        btrieveschreiber::Schreiber s = erpdemo::erpSchreiber();
        for (int i = 0; i < anzahl; ++i)
            s.satz(erpdemo::massenProjekt(i));
        std::string grund;
        gut = s.schreiben(QFile::encodeName(argumente[0]).toStdString(), grund);
        fehler = QString::fromStdString(grund);
    }
    } catch (const std::exception& e) {
        fehler = QString::fromStdString(e.what());
    }
    if (!gut) {
        fehlerausgabe << "ERP-Datei nicht geschrieben: " << fehler << "\n";
        return 1;
    }
    return 0;
}
