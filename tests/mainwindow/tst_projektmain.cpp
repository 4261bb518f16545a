#include "Aenderungsnotiz.h"
#include "AnweisungsZaehler.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatumEdit.h"
#include "DatenbankWerkzeug.h"
#include "FehlerText.h"
#include "FremdeSperre.h"
#include "HookHelpSystem.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "Seitenwechsel.h"
#include "OhneSchreibrecht.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TField.h"
#include "UnitAktionManager.h"
#include "UnitRuecksicherung.h"
#include "PrivateProfile.h"
#include "Datensicherung.h"
#include "PostgresVerbindung.h"
#include "Serveradresse.h"
#include "TestServer.h"
#include "ServerWerkzeug.h"
#include "UnitEinstellungen.h"
#include "BefehlsKnopf.h"
#include "EigenschaftenEditor.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QTreeWidget>
#include <QCheckBox>
#include <QListWidget>
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSignalSpy>
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
    void datenbankAufDemServer();
    void einstellungenBlendenSpalteAus();
    void fehlschlagenderTickOhneMeldung();
    void seitenWechselnSelbst();
    void seitenwechselAus();
    void vollbild();
    void datenstandVeraltet();
    void datumImGitterLesbar();
    void schliessenMitOffenerZeile_data();
    void schliessenMitOffenerZeile();
    void systemEndeNotiertOffeneAenderung_data();
    void systemEndeNotiertOffeneAenderung();
    void tickWartetNurKurzAufSperre();
    void nurLesendeDatenbank();
    void tickMeldetNurGeaendertes();

private:
    QVariant wert(const QString& abfrage);
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

QVariant TestProjektMain::wert(const QString& abfrage)
{
    QVariant ergebnis;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test"));
        db.setDatabaseName(pfad("PROJEKT.MDB"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(abfrage) && q.next())
                ergebnis = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
    return ergebnis;
}

Q_DECLARE_METATYPE(Meldung::Antwort)

namespace {

// Counts the statements the engine refused because of a lock (each is logged once).
int g_gesperrteAnweisungen = 0;
QtMessageHandler g_vorherigerHandler = nullptr;
void sperrenZaehlen(QtMsgType art, const QMessageLogContext& ort, const QString& text)
{
    if (art == QtWarningMsg && text.startsWith(QLatin1String("SQLite 5:")))
        ++g_gesperrteAnweisungen;
    g_vorherigerHandler(art, ort, text);
}

const QString GesperrtText = QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer verwendet und ist "
                                            "gesperrt. Bitte versuchen Sie es in einem Augenblick noch einmal; "
                                            "Ihre Eingaben bleiben erhalten.");

} // namespace

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
    QCOMPARE(m_fenster->frameGeometry().size(), QSize(900, 600));

    m_fenster->resize(700, 500);
    m_module2->Action("ActionAnsicht")->trigger();
    QCOMPARE(seiten->currentWidget()->objectName(), QStringLiteral("TabSheetTree"));
    QCOMPARE(m_fenster->frameGeometry().size(), QSize(1000, 700));
    m_module2->Action("ActionAnsicht")->trigger();
    QCOMPARE(seiten->currentWidget()->objectName(), QStringLiteral("TabSheetGrid"));
    QCOMPARE(m_fenster->frameGeometry().size(), QSize(900, 600));
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
    // The settings keep the outer rectangle, frame included.
    const QSize aussen = m_fenster->frameGeometry().size();
    QVERIFY(aussen.width() >= 1001 && aussen.height() >= 701);
    m_fenster->close();
    QVERIFY(!m_module1->DBProjekt->Connected());

    IniRecord = TIniRecord();
    FensterLesen("HauptFensterPV");
    QCOMPARE(IniRecord.HauptFensterPVWidth, aussen.width());
    QCOMPARE(IniRecord.HauptFensterPVHeight, aussen.height());
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

// The window on a database server (the test's data copied there): it shows the projects, makes
// no backup copies, and "Datensicherung zurückspielen …" says that the server backs up.
void TestProjektMain::datenbankAufDemServer()
{
    std::optional<Serveradresse> adresse = testServer();
    QVERIFY2(adresse, "kein Testserver (PV_TEST_PGSERVER); ctest startet ihn");
    const Serveradresse wartung = *adresse;
    adresse->name = QStringLiteral("pvfenster_%1").arg(QCoreApplication::applicationPid());
    DatenbankWerkzeug::kopieren(pfad("PROJEKT.MDB"), *adresse);
    const ServerDatenbankEntfernen aufraeumen{wartung, adresse->name};

    m_module1->DBProjekt->Close();
    m_module1->DBProjekt->setDatabaseName(adresse->text());
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
    fensterZeigen(0);
    QCOMPARE(m_fenster->NextDBGridProjekte->model()->rowCount(), m_module1->TabProjekt->RecordCount());
    QVERIFY(m_module1->TabProjekt->RecordCount() > 0);
    QTest::qWait(50);
    const qsizetype vorher = m_meldungen->texte().size();
    m_module2->Action(QStringLiteral("ActionDatensicherungZurueck"))->trigger();
    QCOMPARE(m_meldungen->texte().size(), vorher + 1);
    QVERIFY2(m_meldungen->texte().last().startsWith(QStringLiteral("Die Datenbank liegt auf dem Datenbankserver")),
             qPrintable(m_meldungen->texte().join(QLatin1Char('|'))));
    m_fenster->close();
    QVERIFY(!m_module1->DBProjekt->Connected());
    QVERIFY(!QDir(pfad("Sicherung")).exists());
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
    // The stored size is the framed one; the offscreen platform drops its 2-pixel frame after a
    // switch to full screen and back, so the frame may be missing from it.
    QVERIFY2(qAbs(IniRecord.HauptFensterPVWidth - 700) <= 4, qPrintable(QString::number(IniRecord.HauptFensterPVWidth)));
    QVERIFY2(qAbs(IniRecord.HauptFensterPVHeight - 500) <= 4, qPrintable(QString::number(IniRecord.HauptFensterPVHeight)));
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

// The calendar of a date cell of the project grid shows the whole date in its editor, and the
// week-day names above the days are not cut, at the grid's font.
void TestProjektMain::datumImGitterLesbar()
{
    sql("update Projekt set LiefTermin = '2026-11-26'");
    m_module1->TabProjekt->Requery();
    fensterZeigen(0);
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster.get()));
    TDatenGitter* gitter = m_fenster->NextDBGridProjekte;
    int spalte = -1;
    for (int i = 0; i < gitter->model()->columnCount(); ++i)
        if (gitter->spalte(i)->objectName() == QLatin1String("NxDBDateColumn1"))
            spalte = i;
    QVERIFY(spalte >= 0);
    const QModelIndex zelle = gitter->model()->index(0, spalte);
    gitter->setCurrentIndex(zelle);
    gitter->edit(zelle);
    TDatumAuswahl* auswahl = nullptr;
    QTRY_VERIFY((auswahl = qobject_cast<TDatumAuswahl*>(QApplication::activePopupWidget())));
    auto* edit = gitter->viewport()->findChild<TDatumEdit*>();
    QVERIFY(edit);

    // The whole text fits between the line edit's frame and its inner margins.
    QLineEdit* eingabe = edit->eingabe();
    QCOMPARE(eingabe->text(), QStringLiteral("26.11.2026"));
    QStyleOptionFrame rahmen;
    rahmen.initFrom(eingabe);
    rahmen.lineWidth = eingabe->hasFrame() ? eingabe->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &rahmen, eingabe) : 0;
    const QRect textFlaeche = eingabe->style()->subElementRect(QStyle::SE_LineEditContents, &rahmen, eingabe)
                                  .marginsRemoved(eingabe->textMargins());
    const int textBreite = eingabe->fontMetrics().horizontalAdvance(eingabe->text());
    // QLineEdit keeps two pixels free on either side of its text.
    QVERIFY2(textFlaeche.width() - 4 >= textBreite,
             qPrintable(QStringLiteral("Platz %1, Text %2").arg(textFlaeche.width() - 4).arg(textBreite)));

    // Every week-day name of the calendar's head row fits its cell, margins included (the cell
    // cuts a longer text to "…").
    auto* tage = auswahl->kalender()->findChild<QTableView*>();
    QVERIFY(tage);
    QCOMPARE(tage->font().family(), gitter->spalte(spalte)->schrift().family());
    for (int tag = 0; tag < 7; ++tag) {
        const QModelIndex kopf = tage->model()->index(0, tag);
        QStyleOptionViewItem option;
        option.initFrom(tage->viewport());
        option.font = tage->font();
        option.rect = tage->visualRect(kopf);
        const int noetig = tage->itemDelegateForIndex(kopf)->sizeHint(option, kopf).width();
        QVERIFY2(noetig <= option.rect.width(), qPrintable(QStringLiteral("%1: %2 in %3")
                                                               .arg(kopf.data().toString())
                                                               .arg(noetig)
                                                               .arg(option.rect.width())));
    }
    QCOMPARE(tage->model()->index(0, 0).data().toString().left(2), QStringLiteral("Mo"));
}

void TestProjektMain::schliessenMitOffenerZeile_data()
{
    QTest::addColumn<QString>("tabelle");   // dataset with the pending edit
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QVariant>("eingabe");  // invalid: typed into the grid's open cell editor
    QTest::addColumn<QString>("abfrage");   // reads the stored value of the current row (%1: its ID)
    QTest::addColumn<QString>("gespeichert");
    QTest::newRow("Aufgabe") << "TabProjektAufgaben" << "Bemerkung" << QVariant("Gerüst bestellt")
                             << "select Bemerkung from ProjektAufgaben where ID = %1" << "Gerüst bestellt";
    QTest::newRow("Projekt: EV") << "TabProjekt" << "EV_Sichtbar" << QVariant(false)
                                 << "select EV_Sichtbar from Projekt where ID = %1" << "0";
    QTest::newRow("Projekt: Termin") << "TabProjekt" << "Termin" << QVariant(QDate(2031, 7, 14))
                                     << "select date(Termin) from Projekt where ID = %1" << "2031-07-14";
    QTest::newRow("Projekt: Termin im offenen Zelleditor")
        << "TabProjekt" << "Termin" << QVariant() << "select date(Termin) from Projekt where ID = %1" << "2031-07-14";
}

// Opens the cell editor of the TERMIN column in the current project row and types a date.
static void terminImZelleditorTippen(TDatenGitter* gitter)
{
    int spalte = -1;
    for (int i = 0; i < gitter->spaltenAnzahl(); ++i)
        if (gitter->spalte(i)->objectName() == QLatin1String("NxDBDateColumn4"))
            spalte = i;
    QVERIFY(spalte >= 0);
    const QModelIndex zelle = gitter->model()->index(gitter->currentIndex().row(), spalte);
    gitter->setCurrentIndex(zelle);
    gitter->edit(zelle);
    auto* editor = gitter->findChild<TDatumEdit*>();
    QVERIFY(editor);
    editor->eingabe()->setText("14.07.2031");
}

// A task or project edit still pending when the window closes is stored. While another program
// holds the database the window stays open with the edit and the connection, after one wait
// for the lock; once the lock is gone the next close stores it.
void TestProjektMain::schliessenMitOffenerZeile()
{
    QFETCH(QString, tabelle);
    QFETCH(QString, feld);
    QFETCH(QVariant, eingabe);
    QFETCH(QString, abfrage);
    QFETCH(QString, gespeichert);
    fensterZeigen(0);
    m_meldungen->meldungen.clear();
    auto* daten = m_module1->findChild<TKADaoTable*>(tabelle);
    QVERIFY(daten && !daten->IsEmpty());
    const qlonglong id = daten->FieldByName("ID")->Value().toLongLong();
    QVERIFY(wert(abfrage.arg(id)).toString() != gespeichert);
    const bool imEditor = !eingabe.isValid();
    if (imEditor) {
        terminImZelleditorTippen(m_fenster->findChild<TDatenGitter*>("NextDBGridProjekte"));
        QCOMPARE(daten->State(), TDataSetState::dsBrowse);
    } else {
        daten->Edit();
        daten->FieldByName(feld)->setValue(eingabe);
    }

    m_module1->DBProjekt->setBusyTimeout(300);
    {
        FremdeSperre sperre(pfad("PROJEKT.MDB"));
        g_gesperrteAnweisungen = 0;
        g_vorherigerHandler = qInstallMessageHandler(sperrenZaehlen);
        m_fenster->close();
        qInstallMessageHandler(g_vorherigerHandler);
        QVERIFY(m_fenster->isVisible());
        QVERIFY(m_module1->DBProjekt->Connected());
        // The row could not even go into edit for a date still in its cell: that message
        // promises nothing; the sentence after it says why the window stays.
        const QString gesperrt = imEditor ? QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer "
                                                           "verwendet und ist gesperrt. Bitte versuchen Sie es in einem "
                                                           "Augenblick noch einmal.")
                                          : GesperrtText;
        QCOMPARE(m_meldungen->texte(),
                 QStringList{gesperrt + "\n\nDie Projektverwaltung bleibt geöffnet, damit die Änderung nicht "
                                        "verloren geht."});
        QCOMPARE(g_gesperrteAnweisungen, 1);
        if (imEditor) {
            // The row could not go into edit: the date stays typed in the open cell.
            auto* gitter = m_fenster->findChild<TDatenGitter*>("NextDBGridProjekte");
            QVERIFY(gitter->eingabeOffen());
            QCOMPARE(gitter->findChild<TDatumEdit*>()->eingabe()->text(), QStringLiteral("14.07.2031"));
        } else {
            QCOMPARE(daten->State(), TDataSetState::dsEdit);
            QVERIFY(daten->Modified());
        }
    }
    m_fenster->close();
    QVERIFY(!m_fenster->isVisible());
    QVERIFY(!m_module1->DBProjekt->Connected());
    QCOMPARE(m_meldungen->meldungen.size(), 1);
    QCOMPARE(wert(abfrage.arg(id)).toString(), gespeichert);
}

void TestProjektMain::systemEndeNotiertOffeneAenderung_data()
{
    QTest::addColumn<Meldung::Antwort>("antwort");
    QTest::newRow("Ja") << Meldung::Antwort::Ja;
    QTest::newRow("Nein") << Meldung::Antwort::Nein;
    QTest::newRow("Abbrechen") << Meldung::Antwort::Abbrechen;
}

// The system asks the program to end while another program holds the database: the close tries
// once more, then keeps the pending project and task edits in a note, disconnects and ends
// without a box. The next start offers the note; "Ja" enters the edits, "Nein" drops them,
// "Abbrechen" (also what a run without anyone at the screen answers) keeps the note.
void TestProjektMain::systemEndeNotiertOffeneAenderung()
{
    QFETCH(Meldung::Antwort, antwort);
    fensterZeigen(0);
    m_meldungen->meldungen.clear();
    TKADaoTable* projekt = m_module1->TabProjekt;
    TKADaoTable* aufgaben = m_module1->TabProjektAufgaben;
    projekt->Edit();
    projekt->FieldByName("Termin")->setAsDate(QDate(2031, 7, 14));
    const qlonglong projektId = projekt->FieldByName("ID")->Value().toLongLong();
    QVERIFY(!aufgaben->IsEmpty());
    aufgaben->Edit();
    aufgaben->FieldByName("Bemerkung")->setAsString("Gerüst bestellt");
    const qlonglong aufgabeId = aufgaben->FieldByName("ID")->Value().toLongLong();
    const QString bemerkung = QStringLiteral("select Bemerkung from ProjektAufgaben where ID = %1").arg(aufgabeId);
    const QString termin = QStringLiteral("select date(Termin) from Projekt where ID = %1").arg(projektId);
    const QVariant bemerkungVorher = wert(bemerkung);

    m_module1->DBProjekt->setBusyTimeout(300);
    {
        FremdeSperre sperre(pfad("PROJEKT.MDB"));
        g_gesperrteAnweisungen = 0;
        g_vorherigerHandler = qInstallMessageHandler(sperrenZaehlen);
        m_fenster->setSystemEnde(true);
        m_fenster->close();
        qInstallMessageHandler(g_vorherigerHandler);
        QVERIFY(!m_fenster->isVisible());
        QVERIFY(!m_module1->DBProjekt->Connected());
        QCOMPARE(g_gesperrteAnweisungen, 2);
        QVERIFY(m_meldungen->meldungen.isEmpty());
        QVERIFY(QFile::exists(Aenderungsnotiz::Pfad()));
    }

    // The next start.
    m_module2.reset();
    m_fenster.reset();
    m_module1 = std::make_unique<TDataModule1>();
    m_module1->DBProjekt->setDatabaseName(pfad("PROJEKT.MDB"));
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
    m_meldungen->dreifachAntwort = antwort;
    Aenderungsnotiz::Anbieten(*m_module1);
    QCOMPARE(m_meldungen->fragen.size(), 1);
    const QString frage = m_meldungen->fragen[0].second;
    QVERIFY2(frage.contains("Bemerkung „Gerüst bestellt“") && frage.contains("Termin „14.07.2031“"), qPrintable(frage));
    QCOMPARE(QFile::exists(Aenderungsnotiz::Pfad()), antwort == Meldung::Antwort::Abbrechen);
    if (antwort == Meldung::Antwort::Ja) {
        QCOMPARE(wert(bemerkung).toString(), QStringLiteral("Gerüst bestellt"));
        QCOMPARE(wert(termin).toString(), QStringLiteral("2031-07-14"));
    } else {
        QCOMPARE(wert(bemerkung), bemerkungVorher);
        QVERIFY(wert(termin).toString() != QStringLiteral("2031-07-14"));
    }
    QVERIFY(m_meldungen->meldungen.isEmpty());
    // Offered again only when it was put off.
    Aenderungsnotiz::Anbieten(*m_module1);
    QCOMPARE(m_meldungen->fragen.size(), antwort == Meldung::Antwort::Abbrechen ? 2 : 1);
}

// While another program holds the database, a tick of the wall screen gives up after a short
// wait instead of the busy time of a save (which lasts at least its full 5 s), keeps the list
// and marks its age; the saves keep their long wait.
void TestProjektMain::tickWartetNurKurzAufSperre()
{
    fensterZeigen(1);
    m_meldungen->meldungen.clear();
    TKADaoDatabase* db = m_module1->DBProjekt;
    QCOMPARE(db->BusyTimeout(), 5000);
    auto* status = m_fenster->findChild<QStatusBar*>("StatusBar1");
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    {
        FremdeSperre sperre(pfad("PROJEKT.MDB"));
        QElapsedTimer uhr;
        uhr.start();
        m_fenster->Timer1Timer();
        QVERIFY2(uhr.elapsed() < 3000, qPrintable(QString::number(uhr.elapsed())));
        QVERIFY2(statusText("lblStand").contains("fehlgeschlagen"), qPrintable(statusText("lblStand")));
        QCOMPARE(pv->model()->rowCount(), 8);
        QCOMPARE(db->BusyTimeout(), 5000);
    }
    m_fenster->Timer1Timer();
    QVERIFY(status->isVisible());
    QVERIFY(!statusText("lblStand").contains("fehlgeschlagen"));
    QVERIFY(m_meldungen->meldungen.isEmpty());
}

// A database this user may only read opens read-only: the status bar says "Nur lesen", the wall
// screen's timer refreshes the list, "Refresh" works, and a change is refused with the reason.
void TestProjektMain::nurLesendeDatenbank()
{
    m_module1->DBProjekt->Close();
    OhneSchreibrecht::offen(m_ordner->path());
    OhneSchreibrecht::offen(pfad("PROJEKT.INI"));
    OhneSchreibrecht::nurLesbar(pfad("PROJEKT.MDB"), false);
    QPixmap bild;
    {
        OhneSchreibrecht benutzer;
        m_module1->DBProjekt->Open();
        m_module1->DatenmengenOeffnen();
        IniRecord.RefreshPublicView = true;
        IniRecord.RefreshTimePublicView = 30;
        fensterZeigen(1);
        m_meldungen->meldungen.clear();
        auto* hinweis = m_fenster->findChild<QLabel*>("lblNurLesen");
        QVERIFY(hinweis && hinweis->isVisible());
        QCOMPARE(hinweis->text(), QStringLiteral("Nur lesen"));
        QVERIFY(m_fenster->findChild<QTimer*>("Timer1")->isActive());
        auto* status = m_fenster->findChild<QStatusBar*>("StatusBar1");
        m_fenster->Timer1Timer();
        QVERIFY(status->isVisible());
        QVERIFY2(statusText("lblStand").startsWith("Stand: ") && !statusText("lblStand").contains("fehlgeschlagen"),
                 qPrintable(statusText("lblStand")));
        QCOMPARE(m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView")->model()->rowCount(), 8);

        m_fenster->AnsichtSetzen(0);
        m_module2->Action("ActionAnsichtRefresh")->trigger();
        // A picture of the window with the notice, for a look at the status bar.
        bild = m_fenster->grab();
        QVERIFY(m_module1->TabProjekt->Filtered());
        const QString nurLesen = QStringLiteral("Die Datenbank '%1' ist nur zum Lesen geöffnet (kein Schreibrecht auf "
                                                "die Datei oder ihren Ordner); Änderungen können nicht gespeichert "
                                                "werden.")
                                     .arg(QDir::toNativeSeparators(pfad("PROJEKT.MDB")));
        QCOMPARE(fehlerText([&] { m_module1->TabProjekt->Edit(); }), nurLesen);
        QCOMPARE(fehlerText([&] { m_module1->TabProjektAufgaben->Append(); }), nurLesen);
        QVERIFY(m_meldungen->meldungen.isEmpty());
        m_fenster->close();
        QVERIFY(!m_fenster->isVisible());
        m_fenster.reset();
        m_module2.reset();
    }
    OhneSchreibrecht::offen(pfad("PROJEKT.MDB"));
    if (const QString bau = qEnvironmentVariable("PV_BINARY_DIR"); !bau.isEmpty()) {
        const QString fotos = QDir(bau).filePath("bildschirmfotos");
        QVERIFY(QDir().mkpath(fotos));
        QVERIFY(bild.save(QDir(fotos).filePath("nur-lesen.png")));
    }
}

// A tick with nothing written runs one statement, tells no grid anything and leaves the
// office's current project alone. After another program renamed one listed project the wall
// grid hears of that row only, without a reset, and the edit view's grid of nothing.
void TestProjektMain::tickMeldetNurGeaendertes()
{
    fensterZeigen(1);
    m_fenster->Timer1Timer();
    m_fenster->Timer1Timer();
    TDatenGitter* pv = m_fenster->NextDBGridPublicView;
    TDatenGitter* ev = m_fenster->NextDBGridProjekte;
    TKADaoTable* liste = m_module1->TabProjektView;
    QSignalSpy pvDaten(pv->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy pvReset(pv->model(), &QAbstractItemModel::modelReset);
    QSignalSpy pvNeu(pv->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy evDaten(ev->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy evReset(ev->model(), &QAbstractItemModel::modelReset);
    QSignalSpy projektZustand(m_module1->TabProjekt, &TKADaoTable::StateChange);
    {
        AnweisungsZaehler zaehler(m_module1->DBProjekt->Handle());
        m_fenster->Timer1Timer();
        QVERIFY2(zaehler.anzahl() <= 2, qPrintable(zaehler.anweisungen().join(QStringLiteral("; "))));
    }
    QCOMPARE(pvDaten.count() + pvReset.count() + pvNeu.count() + evDaten.count() + evReset.count(), 0);
    QCOMPARE(projektZustand.count(), 0);
    QVERIFY(!statusText("lblStand").contains("fehlgeschlagen"));

    const int bezeichn = liste->FieldByName(QStringLiteral("Bezeichn"))->Index();
    const QString kommnr = liste->RowValue(2, liste->FieldByName(QStringLiteral("Kommnr"))->Index()).toString();
    sql(QStringLiteral("update Projekt set Bezeichn = 'Umbenannt' where Kommnr = '%1'").arg(kommnr));
    m_fenster->Timer1Timer();
    QCOMPARE(pvReset.count() + pvNeu.count(), 0);
    QCOMPARE(pvDaten.count(), 1);
    QCOMPARE(pvDaten.at(0).at(0).toModelIndex().row(), 2);
    QCOMPARE(pvDaten.at(0).at(1).toModelIndex().row(), 2);
    QCOMPARE(liste->RowValue(2, bezeichn).toString(), QStringLiteral("Umbenannt"));
    QCOMPARE(evDaten.count() + evReset.count(), 0);
}

QTEST_MAIN(TestProjektMain)
#include "tst_projektmain.moc"
