#include "AnweisungsZaehler.h"
#include "FremdeSperre.h"
#include "Schema.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "MeldungsRecorder.h"
#include "TestDatenbank.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

namespace {

std::unique_ptr<TKADaoTable> tabelle(TKADaoDatabase& db, const QString& name, const QString& tabellenName,
                                     const QString& sql = QString())
{
    auto t = std::make_unique<TKADaoTable>();
    t->setObjectName(name);
    t->setDatabase(&db);
    t->setTableName(tabellenName);
    t->setSQL(sql);
    return t;
}

QString kommnr(TKADaoTable& t)
{
    return t.FieldByName(QStringLiteral("Kommnr"))->AsString();
}

// Progress of a project in percent, as the data module computes it (five statuses).
void fortschritt(TKADaoTable* t)
{
    const QVariant anzahl = t->FieldByName(QStringLiteral("AnzAufg"))->Value();
    const QVariant summe = t->FieldByName(QStringLiteral("SumRang"))->Value();
    QVariant status;
    if (!anzahl.isNull() && !summe.isNull())
        status = summe.toDouble() / (4.0 * anzahl.toInt()) * 100.0;
    t->FieldByName(QStringLiteral("Status"))->setValue(status);
}

} // namespace

class TstKADaoTable : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TKADaoDatabase> m_db;

    // A list of 300 projects ("Ort " and its number in Ort) holding only Kommnr of each.
    std::unique_ptr<TKADaoTable> dreihundertProjekteMitKommnr()
    {
        m_t->fremd(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 297) "
                                  "INSERT INTO Projekt (Kommnr, Ort) SELECT 'S' || i, 'Ort S' || i FROM n"));
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Ort = 'Ort ' || Kommnr"));
        auto t = tabelle(*m_db, QStringLiteral("Liste"), QStringLiteral("Projekt"));
        t->setGehalteneSpalten({QStringLiteral("Kommnr")});
        t->Open();
        return t;
    }

private slots:
    void initTestCase_data() { TestDatenbank::motoren(); }

    void init()
    {
        QFETCH_GLOBAL(bool, server);
        m_t = std::make_unique<TestDatenbank>(server);
        m_t->grunddaten();
        m_db = std::make_unique<TKADaoDatabase>();
        m_db->setDatabaseName(m_t->pfad);
        m_db->Open();
    }

    void cleanup()
    {
        m_db.reset();
        m_t.reset();
    }

    // Every column comes with the kind and width the schema declares, tables and stored
    // queries alike, in the column order, by name in any case.
    void feldtypenWieImSchema()
    {
        auto pruefen = [](TKADaoTable& t, const std::vector<Schema::Spalte>& spalten, const QString& quelle) {
            QCOMPARE(t.FieldCount(), int(spalten.size()));
            for (size_t i = 0; i < spalten.size(); ++i) {
                const Schema::Spalte& s = spalten[i];
                const TField* f = t.FindField(s.name.toLower());
                QVERIFY2(f, qPrintable(quelle + QLatin1Char('.') + s.name));
                QCOMPARE(f->Index(), int(i));
                QCOMPARE(f->FieldName(), s.name);
                QVERIFY2(f->DataType() == s.typ, qPrintable(quelle + QLatin1Char('.') + s.name));
                QCOMPARE(f->Size(), s.breite);
            }
        };
        for (const Schema::Tabelle& tab : Schema::tabellen()) {
            auto t = tabelle(*m_db, QStringLiteral("Tab"), tab.name.toUpper());
            t->Open();
            pruefen(*t, tab.spalten, tab.name);
            QCOMPARE(t->FieldByName(QStringLiteral("ID"))->ReadOnly(), true);
        }
        for (const Schema::Abfrage& abfrage : Schema::abfragen()) {
            auto t = tabelle(*m_db, QStringLiteral("Q"), QString(), QStringLiteral("select * from ") + abfrage.name.toLower());
            t->Open();
            pruefen(*t, abfrage.spalten, abfrage.name);
        }
    }

    void navigation()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("projekt"));
        QVERIFY(t->IsEmpty());
        QCOMPARE(t->RecordCount(), 0);
        t->Open();
        QCOMPARE(t->RecordCount(), 3);
        QVERIFY(!t->IsEmpty());
        QVERIFY(t->Bof());
        QVERIFY(!t->Eof());
        QCOMPARE(kommnr(*t), QStringLiteral("P1"));

        QStringList gelesen;
        for (t->First(); !t->Eof(); t->Next())
            gelesen << kommnr(*t);
        QCOMPARE(gelesen, QStringList({"P1", "P2", "P3"}));
        QCOMPARE(kommnr(*t), QStringLiteral("P3"));  // Next at the end stays on the last row
        t->Prior();
        QCOMPARE(kommnr(*t), QStringLiteral("P2"));
        t->First();
        t->Prior();
        QVERIFY(t->Bof());
        QCOMPARE(kommnr(*t), QStringLiteral("P1"));
        t->Last();
        QVERIFY(t->Eof());
        QCOMPARE(kommnr(*t), QStringLiteral("P3"));
        t->MoveToRow(1);
        QCOMPARE(t->CurrentRow(), 1);
        QCOMPARE(kommnr(*t), QStringLiteral("P2"));
        // Reading another row does not move.
        QCOMPARE(t->RowValue(2, t->FieldByName(QStringLiteral("Kommnr"))->Index()).toString(), QStringLiteral("P3"));
        QCOMPARE(t->CurrentRow(), 1);
        QVERIFY(t->Locate(QStringLiteral("kommnr"), QStringLiteral("P3")));
        QCOMPARE(t->CurrentRow(), 2);
        QVERIFY(!t->Locate(QStringLiteral("Kommnr"), QStringLiteral("P9")));
        QCOMPARE(t->CurrentRow(), 2);

        // An SQL text in the engine's dialect, over the same table, in its own order (empty first).
        auto sicht = tabelle(*m_db, QStringLiteral("TabProjektView"), QString(),
                             QStringLiteral("select * from projekt order by Last_datum"));
        sicht->Open();
        gelesen.clear();
        for (; !sicht->Eof(); sicht->Next())
            gelesen << kommnr(*sicht);
        QCOMPARE(gelesen, QStringList({"P3", "P2", "P1"}));

        t->Close();
        QCOMPARE(t->State(), TDataSetState::dsInactive);
        QCOMPARE(t->RecordCount(), 0);
    }

    void fehlertexte_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("erwartet");
        const QString nurLesen = QStringLiteral("TabX: Eine Datenmenge, die nur zum Lesen ist, kann nicht geändert werden");
        QTest::newRow("löschen ohne Zeilen") << "loeschenLeer" << "TabX: Operation bei leerer Datenmenge nicht ausführbar";
        QTest::newRow("bearbeiten, nur zum Lesen") << "editNurLesen" << nurLesen;
        QTest::newRow("anhängen, nur zum Lesen") << "appendNurLesen" << nurLesen;
        QTest::newRow("löschen, nur zum Lesen") << "deleteNurLesen" << nurLesen;
        QTest::newRow("bearbeiten einer Abfrage über zwei Tabellen") << "editJoin" << nurLesen;
        QTest::newRow("leeren, nur zum Lesen") << "emptyNurLesen" << "Cannot Empty ReadOnly table!";
        QTest::newRow("ExecuteSQL ohne Datenbank")
            << "executeOhneDb" << "TKADaoTable.ExecuteSQL: Cannot execute SQL query while Database is not Assigned or Connected!";
        QTest::newRow("ExecuteSQL, Datenbank getrennt")
            << "executeGetrennt" << "TKADaoTable.ExecuteSQL: Cannot execute SQL query while Database is not Assigned or Connected!";
        QTest::newRow("Feld setzen ohne Bearbeiten") << "setzenOhneEdit" << "TabX: Datenmenge befindet sich nicht im Editier- oder Einfügemodus";
        QTest::newRow("unbekanntes Feld") << "unbekanntesFeld" << "TabX: Feld 'Gibtsnicht' nicht gefunden";
        QTest::newRow("AutoNumber setzen") << "autoNumber" << "TabX: Feld 'ID' kann nicht geändert werden";
        QTest::newRow("geschlossene Datenmenge") << "geschlossen" << "TabX: Operation bei geschlossener Datenmenge nicht ausführbar";
        QTest::newRow("unbekannte Tabelle") << "unbekannteTabelle" << "Die Tabelle oder Abfrage 'Gibtsnicht' gibt es in der Datenbank nicht.";
        QTest::newRow("Aktionsabfrage öffnen")
            << "aktionOeffnen" << "TabX: Die SQL-Anweisung liefert keine Datenmenge; sie kann nur mit ExecuteSQL ausgeführt werden.";
        QTest::newRow("Pfad bei offener Verbindung") << "pfadOffen" << "Der Pfad der Datenbank kann nur bei geschlossener Verbindung geändert werden.";
    }

    void fehlertexte()
    {
        QFETCH(QString, fall);
        QFETCH(QString, erwartet);
        auto projekt = tabelle(*m_db, QStringLiteral("TabX"), QStringLiteral("Projekt"));
        auto lesen = [&] {
            projekt->setReadOnly(true);
            projekt->Open();
        };
        const QHash<QString, std::function<void()>> faelle = {
            {QStringLiteral("loeschenLeer"), [&] {
                 projekt->setSQL(QStringLiteral("select * from Projekt where Kommnr = 'keins'"));
                 projekt->Open();
                 projekt->Delete();
             }},
            {QStringLiteral("editNurLesen"), [&] { lesen(); projekt->Edit(); }},
            {QStringLiteral("appendNurLesen"), [&] { lesen(); projekt->Append(); }},
            {QStringLiteral("deleteNurLesen"), [&] { lesen(); projekt->Delete(); }},
            {QStringLiteral("editJoin"), [&] {
                 projekt->setSQL(QStringLiteral("select * from Aufgaben_Aktuell"));
                 projekt->Open();
                 projekt->Edit();
             }},
            {QStringLiteral("emptyNurLesen"), [&] { lesen(); projekt->Empty(); }},
            {QStringLiteral("executeOhneDb"), [&] {
                 TKADaoTable frei;
                 frei.setSQL(QStringLiteral("Update [aufgaben] set [select] = 1"));
                 frei.ExecuteSQL();
             }},
            {QStringLiteral("executeGetrennt"), [&] {
                 projekt->setSQL(QStringLiteral("Update [aufgaben] set [select] = 1"));
                 m_db->Close();
                 projekt->ExecuteSQL();
             }},
            {QStringLiteral("setzenOhneEdit"), [&] {
                 projekt->Open();
                 projekt->FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("X"));
             }},
            {QStringLiteral("unbekanntesFeld"), [&] { projekt->Open(); projekt->FieldByName(QStringLiteral("Gibtsnicht")); }},
            {QStringLiteral("autoNumber"), [&] {
                 projekt->Open();
                 projekt->Edit();
                 projekt->FieldByName(QStringLiteral("ID"))->setAsInteger(99);
             }},
            {QStringLiteral("geschlossen"), [&] { projekt->Next(); }},
            {QStringLiteral("unbekannteTabelle"), [&] {
                 projekt->setTableName(QStringLiteral("Gibtsnicht"));
                 projekt->Open();
             }},
            {QStringLiteral("pfadOffen"), [&] { m_db->setDatabaseName(m_t->pfad + QStringLiteral("x")); }},
            {QStringLiteral("aktionOeffnen"), [&] {
                 projekt->setSQL(QStringLiteral("Update [aufgaben] set [select] = 1"));
                 projekt->Open();
             }},
        };
        QCOMPARE(fehlerText(faelle.value(fall)), erwartet);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT sum([Select]) FROM Aufgaben")).toInt(), 0);
    }

    // Edit in a dataset without rows starts a new row; Post writes it, the engine fills the
    // AutoNumber, the row is read again (a trigger's change shows) and then AfterPost runs.
    void postSchreibtLiestNachUndRuftAfterPost()
    {
        if (m_t->server())
            m_t->fremd(QStringLiteral(
                "DELETE FROM Personal;"
                "CREATE FUNCTION nummer() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN NEW.Nummer := 'N' || NEW.ID; "
                "RETURN NEW; END $$;"
                "CREATE TRIGGER nummer BEFORE INSERT ON Personal FOR EACH ROW EXECUTE FUNCTION nummer();"
                "CREATE FUNCTION lohnart() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN NEW.Lohnart := 'geändert'; "
                "RETURN NEW; END $$;"
                "CREATE TRIGGER lohnart BEFORE UPDATE OF Name ON Personal FOR EACH ROW EXECUTE FUNCTION lohnart();"));
        else
        m_t->fremd(QStringLiteral("DELETE FROM Personal;"
                                  "CREATE TRIGGER nummer AFTER INSERT ON Personal BEGIN "
                                  "UPDATE Personal SET Nummer = 'N' || NEW.ID WHERE ID = NEW.ID; END;"
                                  "CREATE TRIGGER lohnart AFTER UPDATE OF Name ON Personal BEGIN "
                                  "UPDATE Personal SET Lohnart = 'geändert' WHERE ID = NEW.ID; END;"));
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Open();
        QVERIFY(t->IsEmpty());

        struct Beobachtung { TDataSetState state; QVariant id; QString nummer; int anzahl; };
        QList<Beobachtung> beobachtet;
        t->AfterPost = [&](TKADaoTable* d) {
            beobachtet.append({d->State(), d->FieldByName(QStringLiteral("ID"))->Value(),
                               d->FieldByName(QStringLiteral("Nummer"))->AsString(), d->RecordCount()});
        };
        t->Edit();
        QCOMPARE(t->State(), TDataSetState::dsInsert);
        QVERIFY(t->FieldByName(QStringLiteral("ID"))->IsNull());
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Clara"));
        t->Post();

        const qlonglong id = m_t->wert(QStringLiteral("SELECT ID FROM Personal WHERE Name = 'Clara'")).toLongLong();
        QVERIFY(id > 0);
        QCOMPARE(beobachtet.size(), 1);
        QCOMPARE(beobachtet[0].state, TDataSetState::dsBrowse);
        QCOMPARE(beobachtet[0].id.toLongLong(), id);
        QCOMPARE(beobachtet[0].nummer, QStringLiteral("N%1").arg(id));
        QCOMPARE(beobachtet[0].anzahl, 1);

        t->Edit();
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Clara Berg"));
        t->Post();
        QCOMPARE(t->FieldByName(QStringLiteral("Lohnart"))->AsString(), QStringLiteral("geändert"));
        QCOMPARE(beobachtet.size(), 2);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal")).toString(), QStringLiteral("Clara Berg"));

        // Posting an unchanged row writes nothing, reads the row again and runs AfterPost.
        m_t->fremd(QStringLiteral("UPDATE Personal SET StdLohn = 30"));
        t->Edit();
        t->Post();
        QCOMPARE(t->FieldByName(QStringLiteral("StdLohn"))->AsFloat(), 30.0);
        QCOMPARE(beobachtet.size(), 3);

        // A dataset over an SQL text of one table is written back the same way.
        auto sicht = tabelle(*m_db, QStringLiteral("TabProjektView"), QString(),
                             QStringLiteral("select * from projekt order by Last_datum"));
        sicht->Open();
        sicht->Edit();
        sicht->FieldByName(QStringLiteral("Baustelle"))->setAsString(QStringLiteral("Neubau"));
        sicht->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Baustelle FROM Projekt WHERE Kommnr = 'P3'")).toString(), QStringLiteral("Neubau"));
    }

    void cancelUndDelete()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Open();
        t->Next();
        t->Append();
        QCOMPARE(t->RowCount(), 3);
        QCOMPARE(t->RecordCount(), 2);
        QVERIFY(!t->IsEmpty());
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Neu"));
        t->Cancel();
        QCOMPARE(t->State(), TDataSetState::dsBrowse);
        QCOMPARE(t->RowCount(), 2);
        QCOMPARE(t->CurrentRow(), 1);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Personal")).toInt(), 2);

        t->Edit();
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Anders"));
        t->Cancel();
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Bernd Öz"));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 2")).toString(), QStringLiteral("Bernd Öz"));

        t->First();
        t->Delete();
        QCOMPARE(t->RecordCount(), 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Bernd Öz"));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT group_concat(Name) FROM Personal")).toString(), QStringLiteral("Bernd Öz"));
        t->Delete();
        QVERIFY(t->IsEmpty());
        QCOMPARE(t->CurrentRow(), -1);
        QCOMPARE(fehlerText([&] { t->Delete(); }), QStringLiteral("TabPersonal: Operation bei leerer Datenmenge nicht ausführbar"));

        // Delete while a new row is entered only drops the new row.
        t->Append();
        t->Delete();
        QCOMPARE(t->State(), TDataSetState::dsBrowse);
        QVERIFY(t->IsEmpty());
    }

    // A row inserted amid the others stays where it was typed in once posted; deleting it, or a
    // row after it, takes out just that row.
    void eingefuegteZeileLoeschen()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Open();
        const auto namen = [&] {
            QStringList n;
            for (int zeile = 0; zeile < t->RowCount(); ++zeile)
                n << t->RowValue(zeile, t->FieldByName(QStringLiteral("Name"))->Index()).toString();
            return n;
        };
        const auto gespeichert = [&] {
            return m_t->wert(QStringLiteral("SELECT count(*) FROM Personal")).toInt();
        };
        const QStringList vorher = namen();
        QCOMPARE(vorher.size(), 2);
        const auto einfuegen = [&](int zeile, const QString& name) {
            t->MoveToRow(zeile);
            t->Insert();
            t->FieldByName(QStringLiteral("Name"))->setAsString(name);
            t->Post();
            QCOMPARE(t->CurrentRow(), zeile);
        };

        einfuegen(1, QStringLiteral("Mitte"));
        QCOMPARE(namen(), QStringList({vorher[0], QStringLiteral("Mitte"), vorher[1]}));
        t->Delete();
        QCOMPARE(namen(), vorher);
        QCOMPARE(gespeichert(), 2);

        einfuegen(0, QStringLiteral("Vorne"));
        t->Last();
        t->Delete();
        QCOMPARE(namen(), QStringList({QStringLiteral("Vorne"), vorher[0]}));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT group_concat(Name) FROM (SELECT Name FROM Personal ORDER BY Name)")).toString(),
                 QStringList({vorher[0], QStringLiteral("Vorne")}).join(QLatin1Char(',')));
        t->Requery();
        QCOMPARE(namen(), QStringList({vorher[0], QStringLiteral("Vorne")}));
    }

    // Moving away from a changed row saves it; from an unchanged one it just leaves.
    void bewegenBeimBearbeitenSpeichert()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Open();
        t->Edit();
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Anna Klein"));
        t->Next();
        QCOMPARE(t->State(), TDataSetState::dsBrowse);
        QCOMPARE(t->CurrentRow(), 1);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("Anna Klein"));
        t->Append();
        t->First();  // an untouched new row is dropped
        QCOMPARE(t->RowCount(), 2);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Personal")).toInt(), 2);
    }

    // A detail holds the rows of the master's current row and follows it; a new detail row
    // takes the master's key; Requery does nothing while the master row is edited.
    void masterDetail()
    {
        auto projekt = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        TDataSource dsProjekt;
        dsProjekt.setDataSet(projekt.get());
        auto aufgaben = tabelle(*m_db, QStringLiteral("TabProjektAufgaben"), QStringLiteral("ProjektAufgaben"));
        aufgaben->setMasterSource(&dsProjekt);
        aufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        auto aktuell = tabelle(*m_db, QStringLiteral("QProjektAufgaben"), QString(),
                               QStringLiteral("select * from Aufgaben_Aktuell order by prioritaet "));
        aktuell->setMasterSource(&dsProjekt);
        aktuell->setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        projekt->Open();
        aufgaben->Open();
        aktuell->Open();

        auto bezeichnungen = [](TKADaoTable& t) {
            QStringList liste;
            for (int z = 0; z < t.RowCount(); ++z)
                liste << t.RowValue(z, t.FieldByName(QStringLiteral("Bezeichnung"))->Index()).toString();
            return liste;
        };
        QCOMPARE(bezeichnungen(*aufgaben), QStringList({"Aufmaß", "Montage"}));
        QCOMPARE(bezeichnungen(*aktuell), QStringList({"Montage"}));  // the finished task is not current
        projekt->Next();
        QCOMPARE(bezeichnungen(*aufgaben), QStringList({"Aufmaß"}));
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Projekt_ID"))->AsInteger(), 2);
        projekt->Next();
        QVERIFY(aufgaben->IsEmpty());
        QVERIFY(aktuell->IsEmpty());

        aufgaben->Append();
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Projekt_ID"))->AsInteger(), 3);
        aufgaben->FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Abnahme"));
        aufgaben->FieldByName(QStringLiteral("Prioritaet"))->setAsInteger(10);
        aufgaben->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Projekt_ID FROM ProjektAufgaben WHERE Bezeichnung = 'Abnahme'")).toInt(), 3);
        aktuell->Requery();
        QCOMPARE(bezeichnungen(*aktuell), QStringList({"Abnahme"}));

        // While the master row is edited, a detail's Requery leaves it as it is.
        projekt->Edit();
        m_t->fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Bezeichnung, Prioritaet) VALUES (3, 'Nacharbeit', 5)"));
        aktuell->Requery();
        aufgaben->Requery();
        QCOMPARE(bezeichnungen(*aktuell), QStringList({"Abnahme"}));
        QCOMPARE(aufgaben->RecordCount(), 1);
        projekt->Post();
        aktuell->Requery();
        QCOMPARE(bezeichnungen(*aktuell), QStringList({"Nacharbeit", "Abnahme"}));

        // A new master row has no key yet: the details are empty; once posted they follow its ID.
        projekt->Append();
        QVERIFY(aufgaben->IsEmpty());
        QVERIFY(aktuell->IsEmpty());
        projekt->Cancel();
        QCOMPARE(aufgaben->RecordCount(), 2);
        projekt->Append();
        projekt->FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("P4"));
        projekt->Post();
        const int neu = projekt->FieldByName(QStringLiteral("ID"))->AsInteger();
        QVERIFY(neu > 3);
        QVERIFY(aufgaben->IsEmpty());
        aufgaben->Append();
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Projekt_ID"))->AsInteger(), neu);
        aufgaben->Cancel();

        // A detail whose master is closed has no rows.
        projekt->Close();
        QVERIFY(aufgaben->Active());
        QVERIFY(aufgaben->IsEmpty());
    }

    // A detail finishes its pending row before the master moves; when that fails, the master
    // stays where it is and the input is kept.
    void detailSpeichertVorDemWechselDesMasters()
    {
        auto projekt = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        TDataSource dsProjekt;
        dsProjekt.setDataSet(projekt.get());
        auto aufgaben = tabelle(*m_db, QStringLiteral("TabProjektAufgaben"), QStringLiteral("ProjektAufgaben"));
        aufgaben->setMasterSource(&dsProjekt);
        aufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        projekt->Open();
        aufgaben->Open();

        aufgaben->Edit();
        aufgaben->FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QString(151, QLatin1Char('x')));
        QVERIFY(fehlerText([&] { projekt->Next(); }).startsWith(QStringLiteral("Der Text im Feld 'Bezeichnung' ist zu lang")));
        QCOMPARE(kommnr(*projekt), QStringLiteral("P1"));
        QCOMPARE(aufgaben->State(), TDataSetState::dsEdit);

        aufgaben->FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Aufmaß neu"));
        projekt->Next();
        QCOMPARE(kommnr(*projekt), QStringLiteral("P2"));
        QCOMPARE(aufgaben->State(), TDataSetState::dsBrowse);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Bezeichnung FROM ProjektAufgaben WHERE ID = 1")).toString(), QStringLiteral("Aufmaß neu"));
    }

    // The report's detail: a join restricted to the master row, its shared column names
    // qualified by their alias.
    void detailUeberJoin()
    {
        auto projekte = tabelle(*m_db, QStringLiteral("TabPrintProjekt"), QString(), QStringLiteral("select * from projekt"));
        projekte->setReadOnly(true);
        TDataSource ds;
        ds.setDataSet(projekte.get());
        auto aufgaben = tabelle(*m_db, QStringLiteral("TabPrintAufgaben"), QString(),
                                QStringLiteral("select * from projektaufgaben p, status s, aufgaben a, personal m \n"
                                               "where (p.aufgabe_id = a.id) and (p.status_id = s.id) and (p.mitarbeiter = m.id)"));
        aufgaben->setReadOnly(true);
        aufgaben->setMasterSource(&ds);
        aufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        projekte->Open();
        aufgaben->Open();
        QCOMPARE(aufgaben->RecordCount(), 2);
        QVERIFY(aufgaben->Locate(QStringLiteral("p.ID"), 1));
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Groß"));
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("p.ID"))->AsInteger(), 1);
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("s.ID"))->AsInteger(), 5);
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("m.ID"))->AsInteger(), 1);
        projekte->Next();
        QCOMPARE(aufgaben->RecordCount(), 1);
        projekte->Next();
        QCOMPARE(aufgaben->RecordCount(), 0);
    }

    void filter()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        t->Open();
        t->Last();
        t->setFilter(QStringLiteral("EV_Sichtbar"));
        QCOMPARE(t->RecordCount(), 3);  // not yet switched on
        t->setFiltered(true);
        QCOMPARE(t->RecordCount(), 2);
        QCOMPARE(t->CurrentRow(), 0);
        QCOMPARE(kommnr(*t), QStringLiteral("P1"));
        t->Next();
        QCOMPARE(kommnr(*t), QStringLiteral("P3"));
        t->setFilter(QStringLiteral("PV_Sichtbar"));
        QCOMPARE(kommnr(*t), QStringLiteral("P1"));
        t->Last();
        QCOMPARE(kommnr(*t), QStringLiteral("P2"));

        // A row the filter no longer admits leaves the list when it is posted.
        t->Edit();
        t->FieldByName(QStringLiteral("PV_Sichtbar"))->setAsBoolean(false);
        t->Post();
        QCOMPARE(t->RecordCount(), 1);
        QCOMPARE(kommnr(*t), QStringLiteral("P1"));
        // A new row with the column empty is not admitted either.
        t->Append();
        t->FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("P4"));
        t->Post();
        QCOMPARE(t->RecordCount(), 1);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Projekt")).toInt(), 4);

        t->setFiltered(false);
        QCOMPARE(t->RecordCount(), 4);
        QCOMPARE(t->CurrentRow(), 0);
        t->setFilter(QStringLiteral("Gibtsnicht"));
        QCOMPARE(fehlerText([&] { t->setFiltered(true); }), QStringLiteral("TabProjekt: Feld 'Gibtsnicht' nicht gefunden"));
    }

    // Lookups find their row in the lookup dataset; a calculated field is set by the handler
    // for each row read; both change when the lookup dataset has been read again.
    void lookupUndBerechneteFelder()
    {
        auto statSum = tabelle(*m_db, QStringLiteral("TabStatSum"), QString(), QStringLiteral("select * from ProjektAufgabenSumme"));
        statSum->setReadOnly(true);
        auto status = tabelle(*m_db, QStringLiteral("TabStatus"), QStringLiteral("Status"));
        auto projekt = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        projekt->AddLookupField(QStringLiteral("AnzAufg"), TFieldType::ftInteger, QStringLiteral("ID"), statSum.get(),
                                QStringLiteral("Projekt_ID"), QStringLiteral("AnzahlAufgaben"));
        projekt->AddLookupField(QStringLiteral("SumRang"), TFieldType::ftInteger, QStringLiteral("ID"), statSum.get(),
                                QStringLiteral("Projekt_ID"), QStringLiteral("SummeRang"));
        projekt->AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
        QString fehlerImHandler;
        projekt->OnCalcFields = [&](TKADaoTable* t) {
            fortschritt(t);
            fehlerImHandler = fehlerText([&] { t->FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("X")); });
        };
        statSum->Open();
        status->Open();
        projekt->Open();

        auto werte = [&](int zeile) {
            QVariantList liste;
            for (const char* feld : {"AnzAufg", "SumRang", "Status"})
                liste << projekt->RowValue(zeile, projekt->FieldByName(QString::fromLatin1(feld))->Index());
            return liste;
        };
        QCOMPARE(werte(0), QVariantList({2, 5, 62.5}));
        QCOMPARE(werte(1), QVariantList({1, 0, 0.0}));
        QCOMPARE(werte(2), QVariantList({QVariant(), QVariant(), QVariant()}));  // no tasks: empty
        QCOMPARE(projekt->FieldByName(QStringLiteral("Status"))->AsFloat(), 62.5);
        QCOMPARE(fehlerImHandler, QStringLiteral("TabProjekt: Feld 'Kommnr' kann nicht geändert werden"));
        QCOMPARE(projekt->FieldByName(QStringLiteral("Status"))->FieldKind(), TFieldKind::fkCalculated);

        m_t->fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID, Prioritaet) VALUES (3, 5, 10)"));
        QCOMPARE(werte(2), QVariantList({QVariant(), QVariant(), QVariant()}));
        statSum->Requery();
        QCOMPARE(werte(2), QVariantList({1, 4, 100.0}));
        QCOMPARE(statSum->Lookup(QStringLiteral("Projekt_ID"), 3, QStringLiteral("AnzahlAufgaben")).toInt(), 1);
        QVERIFY(statSum->Lookup(QStringLiteral("Projekt_ID"), 42, QStringLiteral("AnzahlAufgaben")).isNull());

        // The task's rank through its status; empty for a status that names no row.
        auto aufgaben = tabelle(*m_db, QStringLiteral("TabProjektAufgaben"), QStringLiteral("ProjektAufgaben"));
        aufgaben->AddLookupField(QStringLiteral("Rang"), TFieldType::ftInteger, QStringLiteral("Status_ID"), status.get(),
                                 QStringLiteral("ID"), QStringLiteral("Stat_Rang"));
        m_t->fremd(QStringLiteral("UPDATE ProjektAufgaben SET Status_ID = 77 WHERE ID = 3"));
        aufgaben->Open();
        const int rang = aufgaben->FieldByName(QStringLiteral("Rang"))->Index();
        QCOMPARE(aufgaben->RowValue(0, rang), QVariant(4));
        QCOMPARE(aufgaben->RowValue(1, rang), QVariant(1));
        QVERIFY(aufgaben->RowValue(2, rang).isNull());
        // Changing a status shows at once in the lookup (the index follows the lookup dataset).
        status->Locate(QStringLiteral("ID"), 2);
        status->Edit();
        status->FieldByName(QStringLiteral("Stat_Rang"))->setAsInteger(2);
        status->Post();
        QCOMPARE(aufgaben->RowValue(1, rang), QVariant(2));
        // While the key is being edited, the lookup follows the edit buffer.
        aufgaben->MoveToRow(2);
        aufgaben->Edit();
        aufgaben->FieldByName(QStringLiteral("Status_ID"))->setAsInteger(3);
        QCOMPARE(aufgaben->FieldByName(QStringLiteral("Rang"))->AsInteger(), 2);

        // A lookup dataset that is gone looks nothing up.
        statSum.reset();
        QCOMPARE(werte(0), QVariantList({QVariant(), QVariant(), QVariant()}));
    }

    // Requery shows rows written elsewhere and goes to the first row; Refresh re-reads the
    // rows held, keeps the current one and takes no new rows.
    void requeryUndRefresh()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Requery();  // closed: nothing
        QVERIFY(!t->Active());
        t->Open();
        t->Next();
        m_t->fremd(QStringLiteral("INSERT INTO Personal (Name) VALUES ('Clara'); UPDATE Personal SET Name = 'Bernd Neu' WHERE ID = 2"));
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Bernd Öz"));
        t->Refresh();
        QCOMPARE(t->RecordCount(), 2);
        QCOMPARE(t->CurrentRow(), 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Bernd Neu"));
        t->Requery();
        QCOMPARE(t->RecordCount(), 3);
        QCOMPARE(t->CurrentRow(), 0);
        t->Last();
        m_t->fremd(QStringLiteral("DELETE FROM Personal WHERE ID = 1"));
        t->Refresh();
        QCOMPARE(t->RecordCount(), 2);
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Clara"));
    }

    // Only the rows of one key are read again: their values change, a key's new rows come at
    // the end and rows gone go; the other rows and the current row stay as they were.
    void zeilenNachlesen()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabStatSum"), QString(), QStringLiteral("select * from ProjektAufgabenSumme"));
        t->Open();
        auto zeilen = [&] {
            QStringList text;
            for (int i = 0; i < t->RowCount(); ++i)
                text << t->RowValue(i, 0).toString() + QLatin1Char('/') + t->RowValue(i, 1).toString();
            return text.join(QLatin1Char(' '));
        };
        QCOMPARE(zeilen(), QStringLiteral("1/2 2/1"));
        t->Last();
        m_t->fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Status_ID) VALUES (1, 1), (3, 1);"
                                  "DELETE FROM ProjektAufgaben WHERE Projekt_ID = 2"));
        t->ZeilenNachlesen(QStringLiteral("Projekt_ID"), 1);
        QCOMPARE(zeilen(), QStringLiteral("1/3 2/1"));
        QCOMPARE(t->CurrentRow(), 1);
        t->ZeilenNachlesen(QStringLiteral("Projekt_ID"), 3);
        t->ZeilenNachlesen(QStringLiteral("Projekt_ID"), 2);
        QCOMPARE(zeilen(), QStringLiteral("1/3 3/1"));
        QCOMPARE(t->Lookup(QStringLiteral("Projekt_ID"), 3, QStringLiteral("AnzahlAufgaben")), QVariant(1));
    }

    void optimistischeSperre_data()
    {
        QTest::addColumn<QString>("fremdeAenderung");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("geändert") << "UPDATE Personal SET Name = 'Anna Andere' WHERE ID = 1"
                                  << "Der Datensatz wurde inzwischen von einem anderen Benutzer geändert.";
        QTest::newRow("gelöscht") << "DELETE FROM Personal WHERE ID = 1"
                                  << "Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht.";
    }

    // A field changed by another program since Edit, or the row deleted, is not overwritten:
    // with nobody to ask, Post is refused and the user's input stays in the edit buffer.
    void optimistischeSperre()
    {
        QFETCH(QString, fremdeAenderung);
        QFETCH(QString, meldung);
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        t->Open();
        t->Edit();
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Anna Eingabe"));
        m_t->fremd(fremdeAenderung);

        QVERIFY(fehlerText([&] { t->Post(); }).startsWith(meldung));
        QCOMPARE(t->State(), TDataSetState::dsEdit);
        QVERIFY(t->Modified());
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Eingabe"));
        QVERIFY(fehlerText([&] { t->Post(); }).startsWith(meldung));  // a second try does not overwrite either
        QVERIFY(m_t->wert(QStringLiteral("SELECT count(*) FROM Personal WHERE Name = 'Anna Eingabe'")).toInt() == 0);
        t->Cancel();
        QCOMPARE(t->State(), TDataSetState::dsBrowse);
    }

    // Two instances of the program on one file: the second Post on the same row is refused;
    // a change made before Edit is seen by Edit and kept.
    void zweiInstanzen()
    {
        TKADaoDatabase zweite;
        zweite.setDatabaseName(m_t->pfad);
        zweite.Open();
        auto a = tabelle(*m_db, QStringLiteral("TabA"), QStringLiteral("Personal"));
        auto b = tabelle(zweite, QStringLiteral("TabB"), QStringLiteral("Personal"));
        a->Open();
        b->Open();

        a->Edit();
        b->Edit();
        a->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("von A"));
        b->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("von B"));
        a->Post();
        QVERIFY(fehlerText([&] { b->Post(); }).contains(QStringLiteral("anderen Benutzer geändert")));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("von A"));
        b->Cancel();
        QCOMPARE(b->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("von A"));

        // B still shows A's old number; Edit reads the row afresh, so B's post keeps A's change.
        a->Edit();
        a->FieldByName(QStringLiteral("Nummer"))->setAsString(QStringLiteral("A7"));
        a->Post();
        b->Edit();
        QCOMPARE(b->FieldByName(QStringLiteral("Nummer"))->AsString(), QStringLiteral("A7"));
        b->FieldByName(QStringLiteral("Lohnart"))->setAsString(QStringLiteral("Gehalt"));
        b->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Nummer || '/' || Lohnart FROM Personal WHERE ID = 1")).toString(),
                 QStringLiteral("A7/Gehalt"));
    }

    // A delete is refused like a post when the row no longer holds what was read: the fresh
    // row is shown and a second delete, now knowingly, removes it. A row deleted elsewhere is
    // gone all the same.
    void loeschenPrueftGelesenenStand()
    {
        TKADaoDatabase zweite;
        zweite.setDatabaseName(m_t->pfad);
        zweite.Open();
        auto a = tabelle(*m_db, QStringLiteral("TabA"), QStringLiteral("Personal"));
        auto b = tabelle(zweite, QStringLiteral("TabB"), QStringLiteral("Personal"));
        a->Open();
        b->Open();
        b->Edit();
        b->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Anna Neu"));
        b->Post();

        QVERIFY(fehlerText([&] { a->Delete(); })
                    .startsWith(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer geändert.")));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("Anna Neu"));
        QCOMPARE(a->RecordCount(), 2);
        QCOMPARE(a->State(), TDataSetState::dsBrowse);
        QCOMPARE(a->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Neu"));
        a->Delete();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Personal WHERE ID = 1")).toInt(), 0);
        QCOMPARE(a->RecordCount(), 1);

        // Deleted on the other side first: nothing to refuse.
        b->Requery();
        b->Delete();
        a->Delete();
        QVERIFY(a->IsEmpty());
    }

    void datumAusserhalbDerJahre_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QDateTime>("wert");
        QTest::addColumn<QString>("gespeichert");  // empty: refused
        QTest::newRow("Jahr 10000") << "Datum" << QDateTime(QDate(10000, 1, 1), QTime(0, 0)) << QString();
        QTest::newRow("Jahr -5") << "Datum" << QDateTime(QDate(-5, 6, 1), QTime(0, 0)) << QString();
        QTest::newRow("Zeitpunkt Jahr 12024") << "Baubegin" << QDateTime(QDate(12024, 3, 1), QTime(8, 0)) << QString();
        QTest::newRow("Jahr 1") << "Datum" << QDateTime(QDate(1, 1, 1), QTime(0, 0)) << "0001-01-01";
        QTest::newRow("Jahr 9999") << "Baubegin" << QDateTime(QDate(9999, 12, 31), QTime(23, 59)) << "9999-12-31 23:59:00";
    }

    // A date the stored form cannot hold (years 1 to 9999) is refused when it is set, with the
    // field's invalid-value message; the stored date stays as it was.
    void datumAusserhalbDerJahre()
    {
        QFETCH(QString, feld);
        QFETCH(QDateTime, wert);
        QFETCH(QString, gespeichert);
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        t->Open();
        t->Edit();
        t->FieldByName(feld)->setAsString(QStringLiteral("01.02.2024"));
        const QString meldung = fehlerText([&] {
            if (feld == QLatin1String("Datum"))
                t->FieldByName(feld)->setAsDate(wert.date());
            else
                t->FieldByName(feld)->setAsDateTime(wert);
        });
        t->Post();
        const QString gelesen = m_t->wert(QStringLiteral("SELECT %1 FROM Projekt WHERE ID = 1").arg(feld)).toString();
        if (gespeichert.isEmpty()) {
            QCOMPARE(meldung, QStringLiteral("'%1' ist kein gültiger Wert für das Feld '%2'.")
                                  .arg(t->FieldByName(feld)->Text(wert), feld));
            QVERIFY(gelesen.startsWith(QStringLiteral("2024-02-01")));
        } else {
            QCOMPARE(meldung, QString());
            QCOMPARE(gelesen, gespeichert);
            QCOMPARE(t->FieldByName(feld)->AsDateTime(), wert);
        }
    }

    void textOhneGueltigesUtf8_data()
    {
        QTest::addColumn<QString>("feld");  // empty: delete the row
        QTest::addColumn<QString>("eingabe");
        QTest::newRow("anderes Feld") << "Strasse" << "Hauptstr. 1";
        QTest::newRow("das Feld selbst") << "Bezeichn" << "Bäckerei Huber";
        QTest::newRow("löschen") << QString() << QString();
    }

    // Other tools leave text that is not UTF-8 (here Windows-1252 "Bäcker"). Such a row can be
    // changed and deleted like any other; the bytes nobody changed stay as they are.
    void textOhneGueltigesUtf8()
    {
        if (m_t->server())
            QSKIP("Ein Datenbankserver nimmt nur gültiges UTF-8 an; solche Bytes gibt es nur in Dateien.");
        QFETCH(QString, feld);
        QFETCH(QString, eingabe);
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Bezeichn = CAST(X'42E4636B6572' AS TEXT) WHERE ID = 1"));
        MeldungsRecorder meldungen;
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        t->Open();
        if (feld.isEmpty()) {
            t->Delete();
            QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Projekt WHERE ID = 1")).toInt(), 0);
            return;
        }
        t->Edit();
        t->FieldByName(feld)->setAsString(eingabe);
        t->Post();
        QVERIFY(meldungen.fragen.isEmpty());
        QCOMPARE(m_t->wert(QStringLiteral("SELECT %1 FROM Projekt WHERE ID = 1").arg(feld)).toString(), eingabe);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT hex(Bezeichn) FROM Projekt WHERE ID = 1")).toString(),
                 feld == QLatin1String("Bezeichn") ? QStringLiteral("42C3A4636B65726569204875626572") : QStringLiteral("42E4636B6572"));
        // Again, as the after-post of a task does with the project row.
        t->Edit();
        t->FieldByName(QStringLiteral("Last_Rang"))->setAsInteger(3);
        t->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Last_Rang FROM Projekt WHERE ID = 1")).toInt(), 3);
    }

    // Another program's post of a task rewrites the project's summary columns, and another
    // user changes a different field: neither blocks this user's change of the address, and
    // nothing of theirs is overwritten.
    void nurGeaenderteSpaltenWerdenVerglichen()
    {
        TKADaoDatabase zweite;
        zweite.setDatabaseName(m_t->pfad);
        zweite.Open();
        auto a = tabelle(*m_db, QStringLiteral("TabA"), QStringLiteral("Projekt"));
        auto b = tabelle(zweite, QStringLiteral("TabB"), QStringLiteral("Projekt"));
        a->Open();
        b->Open();
        a->Edit();
        a->FieldByName(QStringLiteral("Strasse"))->setAsString(QStringLiteral("Hauptstr. 1"));
        b->Edit();
        b->FieldByName(QStringLiteral("Last_Datum"))->setAsDate(QDate(2025, 5, 5));
        b->FieldByName(QStringLiteral("Last_Rang"))->setAsInteger(2);
        b->FieldByName(QStringLiteral("Ort"))->setAsString(QStringLiteral("80331 München"));
        b->Post();

        a->Post();
        QCOMPARE(a->State(), TDataSetState::dsBrowse);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Strasse || '|' || Ort || '|' || Last_Datum || '|' || Last_Rang "
                                          "FROM Projekt WHERE ID = 1")).toString(),
                 QStringLiteral("Hauptstr. 1|80331 München|2025-05-05|2"));
        QCOMPARE(a->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("80331 München"));
    }

    void gleichesFeldGeaendert_data()
    {
        QTest::addColumn<int>("antwort");  // 1 Ja, 0 Nein, -1 no one to ask
        QTest::addColumn<QString>("kollege");  // what the other user stored
        QTest::newRow("Ja: Eingabe über den neuen Stand") << 1 << "Kollege";
        QTest::newRow("Nein: nichts gespeichert") << 0 << "Kollege";
        QTest::newRow("niemand zu fragen") << -1 << "Kollege";
        QTest::newRow("dasselbe gespeichert: keine Frage") << 0 << "Eingabe A";
    }

    // Both users changed the same field: the user is told whose value stands now and may store
    // the typed values over the fresh row (its other fields as the other user left them). Who
    // declines keeps the input in the edit buffer and nothing is written.
    void gleichesFeldGeaendert()
    {
        QFETCH(int, antwort);
        QFETCH(QString, kollege);
        const bool gleich = kollege == QLatin1String("Eingabe A");
        std::optional<MeldungsRecorder> meldungen;
        if (antwort >= 0) {
            meldungen.emplace();
            meldungen->antwort = antwort == 1;
        }
        auto a = tabelle(*m_db, QStringLiteral("TabA"), QStringLiteral("Projekt"));
        a->Open();
        a->Edit();
        a->FieldByName(QStringLiteral("Strasse"))->setAsString(QStringLiteral("Eingabe A"));
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Strasse = '%1', Ort = 'Passau' WHERE ID = 1").arg(kollege));

        const QString meldung = fehlerText([&] { a->Post(); });
        if (gleich) {
            QCOMPARE(meldung, QString());
            QVERIFY(meldungen->fragen.isEmpty());
            QCOMPARE(m_t->wert(QStringLiteral("SELECT Strasse || '|' || Ort FROM Projekt WHERE ID = 1")).toString(),
                     QStringLiteral("Eingabe A|Passau"));
            return;
        }
        if (meldungen) {
            QCOMPARE(meldungen->fragen.size(), 1);
            const QString frage = meldungen->fragen.first().second;
            QVERIFY2(frage.contains(QStringLiteral("'Strasse'")) && frage.contains(QStringLiteral("'Kollege'"))
                         && frage.contains(QStringLiteral("'Eingabe A'")),
                     qPrintable(frage));
        }
        const QString gespeichert =
            m_t->wert(QStringLiteral("SELECT Strasse || '|' || Ort FROM Projekt WHERE ID = 1")).toString();
        if (antwort == 1) {
            QCOMPARE(meldung, QString());
            QCOMPARE(gespeichert, QStringLiteral("Eingabe A|Passau"));
            QCOMPARE(a->State(), TDataSetState::dsBrowse);
            QCOMPARE(a->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Passau"));
        } else {
            QVERIFY(meldung.contains(QStringLiteral("inzwischen von einem anderen Benutzer geändert")));
            QCOMPARE(gespeichert, QStringLiteral("Kollege|Passau"));
            QCOMPARE(a->State(), TDataSetState::dsEdit);
            QCOMPARE(a->FieldByName(QStringLiteral("Strasse"))->AsString(), QStringLiteral("Eingabe A"));
            a->Cancel();
            QCOMPARE(a->FieldByName(QStringLiteral("Strasse"))->AsString(), QStringLiteral("Kollege"));
        }
    }

    void ueberlangerText_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("breite");  // 0: accepted
        QTest::newRow("Kommnr 10") << "Kommnr" << QString(10, QLatin1Char('1')) << 0;
        QTest::newRow("Kommnr 11") << "Kommnr" << QString(11, QLatin1Char('1')) << 10;
        QTest::newRow("Umlaute zählen einfach") << "Bezeichn" << QString(30, QChar(0x00E4)) << 0;
        QTest::newRow("Bezeichn 31") << "Bezeichn" << QString(31, QChar(0x00DF)) << 30;
        QTest::newRow("Betreff_ges 255") << "Betreff_ges" << QString(255, QLatin1Char('b')) << 0;
        QTest::newRow("Betreff_ges 256") << "Betreff_ges" << QString(256, QLatin1Char('b')) << 255;
        QTest::newRow("Memo ohne Grenze") << "V_Bemerkung" << QString(5000, QLatin1Char('m')) << 0;
    }

    // Nothing is cut silently: a text longer than its column is refused on Post, naming the
    // field and its width, and stays in the edit buffer.
    void ueberlangerText()
    {
        QFETCH(QString, feld);
        QFETCH(QString, text);
        QFETCH(int, breite);
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        t->Open();
        t->Edit();
        t->FieldByName(feld)->setAsString(text);
        const QString meldung = fehlerText([&] { t->Post(); });
        const QVariant gespeichert = m_t->wert(QStringLiteral("SELECT %1 FROM Projekt WHERE ID = 1").arg(feld));
        if (breite == 0) {
            QCOMPARE(meldung, QString());
            QCOMPARE(gespeichert.toString(), text);
        } else {
            QCOMPARE(meldung, QStringLiteral("Der Text im Feld '%1' ist zu lang: erlaubt sind höchstens %2 Zeichen, "
                                             "eingegeben sind %3. Es wurde nichts gespeichert.")
                                  .arg(feld).arg(breite).arg(text.size()));
            QCOMPARE(t->State(), TDataSetState::dsEdit);
            QCOMPARE(t->FieldByName(feld)->AsString(), text);
            QVERIFY(gespeichert.toString() != text);
        }
    }

    void typisierterZugriff()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        t->Open();
        t->Edit();
        t->FieldByName(QStringLiteral("Datum"))->setAsString(QStringLiteral("29.02.2024"));
        t->FieldByName(QStringLiteral("Baubegin"))->setAsDateTime(QDateTime(QDate(2024, 2, 29), QTime(13, 45, 7)));
        t->FieldByName(QStringLiteral("Termin"))->setAsDate(QDate(2024, 3, 1));
        t->FieldByName(QStringLiteral("TRechNr"))->setAsInteger(123);
        t->FieldByName(QStringLiteral("EV_Sichtbar"))->setAsBoolean(false);
        t->FieldByName(QStringLiteral("Bezeichn"))->Clear();
        t->FieldByName(QStringLiteral("Konto"))->setValue(4711);
        QCOMPARE(fehlerText([&] { t->FieldByName(QStringLiteral("TRechNr"))->setAsInteger(40000); }),
                 QStringLiteral("Der Wert 40000 liegt außerhalb des erlaubten Bereichs für das Feld 'TRechNr' (-32768 bis 32767)."));
        QCOMPARE(fehlerText([&] { t->FieldByName(QStringLiteral("Last_Aufgabe"))->setAsString(QStringLiteral("abc")); }),
                 QStringLiteral("'abc' ist kein gültiger Wert für das Feld 'Last_Aufgabe'."));
        QCOMPARE(fehlerText([&] { t->FieldByName(QStringLiteral("LiefTermin"))->setAsString(QStringLiteral("31.02.2024")); }),
                 QStringLiteral("'31.02.2024' ist kein gültiger Wert für das Feld 'LiefTermin'."));
        t->Post();

        QCOMPARE(m_t->wert(QStringLiteral("SELECT Datum || '|' || Baubegin || '|' || Termin || '|' || EV_Sichtbar FROM Projekt WHERE ID = 1")).toString(),
                 QStringLiteral("2024-02-29|2024-02-29 13:45:07|2024-03-01 00:00:00|0"));
        QCOMPARE(t->FieldByName(QStringLiteral("Datum"))->Value(), QVariant(QDate(2024, 2, 29)));
        QCOMPARE(t->FieldByName(QStringLiteral("Baubegin"))->Value(), QVariant(QDateTime(QDate(2024, 2, 29), QTime(13, 45, 7))));
        QCOMPARE(t->FieldByName(QStringLiteral("TRechNr"))->Value(), QVariant(123));
        QCOMPARE(t->FieldByName(QStringLiteral("EV_Sichtbar"))->Value(), QVariant(false));
        QCOMPARE(t->FieldByName(QStringLiteral("Konto"))->Value(), QVariant(QStringLiteral("4711")));
        QVERIFY(t->FieldByName(QStringLiteral("Bezeichn"))->IsNull());
        QCOMPARE(t->FieldByName(QStringLiteral("Bezeichn"))->AsString(), QString());
        QCOMPARE(t->FieldByName(QStringLiteral("Last_Aufgabe"))->AsInteger(), 0);
        QCOMPARE(t->FieldByName(QStringLiteral("Datum"))->DisplayText(), QStringLiteral("29.02.2024"));
        QCOMPARE(t->FieldByName(QStringLiteral("Baubegin"))->DisplayText(), QStringLiteral("29.02.2024 13:45:07"));
        QCOMPARE(t->FieldByName(QStringLiteral("Termin"))->DisplayText(), QStringLiteral("01.03.2024"));

        auto personal = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        personal->Open();
        TField* lohn = personal->FieldByName(QStringLiteral("StdLohn"));
        lohn->setPrecision(7);
        QCOMPARE(lohn->DisplayText(), QStringLiteral("21,5"));
        personal->Edit();
        lohn->setAsString(QStringLiteral("12,3456789"));
        QCOMPARE(lohn->DisplayText(), QStringLiteral("12,34568"));
        QCOMPARE(lohn->AsFloat(), 12.3456789);
    }

    void executeSqlUndEmpty()
    {
        auto temp = tabelle(*m_db, QStringLiteral("TabTemp"), QString(), QStringLiteral("Update [aufgaben] set [select] = 1"));
        QCOMPARE(temp->ExecuteSQL(), 2);
        QCOMPARE(m_t->wert(QStringLiteral("SELECT sum([Select]) FROM Aufgaben")).toInt(), 2);

        auto projekt = tabelle(*m_db, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"));
        projekt->setFilter(QStringLiteral("EV_Sichtbar"));
        projekt->setFiltered(true);
        projekt->Open();
        projekt->Empty();
        QVERIFY(projekt->IsEmpty());
        QCOMPARE(m_t->wert(QStringLiteral("SELECT group_concat(Kommnr) FROM Projekt")).toString(), QStringLiteral("P2"));
        projekt->setFiltered(false);
        QCOMPARE(projekt->RecordCount(), 1);
    }

    // What a bound grid or edit relies on: the order of the row signals, the field that
    // changed, state changes, and UpdateData before a Post.
    void signaleFuerGebundeneSteuerelemente()
    {
        auto t = tabelle(*m_db, QStringLiteral("TabPersonal"), QStringLiteral("Personal"));
        TDataSource ds;
        ds.setDataSet(t.get());
        QCOMPARE(ds.State(), TDataSetState::dsInactive);
        QStringList protokoll;
        connect(&ds, &TDataSource::RowsAboutToBeReset, this, [&] { protokoll << QStringLiteral("vorReset %1").arg(t->RowCount()); });
        connect(&ds, &TDataSource::RowsReset, this, [&] { protokoll << QStringLiteral("Reset %1").arg(t->RowCount()); });
        connect(&ds, &TDataSource::RowsAboutToBeInserted, this, [&](int a, int b) {
            protokoll << QStringLiteral("vorEinfügen %1-%2 bei %3").arg(a).arg(b).arg(t->RowCount());
        });
        connect(&ds, &TDataSource::RowsInserted, this, [&] { protokoll << QStringLiteral("eingefügt %1").arg(t->RowCount()); });
        connect(&ds, &TDataSource::RowsAboutToBeRemoved, this, [&](int a, int b) {
            protokoll << QStringLiteral("vorEntfernen %1-%2 bei %3").arg(a).arg(b).arg(t->RowCount());
        });
        connect(&ds, &TDataSource::RowsRemoved, this, [&] { protokoll << QStringLiteral("entfernt %1").arg(t->RowCount()); });
        connect(&ds, &TDataSource::StateChange, this, [&] { protokoll << QStringLiteral("Zustand %1").arg(int(ds.State())); });
        connect(&ds, &TDataSource::DataChange, this, [&](TField* f) {
            if (f)
                protokoll << QStringLiteral("Feld ") + f->FieldName();
        });
        connect(&ds, &TDataSource::RowsChanged, this, [&](int a, int b) { protokoll << QStringLiteral("geändert %1-%2").arg(a).arg(b); });
        QSignalSpy scroll(&ds, &TDataSource::Scrolled);

        t->Open();
        QCOMPARE(protokoll, QStringList({"vorReset 0", "Reset 2", "Zustand 1"}));
        QCOMPARE(ds.State(), TDataSetState::dsBrowse);
        protokoll.clear();
        t->Append();
        QCOMPARE(protokoll, QStringList({"vorEinfügen 2-2 bei 2", "eingefügt 3", "Zustand 3"}));
        QCOMPARE(scroll.last().at(0).toInt(), 2);
        protokoll.clear();
        // A bound editor writes its input when the dataset asks for it.
        connect(&ds, &TDataSource::UpdateData, this, [&] { t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("aus dem Editor")); });
        t->Post();
        QCOMPARE(protokoll, QStringList({"geändert 2-2", "Feld Name", "geändert 2-2", "Zustand 1"}));
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Personal WHERE Name = 'aus dem Editor'")).toInt(), 1);
        disconnect(&ds, &TDataSource::UpdateData, this, nullptr);
        protokoll.clear();
        t->Delete();
        QCOMPARE(protokoll, QStringList({"vorEntfernen 2-2 bei 3", "entfernt 2"}));

        // With controls disabled nothing is passed on; enabling again sends one reset.
        protokoll.clear();
        t->DisableControls();
        t->First();
        t->Edit();
        t->FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("still"));
        t->Post();
        QVERIFY(protokoll.isEmpty());
        t->EnableControls();
        QCOMPARE(protokoll, QStringList({"vorReset 2", "Reset 2", "Zustand 1"}));

        // Exchanging the dataset of a data source is a reset for its controls.
        protokoll.clear();
        ds.setDataSet(nullptr);
        QCOMPARE(protokoll.first(), QStringLiteral("vorReset 2"));
        QCOMPARE(ds.State(), TDataSetState::dsInactive);
    }

    // A list that holds a few columns: every field is there, a row's other values are read
    // when first asked for (once), and changing, deleting, filtering and finding by them work
    // as with every column held.
    void gehalteneSpalten()
    {
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Ort = 'Ort ' || Kommnr, Strasse = 'Weg 1'"));
        const QString sql = QStringLiteral("select * from projekt order by Last_datum");
        auto voll = tabelle(*m_db, QStringLiteral("Voll"), QString(), sql);
        voll->Open();
        auto t = tabelle(*m_db, QStringLiteral("Liste"), QString(), sql);
        t->setGehalteneSpalten({QStringLiteral("Kommnr")});
        t->Open();
        QCOMPARE(t->FieldCount(), voll->FieldCount());
        QCOMPARE(t->RecordCount(), 3);
        const auto feld = [&](const char* name) { return t->FieldByName(QLatin1String(name))->Index(); };
        {
            AnweisungsZaehler zaehler(m_db.get());
            QCOMPARE(t->RowValue(1, feld("Kommnr")), voll->RowValue(1, feld("Kommnr")));
            QCOMPARE(zaehler.anzahl(), 0);
            QCOMPARE(t->RowValue(1, feld("Ort")), voll->RowValue(1, feld("Ort")));
            QCOMPARE(t->RowValue(1, feld("Strasse")).toString(), QStringLiteral("Weg 1"));
            QCOMPARE(zaehler.anzahl(), 1);
        }
        for (int z = 0; z < t->RowCount(); ++z)
            for (int f = 0; f < t->FieldCount(); ++f)
                QCOMPARE(t->RowValue(z, f), voll->RowValue(z, f));

        // Read again after another program's change: the value asked for next is the new one.
        m_t->fremd(QStringLiteral("UPDATE Projekt SET Ort = 'neu' WHERE Kommnr = 'P1'"));
        t->SchluesselNachlesen({1});
        QVERIFY(t->Locate(QStringLiteral("Kommnr"), QStringLiteral("P1")));
        QCOMPARE(t->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("neu"));

        QVERIFY(t->Locate(QStringLiteral("Kommnr"), QStringLiteral("P2")));
        t->Edit();
        t->FieldByName(QStringLiteral("Ort"))->setAsString(QStringLiteral("geändert"));
        t->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Ort FROM Projekt WHERE Kommnr = 'P2'")).toString(), QStringLiteral("geändert"));

        QVERIFY(t->Locate(QStringLiteral("Strasse"), QStringLiteral("Weg 1")));
        t->setFilter(QStringLiteral("EV_Sichtbar"));
        t->setFiltered(true);
        QCOMPARE(t->RecordCount(), 2);

        // A row never asked for is deleted as it is stored.
        t->Close();
        t->setFiltered(false);
        t->Open();
        QVERIFY(t->Locate(QStringLiteral("Kommnr"), QStringLiteral("P3")));
        t->Delete();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT count(*) FROM Projekt")).toInt(), 2);

        // Another statement than "SELECT * FROM" reads its columns as written.
        auto auswahl = tabelle(*m_db, QStringLiteral("Auswahl"), QString(), QStringLiteral("select ID, Kommnr, Ort from projekt"));
        auswahl->setGehalteneSpalten({QStringLiteral("Kommnr")});
        auswahl->Open();
        AnweisungsZaehler zaehler(m_db.get());
        QVERIFY(!auswahl->FieldByName(QStringLiteral("Ort"))->IsNull());
        QCOMPARE(zaehler.anzahl(), 0);
    }

    // The other values of rows held in part are read for the rows looked at, a page at a time,
    // and kept while the rows stay as they are; a row read again shows the values stored now,
    // also where it is held without them, and is news for the controls.
    void gehalteneSpaltenSeitenweise()
    {
        auto t = dreihundertProjekteMitKommnr();
        QCOMPARE(t->RecordCount(), 300);
        const int kommnr = t->FieldByName(QStringLiteral("Kommnr"))->Index();
        const int ort = t->FieldByName(QStringLiteral("Ort"))->Index();
        const auto alleRichtig = [&] {
            for (int z = 0; z < t->RowCount(); ++z)
                if (t->RowValue(z, ort).toString() != QStringLiteral("Ort ") + t->RowValue(z, kommnr).toString())
                    return false;
            return true;
        };
        {
            AnweisungsZaehler zaehler(m_db.get());
            QVERIFY(alleRichtig());
            QCOMPARE(zaehler.anzahl(), 3);
            QVERIFY(alleRichtig());
            QCOMPARE(zaehler.anzahl(), 3);
        }

        m_t->fremd(QStringLiteral("UPDATE Projekt SET Ort = 'Ort neu' WHERE Kommnr = 'S200'"));
        QVERIFY(t->Locate(QStringLiteral("Kommnr"), QStringLiteral("S200")));
        const int zeile = t->CurrentRow();
        const qint64 id = t->FieldByName(QStringLiteral("ID"))->AsInteger();
        t->First();
        TDataSource ds;
        ds.setDataSet(t.get());
        QSignalSpy geaendert(&ds, &TDataSource::RowsChanged);
        t->SchluesselNachlesen({id});
        QCOMPARE(geaendert.size(), 1);
        QCOMPARE(geaendert.first().value(0).toInt(), zeile);
        QCOMPARE(t->RowValue(zeile, ort).toString(), QStringLiteral("Ort neu"));

        // Written here: the rows looked at next are read afresh.
        t->Edit();
        t->FieldByName(QStringLiteral("Ort"))->setAsString(QStringLiteral("Ort P1 hier"));
        t->Post();
        {
            AnweisungsZaehler zaehler(m_db.get());
            QCOMPARE(t->RowValue(0, ort).toString(), QStringLiteral("Ort P1 hier"));
            QCOMPARE(t->RowValue(1, ort).toString(), QStringLiteral("Ort P2"));
            QCOMPARE(zaehler.anzahl(), 1);
        }

        // A filter on a column the rows are held without reads them again once, with it.
        m_t->fremd(QStringLiteral("UPDATE Projekt SET EV_Sichtbar = CASE WHEN ID % 3 = 0 THEN 1 ELSE 0 END"));
        AnweisungsZaehler zaehler(m_db.get());
        t->setFilter(QStringLiteral("EV_Sichtbar"));
        t->setFiltered(true);
        QCOMPARE(t->RecordCount(), 100);
        QCOMPARE(zaehler.anzahl(), 1);
        t->setFiltered(false);
        t->setFiltered(true);
        QCOMPARE(t->RecordCount(), 100);
        QCOMPARE(zaehler.anzahl(), 1);
    }

    // Another program holds the file: a value of a row not read in full fails with the lock's
    // message after the wait for it, and the next one at once with the same message, so that a
    // list drawn cell by cell does not wait once per cell. The current row, once read in full,
    // needs the file no more.
    void gehalteneSpaltenGesperrt()
    {
        if (m_t->server())
            QSKIP("Ein Server sperrt Leser nicht.");
        auto t = dreihundertProjekteMitKommnr();
        const int ort = t->FieldByName(QStringLiteral("Ort"))->Index();
        QCOMPARE(t->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Ort P1"));
        // Another row read again: what the window held is of an earlier stand now.
        t->SchluesselNachlesen({t->RowValue(100, t->FieldByName(QStringLiteral("ID"))->Index()).toLongLong()});
        m_db->setBusyTimeout(1500);
        FremdeSperre sperre(m_db->Dateipfad());
        QElapsedTimer uhr;
        uhr.start();
        QVERIFY_THROWS_EXCEPTION(DatenbankGesperrt, t->RowValue(250, ort));
        QVERIFY(uhr.elapsed() >= 1000);
        uhr.restart();
        QString meldung;
        try {
            t->RowValue(251, ort);
        } catch (const Fehler& f) {
            meldung = f.text();
        }
        QVERIFY(uhr.elapsed() < 500);
        QVERIFY2(meldung.contains(QStringLiteral("gesperrt")), qPrintable(meldung));
        QCOMPARE(t->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Ort P1"));
    }
};

QTEST_GUILESS_MAIN(TstKADaoTable)
#include "tst_kadaotable.moc"
