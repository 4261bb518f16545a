// Opens the datasets of the program's start-up on a large demo database and reports the time
// each one takes, beside the time the sqlite3 shell needs for the same statements.
//   bench_datenmengen [--projekte N] [datei]
// Without a file, a demo database with N projects (default 20000) is created in a temporary
// folder by the database tool's code.

#include "BenchDaten.h"
#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    QStringList argumente = app.arguments().mid(1);
    int projekte = 20000;
    if (argumente.size() >= 2 && argumente[0] == QLatin1String("--projekte")) {
        projekte = argumente[1].toInt();
        argumente = argumente.mid(2);
    }
    QTemporaryDir ordner;
    QString datei = argumente.value(0);
    try {
        if (datei.isEmpty()) {
            datei = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
            QElapsedTimer uhr;
            uhr.start();
            DatenbankWerkzeug::anlegen(datei);
            DatenbankWerkzeug::demoDatenEinfuegen(datei, projekte);
            aus << "Demo-Datenbank mit " << projekte << " Projekten angelegt: " << uhr.elapsed() << " ms\n";
        }

        TKADaoDatabase db;
        db.setDatabaseName(datei);
        QElapsedTimer gesamt;
        gesamt.start();
        db.Open();

        TKADaoTable tabAufgaben, tabPersonal, tabStatus, tabStatSum, tabProjekt, tabProjektView, tabProjektAufgaben,
            qProjektAufgaben;
        TDataSource dsProjekt;
        dsProjekt.setDataSet(&tabProjekt);
        for (TKADaoTable* t : {&tabAufgaben, &tabPersonal, &tabStatus, &tabStatSum, &tabProjekt, &tabProjektView,
                               &tabProjektAufgaben, &qProjektAufgaben})
            t->setDatabase(&db);
        tabAufgaben.setTableName(QStringLiteral("Aufgaben"));
        tabPersonal.setTableName(QStringLiteral("Personal"));
        tabStatus.setTableName(QStringLiteral("Status"));
        tabStatSum.setSQL(QStringLiteral("select * from ProjektAufgabenSumme"));
        tabStatSum.setReadOnly(true);
        tabProjekt.setTableName(QStringLiteral("Projekt"));
        tabProjektView.setSQL(QStringLiteral("select * from projekt order by Last_datum"));
        tabProjektAufgaben.setTableName(QStringLiteral("ProjektAufgaben"));
        tabProjektAufgaben.setMasterSource(&dsProjekt);
        tabProjektAufgaben.setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        qProjektAufgaben.setSQL(QStringLiteral("select * from Aufgaben_Aktuell order by prioritaet "));
        qProjektAufgaben.setMasterSource(&dsProjekt);
        qProjektAufgaben.setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        auto status = [](TKADaoTable* t) {
            const QVariant anz = t->FieldByName(QStringLiteral("AnzAufg"))->Value();
            const QVariant sum = t->FieldByName(QStringLiteral("SumRang"))->Value();
            t->FieldByName(QStringLiteral("Status"))
                ->setValue(anz.isNull() || sum.isNull() ? QVariant() : QVariant(sum.toDouble() / (4.0 * anz.toInt()) * 100.0));
        };
        for (TKADaoTable* t : {&tabProjekt, &tabProjektView}) {
            t->AddLookupField(QStringLiteral("AnzAufg"), TFieldType::ftInteger, QStringLiteral("ID"), &tabStatSum,
                              QStringLiteral("Projekt_ID"), QStringLiteral("AnzahlAufgaben"));
            t->AddLookupField(QStringLiteral("SumRang"), TFieldType::ftFloat, QStringLiteral("ID"), &tabStatSum,
                              QStringLiteral("Projekt_ID"), QStringLiteral("SummeRang"));
            t->AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
            t->OnCalcFields = status;
        }
        tabProjektAufgaben.AddLookupField(QStringLiteral("Rang"), TFieldType::ftInteger, QStringLiteral("Status_ID"),
                                          &tabStatus, QStringLiteral("ID"), QStringLiteral("Stat_Rang"));

        const double verbinden = gesamt.nsecsElapsed() / 1e6;
        aus << QStringLiteral("Verbinden: %1 ms\n").arg(verbinden, 0, 'f', 1);
        for (TKADaoTable* t : {&tabAufgaben, &tabPersonal, &tabStatus, &tabStatSum, &tabProjekt, &tabProjektView,
                               &tabProjektAufgaben, &qProjektAufgaben}) {
            QElapsedTimer uhr;
            uhr.start();
            t->Open();
            aus << QStringLiteral("  %1: %2 Zeilen, %3 ms\n")
                       .arg(t->SQL().isEmpty() ? t->TableName() : t->SQL())
                       .arg(t->RecordCount())
                       .arg(uhr.nsecsElapsed() / 1e6, 0, 'f', 1);
        }
        const double offen = gesamt.nsecsElapsed() / 1e6;
        aus << QStringLiteral("Alle Datenmengen geöffnet: %1 ms\n").arg(offen, 0, 'f', 1);

        // Reading every field of every project once (a grid scrolled through the whole list).
        QElapsedTimer uhr;
        uhr.start();
        double summe = 0;
        for (int z = 0; z < tabProjekt.RowCount(); ++z)
            for (int f = 0; f < tabProjekt.FieldCount(); ++f)
                summe += tabProjekt.RowValue(z, f).isNull() ? 0 : 1;
        aus << QStringLiteral("Jedes Feld jedes Projekts gelesen (%1 Werte): %2 ms\n")
                   .arg(summe)
                   .arg(uhr.nsecsElapsed() / 1e6, 0, 'f', 1);

        // Following the master through the first 1000 projects.
        uhr.restart();
        tabProjekt.First();
        int aufgaben = 0;
        for (int i = 0; i < 1000 && !tabProjekt.Eof(); ++i, tabProjekt.Next())
            aufgaben += tabProjektAufgaben.RecordCount() + qProjektAufgaben.RecordCount();
        aus << QStringLiteral("1000 Projekte durchlaufen, Details folgen (%1 Zeilen): %2 ms\n")
                   .arg(aufgaben)
                   .arg(uhr.nsecsElapsed() / 1e6, 0, 'f', 1);

        const double shell = BenchDaten::shellZeit(datei, {QStringLiteral("select * from Aufgaben"), QStringLiteral("select * from Personal"),
                                               QStringLiteral("select * from Status"),
                                               QStringLiteral("select * from ProjektAufgabenSumme"),
                                               QStringLiteral("select * from Projekt"),
                                               QStringLiteral("select * from projekt order by Last_datum"),
                                               QStringLiteral("select * from ProjektAufgaben where Projekt_ID = 1"),
                                               QStringLiteral("select * from Aufgaben_Aktuell where Projekt_ID = 1 order by prioritaet")}, 3);
        if (shell >= 0)
            aus << QStringLiteral("sqlite3-Shell, dieselben Abfragen: %1 ms (Verhältnis %2)\n")
                       .arg(shell, 0, 'f', 1)
                       .arg(offen / shell, 0, 'f', 2);
    } catch (const Fehler& f) {
        aus << "Fehler: " << f.text() << '\n';
        return 1;
    }
    return 0;
}
