// Taking an ERP project over as a new project: every field with its conversion, the refusals,
// the automatic task assignment and its transaction, on a real ERP file and a real database.

#include "DataModule1.h"
#include "ErpTestdaten.h"
#include "IniRecord.h"
#include "MasterDatei.h"
#include "MeldungsRecorder.h"
#include "ProjektUebernahme.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QtTest>

using namespace ErpTestdaten;

namespace {

// A project database with the basic data, the data module open on it, and the ERP file open
// as the search dialog leaves it.
struct Umgebung
{
    TestDatenbank db;
    TDataModule1 dm;
    TProjektUebernahme uebernahme{dm};

    explicit Umgebung(const QString& erpOrdner)
    {
        db.grunddaten();
        dm.DBProjekt->setDatabaseName(db.pfad);
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
        IniRecord.MasterVerzeichnis = erpOrdner;
        MasterDateiOeffnen();
        MasterErsterSatz(6);
    }
    ~Umgebung()
    {
        MasterDateiSchliessen();
        BtrieveBeenden();
    }

    qlonglong anzahl(const QString& sql) { return db.wert(sql).toLongLong(); }
    qlonglong projekte() { return anzahl(QStringLiteral("SELECT count(*) FROM Projekt")); }
    QVariant feld(const QString& kommnr, const QString& name)
    {
        if (!dm.TabProjekt->Locate(QStringLiteral("Kommnr"), kommnr))
            return QStringLiteral("<kein Projekt %1>").arg(kommnr);
        return dm.TabProjekt->FieldByName(name)->Value();
    }
};

} // namespace

class TstProjektUebernahme : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    QString m_erp;

private slots:
    void initTestCase()
    {
        m_erp = m_ordner.filePath(QStringLiteral("erp"));
        dateiSchreiben(m_erp, {vollerSatz(), betreffSatz("24-0102", {"A", "", "C"}), ueberlangerSatz(),
                               betreffSatz("24-0104", {"", "Zweite"}), kurzerSatz(QStringLiteral("Ü-7"), QStringLiteral("Überlingen"))});
    }

    void init()
    {
        IniRecord.AufgabenAutomatik = 0;
        IniRecord.Entwicklerversion = false;
        IniRecord.AnzahlStatus = 5;
    }

    void felder_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QVariant>("wert");
        auto zeile = [](const char* feld, const QVariant& wert) { QTest::newRow(feld) << QString::fromLatin1(feld) << wert; };
        zeile("Kommnr", QStringLiteral("24-0101"));
        zeile("EV_Sichtbar", true);
        zeile("PV_Sichtbar", true);
        zeile("Konto", QStringLiteral("10001"));
        zeile("RechnNr", QStringLiteral("R-1"));
        zeile("AngebotsNr", QStringLiteral("A-1"));
        zeile("AuftragsNr", QStringLiteral("AU-77"));
        zeile("Bezeichn", QStringLiteral("Bäckerei Müller"));
        zeile("Datum", QDate(2024, 3, 5));
        zeile("Anrede", QStringLiteral("Firma"));
        zeile("Branche", QStringLiteral("Bäckerei"));
        zeile("Postfach", QStringLiteral("PF 12"));
        zeile("Strasse", QStringLiteral("Hauptstraße 3"));
        zeile("Ort", QStringLiteral("79098 Freiburg"));
        zeile("U_Zchn", QStringLiteral("MÜ"));
        zeile("I_Zchn", QStringLiteral("hb"));
        zeile("Betreff1", QStringLiteral("Umbau Backstube"));
        zeile("Betreff2", QString());
        zeile("Betreff3", QStringLiteral("Lüftung ²"));
        zeile("Betreff_ges", QStringLiteral("Umbau Backstube Lüftung ²"));
        zeile("TRechNr", -3);
        zeile("Baustelle", QStringLiteral("Backstube Süd"));
        zeile("Bauherr", QStringLiteral("Müller"));
        zeile("Architekt", QStringLiteral("Öko-Plan"));
        zeile("BOrt", QStringLiteral("Freiburg"));
        zeile("BStrasse", QStringLiteral("Gartenstr. 1"));
        zeile("BTel", QStringLiteral("0761-1"));
        zeile("ATel", QStringLiteral("0761-2"));
        zeile("UTel", QStringLiteral("0761-3"));
        zeile("Baubegin", QDateTime(QDate(2024, 4, 2), QTime(0, 0)));
        zeile("Termin", QVariant());   // empty date text
        zeile("Faellig", QVariant());  // 31.02.24
        zeile("Bemerkung", QStringLiteral("Zufahrt über Hof"));
        zeile("KundenKey", QStringLiteral("MUELLER"));
        zeile("GutSchrNr", QStringLiteral("G-5"));
        zeile("Kostenstelle", 400);
        zeile("RechDate", QDate(2023, 3, 15));
        zeile("AngDate", QVariant());      // OLE date 0
        zeile("AuftrDate", QVariant());    // below 0
        zeile("GutschrDate", QDate(2023, 3, 16));
        zeile("MontageDate", QVariant());
        zeile("LiefTermin", QVariant());   // not taken over
    }

    void felder()
    {
        QFETCH(QString, feld);
        QFETCH(QVariant, wert);
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0101")));
        QCOMPARE(meldungen.texte(), QStringList());   // bad dates are silent outside the developer build
        u.dm.TabProjekt->Requery();
        const QVariant gespeichert = u.feld(QStringLiteral("24-0101"), feld);
        if (wert.isNull())
            QVERIFY2(gespeichert.isNull(), qPrintable(gespeichert.toString()));
        else
            QCOMPARE(gespeichert, wert);
    }

    void betreffGesamt_data()
    {
        QTest::addColumn<QString>("kommnr");
        QTest::addColumn<QString>("betreff");
        QTest::newRow("Lücke: A C") << "24-0102" << "A C";
        QTest::newRow("erste leer: führendes Leerzeichen") << "24-0104" << " Zweite";
    }

    void betreffGesamt()
    {
        QFETCH(QString, kommnr);
        QFETCH(QString, betreff);
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(kommnr));
        QCOMPARE(u.feld(kommnr, QStringLiteral("Betreff_ges")).toString(), betreff);
    }

    // The number as the list shows it finds its record again through the DOS code page.
    void nummerMitUmlaut()
    {
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("Ü-7")));
        QCOMPARE(u.feld(QStringLiteral("Ü-7"), QStringLiteral("Bezeichn")).toString(), QStringLiteral("Überlingen"));
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("kommnr");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<Meldung::Art>("art");
        QTest::newRow("keine Auswahl") << "" << "Bitte zuerst ein Projekt auswählen." << Meldung::Art::Information;
        QTest::newRow("schon vorhanden") << "P1" << "Projekt schon vorhanden!" << Meldung::Art::Warnung;
        QTest::newRow("nicht in der ERP-Datei")
            << "99-9999" << "Btrieve-Fehler: 4\nDie ERP-Datei enthält kein Projekt mit dieser Nummer." << Meldung::Art::Information;
        QTest::newRow("Hochkomma ist Daten") << "P1' or '1'='1" << "Btrieve-Fehler: 4\nDie ERP-Datei enthält kein Projekt mit dieser Nummer."
                                             << Meldung::Art::Information;
    }

    // A refusal shows its message and stores nothing; the dataset is left browsing.
    void abgelehnt()
    {
        QFETCH(QString, kommnr);
        QFETCH(QString, meldung);
        QFETCH(Meldung::Art, art);
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(!u.uebernahme.ProjektUebernehmen(kommnr));
        QCOMPARE(meldungen.texte(), QStringList({meldung}));
        QCOMPARE(meldungen.meldungen.first().first, art);
        QCOMPARE(u.projekte(), 3);
        QCOMPARE(u.dm.TabProjekt->RecordCount(), 3);
        QCOMPARE(u.dm.TabProjekt->State(), TDataSetState::dsBrowse);
    }

    void zweimalUebernehmen()
    {
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0102")));
        QVERIFY(!u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0102")));
        QCOMPARE(meldungen.texte(), QStringList({QStringLiteral("Projekt schon vorhanden!")}));
        QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Projekt WHERE Kommnr = '24-0102'")), 1);
    }

    // Over-long texts are cut to their field, the cost centre kept at the 16-bit limit, and the
    // user is told once which fields were cut.
    void ueberlangeWerteGekuerzt()
    {
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0103")));
        const QString k = QStringLiteral("24-0103");
        QCOMPARE(u.feld(k, QStringLiteral("AuftragsNr")).toString(), QString(10, QLatin1Char('7')));
        QCOMPARE(u.feld(k, QStringLiteral("UTel")).toString(), QStringLiteral("+49 761 123456-"));
        QCOMPARE(u.feld(k, QStringLiteral("Bemerkung")).toString(), QString(50, QLatin1Char('x')));
        QCOMPARE(u.feld(k, QStringLiteral("KundenKey")).toString(), QString(30, QLatin1Char('k')));
        QCOMPARE(u.feld(k, QStringLiteral("Kostenstelle")).toInt(), -32768);
        QCOMPARE(u.db.wert(QStringLiteral("SELECT length(KundenKey) FROM Projekt WHERE Kommnr = '24-0103'")).toInt(), 30);
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Das Projekt 24-0103 wurde übernommen. Diese Werte passten nicht ganz in die "
                                             "Projekttabelle und wurden gekürzt: AuftragsNr, UTel, Bemerkung, KundenKey, "
                                             "Kostenstelle")}));
    }

    // The developer build names each date text that does not convert; the take-over goes on.
    void datumsfehlerInDerEntwicklerversion()
    {
        IniRecord.Entwicklerversion = true;
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0101")));
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Konvertierungsfehler\n'' ist kein gültiges Datum.\nim Projekt :24-0101"),
                              QStringLiteral("Konvertierungsfehler\n'31.02.24' ist kein gültiges Datum.\nim Projekt :24-0101")}));
        QVERIFY(u.feld(QStringLiteral("24-0101"), QStringLiteral("Faellig")).isNull());
    }

    void aufgabenAutomatik_data()
    {
        QTest::addColumn<int>("automatik");
        QTest::addColumn<int>("aufgaben");
        QTest::addColumn<int>("fensterAufrufe");
        QTest::newRow("0 manuell") << 0 << 0 << 0;
        QTest::newRow("1 Fenster") << 1 << 0 << 1;
        QTest::newRow("2 alle") << 2 << 2 << 0;
    }

    void aufgabenAutomatik()
    {
        QFETCH(int, automatik);
        QFETCH(int, aufgaben);
        QFETCH(int, fensterAufrufe);
        IniRecord.AufgabenAutomatik = automatik;
        Umgebung u(m_erp);
        MeldungsRecorder meldungen;
        QList<QPair<QString, int>> aufrufe;
        u.uebernahme.AufgabenFensterOeffnen = [&](const QString& kommnr, int id) { aufrufe.append({kommnr, id}); };
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0102")));

        const int id = u.uebernahme.ProjektID();
        QCOMPARE(u.feld(QStringLiteral("24-0102"), QStringLiteral("ID")).toInt(), id);
        QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = %1").arg(id)), aufgaben);
        QCOMPARE(aufrufe.size(), fensterAufrufe);
        if (fensterAufrufe)
            QCOMPARE(aufrufe.first(), qMakePair(QStringLiteral("24-0102"), id));
        if (aufgaben) {
            // One task per catalogue task, the project's summary written, the marks cleared again.
            QCOMPARE(u.anzahl(QStringLiteral("SELECT count(DISTINCT Aufgabe_ID) FROM ProjektAufgaben WHERE Projekt_ID = %1").arg(id)), 2);
            QVERIFY(!u.db.wert(QStringLiteral("SELECT Last_Aufgabe FROM Projekt WHERE ID = %1").arg(id)).isNull());
            QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")), 0);
        }
        QCOMPARE(meldungen.texte(), QStringList());
    }

    // A task the database refuses takes the whole take-over back: no project without its tasks,
    // no half of its tasks, the catalogue's marks as before.
    void aufgabenFehlerNimmtAllesZurueck()
    {
        IniRecord.AufgabenAutomatik = 2;
        Umgebung u(m_erp);
        u.db.fremd(QStringLiteral("CREATE TRIGGER sperre BEFORE INSERT ON ProjektAufgaben WHEN NEW.Aufgabe_ID = 2 "
                                  "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
        MeldungsRecorder meldungen;
        QVERIFY(fehlerText([&] { u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0102")); }).contains(QStringLiteral("gesperrt")));
        QCOMPARE(u.projekte(), 3);
        QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben")), 3);
        QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")), 0);
        QCOMPARE(u.dm.TabProjekt->RecordCount(), 3);
        QCOMPARE(u.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        QVERIFY(!u.dm.TabProjekt->Locate(QStringLiteral("Kommnr"), QStringLiteral("24-0102")));
        QVERIFY(u.dm.TabProjektAufgaben->State() == TDataSetState::dsBrowse);
        QCOMPARE(u.dm.TabAufgaben->FieldByName(QStringLiteral("Select"))->AsBoolean(), false);

        // The connection is usable again: the next take-over goes through.
        u.db.fremd(QStringLiteral("DROP TRIGGER sperre"));
        QVERIFY(u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0102")));
        QCOMPARE(u.projekte(), 4);
    }

    // A database refusal of the project row itself leaves nothing behind either.
    void projektFehlerLaesstNichtsZurueck()
    {
        Umgebung u(m_erp);
        u.db.fremd(QStringLiteral("CREATE TRIGGER sperre BEFORE INSERT ON Projekt BEGIN SELECT RAISE(ABORT, 'voll'); END"));
        MeldungsRecorder meldungen;
        QVERIFY(fehlerText([&] { u.uebernahme.ProjektUebernehmen(QStringLiteral("24-0101")); }).contains(QStringLiteral("voll")));
        QCOMPARE(u.projekte(), 3);
        QCOMPARE(u.dm.TabProjekt->RecordCount(), 3);
        QCOMPARE(u.dm.TabProjekt->State(), TDataSetState::dsBrowse);
    }
};

QTEST_GUILESS_MAIN(TstProjektUebernahme)
#include "tst_projektuebernahme.moc"
