#include "AnweisungsZaehler.h"
#include "DataModule1.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QTest>
#include <memory>

namespace {

// A project database with the basic data and the module open on it.
struct Modul
{
    TestDatenbank db;
    TDataModule1 dm;

    explicit Modul(const std::function<void(TestDatenbank&)>& daten = [](TestDatenbank& d) { d.grunddaten(); })
        : db(TestDatenbank::serverDesTests())
    {
        daten(db);
        dm.DBProjekt->setDatabaseName(db.pfad);
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
    }

    QVariant projekt(const char* feld) const { return dm.TabProjekt->FieldByName(QLatin1String(feld))->Value(); }
    void zuProjekt(int id) { QVERIFY(dm.TabProjekt->Locate(QStringLiteral("ID"), id)); }
    qlonglong anzahl(const QString& sql) { return db.wert(sql).toLongLong(); }
};

} // namespace

class TstDataModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { TestDatenbank::motoren(); }

    void init() { IniRecord.AnzahlStatus = 5; }

    void aufbauUndOeffnen()
    {
        Modul m;
        QCOMPARE(DataModule1, &m.dm);
        QStringList reihenfolge;
        m.dm.DBProjekt->Close();
        m.dm.DBProjekt->Open();
        m.dm.DatenmengenOeffnen([&](TKADaoTable* t) {
            QVERIFY(!t->Active());
            reihenfolge << t->objectName();
        });
        QCOMPARE(reihenfolge, QStringList({"TabAufgaben", "TabPersonal", "TabStatus", "TabStatSum", "TabProjekt",
                                           "TabProjektView", "TabProjektAufgaben", "QProjektAufgaben"}));
        QVERIFY(!m.dm.TabSuche->Active() && !m.dm.TabTemp->Active());
        QVERIFY(!m.dm.TabStatSum->CanModify());
        QVERIFY(m.dm.TabProjekt->CanModify());
        QCOMPARE(m.dm.findChild<TDataSource*>(QStringLiteral("dsQProjektAufgaben"))->DataSet(), m.dm.QProjektAufgaben);
        QCOMPARE(m.dm.DSProjektAufgaben->DataSet()->MasterSource(), m.dm.DSProjekt);

        // Formats the windows rely on.
        QCOMPARE(m.dm.TabProjektView->FieldByName(QStringLiteral("MontageDate"))->EditMask(), "!90/90/0000;1;_");
        QVERIFY(m.dm.TabProjekt->FieldByName(QStringLiteral("MontageDate"))->EditMask().isEmpty());
        QCOMPARE(m.dm.TabProjektAufgaben->FieldByName(QStringLiteral("Status_ID"))->DisplayFormat(), "##");
        QCOMPARE(m.dm.TabPersonal->FieldByName(QStringLiteral("StdLohn"))->Precision(), 7);

        // Derived fields of the first project: tasks of ranks 4 and 1; the tasks follow it.
        QCOMPARE(m.projekt("AnzAufg"), QVariant(2));
        QCOMPARE(m.projekt("SumRang"), QVariant(5));
        QCOMPARE(m.projekt("Status").toDouble(), 5.0 / 8.0 * 100.0);
        QCOMPARE(m.dm.TabProjektAufgaben->RecordCount(), 2);
        QCOMPARE(m.dm.TabProjektAufgaben->FieldByName(QStringLiteral("Rang"))->Value(), QVariant(4));
        QCOMPARE(m.dm.QProjektAufgaben->RecordCount(), 1);
        QCOMPARE(m.dm.AnzahlStatusErmitteln(), 5);
    }

    // The wall list is read from its index alone, not from the project table (several times its
    // size): a column shown on the wall but missing from the index would make every full read
    // walk the table again.
    void wandlisteAusDemIndex()
    {
        if (TestDatenbank::serverDesTests())
            QSKIP("Auf dem Server wählt der Planer nach seiner Statistik; der Index ist dort nur ein Angebot.");
        Modul m;
        AnweisungsZaehler zaehler(m.dm.DBProjekt);
        m.dm.TabProjektView->Requery();
        QString lesen;
        for (const QString& sql : zaehler.anweisungen())
            if (sql.contains(QLatin1String("from projekt"), Qt::CaseInsensitive))
                lesen = sql;
        QVERIFY2(!lesen.isEmpty(), qPrintable(zaehler.anweisungen().join(QLatin1Char('\n'))));
        sqlite3_stmt* plan = nullptr;
        QCOMPARE(sqlite3_prepare_v2(m.dm.DBProjekt->Handle(), ("EXPLAIN QUERY PLAN " + lesen).toUtf8().constData(), -1,
                                    &plan, nullptr),
                 SQLITE_OK);
        QStringList schritte;
        while (sqlite3_step(plan) == SQLITE_ROW)
            schritte << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
        sqlite3_finalize(plan);
        QCOMPARE(schritte.join(QLatin1Char('\n')).toLower(), QStringLiteral("scan projekt using covering index projekt_wandliste"));
        QVERIFY(m.dm.TabProjektView->Locate(QStringLiteral("Kommnr"), QStringLiteral("P1")));
        QCOMPARE(m.dm.TabProjektView->FieldByName(QStringLiteral("Ort"))->Value(),
                 m.db.wert(QStringLiteral("SELECT Ort FROM Projekt WHERE Kommnr = 'P1'")));
    }

    // The check after opening finds a damaged file: the user reads it once, whatever window is
    // up, and the project summary is not written into the file.
    void beschaedigteDatenbankWirdGemeldet()
    {
        if (TestDatenbank::serverDesTests())
            QSKIP("Beschädigte Seiten gibt es nur in einer Datenbankdatei; der Server prüft seine selbst.");
        MeldungsRecorder meldungen;
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.letzteSeiteBeschaedigen();
        });
        const QString beschaedigt = QStringLiteral("Die Datenbank '%1' ist beschädigt; bitte die Sicherung zurückspielen.")
                                        .arg(m.dm.DBProjekt->Dateipfad());
        QTRY_COMPARE(meldungen.texte(), QStringList{beschaedigt});
        QCOMPARE(fehlerText([&] { m.dm.ProjektStandAktualisieren(); }), beschaedigt);
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        QCOMPARE(meldungen.texte().size(), 1);
    }

    void status_data()
    {
        QTest::addColumn<int>("anzahlStatus");
        QTest::addColumn<QList<int>>("raenge");
        QTest::addColumn<QVariant>("status");
        QTest::newRow("Hälfte") << 5 << QList<int>{0, 2, 4} << QVariant(50.0);
        QTest::newRow("alle erledigt") << 5 << QList<int>{4, 4} << QVariant(100.0);
        QTest::newRow("Anzahl noch nicht gesetzt") << 0 << QList<int>{1, 2} << QVariant(-150.0);
        QTest::newRow("nur ein Status") << 1 << QList<int>{0, 0} << QVariant();
        QTest::newRow("ohne Aufgaben") << 5 << QList<int>{} << QVariant();
    }
    void status()
    {
        QFETCH(int, anzahlStatus);
        QFETCH(QList<int>, raenge);
        QFETCH(QVariant, status);
        IniRecord.AnzahlStatus = anzahlStatus;
        Modul m([&](TestDatenbank& d) {
            d.grunddaten();
            d.fremd(QStringLiteral("DELETE FROM ProjektAufgaben WHERE Projekt_ID = 1"));
            for (int rang : raenge)
                d.fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID, Prioritaet) VALUES (1, %1, 1)")
                            .arg(rang + 1));
        });
        for (TKADaoTable* t : {m.dm.TabProjekt, m.dm.TabProjektView}) {
            QVERIFY(t->Locate(QStringLiteral("ID"), 1));
            const QVariant wert = t->FieldByName(QStringLiteral("Status"))->Value();
            QCOMPARE(wert.isNull(), status.isNull());
            if (!status.isNull())
                QCOMPARE(wert.toDouble(), status.toDouble());
            QCOMPARE(t->FieldByName(QStringLiteral("AnzAufg"))->IsNull(), raenge.isEmpty());
            QCOMPARE(t->FieldByName(QStringLiteral("SumRang"))->IsNull(), raenge.isEmpty());
        }
    }

    // The current task of a project (the third one, without tasks at first) goes into its summary.
    void aktuelleAufgabe_data()
    {
        QTest::addColumn<QString>("aufgabe");   // Aufgabe_ID, Datum_bis, Mitarbeiter, Status_ID; empty: none
        QTest::addColumn<QVariantList>("stand"); // Last_Aufgabe, Last_Datum, Last_Personal, Last_Rang
        const QVariantList alt{9, QDate(2023, 5, 1), 9, 3};
        QTest::newRow("vollständig") << "2, '2024-06-30 00:00:00', 1, 3" << QVariantList{2, QDate(2024, 6, 30), 1, 2};
        QTest::newRow("ohne Enddatum") << "2, NULL, 1, 3" << QVariantList{2, QVariant(), 1, 2};
        QTest::newRow("ohne Nummern") << "NULL, '2024-06-30', NULL, NULL" << QVariantList{QVariant(), QDate(2024, 6, 30), QVariant(), QVariant()};
        QTest::newRow("keine Aufgabe") << "" << alt;
        QTest::newRow("nur erledigte") << "2, NULL, 1, 5" << alt;
    }
    void aktuelleAufgabe()
    {
        QFETCH(QString, aufgabe);
        QFETCH(QVariantList, stand);
        Modul m([&](TestDatenbank& d) {
            d.grunddaten();
            d.fremd(QStringLiteral("UPDATE Projekt SET Last_Aufgabe = 9, Last_Datum = '2023-05-01', Last_Personal = 9, "
                                   "Last_Rang = 3 WHERE ID = 3"));
            if (!aufgabe.isEmpty())
                d.fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Datum_bis, Mitarbeiter, "
                                       "Status_ID, Prioritaet) VALUES (3, %1, 1)").arg(aufgabe));
        });
        m.zuProjekt(3);
        m.dm.ProjektStandAktualisieren();
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        const QVariantList ist{m.projekt("Last_Aufgabe"), m.projekt("Last_Datum"), m.projekt("Last_Personal"),
                               m.projekt("Last_Rang")};
        QCOMPARE(ist, stand);
        QCOMPARE(m.db.wert(QStringLiteral("SELECT Last_Aufgabe FROM Projekt WHERE ID = 3")).isNull(), stand[0].isNull());
    }

    // The public view's timer calls the summary every few seconds: a failing write must not
    // leave the project row pending, nor throw away what the user is typing into it.
    void standScheitert_data()
    {
        QTest::addColumn<bool>("benutzerBearbeitet");
        QTest::newRow("Zeitgeber") << false;
        QTest::newRow("Benutzer bearbeitet das Projekt") << true;
    }
    void standScheitert()
    {
        QFETCH(bool, benutzerBearbeitet);
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.sperre(QStringLiteral("UPDATE"), QStringLiteral("Projekt"));
        });
        if (benutzerBearbeitet) {
            m.dm.TabProjekt->Edit();
            m.dm.TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->setValue(QStringLiteral("Neu"));
        }
        QVERIFY(fehlerText([&] { m.dm.ProjektStandAktualisieren(); }).contains(QStringLiteral("gesperrt")));
        QCOMPARE(m.dm.TabProjekt->State(), benutzerBearbeitet ? TDataSetState::dsEdit : TDataSetState::dsBrowse);
        QCOMPARE(m.projekt("Bezeichn"), QVariant(benutzerBearbeitet ? "Neu" : "Bäckerei Huber"));
        QCOMPARE(m.projekt("Last_Aufgabe"), benutzerBearbeitet ? QVariant(2) : QVariant());
    }

    // A new unfinished task with the lowest priority becomes current at once; deleting it
    // changes nothing until the next post.
    void neueAufgabeUndLoeschen()
    {
        Modul m;
        QCOMPARE(m.projekt("Last_Aufgabe"), QVariant());
        TKADaoTable* a = m.dm.TabProjektAufgaben;
        a->Append();
        a->FieldByName(QStringLiteral("Aufgabe_ID"))->setValue(7);
        a->FieldByName(QStringLiteral("Mitarbeiter"))->setValue(2);
        a->FieldByName(QStringLiteral("Status_ID"))->setValue(3);
        a->FieldByName(QStringLiteral("Prioritaet"))->setValue(5);
        a->FieldByName(QStringLiteral("Datum_bis"))->setValue(QDateTime(QDate(2024, 1, 10), QTime(0, 0)));
        a->Post();
        QCOMPARE(m.projekt("Last_Aufgabe"), QVariant(7));
        QCOMPARE(m.projekt("Last_Datum"), QVariant(QDate(2024, 1, 10)));
        QCOMPARE(m.projekt("Last_Personal"), QVariant(2));
        QCOMPARE(m.projekt("Last_Rang"), QVariant(2));
        QCOMPARE(m.anzahl(QStringLiteral("SELECT Last_Aufgabe FROM Projekt WHERE ID = 1")), 7);
        QCOMPARE(m.projekt("AnzAufg"), QVariant(3));
        QCOMPARE(m.projekt("SumRang"), QVariant(7));
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);

        a->Delete();
        QCOMPARE(m.projekt("Last_Aufgabe"), QVariant(7));
        QCOMPARE(m.projekt("AnzAufg"), QVariant(3));

        // The next post of any task brings the summary up to date.
        QVERIFY(a->Locate(QStringLiteral("Aufgabe_ID"), 2));
        a->Edit();
        a->FieldByName(QStringLiteral("Bemerkung"))->setValue(QStringLiteral("Kunde informiert"));
        a->Post();
        QCOMPARE(m.projekt("Last_Aufgabe"), QVariant(2));
        QCOMPARE(m.projekt("AnzAufg"), QVariant(2));
    }

    // The program closes while a task is being changed that another PC has deleted: the
    // module goes without storing (and without failing), and the task stays deleted.
    void schliessenMitUnspeicherbarerEingabe()
    {
        auto m = std::make_unique<Modul>();
        TKADaoTable* aufgaben = m->dm.TabProjektAufgaben;
        QVERIFY(aufgaben->Locate(QStringLiteral("Aufgabe_ID"), 2));
        aufgaben->Edit();
        aufgaben->FieldByName(QStringLiteral("Bemerkung"))->setAsString(QStringLiteral("Kunde informiert"));
        m->db.fremd(QStringLiteral("DELETE FROM ProjektAufgaben WHERE Aufgabe_ID = 2"));
        m->dm.DBProjekt->Close();
        QVERIFY(!m->dm.DBProjekt->Connected());
        QCOMPARE(m->anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Aufgabe_ID = 2")), 0);
        m.reset();
    }

    void zweiterPlatz_data()
    {
        QTest::addColumn<bool>("bytesAndererProgramme");
        QTest::newRow("UTF-8") << false;
        QTest::newRow("Bezeichnung nicht UTF-8") << true;
    }

    // Two PCs on one database: the office edits project P1's address while the other PC posts
    // a task of P1, whose after-post rewrites P1's summary. Neither is refused or asked, and
    // both changes are kept; a name stored by another tool in Windows-1252 changes nothing.
    void zweiterPlatz()
    {
        QFETCH(bool, bytesAndererProgramme);
        if (bytesAndererProgramme && TestDatenbank::serverDesTests())
            QSKIP("Ein Datenbankserver nimmt nur gültiges UTF-8 an; solche Bytes gibt es nur in Dateien.");
        MeldungsRecorder meldungen;
        Modul buero([&](TestDatenbank& d) {
            d.grunddaten();
            if (bytesAndererProgramme)
                d.fremd(QStringLiteral("UPDATE Projekt SET Bezeichn = CAST(X'42E4636B6572' AS TEXT) WHERE ID = 1"));
        });
        TDataModule1 zweiter;
        zweiter.DBProjekt->setDatabaseName(buero.db.pfad);
        zweiter.DBProjekt->Open();
        zweiter.DatenmengenOeffnen();

        buero.dm.TabProjekt->Edit();
        buero.dm.TabProjekt->FieldByName(QStringLiteral("Strasse"))->setAsString(QStringLiteral("Hauptstr. 1"));

        TKADaoTable* aufgaben = zweiter.TabProjektAufgaben;
        QVERIFY(aufgaben->Locate(QStringLiteral("Aufgabe_ID"), 2));
        aufgaben->Edit();
        aufgaben->FieldByName(QStringLiteral("Status_ID"))->setAsInteger(4);
        aufgaben->Post();
        QCOMPARE(buero.anzahl(QStringLiteral("SELECT Last_Rang FROM Projekt WHERE ID = 1")), 3);

        buero.dm.TabProjekt->Post();
        QCOMPARE(buero.db.wert(QStringLiteral("SELECT Strasse || '|' || Last_Rang || '|' || hex(Bezeichn) FROM Projekt "
                                              "WHERE ID = 1")).toString(),
                 QStringLiteral("Hauptstr. 1|3|") + (bytesAndererProgramme ? "42E4636B6572" : "42C3A4636B65726569204875626572"));
        QCOMPARE(buero.projekt("Last_Rang"), QVariant(3));

        // The office's own task post rewrites the summary again over the other PC's.
        TKADaoTable* eigene = buero.dm.TabProjektAufgaben;
        QVERIFY(eigene->Locate(QStringLiteral("Aufgabe_ID"), 2));
        eigene->Edit();
        eigene->FieldByName(QStringLiteral("Status_ID"))->setAsInteger(3);
        eigene->Post();
        QCOMPARE(buero.anzahl(QStringLiteral("SELECT Last_Rang FROM Projekt WHERE ID = 1")), 2);
        QVERIFY(meldungen.fragen.isEmpty());
    }

    // A project renumbered on the other PC is not the one the user meant to change: the user
    // is asked, and "Nein" stores nothing.
    void umnummeriertesProjekt()
    {
        MeldungsRecorder meldungen;
        meldungen.antwort = false;
        Modul m;
        m.dm.TabProjekt->Edit();
        m.dm.TabProjekt->FieldByName(QStringLiteral("Strasse"))->setAsString(QStringLiteral("Hauptstr. 1"));
        m.db.fremd(QStringLiteral("UPDATE Projekt SET Kommnr = 'P1-alt' WHERE ID = 1"));
        QVERIFY(fehlerText([&] { m.dm.TabProjekt->Post(); }).contains(QStringLiteral("inzwischen")));
        QCOMPARE(meldungen.fragen.size(), 1);
        QVERIFY(meldungen.fragen.first().second.contains(QStringLiteral("Feld 'Kommnr': gespeichert ist jetzt 'P1-alt', gelesen war 'P1'.")));
        QVERIFY(m.db.wert(QStringLiteral("SELECT Strasse FROM Projekt WHERE ID = 1")).isNull());
    }

    void zuordnen_data()
    {
        QTest::addColumn<bool>("alleMarkieren");
        QTest::addColumn<int>("neueZeilen");
        QTest::newRow("nichts markiert") << false << 0;
        QTest::newRow("ganzer Katalog") << true << 3;
    }
    void zuordnen()
    {
        QFETCH(bool, alleMarkieren);
        QFETCH(int, neueZeilen);
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.fremd(QStringLiteral("INSERT INTO Aufgaben (Aufg_Bezeichnung) VALUES (NULL)"));
        });
        // Set as the ERP take-over sets them, without reading the catalogue again.
        if (alleMarkieren)
            m.dm.AufgabenAuswahlSetzen(1);
        int nachPost = 0;
        const auto handler = m.dm.TabProjektAufgaben->AfterPost;
        m.dm.TabProjektAufgaben->AfterPost = [&](TKADaoTable* t) {
            ++nachPost;
            handler(t);
        };
        m.zuProjekt(3);
        m.dm.AusgewaehlteAufgabenZuordnen(3);

        QCOMPARE(nachPost, neueZeilen);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 3")), neueZeilen);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")), 0);
        QCOMPARE(m.dm.TabProjektAufgaben->RecordCount(), neueZeilen);
        if (!neueZeilen) {
            QVERIFY(m.projekt("AnzAufg").isNull());
            return;
        }
        // Values copied in catalogue order; the empty catalogue numbers as 0.
        QCOMPARE(m.db.wert(QStringLiteral("SELECT group_concat(Aufgabe_ID || '/' || Mitarbeiter || '/' || Status_ID || '/' "
                                          "|| Prioritaet || '/' || ifnull(Bezeichnung, '-'), ' ') FROM "
                                          "(SELECT * FROM ProjektAufgaben WHERE Projekt_ID = 3 ORDER BY ID)")),
                 QVariant(QStringLiteral("1/1/1/10/Aufmaß 2/2/1/20/Montage 3/0/0/0/")));
        QCOMPARE(m.projekt("AnzAufg"), QVariant(3));
        // The current task: the one with the lowest priority among the unfinished ones.
        QCOMPARE(m.projekt("Last_Aufgabe"), QVariant(3));
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
    }

    // An error half-way assigns nothing at all: no row in the file or the grid, the project's
    // summary as before, the marks kept, so that the same selection can simply be tried again.
    void zuordnenScheitertMittendrin()
    {
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.sperre(QStringLiteral("INSERT"), QStringLiteral("ProjektAufgaben"), QStringLiteral("NEW.Aufgabe_ID = 2"));
        });
        m.dm.AufgabenAuswahlSetzen(1);
        m.dm.TabAufgaben->Requery();
        m.zuProjekt(3);
        const QString text = fehlerText([&] { m.dm.AusgewaehlteAufgabenZuordnen(3); });
        QVERIFY2(text.contains(QStringLiteral("keine Aufgabe")) && text.contains(QStringLiteral("gesperrt")),
                 qPrintable(text));
        QVERIFY(!m.dm.DBProjekt->InTransaction());
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 3")), 0);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")), 2);
        QCOMPARE(m.dm.TabProjektAufgaben->State(), TDataSetState::dsBrowse);
        QCOMPARE(m.dm.TabProjektAufgaben->RecordCount(), 0);
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        QVERIFY(m.projekt("AnzAufg").isNull());
        QVERIFY(m.projekt("Last_Aufgabe").isNull());

        m.db.sperreAufheben(QStringLiteral("ProjektAufgaben"));
        m.dm.AusgewaehlteAufgabenZuordnen(3);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 3")), 2);
        QCOMPARE(m.projekt("AnzAufg"), QVariant(2));
    }

    // The summary is written last; when that fails, the rows appended before go as well and
    // the project row shows what is stored.
    void zuordnenStandScheitert()
    {
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.sperre(QStringLiteral("UPDATE OF Last_Aufgabe"), QStringLiteral("Projekt"));
        });
        m.dm.AufgabenAuswahlSetzen(1);
        m.dm.TabAufgaben->Requery();
        m.zuProjekt(3);
        QVERIFY(fehlerText([&] { m.dm.AusgewaehlteAufgabenZuordnen(3); }).contains(QStringLiteral("gesperrt")));
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben")), 3);
        QCOMPARE(m.dm.TabProjektAufgaben->RecordCount(), 0);
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        QVERIFY(m.projekt("Last_Aufgabe").isNull());
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")), 2);
    }

    // Without a stored project row nothing may write an empty project or orphan tasks.
    void keinAktuellesProjekt()
    {
        Modul m;
        m.dm.TabProjekt->setFilter(QStringLiteral("PV_Sichtbar"));
        m.db.fremd(QStringLiteral("UPDATE Projekt SET PV_Sichtbar = 0"));
        m.dm.TabProjekt->Requery();
        m.dm.TabProjekt->setFiltered(true);
        QCOMPARE(m.dm.TabProjekt->RecordCount(), 0);

        m.dm.ProjektStandAktualisieren();
        m.dm.TabProjektAufgabenAfterPost(m.dm.TabProjektAufgaben);
        m.dm.AufgabenAuswahlSetzen(1);
        m.dm.TabAufgaben->Requery();
        QVERIFY(!fehlerText([&] { m.dm.AusgewaehlteAufgabenZuordnen(0); }).isEmpty());
        QCOMPARE(m.dm.TabProjekt->State(), TDataSetState::dsBrowse);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM Projekt")), 3);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben")), 3);
    }

    void abfrageHatErgebnis_data()
    {
        QTest::addColumn<QString>("kommnr");
        QTest::addColumn<bool>("vorhanden");
        QTest::newRow("vorhanden") << "P1" << true;
        QTest::newRow("fehlt") << "P9" << false;
        QTest::newRow("leer") << "" << false;
        QTest::newRow("Hochkomma") << "O'Neil 7" << true;
        QTest::newRow("Einschleusen") << "x' or '1'='1" << false;
        QTest::newRow("Anweisung angehängt") << "x'; delete from projekt; --" << false;
    }
    void abfrageHatErgebnis()
    {
        QFETCH(QString, kommnr);
        QFETCH(bool, vorhanden);
        Modul m([](TestDatenbank& d) {
            d.grunddaten();
            d.fremd(QStringLiteral("INSERT INTO Projekt (Kommnr) VALUES ('O''Neil 7')"));
        });
        QCOMPARE(m.dm.AbfrageHatErgebnis(TDataModule1::ExistenzAbfrage(kommnr)), vorhanden);
        QVERIFY(!m.dm.TabSuche->Active());
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM Projekt")), 4);
    }

    void projektAufgabenLoeschen()
    {
        Modul m;
        m.dm.ProjektAufgabenLoeschen(1);
        QVERIFY(!m.dm.TabTemp->Active());
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 1")), 0);
        QCOMPARE(m.anzahl(QStringLiteral("SELECT count(*) FROM ProjektAufgaben")), 1);
        // No after-post steps: the summary stays as it was.
        QCOMPARE(m.projekt("AnzAufg"), QVariant(2));
    }
};

QTEST_GUILESS_MAIN(TstDataModule)
#include "tst_datamodule.moc"
