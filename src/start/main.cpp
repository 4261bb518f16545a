#include "MeldungsBoxen.h"
#include "ProjektApplication.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    TProjektApplication app(argc, argv);
    MeldungsBoxen meldungsBoxen;
    Meldung::setzeEmpfaenger(&meldungsBoxen);

    QMainWindow hauptfenster;
    hauptfenster.setWindowTitle(QStringLiteral("Projektverwaltung"));
    hauptfenster.resize(1113, 750);
    hauptfenster.show();
    return app.exec();
}
