#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "HookHelpSystem.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "Seitenwechsel.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TField.h"
#include "UnitAktionManager.h"
#include "UnitRuecksicherung.h"
#include "PrivateProfile.h"
#include "Datensicherung.h"
#include "UnitEinstellungen.h"
#include "BefehlsKnopf.h"
#include "EigenschaftenEditor.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QTreeWidget>
#include <QCheckBox>
#include <QListWidget>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

// The main window on a real program directory: settings file and a demo database with some
// projects hidden from either view.
class TestProjektMain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hilfedateiFehlt();
    void hilfeVersion_data();
    void hilfeVersion();
    void ersterStartSpaltenUmgekehrt();
    void glyphMaxima_data();
    void glyphMaxima();
    void ansichtWechselnSpeichertNichts();
    void timer_data();
    void timer();
    void refreshImEditView();
    void publicViewGefiltertUndSortiert();
    void schliessenSpeichert();
    void datensicherung();
    void datensicherungOrdnerFehlt();
    void einstellungenBlendenSpalteAus();
    void fehlschlagenderTickOhneMeldung();
    void seitenWechselnSelbst();
    void seitenwechselAus();
    void vollbild();
    void datenstandVeraltet();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    void sql(const QString& text);
    void fensterZeigen(int startansicht);
    // The public view's grid made so high that it holds exactly `zeilen` whole rows.
    void zeilenPlatz(int zeilen);
    QString statusText(const char* label) const { return m_fenster->findChild<QLabel*>(label)->text(); }

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDataModule1> m_module1;
    std::unique_ptr<TFormProjektMain> m_fenster;
    std::unique_ptr<TDataModule2> m_module2;
};

void TestProjektMain::sql(const QString& text)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test"));
        db.setDatabaseName(pfad("PROJEKT.MDB"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec(text), qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
}

void TestProjektMain::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    DatenbankWerkzeug::anlegen(pfad("PROJEKT.MDB"));
    DatenbankWerkzeug::demoDatenEinfuegen(pfad("PROJEKT.MDB"), 12, QDate(2024, 5, 6));
    sql("update Projekt set PV_Sichtbar = (ID % 3 <> 0), EV_Sichtbar = (ID % 4 <> 0)");
    IniAnlegen();
    IniRecord.AnzahlStatus = 6;
    IniRecord.Startansicht = 0;
    HtmlHelp::Laden();
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_module1 = std::make_unique<TDataModule1>();
    m_module1->DBProjekt->setDatabaseName(pfad("PROJEKT.MDB"));
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
}

void TestProjektMain::cleanup()
{
    m_module2.reset();
    m_fenster.reset();
    m_module1.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestProjektMain::fensterZeigen(int startansicht)
{
    IniRecord.Startansicht = startansicht;
    m_fenster = std::make_unique<TFormProjektMain>();
    m_module2 = std::make_unique<TDataModule2>(m_fenster.get());
    m_fenster->show();
}

void TestProjektMain::zeilenPlatz(int zeilen)
{
    TDatenGitter* pv = m_fenster->NextDBGridPublicView;
    const int soll = zeilen * pv->zeilenHoehe() + pv->zeilenHoehe() / 2;
    m_fenster->resize(m_fenster->width(), m_fenster->height() + soll - pv->viewport()->height());
    QTRY_COMPARE(pv->viewport()->height(), soll);
    QCOMPARE(pv->ganzeZeilen(), zeilen);
}

// The help file is looked for beside the program file; its absence is said with the full path.
void TestProjektMain::hilfedateiFehlt()
{
    fensterZeigen(0);
    const QString erwartet = QStringLiteral("Hilfedatei nicht gefunden !") + QChar(13)
                             + QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/Projekt.chm");
    QCOMPARE(m_meldungen->texte(), QStringList{erwartet});
}

// The help control is checked once at start: too old or missing is said, start goes on; the
// help link is the application's help handler while the window lives.
void TestProjektMain::hilfeVersion_data()
{
    QTest::addColumn<bool>("geladen");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("meldung");
    QTest::newRow("4.72") << true << 4 << 72 << true;
    QTest::newRow("4.73") << true << 4 << 73 << false;
    QTest::newRow("5.0") << true << 5 << 0 << false;
    QTest::newRow("nicht geladen") << false << 0 << 0 << true;
}

void TestProjektMain::hilfeVersion()
{
    QFETCH(bool, geladen);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, meldung);
    HtmlHelp::Zustand zustand;
    zustand.geladen = geladen;
    zustand.versionGelesen = geladen;
    zustand.version = {major, minor, 0, 0};
    HtmlHelp::ZustandSetzen(zustand);
    fensterZeigen(0);
    const QString text = QStringLiteral("Diese Anwendung erfordert die Installation der MS HTML Help 1.2 oder höher");
    QCOMPARE(m_meldungen->texte().contains(text), meldung);
    QVERIFY(AktuellerHilfeHandler() == m_fenster->HelpSystem());
    // The help command goes to the help link, which looks for the file beside the program.
    if (!meldung) {
        m_module2->Action(QStringLiteral("ActionHilfe"))->trigger();
        QVERIFY(m_meldungen->texte().last().contains(QStringLiteral("wurde nicht gefunden")));
    }
    m_module2.reset();
    m_fenster.reset();
    QVERIFY(AktuellerHilfeHandler() == nullptr);
}

// Without stored column sections every column is moved to place 0 in turn: reversed, 80 wide.
void TestProjektMain::ersterStartSpaltenUmgekehrt()
{
    fensterZeigen(1);
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    QVERIFY(pv);
    QStringList reihenfolge;
    for (int i = 0; i < pv->spaltenAnzahl(); ++i) {
        TGitterSpalte* s = pv->spalte(pv->horizontalHeader()->logicalIndex(i));
        reihenfolge << s->spaltenId();
        QCOMPARE(s->breite(), 80);
        QVERIFY(s->sichtbar());
    }
    QCOMPARE(reihenfolge, QStringList({"ASTATUS", "STATUS", "DATUM", "AUFGABE", "MITARBEITER", "BETREFF",
                                       "BAUSTELLE", "BEZEICHNUNG", "PROJEKT"}));
    QVERIFY(pv->nurLesen());
    QCOMPARE(pv->font().pointSize(), 20);
    // Without the developer setting the task grid takes the whole width.
    QCOMPARE(m_fenster->findChild<QWidget*>("pnlEntwickler")->width(), 0);
}

void TestProjektMain::glyphMaxima_data()
{
    QTest::addColumn<int>("anzahlStatus");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("breite");
    QTest::newRow("6") << 6 << 5 << 90;
    QTest::newRow("1") << 1 << 0 << 8;
}

void TestProjektMain::glyphMaxima()
{
    QFETCH(int, anzahlStatus);
    IniRecord.AnzahlStatus = anzahlStatus;
    fensterZeigen(0);
    TGitterSpalte* aufgaben = m_fenster->findChild<TGitterSpalte*>("NxDBRateColumn1");
    TGitterSpalte* oeffentlich = m_fenster->findChild<TGitterSpalte*>("ColumnPublicAufgStatus");
    QVERIFY(aufgaben && oeffentlich);
    QTEST(aufgaben->maximum(), "maximum");
    QTEST(aufgaben->breite(), "breite");
    QTEST(oeffentlich->maximum(), "maximum");
}

// Switching reads the entered view's geometry afresh and stores nothing of the view left.
void TestProjektMain::ansichtWechselnSpeichertNichts()
{
    IniRecord.HauptFensterEVLeft = 10;
    IniRecord.HauptFensterEVTop = 20;
    IniRecord.HauptFensterEVWidth = 900;
    IniRecord.HauptFensterEVHeight = 600;
    FensterSchreiben("HauptFensterEV");
    IniRecord.HauptFensterPVWidth = 1000;
    IniRecord.HauptFensterPVHeight = 700;
    FensterSchreiben("HauptFensterPV");
    fensterZeigen(0);
    auto* seiten = m_fenster->findChild<QTabWidget*>("PageControl1");
    QCOMPARE(seiten->currentWidget()->objectName(), QStringLiteral("TabSheetGrid"));
    QVERIFY(!seiten->tabBar()->isVisible());
    QCOMPARE(m_fenster->size(), QSize(900, 600));

    m_fenster->resize(700, 500);
    m_module2->Action("ActionAnsicht")->trigger();
    QCOMPARE(seiten->currentWidget()->objectName(), QStringLiteral("TabSheetTree"));
    QCOMPARE(m_fenster->size(), QSize(1000, 700));
    m_module2->Action("ActionAnsicht")->trigger();
    QCOMPARE(seiten->currentWidget()->objectName(), QStringLiteral("TabSheetGrid"));
    QCOMPARE(m_fenster->size(), QSize(900, 600));
    FensterLesen("HauptFensterEV");
    QCOMPARE(IniRecord.HauptFensterEVWidth, 900);
}

void TestProjektMain::timer_data()
{
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<int>("sekunden");
    QTest::addColumn<bool>("laeuft");
    QTest::newRow("an") << true << 30 << true;
    QTest::newRow("abgeschaltet") << false << 30 << false;
    QTest::newRow("null Sekunden") << true << 0 << false;
}

// The timer runs only in the public view, with the stored interval, when switched on.
void TestProjektMain::timer()
{
    QFETCH(bool, refresh);
    QFETCH(int, sekunden);
    IniRecord.RefreshPublicView = refresh;
    IniRecord.RefreshTimePublicView = sekunden;
    fensterZeigen(0);
    auto* timer = m_fenster->findChild<QTimer*>("Timer1");
    QVERIFY(!timer->isActive());
    m_fenster->AnsichtSetzen(1);
    QTEST(timer->isActive(), "laeuft");
    QCOMPARE(timer->interval(), sekunden * 1000);
    m_fenster->AnsichtSetzen(0);
    QVERIFY(!timer->isActive());
}

// "Refresh" in the edit view posts the current project and lists only the "EV" ones from then on.
void TestProjektMain::refreshImEditView()
{
    fensterZeigen(0);
    TKADaoTable* projekt = m_module1->TabProjekt;
    QCOMPARE(projekt->RecordCount(), 12);
    m_module2->Action("ActionAnsichtRefresh")->trigger();
    QCOMPARE(projekt->Filter(), QStringLiteral("EV_Sichtbar"));
    QVERIFY(projekt->Filtered());
    QCOMPARE(projekt->RecordCount(), 9);
    for (projekt->First(); !projekt->Eof(); projekt->Next())
        QVERIFY(projekt->FieldByName("EV_Sichtbar")->AsBoolean());
    QCOMPARE(m_fenster->findChild<TDatenGitter*>("NextDBGridProjekte")->model()->rowCount(), 9);
}

// The public view lists the "PV" projects, oldest latest task first.
void TestProjektMain::publicViewGefiltertUndSortiert()
{
    fensterZeigen(1);
    TKADaoTable* ansicht = m_module1->TabProjektView;
    QVERIFY(ansicht->Filtered());
    QCOMPARE(ansicht->Filter(), QStringLiteral("PV_Sichtbar"));
    QCOMPARE(ansicht->RecordCount(), 8);
    QDateTime vorher;
    for (ansicht->First(); !ansicht->Eof(); ansicht->Next()) {
        QVERIFY(ansicht->FieldByName("PV_Sichtbar")->AsBoolean());
        const QDateTime datum = ansicht->FieldByName("Last_Datum")->AsDateTime();
        QVERIFY(!vorher.isValid() || !datum.isValid() || vorher <= datum);
        if (datum.isValid())
            vorher = datum;
    }
    QCOMPARE(m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView")->model()->rowCount(), 8);
}

// Closing stores the shown view's geometry and the column layout, and disconnects.
void TestProjektMain::schliessenSpeichert()
{
    FensterLesen("HauptFensterEV");
    const int evBreite = IniRecord.HauptFensterEVWidth;
    fensterZeigen(1);
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    pv->spalteNachId("BETREFF")->setBreite(222);
    pv->spalteNachId("PROJEKT")->setPosition(0);
    m_fenster->resize(1001, 701);
    m_fenster->close();
    QVERIFY(!m_module1->DBProjekt->Connected());

    IniRecord = TIniRecord();
    FensterLesen("HauptFensterPV");
    QCOMPARE(IniRecord.HauptFensterPVWidth, 1001);
    QCOMPARE(IniRecord.HauptFensterPVHeight, 701);
    FensterLesen("HauptFensterEV");
    QCOMPARE(IniRecord.HauptFensterEVWidth, evBreite);
    SpalteLesen("BETREFF");
    QCOMPARE(IniRecord.PublicBetreff.Width, 222);
    SpalteLesen("PROJEKT");
    QCOMPARE(IniRecord.PublicKommNr.Position, 0);
    SpalteLesen("ASTATUS");
    QCOMPARE(IniRecord.PublicAufgStatus.Position, 1);
    QVERIFY(IniRecord.PublicAufgStatus.Visible);
}

// A column hidden in the settings dialog leaves the wall screen at once and stays hidden after a
// restart, since the window stores its columns when it closes.
void TestProjektMain::einstellungenBlendenSpalteAus()
{
    fensterZeigen(1);
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    QVERIFY(pv->spalteNachId("BAUSTELLE")->sichtbar());
    bool gesehen = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<TFormEinstellungen*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->ListBoxSpaltenPublic->setCurrentRow(2);
        TEigenschaftenEditor* editor = dialog->NextInspectorSpaltenPublic;
        const auto eintraege = editor->findItems(QStringLiteral("sichtbar"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(eintraege.size(), 1);
        qobject_cast<QCheckBox*>(editor->editorVon(eintraege.first()))->click();
        gesehen = !pv->spalteNachId("BAUSTELLE")->sichtbar() && pv->isColumnHidden(pv->spalteNachId("BAUSTELLE")->index());
        dialog->BtnEnde->click();
    });
    m_module2->Action(QStringLiteral("ActionSettingsClick"))->trigger();
    QVERIFY(gesehen);
    m_fenster->close();
    m_module2.reset();
    m_fenster.reset();

    fensterZeigen(1);
    pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    QVERIFY(!pv->spalteNachId("BAUSTELLE")->sichtbar());
    QVERIFY(pv->spalteNachId("BETREFF")->sichtbar());
}

// The day's copy is written once the window is up and again when it closes; a copy picked in
// the restore dialog replaces the database, the old file is kept, and the window shows the data.
void TestProjektMain::datensicherung()
{
    const QString kopie = pfad("Sicherung/PROJEKT-" + QDate::currentDate().toString("yyyy-MM-dd") + ".MDB");
    fensterZeigen(0);
    QTRY_VERIFY(QFile::exists(kopie));
    sql("DELETE FROM Personal WHERE ID = 1");
    m_fenster->close();
    QVERIFY(!m_module1->DBProjekt->Connected());
    Datensicherung::pruefen(kopie);

    // A day later everything is gone; the copy brings it back.
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
    sql("DELETE FROM ProjektAufgaben");
    sql("DELETE FROM Projekt");
    m_module2.reset();
    m_fenster.reset();
    fensterZeigen(0);
    m_module1->TabProjekt->Requery();
    QCOMPARE(m_module1->TabProjekt->RecordCount(), 0);
    QTimer::singleShot(0, this, [] {
        auto* auswahl = qobject_cast<TFormRuecksicherung*>(QApplication::activeModalWidget());
        QVERIFY(auswahl);
        QCOMPARE(auswahl->liste()->topLevelItemCount(), 1);
        auswahl->liste()->setCurrentItem(auswahl->liste()->topLevelItem(0));
        auswahl->accept();
    });
    m_meldungen->antwort = true;
    m_module2->Action(QStringLiteral("ActionDatensicherungZurueck"))->trigger();
    QCOMPARE(m_meldungen->fragen.size(), 1);
    QCOMPARE(m_module1->TabProjekt->RecordCount(), 12);
    QVERIFY(m_module1->DBProjekt->Connected());
    QCOMPARE(QDir(m_ordner->path()).entryList({"PROJEKT-vor-Ruecksicherung-*.MDB"}).size(), 1);
    QVERIFY(m_meldungen->texte().last().startsWith("Die Sicherung PROJEKT-"));
}

// A backup folder that cannot be made is said once in the status bar; the program goes on.
void TestProjektMain::datensicherungOrdnerFehlt()
{
    QFile datei(pfad("keinOrdner"));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.close();
    QVERIFY(WritePrivateProfileString("Programm", "Sicherungsverzeichnis", pfad("keinOrdner/Sicherung"), IniDateiPfad()));
    fensterZeigen(0);
    QTRY_VERIFY(m_fenster->statusBar()->currentMessage().startsWith("Datensicherung fehlgeschlagen: "));
    QVERIFY(!m_fenster->DatensicherungSchreiben());
    QVERIFY(m_meldungen->texte().filter("Datensicherung").isEmpty());
}

// A failing tick on the wall screen shows no box, keeps the list and marks the status bar;
// the next good tick clears the mark. "Refresh" still raises the error.
void TestProjektMain::fehlschlagenderTickOhneMeldung()
{
    fensterZeigen(1);
    m_meldungen->meldungen.clear();
    auto* status = m_fenster->findChild<QStatusBar*>("StatusBar1");
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    m_fenster->Timer1Timer();
    QVERIFY(status->isVisible());
    QVERIFY(statusText("lblStand").startsWith("Stand: "));
    QVERIFY(!statusText("lblStand").contains("fehlgeschlagen"));

    sql("alter table Projekt rename to Weg");
    m_fenster->Timer1Timer();
    QVERIFY(m_meldungen->meldungen.isEmpty());
    QVERIFY2(statusText("lblStand").contains("fehlgeschlagen"), qPrintable(statusText("lblStand")));
    QCOMPARE(pv->model()->rowCount(), 8);
    // The command asked for by a person still reports the error (the application's box).
    QVERIFY_THROWS_EXCEPTION(std::exception, m_module2->Action("ActionAnsichtRefresh")->trigger());

    sql("alter table Weg rename to Projekt");
    m_fenster->Timer1Timer();
    QVERIFY(!statusText("lblStand").contains("fehlgeschlagen"));
    QCOMPARE(pv->model()->rowCount(), 8);
}

// 60 projects on a view of 20 rows: three pages turning in order; a tick keeps the page, or
// takes the last one when fewer are left; using the grid pauses the turning.
void TestProjektMain::seitenWechselnSelbst()
{
    sql("update Projekt set PV_Sichtbar = 1");
    sql("with recursive n(i) as (select 1 union all select i + 1 from n where i < 48) "
        "insert into Projekt (Kommnr, Bezeichn, PV_Sichtbar, EV_Sichtbar) select 'X' || i, 'Projekt ' || i, 1, 1 from n");
    IniRecord.SeitenwechselSekunden = 15;
    fensterZeigen(1);
    m_fenster->Timer1Timer();
    zeilenPlatz(20);
    TDatenGitter* pv = m_fenster->NextDBGridPublicView;
    TSeitenwechsel* seiten = m_fenster->Seitenwechsel();
    QCOMPARE(pv->model()->rowCount(), 60);
    auto* timer = m_fenster->findChild<QTimer*>("TimerSeitenwechsel");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 15000);
    QTRY_COMPARE(statusText("lblSeite"), QStringLiteral("Seite 1 von 3"));
    QCOMPARE(pv->ersteSichtbareZeile(), 0);

    seiten->weiterblaettern();
    QCOMPARE(statusText("lblSeite"), QStringLiteral("Seite 2 von 3"));
    QCOMPARE(pv->ersteSichtbareZeile(), 20);
    m_fenster->Timer1Timer();   // the list is read anew and stands on its first row
    QCOMPARE(statusText("lblSeite"), QStringLiteral("Seite 2 von 3"));
    QCOMPARE(pv->ersteSichtbareZeile(), 20);

    seiten->weiterblaettern();
    QCOMPARE(pv->ersteSichtbareZeile(), 40);
    sql("update Projekt set PV_Sichtbar = 0 where ID > 35");
    m_fenster->Timer1Timer();
    QCOMPARE(pv->model()->rowCount(), 35);
    QCOMPARE(statusText("lblSeite"), QStringLiteral("Seite 2 von 2"));
    QCOMPARE(pv->ersteSichtbareZeile(), 20);
    seiten->weiterblaettern();
    QCOMPARE(statusText("lblSeite"), QStringLiteral("Seite 1 von 2"));

    // Somebody scrolls: no turning for 30 seconds, then on from where they left it.
    QTest::keyClick(pv, Qt::Key_PageDown);
    QVERIFY(seiten->pausiert());
    auto* pause = m_fenster->findChild<QTimer*>("TimerSeitenwechselPause");
    QVERIFY(pause->isActive());
    QCOMPARE(pause->interval(), 30000);
    const int obenNachNutzer = pv->ersteSichtbareZeile();
    QVERIFY(obenNachNutzer > 0);
    seiten->weiterblaettern();
    QCOMPARE(pv->ersteSichtbareZeile(), obenNachNutzer);
    seiten->fortsetzen();
    QVERIFY(!seiten->pausiert());
    QCOMPARE(pv->ersteSichtbareZeile() % 20, 0);
    QCOMPARE(statusText("lblSeite"), QStringLiteral("Seite %1 von 2").arg(obenNachNutzer / 20 + 1));

    // The edit view has no pages.
    m_fenster->AnsichtSetzen(0);
    QVERIFY(!timer->isActive());
    QVERIFY(!pv->seitenweise());
}

// 0 seconds: no pages, the grid scrolls as before.
void TestProjektMain::seitenwechselAus()
{
    sql("with recursive n(i) as (select 1 union all select i + 1 from n where i < 48) "
        "insert into Projekt (Kommnr, Bezeichn, PV_Sichtbar, EV_Sichtbar) select 'X' || i, 'Projekt ' || i, 1, 1 from n");
    IniRecord.SeitenwechselSekunden = 0;
    fensterZeigen(1);
    m_fenster->Timer1Timer();
    zeilenPlatz(20);
    QVERIFY(!m_fenster->findChild<QTimer*>("TimerSeitenwechsel")->isActive());
    QVERIFY(!m_fenster->NextDBGridPublicView->seitenweise());
    QCOMPARE(statusText("lblSeite"), QString());
}

// Full screen: no menu, toolbar or frame, only grid and status line; F11 switches, Esc leaves;
// the window keeps its framed geometry for the settings file.
void TestProjektMain::vollbild()
{
    IniRecord.HauptFensterPVLeft = 30;
    IniRecord.HauptFensterPVTop = 40;
    IniRecord.HauptFensterPVWidth = 700;
    IniRecord.HauptFensterPVHeight = 500;
    FensterSchreiben("HauptFensterPV");
    IniRecord.VollbildPublicView = true;
    fensterZeigen(1);
    auto* menue = m_fenster->findChild<QMenuBar*>("ActionMainMenuBar1");
    auto* werkzeuge = m_fenster->findChild<QToolBar*>("ActionToolBar1");
    auto* status = m_fenster->findChild<QStatusBar*>("StatusBar1");
    QVERIFY(m_fenster->windowState() & Qt::WindowFullScreen);
    QVERIFY(!menue->isVisible());
    QVERIFY(!werkzeuge->isVisible());
    QVERIFY(status->isVisible());
    QVERIFY(m_fenster->NextDBGridPublicView->isVisible());

    // The keys as the user presses them, with the grid focused.
    m_fenster->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_fenster.get()));
    QTest::keyClick(m_fenster->NextDBGridPublicView, Qt::Key_Escape);
    QVERIFY(!(m_fenster->windowState() & Qt::WindowFullScreen));
    QVERIFY(menue->isVisible());
    QVERIFY(werkzeuge->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QVERIFY(m_fenster->windowState() & Qt::WindowFullScreen);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QVERIFY(!(m_fenster->windowState() & Qt::WindowFullScreen));

    // The office's view is never full screen: switching leaves it, F11 does nothing there.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    m_module2->Action("ActionAnsicht")->trigger();
    QVERIFY(!(m_fenster->windowState() & Qt::WindowFullScreen));
    QVERIFY(menue->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QVERIFY(!(m_fenster->windowState() & Qt::WindowFullScreen));

    // Closed in full screen: the framed size is stored, not the screen's.
    m_module2->Action("ActionAnsicht")->trigger();
    QVERIFY(m_fenster->windowState() & Qt::WindowFullScreen);
    m_fenster->close();
    IniRecord = TIniRecord();
    FensterLesen("HauptFensterPV");
    QCOMPARE(IniRecord.HauptFensterPVWidth, 700);
    QCOMPARE(IniRecord.HauptFensterPVHeight, 500);
}

// The data age in a large line; three refresh intervals without a good reading turn it red,
// saying for how long; the next good reading clears it. The clock is the test's.
void TestProjektMain::datenstandVeraltet()
{
    IniRecord.RefreshPublicView = true;
    IniRecord.RefreshTimePublicView = 60;
    QDateTime jetzt(QDate(2026, 3, 2), QTime(10, 0, 20));
    fensterZeigen(1);
    m_fenster->setUhr([&] { return jetzt; });
    m_meldungen->meldungen.clear();
    m_fenster->Timer1Timer();
    auto* stand = m_fenster->findChild<QLabel*>("lblStand");
    QCOMPARE(stand->text(), QStringLiteral("Stand: 10:00"));
    QVERIFY(stand->font().pointSize() >= 14);
    const QColor normal = stand->palette().color(stand->foregroundRole());

    sql("alter table Projekt rename to Weg");
    for (int tick = 1; tick <= 3; ++tick) {
        QVERIFY2(stand->palette().color(stand->foregroundRole()) == normal, qPrintable(stand->text()));
        jetzt = jetzt.addSecs(60);
        m_fenster->Timer1Timer();
    }
    QCOMPARE(stand->text(), QStringLiteral("Stand: 10:00 – veraltet, seit 3 Minuten nicht aktualisiert"));
    QVERIFY(stand->palette().color(stand->foregroundRole()).red() > 180);
    QVERIFY(m_meldungen->meldungen.isEmpty());

    sql("alter table Weg rename to Projekt");
    jetzt = jetzt.addSecs(60);
    m_fenster->Timer1Timer();
    QCOMPARE(stand->text(), QStringLiteral("Stand: 10:04"));
    QCOMPARE(stand->palette().color(stand->foregroundRole()), normal);
    // A reading of another day shows its date.
    jetzt = jetzt.addDays(1);
    QCOMPARE(m_fenster->Datenstand().text(jetzt, 60000),
             QStringLiteral("Stand: 02.03.2026 10:04 – veraltet, seit 24 Stunden nicht aktualisiert"));
}

QTEST_MAIN(TestProjektMain)
#include "tst_projektmain.moc"
