#include "DatenbankWerkzeug.h"
#include "Schema.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QTest>
#include <memory>

namespace {

const QString berichtSql = QStringLiteral("select * from projektaufgaben p, status s, aufgaben a, personal m \n"
                                          "where (p.aufgabe_id = a.id) and (p.status_id = s.id) and (p.mitarbeiter = m.id)");

// "NULL,5" -> task rows of project 1 with these Status_ID values (priority 10, 20, ...).
void aufgabenEinfuegen(TestDatenbank& t, const QString& liste)
{
    int prioritaet = 10;
    for (const QString& status : liste.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        t.fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Mitarbeiter, Status_ID, Prioritaet) "
                               "VALUES (1, 1, 'T%1', 1, %2, %1)").arg(prioritaet).arg(status));
        prioritaet += 10;
    }
}

} // namespace

class TstSchema : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TKADaoDatabase> m_db;

    std::unique_ptr<TKADaoTable> abfrage(const QString& sql)
    {
        auto t = std::make_unique<TKADaoTable>();
        t->setObjectName(QStringLiteral("TabSuche"));
        t->setDatabase(m_db.get());
        t->setSQL(sql);
        return t;
    }

    QStringList spalte(const QString& sql, const QString& feld)
    {
        auto t = abfrage(sql);
        t->Open();
        QStringList werte;
        for (; !t->Eof(); t->Next())
            werte << (t->FieldByName(feld)->IsNull() ? QStringLiteral("leer") : t->FieldByName(feld)->AsString());
        return werte;
    }

private slots:
    void init()
    {
        m_t = std::make_unique<TestDatenbank>();
        m_db = std::make_unique<TKADaoDatabase>();
        m_db->setDatabaseName(m_t->pfad);
        m_db->Open();
    }

    void cleanup()
    {
        m_db.reset();
        m_t.reset();
    }

    void anlegenErzeugtAllesUndUeberschreibtNichts()
    {
        QCOMPARE(m_t->wert(QStringLiteral("SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master "
                                          "WHERE name NOT LIKE 'sqlite%' ORDER BY type, name)")).toString(),
                 QStringLiteral("ProjektAufgaben_Projekt_ID,Projekt_Kommnr,Projekt_Last_Datum,Projekt_Wandliste,"
                                "Aufgaben,Personal,Projekt,ProjektAenderung,ProjektAufgaben,ProjektSumme,Status,"
                                "ProjektAenderung_Aufgabe_Geaendert,ProjektAenderung_Aufgabe_Geloescht,"
                                "ProjektAenderung_Aufgabe_Neu,ProjektAenderung_Kuerzen,ProjektAenderung_Projekt_Geaendert,"
                                "ProjektAenderung_Projekt_Geloescht,ProjektAenderung_Projekt_Neu,"
                                "ProjektAenderung_Status_Geaendert,ProjektAenderung_Status_Geloescht,"
                                "ProjektAenderung_Status_Neu,ProjektSumme_Aufgabe_Geaendert,ProjektSumme_Aufgabe_Geloescht,"
                                "ProjektSumme_Aufgabe_Neu,ProjektSumme_Status_Geaendert,ProjektSumme_Status_Geloescht,"
                                "ProjektSumme_Status_Neu,"
                                "Aufgaben_Aktuell,ProjektAufgabenSumme"));
        m_t->grunddaten();
        const QString text = fehlerText([&] { DatenbankWerkzeug::anlegen(m_t->pfad); });
        QCOMPARE(text, QStringLiteral("Die Datei '%1' gibt es schon; sie wird nicht überschrieben.").arg(m_t->pfad));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Projekt")).toInt(), 3);
    }

    void projektAufgabenSumme_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("anzahl");  // -1: no row
        QTest::addColumn<double>("summe");
        QTest::newRow("ohne Aufgaben") << "" << -1 << 0.0;
        QTest::newRow("Ränge 0, 2 und 4") << "1,3,5" << 3 << 6.0;
        QTest::newRow("ohne Status zählt mit Rang 0") << "NULL,5" << 2 << 4.0;
        QTest::newRow("Status gibt es nicht") << "99,2" << 2 << 1.0;
    }

    void projektAufgabenSumme()
    {
        QFETCH(QString, status);
        QFETCH(int, anzahl);
        QFETCH(double, summe);
        m_t->grunddaten();
        m_t->fremd(QStringLiteral("DELETE FROM ProjektAufgaben"));
        aufgabenEinfuegen(*m_t, status);
        auto t = abfrage(QStringLiteral("select * from ProjektAufgabenSumme"));
        t->Open();
        const int zeile = t->FindRow(t->FieldByName(QStringLiteral("Projekt_ID"))->Index(), 1);
        if (anzahl < 0) {
            QCOMPARE(zeile, -1);
            QVERIFY(t->IsEmpty());
            return;
        }
        QVERIFY(zeile >= 0);
        QCOMPARE(t->RowValue(zeile, t->FieldByName(QStringLiteral("AnzahlAufgaben"))->Index()), QVariant(anzahl));
        QCOMPARE(t->RowValue(zeile, t->FieldByName(QStringLiteral("SummeRang"))->Index()), QVariant(summe));
    }

    void aufgabenAktuell_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("aktuell");  // task (priority) in the order read, with rank
        QTest::newRow("ohne Aufgaben") << "" << QStringList();
        QTest::newRow("erledigte fallen weg") << "5,2,1" << QStringList({"T20:1", "T30:0"});
        QTest::newRow("ohne gültigen Status bleibt aktuell") << "NULL,99,5" << QStringList({"T10:leer", "T20:leer"});
        QTest::newRow("alle erledigt") << "5,5" << QStringList();
    }

    // Only unfinished tasks are current, so when the first task is done the next one follows.
    void aufgabenAktuell()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, aktuell);
        m_t->grunddaten();
        m_t->fremd(QStringLiteral("DELETE FROM ProjektAufgaben"));
        aufgabenEinfuegen(*m_t, status);
        const QString sql = QStringLiteral("select * from Aufgaben_Aktuell where Projekt_ID = 1 order by prioritaet ");
        const QStringList namen = spalte(sql, QStringLiteral("Bezeichnung"));
        const QStringList raenge = spalte(sql, QStringLiteral("Stat_Rang"));
        QStringList gelesen;
        for (qsizetype i = 0; i < namen.size(); ++i)
            gelesen << namen[i] + QLatin1Char(':') + raenge[i];
        QCOMPARE(gelesen, aktuell);
    }

    void berichtsabfrageSpalten()
    {
        m_t->grunddaten();
        auto t = abfrage(berichtSql);
        t->Open();
        QStringList namen;
        for (int i = 0; i < t->FieldCount(); ++i)
            namen << t->Field(i)->FieldName();
        QCOMPARE(namen, QStringList({"p.ID", "Projekt_ID", "Aufgabe_ID", "Bezeichnung", "Datum_von", "Datum_bis",
                                     "Mitarbeiter", "Status_ID", "Prioritaet", "Bemerkung", "s.ID", "Stat_Bezeichnung",
                                     "Stat_Rang", "Stat_Bemerkung", "a.ID", "Aufg_Bezeichnung", "Aufg_Mitarbeiter",
                                     "Aufg_Status", "Aufg_Bemerkung", "Aufg_Prioritaet", "Select", "m.ID", "Nummer",
                                     "Name", "Lohnart", "StdLohn"}));
        QCOMPARE(t->FieldByName(QStringLiteral("Datum_bis"))->DataType(), TFieldType::ftDateTime);
        QCOMPARE(t->FieldByName(QStringLiteral("StdLohn"))->DataType(), TFieldType::ftFloat);
        QCOMPARE(t->RecordCount(), 3);
    }

    void berichtsabfrageLaesstUnvollstaendigeWeg_data()
    {
        QTest::addColumn<QString>("aenderung");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("vollständig") << "Bemerkung = NULL" << 1;
        QTest::newRow("ohne Mitarbeiter") << "Mitarbeiter = NULL" << 0;
        QTest::newRow("Mitarbeiter gibt es nicht") << "Mitarbeiter = 99" << 0;
        QTest::newRow("ohne Status") << "Status_ID = NULL" << 0;
        QTest::newRow("Status gibt es nicht") << "Status_ID = 99" << 0;
        QTest::newRow("ohne Katalogaufgabe") << "Aufgabe_ID = NULL" << 0;
        QTest::newRow("Katalogaufgabe gelöscht") << "Aufgabe_ID = 99" << 0;
    }

    // A task that lacks its status, catalogue task or employee drops out of the report, while
    // the task list still shows it.
    void berichtsabfrageLaesstUnvollstaendigeWeg()
    {
        QFETCH(QString, aenderung);
        QFETCH(int, zeilen);
        m_t->grunddaten();
        m_t->fremd(QStringLiteral("UPDATE ProjektAufgaben SET %1 WHERE ID = 3").arg(aenderung));
        auto bericht = abfrage(berichtSql.trimmed() + QStringLiteral(" and (p.Projekt_ID = 2)"));
        bericht->Open();
        QCOMPARE(bericht->RecordCount(), zeilen);
        auto aufgaben = abfrage(QStringLiteral("select * from ProjektAufgaben where Projekt_ID = 2"));
        aufgaben->Open();
        QCOMPARE(aufgaben->RecordCount(), 1);
    }

    // Five subject lines of 50 characters joined by blanks fit without being cut.
    void betreffGesamt254()
    {
        m_t->grunddaten();
        auto projekt = std::make_unique<TKADaoTable>();
        projekt->setDatabase(m_db.get());
        projekt->setTableName(QStringLiteral("Projekt"));
        projekt->Open();
        projekt->Edit();
        QStringList zeilen;
        for (int i = 1; i <= 5; ++i) {
            zeilen << QString(50, QLatin1Char('0' + i)).replace(0, 6, QStringLiteral("Zeile%1").arg(i));
            projekt->FieldByName(QStringLiteral("Betreff%1").arg(i))->setAsString(zeilen.last());
        }
        const QString gesamt = zeilen.join(QLatin1Char(' '));
        QCOMPARE(gesamt.size(), 254);
        projekt->FieldByName(QStringLiteral("Betreff_ges"))->setAsString(gesamt);
        projekt->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Betreff_ges FROM Projekt WHERE ID = 1")).toString(), gesamt);
        QCOMPARE(projekt->FieldByName(QStringLiteral("Betreff_ges"))->AsString(), gesamt);
    }

    void sqlTexteLaufenWieSieStehen_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("zeilen");  // rows read, or rows changed by an update
        QTest::newRow("Projekte nach Datum") << "select * from projekt order by Last_datum" << 3;
        QTest::newRow("Summen") << "select * from ProjektAufgabenSumme" << 2;
        QTest::newRow("aktuelle Aufgaben") << "select * from Aufgaben_Aktuell order by prioritaet " << 2;
        QTest::newRow("Auswahl setzen") << "Update [aufgaben] set [select] = 1" << 2;
        QTest::newRow("Aufgaben eines Projekts") << "select * from ProjektAufgaben where Projekt_ID = 1" << 2;
        QTest::newRow("Existenz, ohne Rücksicht auf Groß/klein") << "select kommnr from projekt where kommnr = 'p1'" << 1;
        QTest::newRow("Projekte für den Bericht") << "select * from projekt" << 3;
        QTest::newRow("Aufgaben für den Bericht") << berichtSql << 3;
    }

    void sqlTexteLaufenWieSieStehen()
    {
        QFETCH(QString, sql);
        QFETCH(int, zeilen);
        m_t->grunddaten();
        auto t = abfrage(sql);
        if (sql.startsWith(QLatin1String("Update"))) {
            QCOMPARE(t->ExecuteSQL(), zeilen);
        } else {
            t->Open();
            QCOMPARE(t->RecordCount(), zeilen);
        }
    }

    // The selection mark of every catalogue task is set with 1 and cleared with 0; nothing
    // else changes.
    void auswahlmarke()
    {
        m_t->grunddaten();
        const QString rest = QStringLiteral("SELECT group_concat(ID || Aufg_Bezeichnung || Aufg_Mitarbeiter || Aufg_Status || "
                                            "ifnull(Aufg_Bemerkung, '-') || Aufg_Prioritaet, '|') FROM Aufgaben");
        const QString vorher = m_t->wert(rest).toString();
        auto temp = abfrage(QStringLiteral("Update [aufgaben] set [select] = ") + QString::number(1));
        temp->ExecuteSQL();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] = 1")).toInt(), 2);
        temp->setSQL(QStringLiteral("Update [aufgaben] set [select] = ") + QString::number(0));
        temp->ExecuteSQL();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] = 0")).toInt(), 2);
        QCOMPARE(m_t->wert(rest).toString(), vorher);

        auto aufgaben = abfrage(QStringLiteral("select * from aufgaben"));
        aufgaben->Open();
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Select"))->Value(), QVariant(false));
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
