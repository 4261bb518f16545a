#include "AnweisungsZaehler.h"
#include "ProjektAenderungen.h"
#include "Schema.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"
#include "Zeilenordnung.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

// Keeping a list of projects up to date without reading it all again: what the connection and
// the change table say was written, the order the engine hands rows out in, and single rows
// read again into their place with one notice each.
class TstZeilenabgleich : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TKADaoDatabase> m_db;

    std::unique_ptr<TKADaoTable> wandliste()
    {
        auto t = std::make_unique<TKADaoTable>();
        t->setObjectName(QStringLiteral("TabProjektView"));
        t->setDatabase(m_db.get());
        t->setSQL(QStringLiteral("select * from projekt order by Last_datum"));
        t->setFilter(QStringLiteral("PV_Sichtbar"));
        t->setFiltered(true);
        t->Open();
        return t;
    }

    static QString kommnrn(TKADaoTable& t)
    {
        QStringList liste;
        const int feld = t.FieldByName(QStringLiteral("Kommnr"))->Index();
        for (int i = 0; i < t.RowCount(); ++i)
            liste << t.RowValue(i, feld).toString();
        return liste.join(QLatin1Char(' '));
    }

private slots:
    void initTestCase_data() { TestDatenbank::motoren(); }

    void init()
    {
        m_t = std::make_unique<TestDatenbank>(TestDatenbank::serverDesTests());
        m_t->grunddaten();
        // Seven listed projects, two of them on the same day and one without a date.
        m_t->fremd(QStringLiteral(
            "INSERT INTO Projekt (Kommnr, PV_Sichtbar, Last_Datum) VALUES ('P4', 1, '2024-02-01'), "
            "('P5', 1, '2024-02-01'), ('P6', 1, NULL), ('P7', 1, '2024-05-01'), ('P8', 1, '2024-04-01')"));
        m_db = std::make_unique<TKADaoDatabase>();
        m_db->setDatabaseName(m_t->pfad);
        m_db->Open();
    }

    void cleanup()
    {
        m_db.reset();
        m_t.reset();
    }

    // Sorting with the comparison gives the engine's own ORDER BY, for every kind of value a
    // column may hold, NOCASE text columns and plain ones, ties by key.
    void ordnungWieDieMaschine_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<bool>("absteigend");
        QTest::newRow("Datum") << "Last_Datum" << false;
        QTest::newRow("Text NOCASE") << "Bezeichn" << false;
        QTest::newRow("Text NOCASE absteigend") << "Bezeichn" << true;
        QTest::newRow("Memo (binär)") << "V_Bemerkung" << false;
        QTest::newRow("Zahl") << "Kostenstelle" << false;
    }

    void ordnungWieDieMaschine()
    {
        QFETCH(QString, spalte);
        QFETCH(bool, absteigend);
        // Mixed kinds in one column, as files of other tools hold them; a server holds each
        // column's own kind only.
        if (m_t->server())
            m_t->fremd(QStringLiteral(
                "INSERT INTO Projekt (Kommnr, Bezeichn, V_Bemerkung, Kostenstelle, Last_Datum) VALUES "
                "('A', 'bäcker', 'b', 3, '2024-01-01'), ('B', 'Bäcker', 'B', 2, '2024-01-01'), ('C', 'Zaun', 'ä', -1, NULL), "
                "('D', 'apfel', 'A', NULL, '2023-06-01'), ('E', 'Apfel', NULL, NULL, '2023-12-31'), ('F', 'ÄRGER', 'a', 2, NULL), "
                "('G', 'apfel', 'a', 10, '2024-01-01')"));
        else
            m_t->fremd(QStringLiteral(
                "INSERT INTO Projekt (Kommnr, Bezeichn, V_Bemerkung, Kostenstelle, Last_Datum) VALUES "
                "('A', 'bäcker', 'b', 3, '2024-01-01'), ('B', 'Bäcker', 'B', 2.5, 20240101), ('C', 'Zaun', 'ä', -1, x'00'), "
                "('D', 'apfel', 'A', 'x', 3.5), ('E', 'Apfel', NULL, NULL, '2023-12-31'), ('F', 'ÄRGER', 'a', 2, NULL), "
                "('G', 'apfel', 'a', 10, '2024-01-01')"));
        const QString richtung = absteigend ? QStringLiteral(" desc") : QString();
        auto t = std::make_unique<TKADaoTable>();
        t->setDatabase(m_db.get());
        t->setSQL(QStringLiteral("select * from projekt order by ") + spalte + richtung);
        t->Open();
        const TField* feld = t->FieldByName(spalte);
        const Zeilenordnung ordnung({{feld->Index(), absteigend, feld->DataType() == TFieldType::ftString}}, 0);
        std::vector<std::vector<QVariant>> zeilen;
        for (int i = 0; i < t->RowCount(); ++i) {
            std::vector<QVariant> werte;
            for (int f = 0; f < t->FieldCount(); ++f)
                werte.push_back(t->RowValue(i, f));
            zeilen.push_back(werte);
        }
        // The stored values, not the field's typed ones: read them raw from the engine.
        std::vector<std::vector<QVariant>> roh;
        for (int i = 0; i < t->RowCount(); ++i) {
            const qint64 id = zeilen[size_t(i)][0].toLongLong();
            std::vector<QVariant> werte(size_t(t->FieldCount()));
            werte[0] = id;
            Anweisung a = m_db->Vorbereiten(QStringLiteral("SELECT [%1] FROM Projekt WHERE ID = ?").arg(spalte));
            a.binden(1, id);
            QVERIFY(a.schritt());
            werte[size_t(feld->Index())] = a.wert(0);
            roh.push_back(werte);
        }
        std::vector<std::vector<QVariant>> sortiert = roh;
        std::reverse(sortiert.begin(), sortiert.end());
        std::stable_sort(sortiert.begin(), sortiert.end(),
                         [&](const auto& a, const auto& b) { return ordnung.vergleichen(a, b) < 0; });
        // The engine's own order (rows equal in it by their key), straight from a statement:
        // the dataset (which orders rows read from the file itself) and the comparison give it.
        QStringList maschine, datenmenge, ergebnis;
        Anweisung a = m_db->Vorbereiten(QStringLiteral("select ID from projekt order by ") + spalte + richtung
                                        + QStringLiteral(", ID"));
        while (a.schritt())
            maschine << a.wert(0).toString();
        for (size_t i = 0; i < roh.size(); ++i) {
            datenmenge << roh[i][0].toString();
            ergebnis << sortiert[i][0].toString();
        }
        QCOMPARE(datenmenge.join(QLatin1Char(' ')), maschine.join(QLatin1Char(' ')));
        QCOMPARE(ergebnis.join(QLatin1Char(' ')), maschine.join(QLatin1Char(' ')));
    }

    // Another program changes projects; the rows with their keys are read again and stand
    // where a full read puts them, each change told as one notice of its row, never a reset.
    void schluesselNachlesen_data()
    {
        QTest::addColumn<QString>("aenderung");
        QTest::addColumn<QString>("kommnr");  // the project read again
        QTest::addColumn<int>("geaendert");
        QTest::addColumn<int>("entfernt");
        QTest::addColumn<int>("eingefuegt");
        QTest::newRow("Wert geändert, Platz bleibt")
            << "UPDATE Projekt SET Bezeichn = 'Neu' WHERE Kommnr = 'P4'" << "P4" << 1 << 0 << 0;
        QTest::newRow("unverändert geschrieben") << "UPDATE Projekt SET Kommnr = Kommnr WHERE Kommnr = 'P4'" << "P4" << 0 << 0 << 0;
        QTest::newRow("Datum später: rückt nach hinten")
            << "UPDATE Projekt SET Last_Datum = '2024-04-15' WHERE Kommnr = 'P2'" << "P2" << 0 << 1 << 1;
        QTest::newRow("ohne Datum: ganz nach vorn")
            << "UPDATE Projekt SET Last_Datum = NULL WHERE Kommnr = 'P7'" << "P7" << 0 << 1 << 1;
        QTest::newRow("gleicher Tag: nach dem Schlüssel")
            << "UPDATE Projekt SET Last_Datum = '2024-02-01' WHERE Kommnr = 'P1'" << "P1" << 0 << 1 << 1;
        QTest::newRow("neu") << "INSERT INTO Projekt (Kommnr, PV_Sichtbar, Last_Datum) VALUES ('P9', 1, '2024-02-15')"
                             << "P9" << 0 << 0 << 1;
        QTest::newRow("gelöscht") << "DELETE FROM Projekt WHERE Kommnr = 'P5'" << "P5" << 0 << 1 << 0;
        QTest::newRow("nicht mehr für die Wand") << "UPDATE Projekt SET PV_Sichtbar = 0 WHERE Kommnr = 'P8'" << "P8" << 0 << 1 << 0;
        QTest::newRow("neu für die Wand") << "UPDATE Projekt SET PV_Sichtbar = 1 WHERE Kommnr = 'P3'" << "P3" << 0 << 0 << 1;
    }

    void schluesselNachlesen()
    {
        QFETCH(QString, aenderung);
        QFETCH(QString, kommnr);
        QFETCH(int, geaendert);
        QFETCH(int, entfernt);
        QFETCH(int, eingefuegt);
        auto t = wandliste();
        QVERIFY(t->Locate(QStringLiteral("Kommnr"), QStringLiteral("P7")));
        const QString idAbfrage = QStringLiteral("SELECT ID FROM Projekt WHERE Kommnr = '%1'").arg(kommnr);
        QVariant id = m_t->wert(idAbfrage);
        m_t->fremd(aenderung);
        if (id.isNull())
            id = m_t->wert(idAbfrage);
        QSignalSpy reset(t.get(), &TKADaoTable::RowsReset);
        QSignalSpy zeilen(t.get(), &TKADaoTable::RowsChanged);
        QSignalSpy weg(t.get(), &TKADaoTable::RowsAboutToBeRemoved);
        QSignalSpy dazu(t.get(), &TKADaoTable::RowsAboutToBeInserted);
        t->SchluesselNachlesen({id.toLongLong()});

        QCOMPARE(reset.count(), 0);
        QCOMPARE(zeilen.count(), geaendert);
        QCOMPARE(weg.count(), entfernt);
        QCOMPARE(dazu.count(), eingefuegt);
        for (const auto& signal : std::as_const(zeilen))
            QCOMPARE(signal.at(0).toInt(), signal.at(1).toInt());
        auto frisch = wandliste();
        QCOMPARE(kommnrn(*t), kommnrn(*frisch));
        QCOMPARE(t->FieldByName(QStringLiteral("Kommnr"))->AsString(), QStringLiteral("P7"));
        QCOMPARE(t->RecordCount(), frisch->RecordCount());
    }

    // The task sums of single projects read again while their index is in use: changed and new
    // sums are found at once, a project that lost its tasks no longer.
    void summenNachlesenMitIndex()
    {
        TKADaoTable summen;
        summen.setDatabase(m_db.get());
        summen.setSQL(QStringLiteral("select * from ProjektAufgabenSumme"));
        summen.setReadOnly(true);
        summen.Open();
        auto anzahl = [&](int projekt) {
            return summen.Lookup(QStringLiteral("Projekt_ID"), projekt, QStringLiteral("AnzahlAufgaben"));
        };
        QCOMPARE(anzahl(1), QVariant(2));
        m_t->fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID) VALUES (1, 1), (4, 1), (4, 2)"));
        summen.ZeilenNachlesen(QStringLiteral("Projekt_ID"), 1);
        summen.ZeilenNachlesen(QStringLiteral("Projekt_ID"), 4);
        QCOMPARE(anzahl(1), QVariant(3));
        QCOMPARE(anzahl(4), QVariant(2));
        QCOMPARE(anzahl(2), QVariant(1));
        m_t->fremd(QStringLiteral("DELETE FROM ProjektAufgaben WHERE Projekt_ID = 1"));
        summen.ZeilenNachlesen(QStringLiteral("Projekt_ID"), 1);
        QCOMPARE(anzahl(1), QVariant());
        QCOMPARE(anzahl(4), QVariant(2));
        QCOMPARE(summen.RecordCount(), 2);
    }

    // What the connection says was written: nothing costs one statement; the projects changed
    // by this or another program come each once; a status or a gap in the table means all.
    void aenderungenAbholen_data()
    {
        QTest::addColumn<std::function<void(TestDatenbank&, TKADaoDatabase&)>>("schreiben");
        QTest::addColumn<QString>("erwartet");  // "-": nothing, "*": everything, else the IDs
        using S = std::function<void(TestDatenbank&, TKADaoDatabase&)>;
        QTest::newRow("nichts") << S([](TestDatenbank&, TKADaoDatabase&) {}) << "-";
        QTest::newRow("nur gelesen") << S([](TestDatenbank& t, TKADaoDatabase&) { t.wert(QStringLiteral("SELECT * FROM Projekt")); })
                                     << "-";
        QTest::newRow("anderes Programm, Projekt")
            << S([](TestDatenbank& t, TKADaoDatabase&) { t.fremd(QStringLiteral("UPDATE Projekt SET Ort = 'X' WHERE ID = 2")); })
            << "2";
        QTest::newRow("eigene Verbindung, Aufgabe verschoben")
            << S([](TestDatenbank&, TKADaoDatabase& db) {
                   db.Execute(QStringLiteral("UPDATE ProjektAufgaben SET Projekt_ID = 3 WHERE ID = 3"));
               })
            << "2 3";
        QTest::newRow("Aufgabe neu und gelöscht, Projekt einmal")
            << S([](TestDatenbank& t, TKADaoDatabase&) {
                   t.fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID) VALUES (1); DELETE FROM ProjektAufgaben "
                                          "WHERE ID = 1; UPDATE Projekt SET Ort = 'X' WHERE ID = 3"));
               })
            << "1 3";
        QTest::newRow("Katalog und Personal betreffen keine Liste")
            << S([](TestDatenbank& t, TKADaoDatabase&) {
                   t.fremd(QStringLiteral("UPDATE Aufgaben SET [Select] = 1; UPDATE Personal SET Name = 'X'"));
               })
            << "";
        QTest::newRow("Rang eines Status: alles")
            << S([](TestDatenbank& t, TKADaoDatabase&) { t.fremd(QStringLiteral("UPDATE Status SET Stat_Rang = 9 WHERE ID = 2")); })
            << "*";
        QTest::newRow("mehr Änderungen als die Tabelle behält: alles")
            << S([](TestDatenbank& t, TKADaoDatabase&) {
                   for (int i = 0; i <= Schema::AenderungenBehalten; i += 1000)
                       t.fremd(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                                              "INSERT INTO ProjektAufgaben (Projekt_ID) SELECT 1 FROM n"));
               })
            << "*";
    }

    void aenderungenAbholen()
    {
        QFETCH(std::function<void(TestDatenbank&, TKADaoDatabase&)>, schreiben);
        QFETCH(QString, erwartet);
        ProjektAenderungen aenderungen(m_db.get());
        aenderungen.abHier();
        schreiben(*m_t, *m_db);
        AnweisungsZaehler zaehler(m_db.get());
        const bool geschrieben = aenderungen.etwasGeschrieben();
        const ProjektAenderungen::Ergebnis ergebnis = aenderungen.abholen();
        QString text = ergebnis.alles ? QStringLiteral("*") : QString();
        if (!ergebnis.alles) {
            QStringList ids;
            for (qint64 id : ergebnis.projekte)
                ids << QString::number(id);
            std::sort(ids.begin(), ids.end());
            text = ergebnis.keine() && !geschrieben ? QStringLiteral("-") : ids.join(QLatin1Char(' '));
        }
        QCOMPARE(text, erwartet);
        if (erwartet == QLatin1String("-"))
            QCOMPARE(zaehler.anzahl(), 2);  // the mark, asked for twice; nothing else
        // Looked at, the changes are gone: the next look finds nothing, with one statement.
        zaehler.zuruecksetzen();
        QVERIFY(!aenderungen.etwasGeschrieben());
        QVERIFY(aenderungen.abholen().keine());
        QCOMPARE(zaehler.anzahl(), 2);
    }

    // The sums per project as the stored query reads them: "Projekt:Anzahl:Rangsumme".
    QString summen()
    {
        TKADaoTable t;
        t.setDatabase(m_db.get());
        t.setSQL(QStringLiteral("select * from ProjektAufgabenSumme order by Projekt_ID"));
        t.Open();
        QStringList zeilen;
        for (int i = 0; i < t.RowCount(); ++i)
            zeilen << QStringLiteral("%1:%2:%3")
                          .arg(t.RowValue(i, 0).toLongLong())
                          .arg(t.RowValue(i, 1).toLongLong())
                          .arg(t.RowValue(i, 2).toDouble());
        return zeilen.join(QLatin1Char(' '));
    }

    // The stored sums follow every change of a task or a status at once, whoever writes it.
    // At the start project 1 has tasks of ranks 4 (task 1) and 1 (task 2), project 2 one of rank 0.
    void summenFolgenJederAenderung_data()
    {
        QTest::addColumn<QString>("aenderung");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("unverändert") << "UPDATE ProjektAufgaben SET Bezeichnung = 'x'" << "1:2:5 2:1:0";
        QTest::newRow("neue Aufgabe") << "INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID) VALUES (3, 4)"
                                      << "1:2:5 2:1:0 3:1:3";
        QTest::newRow("Aufgabe ohne Projekt") << "INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID) VALUES (NULL, 4)"
                                              << "1:2:5 2:1:0";
        QTest::newRow("Aufgabe umgehängt") << "UPDATE ProjektAufgaben SET Projekt_ID = 2 WHERE ID = 1" << "1:1:1 2:2:4";
        QTest::newRow("letzte Aufgabe umgehängt") << "UPDATE ProjektAufgaben SET Projekt_ID = 3 WHERE ID = 3" << "1:2:5 3:1:0";
        QTest::newRow("anderer Status") << "UPDATE ProjektAufgaben SET Status_ID = 4 WHERE ID = 2" << "1:2:7 2:1:0";
        QTest::newRow("Status, den es nicht gibt") << "UPDATE ProjektAufgaben SET Status_ID = 99 WHERE ID = 1"
                                                   << "1:2:1 2:1:0";
        QTest::newRow("Aufgabe gelöscht") << "DELETE FROM ProjektAufgaben WHERE ID = 2" << "1:1:4 2:1:0";
        QTest::newRow("letzte Aufgabe gelöscht") << "DELETE FROM ProjektAufgaben WHERE ID = 3" << "1:2:5";
        QTest::newRow("Rang geändert") << "UPDATE Status SET Stat_Rang = 10 WHERE ID = 2" << "1:2:14 2:1:0";
        QTest::newRow("Status gelöscht") << "DELETE FROM Status WHERE ID = 5" << "1:2:1 2:1:0";
        QTest::newRow("Status neu unter benutzter Nummer")
            << "UPDATE ProjektAufgaben SET Status_ID = 77 WHERE ID = 3; INSERT INTO Status (ID, Stat_Rang) VALUES (77, 3)"
            << "1:2:5 2:1:3";
        QTest::newRow("Nummer eines Status geändert") << "UPDATE Status SET ID = 88 WHERE ID = 5" << "1:2:1 2:1:0";
    }

    void summenFolgenJederAenderung()
    {
        QFETCH(QString, aenderung);
        QFETCH(QString, erwartet);
        QCOMPARE(summen(), QStringLiteral("1:2:5 2:1:0"));
        m_t->fremd(aenderung);
        QCOMPARE(summen(), erwartet);
    }

    // A database made before the summary table and the wall list's index existed gets both when
    // opened, the table filled from the tasks, in one go; the stored query then reads it and the
    // rows stay as they were.
    void alteDatenbankBekommtSummen()
    {
        m_db->Close();
        if (m_t->server()) {
            m_t->fremd(QStringLiteral(
                "DROP TRIGGER projektsumme_aufgabe ON projektaufgaben; DROP TRIGGER projektsumme_status ON status; "
                "DROP TABLE projektsumme CASCADE; DROP FUNCTION pv_summe_aufgabe, pv_summe_status, pv_summe_berechnen; "
                "CREATE VIEW projektaufgabensumme (projekt_id, anzahlaufgaben, summerang) AS "
                "SELECT p.projekt_id, count(*), coalesce(sum(s.stat_rang), 0)::double precision "
                "FROM projektaufgaben p LEFT JOIN status s ON s.id = p.status_id "
                "WHERE p.projekt_id IS NOT NULL GROUP BY p.projekt_id"));
        } else {
            for (const char* ausloeser : {"Aufgabe_Neu", "Aufgabe_Geaendert", "Aufgabe_Geloescht", "Status_Neu",
                                          "Status_Geaendert", "Status_Geloescht"})
                m_t->fremd(QStringLiteral("DROP TRIGGER [ProjektSumme_%1]").arg(QLatin1String(ausloeser)));
            m_t->fremd(QStringLiteral("DROP TABLE ProjektSumme; DROP VIEW ProjektAufgabenSumme; "
                                      "CREATE VIEW [ProjektAufgabenSumme] ([Projekt_ID], [AnzahlAufgaben], [SummeRang]) AS ")
                       + Schema::summenBerechnung(QStringLiteral("p.[Projekt_ID] IS NOT NULL")));
        }
        m_t->fremd(QStringLiteral("DROP INDEX Projekt_Wandliste"));
        m_t->fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID) VALUES (3, 4)"));
        const QString inhalt = QStringLiteral("SELECT (SELECT count(*) FROM Projekt) + (SELECT count(*) FROM ProjektAufgaben)");
        const QVariant vorher = m_t->wert(inhalt);

        m_db->Open();
        QCOMPARE(m_t->wert(m_t->server() ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname = 'projekt_wandliste'")
                                         : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'Projekt_Wandliste'"))
                     .toInt(),
                 1);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM ProjektSumme")).toInt(), 3);
        QCOMPARE(summen(), QStringLiteral("1:2:5 2:1:0 3:1:3"));
        QCOMPARE(m_t->wert(inhalt), vorher);
        m_t->fremd(QStringLiteral("DELETE FROM ProjektAufgaben WHERE ID = 3"));
        QCOMPARE(summen(), QStringLiteral("1:2:5 3:1:3"));
        // The stored query reads the table now, not the tasks.
        m_t->fremd(QStringLiteral("UPDATE ProjektSumme SET AnzahlAufgaben = 9 WHERE Projekt_ID = 1"));
        QCOMPARE(summen(), QStringLiteral("1:9:5 3:1:3"));
    }

    // A file made before the change table existed gets it when opened, in one go; its tables
    // and their rows stay as they were, and changes are noted from then on.
    void alteDateiWirdErgaenzt()
    {
        if (m_t->server())
            QSKIP("Eine Datenbank auf dem Server legt schon das Datenbankwerkzeug mit der Änderungstabelle an.");
        m_db->Close();
        const QStringList anweisungen = Schema::aenderungsAnweisungen();
        for (auto it = anweisungen.crbegin(); it != anweisungen.crend(); ++it) {
            const QString& anweisung = *it;
            const QString name = anweisung.section(QLatin1Char('['), 1, 1).section(QLatin1Char(']'), 0, 0);
            m_t->fremd((anweisung.startsWith(QLatin1String("CREATE TABLE")) ? QStringLiteral("DROP TABLE [%1]")
                                                                               : QStringLiteral("DROP TRIGGER [%1]"))
                           .arg(name));
        }
        const QString inhalt = QStringLiteral(
            "SELECT (SELECT group_concat(Kommnr || ifnull(Last_Datum, '')) FROM Projekt) || "
            "(SELECT group_concat(ID || Projekt_ID) FROM ProjektAufgaben) || (SELECT count(*) FROM Status)");
        const QString vorher = m_t->wert(inhalt).toString();
        const QString schemaVorher = m_t->wert(QStringLiteral("SELECT group_concat(sql) FROM sqlite_master")).toString();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%ProjektAenderung%'")).toInt(), 0);

        m_db->Open();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%ProjektAenderung%'")).toInt(),
                 int(Schema::aenderungsAnweisungen().size()));
        QCOMPARE(m_t->wert(inhalt).toString(), vorher);
        QVERIFY(m_t->wert(QStringLiteral("SELECT group_concat(sql) FROM sqlite_master")).toString().startsWith(schemaVorher));

        ProjektAenderungen aenderungen(m_db.get());
        aenderungen.abHier();
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Ort = 'X' WHERE ID = 2"));
        QCOMPARE(aenderungen.abholen().projekte, QList<qint64>{2});
    }
};

QTEST_GUILESS_MAIN(TstZeilenabgleich)
#include "tst_zeilenabgleich.moc"
