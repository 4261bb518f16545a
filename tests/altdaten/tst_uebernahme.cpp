#include "AlteDatenbank.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "JetDatei.h"
#include "SqliteAnweisung.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "Testdateien.h"
#include "Uebernahme.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

// What a reader we did not write makes of a file: the output of a Debian mdbtools program.
QString mdbProgramm(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("FEHLER: ") + QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Values as the new database stores them, read without the program's layers.
class Abfrage
{
public:
    explicit Abfrage(const QString& pfad)
        : m_pfad(pfad)
    {
        sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~Abfrage() { sqlite3_close(m_db); }

    QVariant wert(const QString& sql)
    {
        SqliteAnweisung a(m_db, m_pfad, sql);
        return a.schritt() ? a.wert(0) : QVariant(QStringLiteral("(keine Zeile)"));
    }
    QStringList spalte(const QString& sql)
    {
        QStringList werte;
        SqliteAnweisung a(m_db, m_pfad, sql);
        while (a.schritt())
            werte << (a.wert(0).isValid() ? a.wert(0).toString() : QStringLiteral("NULL"));
        return werte;
    }
    void ausfuehren(const QString& sql) { SqliteAnweisung(m_db, m_pfad, sql).ausfuehren(); }

private:
    QString m_pfad;
    sqlite3* m_db = nullptr;
};

QStringList dateienIn(const QString& ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TstUebernahme : public QObject
{
    Q_OBJECT

private slots:
    // The writer's files are Jet 4 databases to Debian's mdbtools: version, tables, rows, umlauts,
    // a text in UTF-16 and a memo.
    void fixtureIstJetDatei()
    {
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        AlteDatenbank::schreiben(alt);
        QCOMPARE(mdbProgramm("mdb-ver", {alt}).trimmed(), QStringLiteral("JET4"));
        QCOMPARE(mdbProgramm("mdb-tables", {"-1", alt}).split('\n', Qt::SkipEmptyParts),
                 QStringList({"Status", "Personal", "Aufgaben", "Projekt", "ProjektAufgaben"}));
        const QStringList personal = mdbProgramm("mdb-export", {alt, "Personal"}).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(personal.size(), 3);
        QCOMPARE(personal[1], QStringLiteral("2,\"M002\",\"Jürgen Weiß\",\"Stundenlohn\",24.5"));
        QCOMPARE(personal[2], QStringLiteral("9,\"M009\",\"Anna Öztürk\",,"));
        const QString aufgaben = mdbProgramm("mdb-export", {"-T", "%Y-%m-%d %H:%M", alt, "ProjektAufgaben"});
        QVERIFY2(aufgaben.contains("21,5,11,\"Aufmaß vor Ort\",\"2024-03-04 07:30\",\"2024-03-05 16:45\",2,7,10,"), qPrintable(aufgaben));
        QVERIFY2(aufgaben.contains("\"Kran bestellen – dringend\""), qPrintable(aufgaben));
        QVERIFY(mdbProgramm("mdb-export", {alt, "Projekt"}).contains(AlteDatenbank::langeBemerkung()));
    }

    // Every row with its ID, values in our types, the report naming exactly the cut text and the
    // unknown column; the program opens the result with progress and current task right.
    void uebernahmeVollstaendig()
    {
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        const QString neu = ordner.filePath("PROJEKT.MDB");
        AlteDatenbank::schreiben(alt);
        const QByteArray altInhalt = Testdateien::lesen(alt);

        QStringList fertig;
        const Altdaten::UebernahmeBericht bericht = Altdaten::uebernehmen(alt, neu, [&](const Altdaten::UebernahmeStand& s) {
            if (s.tabelleFertig)
                fertig << QStringLiteral("%1 %2 %3/%4").arg(s.tabelle).arg(s.tabelleZeilen).arg(s.erledigt).arg(s.gesamt);
            return true;
        });
        QCOMPARE(fertig, QStringList({"Projekt 3 3/15", "ProjektAufgaben 3 6/15", "Aufgaben 2 8/15", "Personal 2 10/15",
                                      "Status 5 15/15"}));
        QCOMPARE(bericht.format, QStringLiteral("Access 2000–2003 (Jet 4)"));
        QCOMPARE(bericht.hinweise.size(), 2);
        QVERIFY2(bericht.hinweise[0].contains("ID 8, Spalte 'Bezeichn'") && bericht.hinweise[0].contains("39 Zeichen")
                     && bericht.hinweise[0].contains(AlteDatenbank::ueberlangerName),
                 qPrintable(bericht.hinweise[0]));
        QVERIFY2(bericht.hinweise[1].contains("'Altfeld'") && bericht.hinweise[1].contains("1 von 3"), qPrintable(bericht.hinweise[1]));
        QVERIFY(bericht.text().contains("  ProjektAufgaben: 3 Zeilen übernommen"));
        QCOMPARE(Testdateien::lesen(alt), altInhalt);
        QCOMPARE(dateienIn(ordner.path()), QStringList({"ALT.MDB", "PROJEKT.MDB"}));

        {
            Abfrage db(neu);
            QCOMPARE(db.spalte("SELECT ID FROM Projekt ORDER BY ID"), QStringList({"5", "8", "9"}));
            QCOMPARE(db.spalte("SELECT ID || ':' || Projekt_ID || ':' || Aufgabe_ID || ':' || ifnull(Mitarbeiter, '-') || ':' || "
                               "Status_ID FROM ProjektAufgaben ORDER BY ID"),
                     QStringList({"21:5:11:2:7", "22:5:12:9:4", "30:8:12:-:3"}));
            QCOMPARE(db.spalte("SELECT ID || ' ' || Stat_Bezeichnung || ' ' || Stat_Rang FROM Status ORDER BY ID"),
                     QStringList({"3 unbearbeitet 0", "4 in Arbeit 1", "5 Rückfrage 2", "6 zeitkritisch 3", "7 erledigt 4"}));
            QCOMPARE(db.spalte("SELECT Bezeichn FROM Projekt ORDER BY ID"),
                     QStringList({"Bäckerei Huber GmbH", AlteDatenbank::ueberlangerName.left(30), "NULL"}));
            // Empty text stays empty, null stays null; Yes/No as 0/1; dates with and without time.
            QCOMPARE(db.spalte("SELECT typeof(Strasse) || typeof(Postfach) || EV_Sichtbar || PV_Sichtbar || Datum || '|' || "
                               "Termin || '|' || Last_Datum || '|' || TRechNr || '|' || Ort FROM Projekt WHERE ID = 5"),
                     QStringList({"textnull102024-03-04|2024-04-02 09:30:00|2024-03-08|123|74613 Öhringen"}));
            QCOMPARE(db.wert("SELECT V_Bemerkung FROM Projekt WHERE ID = 5").toString(), AlteDatenbank::langeBemerkung());
            QCOMPARE(db.spalte("SELECT EV_Sichtbar || PV_Sichtbar FROM Projekt WHERE ID = 9"), QStringList({"00"}));
            QCOMPARE(db.spalte("SELECT Datum_von || '|' || Datum_bis || '|' || ifnull(Bemerkung, 'NULL') FROM ProjektAufgaben ORDER BY ID"),
                     QStringList({"2024-03-04 07:30:00|2024-03-05 16:45:00|NULL", "2024-03-06 00:00:00|2024-03-08 00:00:00|Kran bestellen – dringend",
                                  "NULL"}));
            QCOMPARE(db.spalte("SELECT Name || '|' || Lohnart || '|' || ifnull(StdLohn, 'NULL') FROM Personal ORDER BY ID"),
                     QStringList({"Jürgen Weiß|Stundenlohn|24.5", "Anna Öztürk||NULL"}));
            QCOMPARE(db.spalte("SELECT [Select] FROM Aufgaben ORDER BY ID"), QStringList({"0", "1"}));
            // AutoNumber goes on after the highest ID taken over.
            db.ausfuehren("INSERT INTO Status (Stat_Bezeichnung) VALUES ('neu')");
            QCOMPARE(db.wert("SELECT max(ID) FROM Status"), QVariant(8));
        }

        IniRecord.AnzahlStatus = 5;
        TDataModule1 dm;
        dm.DBProjekt->setDatabaseName(neu);
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
        QVERIFY(dm.TabProjekt->Locate("ID", 5));
        QCOMPARE(dm.TabProjekt->FieldByName("AnzAufg")->Value(), QVariant(2));
        QCOMPARE(dm.TabProjekt->FieldByName("Status")->Value().toDouble(), 5.0 / 8.0 * 100.0);
        QCOMPARE(dm.TabProjektAufgaben->RecordCount(), 2);
        QCOMPARE(dm.QProjektAufgaben->FieldByName("Aufgabe_ID")->Value(), QVariant(12));
        QCOMPARE(dm.QProjektAufgaben->FieldByName("Stat_Rang")->Value(), QVariant(1));
        QCOMPARE(dm.TabProjekt->FieldByName("Last_Personal")->Value(), QVariant(9));
    }

    // Whatever does not fit is named in the report, row by row, and the rest goes on: a time in a
    // date-only column, a day number beyond the year 9999, text where a number belongs, a number
    // beyond the column's range, a repeated ID, missing tables and a table of its own.
    void berichtNenntWasNichtPasst()
    {
        using namespace JetSchreiber;
        using W = std::vector<std::pair<QString, QVariant>>;
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        Jet4Datei d;
        const int projekt = projektTabelle(d, "Projekt");
        const int status = d.tabelleAnlegen("STATUS", {{"ID", Typ::Long, 0, true}, {"stat_bezeichnung", Typ::Text, 150},
                                                       {"Stat_Rang", Typ::Text, 10}, {"Stat_Bemerkung", Typ::Memo}});
        const int eigene = d.tabelleAnlegen("Einstellungen", {{"Schluessel", Typ::Text, 20}});
        d.zeileAnfuegen(projekt, projektZeile("Projekt", W{{"ID", 1}, {"Datum", QDateTime(QDate(2024, 5, 6), QTime(10, 15))},
                                                           {"LiefTermin", QDate(12000, 1, 1)}, {"Termin", QDateTime(QDate(2024, 5, 7), QTime(8, 0))}}));
        d.zeileAnfuegen(status, {1, "offen", "3", QVariant()});
        d.zeileAnfuegen(status, {2, "zu", "drei", QVariant()});
        d.zeileAnfuegen(status, {2, "doppelt", "70000", "Bemerkung"});
        d.zeileAnfuegen(eigene, {"Farbe"});
        d.speichern(alt);

        const QString neu = ordner.filePath("NEU.MDB");
        const Altdaten::UebernahmeBericht bericht = Altdaten::uebernehmen(alt, neu);
        const QStringList erwartet = {
            "Die Tabelle 'Einstellungen' (1 Zeile) gehört nicht zur Projektdatenbank",
            "Tabelle 'Projekt', ID 1, Spalte 'Datum': die Uhrzeit 10:15:00 entfällt, das Feld hält nur das Datum 06.05.2024.",
            "Tabelle 'Projekt', ID 1, Spalte 'LiefTermin': die Tageszahl 3688951 ist kein gültiger Wert (erwartet ein Datum",
            "Die Tabelle 'ProjektAufgaben' fehlt in der alten Datenbank; sie bleibt leer.",
            "Die Tabelle 'Aufgaben' fehlt",
            "Die Tabelle 'Personal' fehlt",
            "Tabelle 'Status', ID 2, Spalte 'Stat_Rang': 'drei' ist kein gültiger Wert (erwartet eine ganze Zahl",
            "Tabelle 'Status', ID 2, Spalte 'Stat_Rang': '70000' ist kein gültiger Wert (erwartet eine ganze Zahl von -32768 bis 32767)",
            "Tabelle 'Status', ID 2: die ID kommt mehrfach vor; die Zeile erhielt die neue ID 3.",
        };
        QCOMPARE(bericht.hinweise.size(), erwartet.size());
        for (int i = 0; i < erwartet.size(); ++i)
            QVERIFY2(bericht.hinweise[i].startsWith(erwartet[i]), qPrintable(bericht.hinweise[i]));

        Abfrage db(neu);
        QCOMPARE(db.spalte("SELECT Datum || '|' || ifnull(LiefTermin, '-') || '|' || Termin FROM Projekt"),
                 QStringList({"2024-05-06|-|2024-05-07 08:00:00"}));
        QCOMPARE(db.spalte("SELECT ID || ' ' || Stat_Bezeichnung || ' ' || ifnull(Stat_Rang, '-') FROM Status ORDER BY ID"),
                 QStringList({"1 offen 3", "2 zu -", "3 doppelt -"}));
        QVERIFY(bericht.text(2).endsWith("  ... und 7 weitere Hinweise."));
    }

    void kaputteDateiHinterlaesstNichts_data()
    {
        QTest::addColumn<int>("kuerzen");   // bytes cut off the end
        QTest::newRow("mitten in einer Seite") << 1000;
        QTest::newRow("letzte Seiten fehlen") << 2 * 4096;
        QTest::newRow("letzte Seite fehlt") << 4096;
        QTest::newRow("nur noch der Kopf") << -4096;   // keep only the first page
    }

    // A cut Access file: a German message naming the file, no new database, nothing left over.
    void kaputteDateiHinterlaesstNichts()
    {
        QFETCH(int, kuerzen);
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        AlteDatenbank::schreiben(alt);
        QByteArray inhalt = Testdateien::lesen(alt);
        inhalt.truncate(kuerzen > 0 ? inhalt.size() - kuerzen : -kuerzen);
        Testdateien::schreibenRoh(alt, inhalt);

        QString meldung;
        try {
            Altdaten::uebernehmen(alt, ordner.filePath("NEU.MDB"));
        } catch (const Fehler& f) {
            meldung = f.text();
        }
        QVERIFY2(meldung.contains("ALT.MDB") && (meldung.contains("unvollständig") || meldung.contains("beschädigt")),
                 qPrintable(meldung));
        QCOMPARE(dateienIn(ordner.path()), QStringList({"ALT.MDB"}));
        QCOMPARE(Testdateien::lesen(alt), inhalt);
    }

    // An existing target is never overwritten.
    void vorhandenesZielBleibt()
    {
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        AlteDatenbank::schreiben(alt);
        Testdateien::schreibenRoh(ordner.filePath("NEU.MDB"), "meins");
        QVERIFY_THROWS_EXCEPTION(Fehler, Altdaten::uebernehmen(alt, ordner.filePath("NEU.MDB")));
        QCOMPARE(Testdateien::lesen(ordner.filePath("NEU.MDB")), QByteArray("meins"));
        QCOMPARE(dateienIn(ordner.path()), QStringList({"ALT.MDB", "NEU.MDB"}));
    }

    // In place: the new database takes the name, the Access file is kept under a free new name
    // (an older copy of that name stays), the report lies beside; a failure changes nothing.
    void umwandelnAnOrtUndStelle()
    {
        QTemporaryDir ordner;
        const QString datei = ordner.filePath("PROJEKT.MDB");
        AlteDatenbank::schreiben(datei);
        const QByteArray altInhalt = Testdateien::lesen(datei);
        Testdateien::schreibenRoh(ordner.filePath("PROJEKT-Access.MDB"), "frühere Sicherung");

        const Altdaten::Umwandlung u = Altdaten::umwandeln(datei);
        QCOMPARE(dateienIn(ordner.path()),
                 QStringList({"PROJEKT-Access 2.MDB", "PROJEKT-Access.MDB", "PROJEKT-Umwandlung.txt", "PROJEKT.MDB"}));
        QCOMPARE(Testdateien::lesen(ordner.filePath("PROJEKT-Access 2.MDB")), altInhalt);
        QCOMPARE(Testdateien::lesen(ordner.filePath("PROJEKT-Access.MDB")), QByteArray("frühere Sicherung"));
        QCOMPARE(u.sicherung, QDir::toNativeSeparators(ordner.filePath("PROJEKT-Access 2.MDB")));
        QCOMPARE(QString::fromUtf8(Testdateien::lesen(ordner.filePath("PROJEKT-Umwandlung.txt"))).trimmed(), u.bericht.text());
        TKADaoDatabase db;
        db.setDatabaseName(datei);
        db.Open();
        QCOMPARE(db.Execute("UPDATE Projekt SET Konto = Konto"), 3);
        db.Close();

        // A cut file and a cancelled run both leave the Access file as it was.
        QTemporaryDir zweiter;
        const QString kaputt = zweiter.filePath("PROJEKT.MDB");
        Testdateien::schreibenRoh(kaputt, altInhalt.left(altInhalt.size() - 4096));
        QVERIFY_THROWS_EXCEPTION(Fehler, Altdaten::umwandeln(kaputt));
        const QString ganz = zweiter.filePath("GANZ.MDB");
        Testdateien::schreibenRoh(ganz, altInhalt);
        QVERIFY_THROWS_EXCEPTION(Fehler, Altdaten::umwandeln(ganz, [](const Altdaten::UebernahmeStand&) { return false; }));
        QCOMPARE(dateienIn(zweiter.path()), QStringList({"GANZ.MDB", "PROJEKT.MDB"}));
        QCOMPARE(Testdateien::lesen(ganz), altInhalt);
    }
};

QTEST_GUILESS_MAIN(TstUebernahme)
#include "tst_uebernahme.moc"
