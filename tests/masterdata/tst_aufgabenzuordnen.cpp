#include "BefehlsKnopf.h"
#include "DBBedienelemente.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "Farben.h"
#include "FehlerAnwendung.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitAufgabenZuordnen.h"
#include "UnitProjektMain.h"
#include "UnitSucheProjekt.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(Meldung::Antwort)

using namespace Qt::StringLiterals;

// The task window as the office uses it, on a real program folder: settings file, a project
// database with a catalogue of three tasks, project P1 with two tasks and P2 without any, and
// the command set whose actions the buttons run.
class TestAufgabenZuordnen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void zuordnenSeite_data();
    void zuordnenSeite();
    void schliessenOhneZuordnen_data();
    void schliessenOhneZuordnen();
    void zuordnenScheitertMittendrin();
    void bearbeitenSpeichernAbbrechen();
    void loeschenMitFrage_data();
    void loeschenMitFrage();
    void projektOhneAufgaben();
    void neueAufgabeWirdAktuell_data();
    void neueAufgabeWirdAktuell();
    void speichernScheitertBleibtImBearbeiten();
    void schliessfeldBeimBearbeiten_data();
    void schliessfeldBeimBearbeiten();
    void lookupsUndZeilenfarbe();
    void fensterlage();
    void befehleDesHauptfensters_data();
    void befehleDesHauptfensters();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    qlonglong zahl(const QString& sql) const;
    QVariant wert(const QString& sql) const;
    void zuProjekt(int id) { QVERIFY(m_dm1->TabProjekt->Locate(u"ID"_s, id)); }
    // The window for the current project, shown without a modal loop so the test can act in it.
    TFormAufgabenZuordnen* oeffnen(int modus);
    void klicken(TBefehlsKnopf* knopf);
    // Picks an entry of a lookup box as the user does.
    void waehlen(TDBLookupBox* box, const QString& text);
    void haken(int zeile);
    QString zellText(TDatenGitter* gitter, int zeile, int spalte) const;

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDataModule1> m_dm1;
    std::unique_ptr<TDataModule2> m_dm2;
    std::unique_ptr<TFormAufgabenZuordnen> m_fenster;
};

void TestAufgabenZuordnen::init()
{
    FehlerAnwendung::fehler.clear();
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    IniVorbelegen();
    IniAnlegen();
    IniRecord.AnzahlStatus = 5;
    DatenbankWerkzeug::anlegen(pfad(u"PROJEKT.MDB"_s));
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_dm1 = std::make_unique<TDataModule1>();
    m_dm1->DBProjekt->setDatabaseName(pfad(u"PROJEKT.MDB"_s));
    m_dm1->DBProjekt->Open();
    m_dm1->DBProjekt->Execute(
        u"INSERT INTO Status (Stat_Bezeichnung, Stat_Rang) VALUES ('unbearbeitet', 0), ('in Arbeit', 1), "
        "('Rückfrage', 2), ('zeitkritisch', 3), ('erledigt', 4)"_s);
    m_dm1->DBProjekt->Execute(u"INSERT INTO Personal (Nummer, Name) VALUES ('M1', 'Anna Groß'), ('M2', 'Bernd Öz')"_s);
    m_dm1->DBProjekt->Execute(
        u"INSERT INTO Aufgaben (Aufg_Bezeichnung, Aufg_Mitarbeiter, Aufg_Status, Aufg_Bemerkung, Aufg_Prioritaet, [Select]) "
        "VALUES ('Aufmaß', 1, 2, 'mit Zollstock', 20, 0), ('Montage', 2, 1, NULL, 10, 0), ('Abnahme', 1, 1, NULL, 30, 0)"_s);
    m_dm1->DBProjekt->Execute(u"INSERT INTO Projekt (Kommnr, Bezeichn, EV_Sichtbar, PV_Sichtbar) VALUES "
                              "('P1', 'Bäckerei Huber', 1, 1), ('P2', 'Autohaus Schmid', 1, 1)"_s);
    m_dm1->DBProjekt->Execute(
        u"INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_bis, Mitarbeiter, Status_ID, Prioritaet) "
        "VALUES (1, 1, 'Aufmaß', '2024-02-01 00:00:00', 1, 2, 20), (1, 3, 'Abnahme', NULL, 2, 1, 30)"_s);
    m_dm1->DatenmengenOeffnen();
    m_dm2 = std::make_unique<TDataModule2>();
}

void TestAufgabenZuordnen::cleanup()
{
    m_fenster.reset();
    m_dm2.reset();
    m_dm1.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

qlonglong TestAufgabenZuordnen::zahl(const QString& sql) const
{
    return wert(sql).toLongLong();
}

QVariant TestAufgabenZuordnen::wert(const QString& sql) const
{
    TKADaoTable abfrage;
    abfrage.setDatabase(m_dm1->DBProjekt);
    abfrage.setSQL(sql);
    abfrage.Open();
    return abfrage.IsEmpty() ? QVariant() : abfrage.Field(0)->Value();
}

TFormAufgabenZuordnen* TestAufgabenZuordnen::oeffnen(int modus)
{
    m_fenster = std::make_unique<TFormAufgabenZuordnen>();
    m_fenster->Modus = modus;
    m_fenster->ProjektKommnr = m_dm1->TabProjekt->FieldByName(u"Kommnr"_s)->AsString();
    m_fenster->ProjektID = m_dm1->TabProjekt->FieldByName(u"ID"_s)->AsInteger();
    m_fenster->show();
    m_fenster->activateWindow();
    if (!QTest::qWaitForWindowActive(m_fenster.get()))
        qWarning("Das Fenster wurde nicht aktiv.");
    return m_fenster.get();
}

void TestAufgabenZuordnen::klicken(TBefehlsKnopf* knopf)
{
    QVERIFY(knopf->isVisible());
    QTest::mouseClick(knopf, Qt::LeftButton);
}

void TestAufgabenZuordnen::waehlen(TDBLookupBox* box, const QString& text)
{
    const int index = box->findText(text);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void TestAufgabenZuordnen::haken(int zeile)
{
    TDatenGitter* g = m_fenster->DBGridAufgabenZuordnen;
    const QModelIndex zelle = g->model()->index(zeile, 0);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(zelle).center());
}

QString TestAufgabenZuordnen::zellText(TDatenGitter* gitter, int zeile, int spalte) const
{
    return gitter->model()->index(zeile, spalte).data().toString();
}

void TestAufgabenZuordnen::zuordnenSeite_data()
{
    QTest::addColumn<QList<int>>("abgewaehlt");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("ganzer Katalog") << QList<int>{} << u"1/1/2/20/Aufmaß 2/2/1/10/Montage 3/1/1/30/Abnahme"_s;
    QTest::newRow("Montage abgewählt") << QList<int>{1} << u"1/1/2/20/Aufmaß 3/1/1/30/Abnahme"_s;
    QTest::newRow("alles abgewählt") << QList<int>{0, 1, 2} << QString();
}

// Every catalogue task starts ticked; "Zuordnen" copies text, employee, status and priority of
// each ticked one into the project, clears the marks and closes the window.
void TestAufgabenZuordnen::zuordnenSeite()
{
    QFETCH(QList<int>, abgewaehlt);
    QFETCH(QString, erwartet);
    zuProjekt(2);
    TFormAufgabenZuordnen* f = oeffnen(0);
    QCOMPARE(f->windowTitle(), u"Aufgaben zuordnen"_s);
    QCOMPARE(f->PageControl1->currentWidget(), f->TSAufgabenZuordnen);
    QVERIFY(!f->PageControl1->tabBar()->isVisible());
    QCOMPARE(f->lblKommnr->text(), u"P2"_s);
    QCOMPARE(f->lblID->text(), u"2"_s);
    QCOMPARE(f->btnZuordnen->x(), 16);
    QVERIFY(f->btnZuordnen->isVisible() && f->btnZuordnen->isEnabled() && f->btnClose->isVisible());
    for (TBefehlsKnopf* k : {f->btnEdit, f->btnSave, f->btnCancel, f->btnDelete})
        QVERIFY(!k->isVisible());
    QCOMPARE(f->btnZuordnen->text(), u"Zuordnen"_s);
    QCOMPARE(f->focusWidget(), f->DBGridAufgabenZuordnen);
    for (int zeile = 0; zeile < 3; ++zeile)
        QCOMPARE(f->DBGridAufgabenZuordnen->model()->index(zeile, 0).data(GitterRolle::Rohwert).toBool(), true);

    for (int zeile : abgewaehlt)
        haken(zeile);
    klicken(f->btnZuordnen);

    QVERIFY(FehlerAnwendung::fehler.isEmpty());
    QVERIFY(!f->isVisible());
    QCOMPARE(wert(u"SELECT group_concat(Aufgabe_ID || '/' || Mitarbeiter || '/' || Status_ID || '/' || Prioritaet "
                  "|| '/' || Bezeichnung, ' ') FROM (SELECT * FROM ProjektAufgaben WHERE Projekt_ID = 2 ORDER BY ID)"_s)
                 .toString(),
             erwartet);
    QCOMPARE(zahl(u"SELECT count(*) FROM Aufgaben WHERE [Select] <> 0"_s), 0);
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Bemerkung IS NOT NULL OR Datum_bis IS NOT NULL "
                  "AND Projekt_ID = 2"_s),
             0);
    // The project row shows its new current task (lowest priority among the ticked ones).
    if (!abgewaehlt.contains(1))
        QCOMPARE(m_dm1->TabProjekt->FieldByName(u"Last_Aufgabe"_s)->Value(), QVariant(2));
}

void TestAufgabenZuordnen::schliessenOhneZuordnen_data()
{
    QTest::addColumn<bool>("schliessfeld");
    QTest::newRow("Beenden") << false;
    QTest::newRow("Schließfeld") << true;
}

// Closing the assign page assigns nothing; the marks stand as the user left them, and the
// next opening ticks everything again.
void TestAufgabenZuordnen::schliessenOhneZuordnen()
{
    QFETCH(bool, schliessfeld);
    zuProjekt(2);
    TFormAufgabenZuordnen* f = oeffnen(0);
    haken(2);
    if (schliessfeld)
        f->close();
    else
        klicken(f->btnClose);
    QVERIFY(!f->isVisible());
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 2"_s), 0);
    QCOMPARE(wert(u"SELECT group_concat([Select], '') FROM (SELECT * FROM Aufgaben ORDER BY ID)"_s).toString(), u"110"_s);
    QCOMPARE(m_dm1->TabAufgaben->State(), TDataSetState::dsBrowse);

    oeffnen(0);
    QCOMPARE(zahl(u"SELECT count(*) FROM Aufgaben WHERE [Select] <> 0"_s), 3);
    QCOMPARE(m_fenster->DBGridAufgabenZuordnen->model()->index(2, 0).data(GitterRolle::Rohwert).toBool(), true);
}

// An error half-way assigns nothing; the window stays open with the ticks, so the user can
// try again once the cause is gone.
void TestAufgabenZuordnen::zuordnenScheitertMittendrin()
{
    zuProjekt(2);
    m_dm1->DBProjekt->Execute(u"CREATE TRIGGER sperre BEFORE INSERT ON ProjektAufgaben WHEN NEW.Aufgabe_ID = 3 "
                              "BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END"_s);
    TFormAufgabenZuordnen* f = oeffnen(0);
    klicken(f->btnZuordnen);
    QCOMPARE(FehlerAnwendung::fehler.size(), 1);
    QVERIFY(FehlerAnwendung::fehler[0].contains(u"keine Aufgabe"_s));
    QVERIFY(FehlerAnwendung::fehler[0].contains(u"Datenträger voll"_s));
    QVERIFY(f->isVisible());
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 2"_s), 0);
    QCOMPARE(m_dm1->TabProjektAufgaben->RecordCount(), 0);
    QCOMPARE(zahl(u"SELECT count(*) FROM Aufgaben WHERE [Select] <> 0"_s), 3);

    m_dm1->DBProjekt->Execute(u"DROP TRIGGER sperre"_s);
    klicken(f->btnZuordnen);
    QVERIFY(!f->isVisible());
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 2"_s), 3);
}

// Bearbeiten opens the inputs (tab order as designed) and locks the grid; Speichern writes,
// Abbrechen throws the input away; both return to browse state.
void TestAufgabenZuordnen::bearbeitenSpeichernAbbrechen()
{
    zuProjekt(1);
    TFormAufgabenZuordnen* f = oeffnen(1);
    QCOMPARE(f->windowTitle(), u"Aufgaben bearbeiten"_s);
    QCOMPARE(f->PageControl1->currentWidget(), f->TSAufgabenBearbeiten);
    QVERIFY(!f->btnZuordnen->isVisible());
    auto browse = [f] {
        return f->btnEdit->isEnabled() && f->btnDelete->isEnabled() && f->btnClose->isEnabled()
            && !f->btnSave->isEnabled() && !f->btnCancel->isEnabled() && !f->DBEditBezeichnung->isEnabled()
            && !f->pnlAufgabenTitel->isEnabled() && !f->Bevel1->isEnabled() && f->DBGridAufgabenBearbeiten->isEnabled()
            && f->focusWidget() == f->DBGridAufgabenBearbeiten;
    };
    QVERIFY(browse());

    klicken(f->btnEdit);
    QVERIFY(!f->btnEdit->isEnabled() && !f->btnDelete->isEnabled() && !f->btnClose->isEnabled());
    QVERIFY(f->btnSave->isEnabled() && f->btnCancel->isEnabled() && !f->DBGridAufgabenBearbeiten->isEnabled());
    QCOMPARE(f->focusWidget(), f->DBEditBezeichnung);
    QVERIFY(f->findChild<QLabel*>(u"lblBezeichnung"_s)->isEnabled());
    const QList<QWidget*> reihenfolge{f->DBEditBezeichnung, f->DBMemoBemerkung, f->DBDateEditVon, f->DBDateEditBis,
                                      f->DBLookupComboBoxMitarbeiter, f->DBLookupComboBoxStatus, f->DBSpinEditPrioritaet};
    for (qsizetype i = 1; i < reihenfolge.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(reihenfolge[i]->isAncestorOf(QApplication::focusWidget()) || reihenfolge[i] == QApplication::focusWidget(),
                 qPrintable(reihenfolge[i]->objectName()));
    }

    f->DBEditBezeichnung->setFocus();
    f->DBEditBezeichnung->selectAll();
    QTest::keyClicks(f->DBEditBezeichnung, u"Aufmaß Keller"_s);
    waehlen(f->DBLookupComboBoxMitarbeiter, u"Bernd Öz"_s);
    klicken(f->btnSave);
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
    QVERIFY(browse());
    QCOMPARE(wert(u"SELECT Bezeichnung || '/' || Mitarbeiter FROM ProjektAufgaben WHERE ID = 1"_s).toString(),
             u"Aufmaß Keller/2"_s);

    klicken(f->btnEdit);
    f->DBEditBezeichnung->selectAll();
    QTest::keyClicks(f->DBEditBezeichnung, u"verworfen"_s);
    klicken(f->btnCancel);
    QVERIFY(browse());
    QCOMPARE(f->DBEditBezeichnung->text(), u"Aufmaß Keller"_s);
    QCOMPARE(wert(u"SELECT Bezeichnung FROM ProjektAufgaben WHERE ID = 1"_s).toString(), u"Aufmaß Keller"_s);
}

void TestAufgabenZuordnen::loeschenMitFrage_data()
{
    QTest::addColumn<bool>("ja");
    QTest::addColumn<int>("rest");
    QTest::newRow("Ja") << true << 1;
    QTest::newRow("Nein") << false << 2;
}

void TestAufgabenZuordnen::loeschenMitFrage()
{
    QFETCH(bool, ja);
    QFETCH(int, rest);
    zuProjekt(1);
    TFormAufgabenZuordnen* f = oeffnen(1);
    m_meldungen->antwort = ja;
    klicken(f->btnDelete);
    QCOMPARE(m_meldungen->fragen, (QList<QPair<QString, QString>>{{u"Bestätigung"_s, u"Datensatz wirklich löschen ?"_s}}));
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 1"_s), rest);
    QVERIFY(f->btnEdit->isEnabled() && !f->btnSave->isEnabled());
}

// "Bearbeiten" on a project without tasks starts its first task; "Speichern" writes it for
// this project. "Löschen" there deletes nothing, and the window stays in browse state.
void TestAufgabenZuordnen::projektOhneAufgaben()
{
    zuProjekt(2);
    TFormAufgabenZuordnen* f = oeffnen(1);
    klicken(f->btnDelete);
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben"_s), 2);
    QVERIFY(f->btnEdit->isEnabled() && !f->btnSave->isEnabled());
    const qsizetype fehlerVorher = FehlerAnwendung::fehler.size();

    klicken(f->btnEdit);
    QCOMPARE(m_dm1->TabProjektAufgaben->State(), TDataSetState::dsInsert);
    QTest::keyClicks(f->DBEditBezeichnung, u"Erstbesuch"_s);
    klicken(f->btnSave);
    QCOMPARE(FehlerAnwendung::fehler.size(), fehlerVorher);
    QCOMPARE(wert(u"SELECT Projekt_ID || '/' || Bezeichnung FROM ProjektAufgaben WHERE ID = 3"_s).toString(),
             u"2/Erstbesuch"_s);
    QCOMPARE(f->DBGridAufgabenBearbeiten->model()->rowCount(), 1);
}

void TestAufgabenZuordnen::neueAufgabeWirdAktuell_data()
{
    QTest::addColumn<int>("projektId");
    QTest::addColumn<bool>("vollstaendig");
    QTest::newRow("vorhandene Aufgabe nach vorn") << 1 << true;
    QTest::newRow("neue Aufgabe ohne Mitarbeiter und Status") << 2 << false;
}

// A task saved with a lower priority than the project's others is its current task at once: the
// main window's project row shows it, and so does the wall screen at its next tick. Without
// employee and status the summary is partly empty, and the wall screen shows the project all
// the same.
void TestAufgabenZuordnen::neueAufgabeWirdAktuell()
{
    QFETCH(int, projektId);
    QFETCH(bool, vollstaendig);
    IniRecord.Startansicht = 1;
    IniRecord.RefreshPublicView = false;
    TFormProjektMain haupt;
    haupt.show();
    zuProjekt(projektId);
    TFormAufgabenZuordnen* f = oeffnen(1);
    if (vollstaendig) {
        TDatenGitter* g = f->DBGridAufgabenBearbeiten;
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(1, 0)).center());
        QCOMPARE(m_dm1->TabProjektAufgaben->FieldByName(u"Bezeichnung"_s)->AsString(), u"Abnahme"_s);
    }
    klicken(f->btnEdit);
    if (vollstaendig) {
        waehlen(f->DBLookupComboBoxStatus, u"zeitkritisch"_s);
    } else {
        QTest::keyClicks(f->DBEditBezeichnung, u"Eilauftrag"_s);
    }
    QTest::keyClicks(f->DBDateEditBis->eingabe(), u"15.01.2024"_s);
    f->DBSpinEditPrioritaet->selectAll();
    QTest::keyClicks(f->DBSpinEditPrioritaet, u"10"_s);
    klicken(f->btnSave);
    QVERIFY2(FehlerAnwendung::fehler.isEmpty(), qPrintable(FehlerAnwendung::fehler.join(u'\n')));

    TKADaoTable* projekt = m_dm1->TabProjekt;
    QCOMPARE(projekt->FieldByName(u"Last_Aufgabe"_s)->Value(), vollstaendig ? QVariant(3) : QVariant());
    QCOMPARE(projekt->FieldByName(u"Last_Datum"_s)->Value(), QVariant(QDate(2024, 1, 15)));
    QCOMPARE(projekt->FieldByName(u"Last_Personal"_s)->Value(), vollstaendig ? QVariant(2) : QVariant());
    QCOMPARE(projekt->FieldByName(u"Last_Rang"_s)->Value(), vollstaendig ? QVariant(3) : QVariant());
    QCOMPARE(projekt->FieldByName(u"AnzAufg"_s)->Value(), QVariant(vollstaendig ? 2 : 1));
    QCOMPARE(wert(u"SELECT Last_Datum FROM Projekt WHERE ID = %1"_s.arg(projektId)).toString(), u"2024-01-15"_s);

    haupt.Timer1Timer();
    QVERIFY(!haupt.statusBar()->currentMessage().contains(u"fehlgeschlagen"_s));
    TDatenGitter* wand = haupt.NextDBGridPublicView;
    int zeile = -1;
    for (int i = 0; i < wand->model()->rowCount(); ++i)
        if (zellText(wand, i, wand->spalteNachId(u"PROJEKT"_s)->index()) == (projektId == 1 ? u"P1"_s : u"P2"_s))
            zeile = i;
    QVERIFY(zeile >= 0);
    QCOMPARE(zellText(wand, zeile, wand->spalteNachId(u"DATUM"_s)->index()), u"15.01.2024"_s);
    QCOMPARE(zellText(wand, zeile, wand->spalteNachId(u"MITARBEITER"_s)->index()),
             vollstaendig ? u"Bernd Öz"_s : QString());
    QCOMPARE(zellText(wand, zeile, wand->spalteNachId(u"AUFGABE"_s)->index()), vollstaendig ? u"Abnahme"_s : QString());
    QVERIFY(!wand->grab().isNull());
}

// A save that fails keeps the user in edit state with the input, so nothing typed is lost.
void TestAufgabenZuordnen::speichernScheitertBleibtImBearbeiten()
{
    m_dm1->DBProjekt->Execute(u"CREATE TRIGGER sperre BEFORE UPDATE ON ProjektAufgaben "
                              "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"_s);
    zuProjekt(1);
    TFormAufgabenZuordnen* f = oeffnen(1);
    klicken(f->btnEdit);
    f->DBEditBezeichnung->selectAll();
    QTest::keyClicks(f->DBEditBezeichnung, u"Aufmaß Dach"_s);
    klicken(f->btnSave);
    QCOMPARE(FehlerAnwendung::fehler.size(), 1);
    QVERIFY(FehlerAnwendung::fehler[0].contains(u"gesperrt"_s));
    QCOMPARE(m_dm1->TabProjektAufgaben->State(), TDataSetState::dsEdit);
    QVERIFY(f->btnSave->isEnabled() && f->DBEditBezeichnung->isEnabled() && !f->btnEdit->isEnabled());
    QCOMPARE(f->DBEditBezeichnung->text(), u"Aufmaß Dach"_s);

    m_dm1->DBProjekt->Execute(u"DROP TRIGGER sperre"_s);
    klicken(f->btnSave);
    QCOMPARE(wert(u"SELECT Bezeichnung FROM ProjektAufgaben WHERE ID = 1"_s).toString(), u"Aufmaß Dach"_s);
    QVERIFY(f->btnEdit->isEnabled());
}

void TestAufgabenZuordnen::schliessfeldBeimBearbeiten_data()
{
    QTest::addColumn<Meldung::Antwort>("antwort");
    QTest::addColumn<bool>("offen");
    QTest::addColumn<QString>("gespeichert");
    QTest::newRow("Ja") << Meldung::Antwort::Ja << false << u"neu"_s;
    QTest::newRow("Nein") << Meldung::Antwort::Nein << false << u"Aufmaß"_s;
    QTest::newRow("Abbrechen") << Meldung::Antwort::Abbrechen << true << u"Aufmaß"_s;
}

void TestAufgabenZuordnen::schliessfeldBeimBearbeiten()
{
    QFETCH(Meldung::Antwort, antwort);
    QFETCH(bool, offen);
    QFETCH(QString, gespeichert);
    zuProjekt(1);
    TFormAufgabenZuordnen* f = oeffnen(1);
    klicken(f->btnEdit);
    f->DBEditBezeichnung->selectAll();
    QTest::keyClicks(f->DBEditBezeichnung, u"neu"_s);
    m_meldungen->dreifachAntwort = antwort;
    f->close();
    QCOMPARE(m_meldungen->fragen.size(), 1);
    QCOMPARE(m_meldungen->fragen[0].second, u"Änderungen speichern?"_s);
    QCOMPARE(f->isVisible(), offen);
    QCOMPARE(wert(u"SELECT Bezeichnung FROM ProjektAufgaben WHERE ID = 1"_s).toString(), gespeichert);
    QCOMPARE(m_dm1->TabProjektAufgaben->State(), offen ? TDataSetState::dsEdit : TDataSetState::dsBrowse);
}

// Both grids show names for employee and status ids, and band every other row light blue
// except the selected one.
void TestAufgabenZuordnen::lookupsUndZeilenfarbe()
{
    zuProjekt(1);
    TFormAufgabenZuordnen* f = oeffnen(1);
    TDatenGitter* bearbeiten = f->DBGridAufgabenBearbeiten;
    QCOMPARE(zellText(bearbeiten, 0, 3), u"Anna Groß"_s);
    QCOMPARE(zellText(bearbeiten, 0, 4), u"in Arbeit"_s);
    QCOMPARE(zellText(bearbeiten, 1, 4), u"unbearbeitet"_s);
    QCOMPARE(zellText(bearbeiten, 1, 3), u"Bernd Öz"_s);
    QCOMPARE(zellText(bearbeiten, 0, 1), QString());
    QCOMPARE(zellText(bearbeiten, 0, 2), u"01.02.2024"_s);
    f->close();

    TFormAufgabenZuordnen* z = oeffnen(0);
    TDatenGitter* katalog = z->DBGridAufgabenZuordnen;
    QCOMPARE(zellText(katalog, 1, 2), u"Bernd Öz"_s);
    QCOMPARE(zellText(katalog, 0, 3), u"in Arbeit"_s);
    QCOMPARE(zellText(katalog, 1, 3), u"unbearbeitet"_s);
    const QColor band = FarbeAusCode(0x00FEF3ED);
    QCOMPARE(katalog->zellbild(katalog->model()->index(2, 1), false).hintergrund, band);
    QVERIFY(katalog->zellbild(katalog->model()->index(1, 1), false).hintergrund != band);
    QVERIFY(katalog->zellbild(katalog->model()->index(0, 1), true).hintergrund != band);
}

// Without saved values the window opens at 0, 0 with 657 × 565; closing stores where it
// stands, and the next opening comes back there.
void TestAufgabenZuordnen::fensterlage()
{
    TFormAufgabenZuordnen* f = oeffnen(1);
    QCOMPARE(f->pos(), QPoint(0, 0));
    QCOMPARE(f->size(), QSize(657, 565));
    QCOMPARE(f->btnClose->x() + f->btnClose->width(), 657 - (TFormAufgabenZuordnen::DesignBreite - 775));
    f->move(40, 30);
    f->resize(900, 600);
    QCOMPARE(f->lblID->x() + f->lblID->width(), 900 - (TFormAufgabenZuordnen::DesignBreite - 780));
    klicken(f->btnClose);
    IniRecord.AufgabeFensterWidth = 0;
    FensterLesen(u"AufgabeFenster"_s);
    QCOMPARE(FensterLage(u"AufgabeFenster"_s), QRect(40, 30, 900, 600));
    TFormAufgabenZuordnen* wieder = oeffnen(0);
    QCOMPARE(QRect(wieder->pos(), wieder->size()), QRect(40, 30, 900, 600));
}

void TestAufgabenZuordnen::befehleDesHauptfensters_data()
{
    QTest::addColumn<QString>("befehl");
    QTest::addColumn<QString>("titel");
    QTest::newRow("Aufgabe zuordnen") << u"ActionAufgZuordStart"_s << u"Aufgaben zuordnen"_s;
    QTest::newRow("Aufgaben bearbeiten") << u"ActionAufgBearbStart"_s << u"Aufgaben bearbeiten"_s;
    QTest::newRow("nach ERP-Übernahme") << QString() << u"Aufgaben zuordnen"_s;
}

// The main window's two commands open the window modal for its current project, the take-over
// of an ERP project for the project it names; it is released when closed, and its buttons'
// commands do nothing without it.
void TestAufgabenZuordnen::befehleDesHauptfensters()
{
    QFETCH(QString, befehl);
    QFETCH(QString, titel);
    m_dm2.reset();
    TFormProjektMain haupt;
    m_dm2 = std::make_unique<TDataModule2>(&haupt);
    haupt.show();
    zuProjekt(2);
    QString gesehen;
    QTimer::singleShot(0, this, [&] {
        TFormAufgabenZuordnen* f = FormAufgabenZuordnen;
        QVERIFY(f && f->isModal() && f->isVisible());
        gesehen = f->windowTitle() + u'|' + f->lblKommnr->text() + u'|' + f->lblID->text();
        QCOMPARE(m_dm1->TabProjektAufgaben->State(), TDataSetState::dsBrowse);
        QTest::mouseClick(f->btnClose, Qt::LeftButton);
    });
    if (befehl.isEmpty()) {
        zuProjekt(1);
        QVERIFY(AufgabenFensterNachUebernahme);
        AufgabenFensterNachUebernahme(u"P2"_s, 2);
    } else {
        m_dm2->Action(befehl)->trigger();
    }
    QCOMPARE(gesehen, titel + u"|P2|2"_s);
    QVERIFY(!FormAufgabenZuordnen);
    QVERIFY(haupt.findChildren<TFormAufgabenZuordnen*>().isEmpty());
    m_dm2->Action(u"ActionAufgZuordAssign"_s)->trigger();
    QCOMPARE(zahl(u"SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 2"_s), 0);
}

PV_TEST_MAIN(TestAufgabenZuordnen)
#include "tst_aufgabenzuordnen.moc"
