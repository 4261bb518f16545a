#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "DatumEdit.h"
#include "HookHelpSystem.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TField.h"
#include "UnitAktionManager.h"
#include "UnitEinstellungen.h"
#include "BefehlsKnopf.h"
#include "EigenschaftenEditor.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QDir>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
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
    void einstellungenBlendenSpalteAus();
    void fehlschlagenderTickOhneMeldung();
    void datumImGitterLesbar();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    void sql(const QString& text);
    void fensterZeigen(int startansicht);

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

// A failing tick on the wall screen shows no box, keeps the list and marks the status bar;
// the next good tick clears the mark. "Refresh" still raises the error.
void TestProjektMain::fehlschlagenderTickOhneMeldung()
{
    fensterZeigen(1);
    m_meldungen->meldungen.clear();
    auto* status = m_fenster->findChild<QStatusBar*>("StatusBar1");
    TDatenGitter* pv = m_fenster->findChild<TDatenGitter*>("NextDBGridPublicView");
    m_fenster->Timer1Timer();
    QVERIFY(status->currentMessage().startsWith("Stand: "));
    QVERIFY(!status->currentMessage().contains("fehlgeschlagen"));

    sql("alter table Projekt rename to Weg");
    m_fenster->Timer1Timer();
    QVERIFY(m_meldungen->meldungen.isEmpty());
    QVERIFY2(status->currentMessage().contains("fehlgeschlagen"), qPrintable(status->currentMessage()));
    QCOMPARE(pv->model()->rowCount(), 8);
    // The command asked for by a person still reports the error (the application's box).
    QVERIFY_THROWS_EXCEPTION(std::exception, m_module2->Action("ActionAnsichtRefresh")->trigger());

    sql("alter table Weg rename to Projekt");
    m_fenster->Timer1Timer();
    QVERIFY(!status->currentMessage().contains("fehlgeschlagen"));
    QCOMPARE(pv->model()->rowCount(), 8);
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

QTEST_MAIN(TestProjektMain)
#include "tst_projektmain.moc"
