// A second office PC for the tests: the program's data module in a process of its own, on the
// database named by the first argument, driven line by line through stdin. Each command answers
// one line on stdout: "ok", "fehler: <Text>" (the message the user would read), or a value.
//   bearbeiten <Kommnr> <Feld> <Wert>   the project into Edit, one field typed
//   speichern                           Post of the project
//   aufgabeLoeschen <Aufgabe_ID>        the current project's task deleted
//   abgleichen                          one tick of the wall list: Unveraendert|Einzeln|Ganz
//   wand <Kommnr> <Feld>                a value of the wall list
// Questions are answered "Nein"; their texts follow "fehler: " when a command asked one.

#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString ausfuehren(TDataModule1& dm, const QStringList& teile, MeldungsRecorder& meldungen)
{
    const QString befehl = teile.value(0);
    if (befehl == QLatin1String("bearbeiten")) {
        if (!dm.TabProjekt->Locate(QStringLiteral("Kommnr"), teile.value(1)))
            return QStringLiteral("fehler: kein Projekt %1").arg(teile.value(1));
        dm.TabProjekt->Edit();
        dm.TabProjekt->FieldByName(teile.value(2))->setAsString(teile.mid(3).join(QLatin1Char(' ')));
        return QStringLiteral("ok");
    }
    if (befehl == QLatin1String("speichern")) {
        dm.TabProjekt->Post();
        return QStringLiteral("ok");
    }
    if (befehl == QLatin1String("aufgabeLoeschen")) {
        if (!dm.TabProjektAufgaben->Locate(QStringLiteral("Aufgabe_ID"), teile.value(1).toInt()))
            return QStringLiteral("fehler: keine Aufgabe %1").arg(teile.value(1));
        dm.TabProjektAufgaben->Delete();
        return QStringLiteral("ok");
    }
    if (befehl == QLatin1String("abgleichen")) {
        switch (dm.ProjektListeAbgleichen()) {
        case TDataModule1::TListenAbgleich::Unveraendert: return QStringLiteral("Unveraendert");
        case TDataModule1::TListenAbgleich::Einzeln: return QStringLiteral("Einzeln");
        case TDataModule1::TListenAbgleich::Ganz: return QStringLiteral("Ganz");
        }
    }
    if (befehl == QLatin1String("wand")) {
        TKADaoTable* wand = dm.TabProjektView;
        const int kommnr = wand->FieldByName(QStringLiteral("Kommnr"))->Index();
        const int feld = wand->FieldByName(teile.value(2))->Index();
        for (int i = 0; i < wand->RowCount(); ++i)
            if (wand->RowValue(i, kommnr).toString() == teile.value(1))
                return wand->RowValue(i, feld).toString();
        return QStringLiteral("fehler: %1 nicht in der Liste").arg(teile.value(1));
    }
    Q_UNUSED(meldungen);
    return QStringLiteral("fehler: unbekannter Befehl %1").arg(befehl);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    IniRecord.AnzahlStatus = 5;
    MeldungsRecorder meldungen;
    meldungen.antwort = false;
    meldungen.dreifachAntwort = Meldung::Antwort::Nein;
    QTextStream ein(stdin);
    QTextStream aus(stdout);
    try {
        TDataModule1 dm;
        dm.DBProjekt->setDatabaseName(app.arguments().value(1));
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
        dm.ProjektListeNeuLesen();
        aus << "bereit" << Qt::endl;
        for (QString zeile = ein.readLine(); !zeile.isNull() && zeile != QLatin1String("ende"); zeile = ein.readLine()) {
            meldungen.fragen.clear();
            QString antwort;
            try {
                antwort = ausfuehren(dm, zeile.split(QLatin1Char(' ')), meldungen);
            } catch (const Fehler& f) {
                antwort = QStringLiteral("fehler: ") + f.text();
            }
            for (const auto& [titel, frage] : std::as_const(meldungen.fragen))
                antwort += QStringLiteral(" | frage: ") + frage;
            aus << antwort.replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        }
    } catch (const Fehler& f) {
        aus << "fehler: " << f.text() << Qt::endl;
        return 1;
    }
    return 0;
}
