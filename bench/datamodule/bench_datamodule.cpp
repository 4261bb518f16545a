// Times the data module on a demo database of 20,000 projects and about 200,000 tasks:
//  1. connecting and opening every dataset as start-up does;
//  2. one current-task summary of a project (ProjektStandAktualisieren) plus the requery of the
//     task summary, as after each post and on each tick of the public view's timer.
// Each is measured beside the sqlite3 shell running the same statements on the same file, in
// alternating rounds, so that the ratio holds on a busy machine.
//   bench_datamodule [--projekte N] [--runden R]
// Exit code 1 when a limit is missed: opening > 1 s or > 3x the shell, summary > 1.5x the shell.

#include "BenchDaten.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace {

QString sqlWert(const QVariant& wert)
{
    if (wert.isNull())
        return QStringLiteral("NULL");
    if (wert.typeId() == QMetaType::QDate)
        return QLatin1Char('\'') + wert.toDate().toString(Qt::ISODate) + QLatin1Char('\'');
    return wert.toString();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    const int projekte = umfang.projekte;
    const int runden = umfang.runden;
    IniRecord.AnzahlStatus = 5;
    try {
        QElapsedTimer uhr;
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbankGemeldet(ordner.path(), projekte, aus);

        // --- 1. Opening every dataset ---
        int ersteId = 0;
        QList<double> eigene, shell;
        for (int r = 0; r < runden; ++r) {
            {
                TDataModule1 dm;
                dm.DBProjekt->setDatabaseName(datei);
                uhr.restart();
                dm.DBProjekt->Open();
                dm.DatenmengenOeffnen();
                eigene << uhr.nsecsElapsed() / 1e6;
                ersteId = dm.TabProjekt->FieldByName(QStringLiteral("ID"))->AsInteger();
                if (r == 0) {
                    TKADaoTable zaehlen;
                    zaehlen.setDatabase(dm.DBProjekt);
                    zaehlen.setSQL(QStringLiteral("select count(*) as Anzahl from ProjektAufgaben"));
                    zaehlen.Open();
                    aus << QStringLiteral("  Aufgaben insgesamt: %1\n")
                               .arg(zaehlen.FieldByName(QStringLiteral("Anzahl"))->AsInteger());
                    for (TKADaoTable* t : dm.Oeffnungsreihenfolge())
                        aus << QStringLiteral("  %1: %2 Zeilen\n").arg(t->objectName()).arg(t->RecordCount());
                }
            }
            const QString id = QString::number(ersteId);
            shell << BenchDaten::shellZeit(
                datei, {QStringLiteral("select * from Aufgaben"), QStringLiteral("select * from Personal"),
                        QStringLiteral("select * from Status"), QStringLiteral("select * from ProjektAufgabenSumme"),
                        QStringLiteral("select * from Projekt"), QStringLiteral("select * from projekt order by Last_datum"),
                        QStringLiteral("select * from ProjektAufgaben where Projekt_ID = ") + id,
                        QStringLiteral("select * from Aufgaben_Aktuell where Projekt_ID = ") + id
                            + QStringLiteral(" order by prioritaet")});
        }
        const double oeffnen = BenchDaten::median(eigene);
        const double oeffnenShell = BenchDaten::median(shell);
        aus << QStringLiteral("Alle Datenmengen öffnen: %1 ms (Median von %2), sqlite3-Shell: %3 ms, Verhältnis %4\n")
                   .arg(oeffnen, 0, 'f', 1)
                   .arg(runden)
                   .arg(oeffnenShell, 0, 'f', 1)
                   .arg(oeffnen / oeffnenShell, 0, 'f', 2);

        // --- 2. Current-task summary and requery of the task summary ---
        TDataModule1 dm;
        dm.DBProjekt->setDatabaseName(datei);
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
        // A project with an unfinished task, so that the summary is written.
        while (dm.QProjektAufgaben->IsEmpty() && !dm.TabProjekt->Eof())
            dm.TabProjekt->Next();
        const QString id = dm.TabProjekt->FieldByName(QStringLiteral("ID"))->AsString();
        // Outside the timing: empty the summary so that each round really writes it.
        const QString zuruecksetzen = QStringLiteral("UPDATE Projekt SET Last_Aufgabe = NULL, Last_Datum = NULL, "
                                                     "Last_Personal = NULL, Last_Rang = NULL WHERE ID = ") + id;
        eigene.clear();
        shell.clear();
        QString update;
        for (int r = 0; r < runden; ++r) {
            dm.DBProjekt->Execute(zuruecksetzen);
            uhr.restart();
            dm.ProjektStandAktualisieren();
            dm.TabStatSum->Requery();
            // What the grid then shows of the project.
            const QVariant status = dm.TabProjekt->FieldByName(QStringLiteral("Status"))->Value();
            eigene << uhr.nsecsElapsed() / 1e6;
            Q_UNUSED(status);

            auto feld = [&](const char* name) { return sqlWert(dm.TabProjekt->FieldByName(QLatin1String(name))->Value()); };
            update = QStringLiteral("UPDATE Projekt SET Last_Aufgabe = %1, Last_Datum = %2, Last_Personal = %3, "
                                    "Last_Rang = %4 WHERE ID = %5")
                         .arg(feld("Last_Aufgabe"), feld("Last_Datum"), feld("Last_Personal"), feld("Last_Rang"), id);
            dm.DBProjekt->Execute(zuruecksetzen);
            shell << BenchDaten::shellZeit(
                datei, {QStringLiteral("select * from Aufgaben_Aktuell where Projekt_ID = ") + id
                            + QStringLiteral(" order by prioritaet"),
                        update, QStringLiteral("select * from ProjektAufgabenSumme")});
        }
        const double stand = BenchDaten::median(eigene);
        const double standShell = BenchDaten::median(shell);
        aus << QStringLiteral("ProjektStandAktualisieren + Requery TabStatSum: %1 ms (Median von %2), "
                              "sqlite3-Shell: %3 ms, Verhältnis %4\n")
                   .arg(stand, 0, 'f', 1)
                   .arg(runden)
                   .arg(standShell, 0, 'f', 1)
                   .arg(stand / standShell, 0, 'f', 2);

        aus << QStringLiteral("(Start der sqlite3-Shell allein, \"select 1\": %1 ms)\n")
                   .arg(BenchDaten::shellZeit(datei, {QStringLiteral("select 1")}, runden), 0, 'f', 1);

        const bool ok = oeffnen <= 1000 && (oeffnenShell <= 0 || oeffnen <= 3 * oeffnenShell)
            && (standShell <= 0 || stand <= 1.5 * standShell);
        aus << (ok ? "Grenzen eingehalten\n" : "GRENZE ÜBERSCHRITTEN\n");
        return ok ? 0 : 1;
    } catch (const Fehler& f) {
        aus << "Fehler: " << f.text() << '\n';
        return 1;
    }
}
