#include "BefehlsKnopf.h"
#include "DBBedienelemente.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "EingabePanel.h"
#include "FehlerAnwendung.h"
#include "FeldVerbindung.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitDatenStamm.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(Meldung::Antwort)

using namespace Qt::StringLiterals;

// The master-data window driven as a user drives it, on a program directory with a demo
// database: the data module opened as at start-up, the command set and the main window.
class TestDatenStamm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void seiten_data();
    void seiten();
    void oeffnenUeberBefehl();
    void neuesProjektImHauptfenster();
    void abbrechenVerwirft();
    void projektLoeschen_data();
    void projektLoeschen();
    void projektLoeschenFehlschlagLaesstAlles();
    void konflikt_data();
    void konflikt();
    void zentora();
    void aufgabenAutomatik_data();
    void aufgabenAutomatik();
    void lookupSpaltenZeigenNamen();
    void texteHaltenFeldbreite();
    void geometrie();
    void schliessfeld_data();
    void schliessfeld();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    QVariant sql(const QString& text);
    TFormDatenStamm* oeffnen(int seite);
    void klicken(QWidget* knopf);
    void tippen(const QString& text);
    static void bildSpeichern(QWidget* fenster, const QString& name);

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDataModule1> m_module1;
    std::unique_ptr<TFormProjektMain> m_haupt;
    std::unique_ptr<TDataModule2> m_module2;
    std::unique_ptr<TFormDatenStamm> m_fenster;
};

// Runs a statement on a connection of its own (another office PC); gives the first value.
QVariant TestDatenStamm::sql(const QString& text)
{
    QVariant ergebnis;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"andere"_s);
        db.setDatabaseName(pfad(u"PROJEKT.MDB"_s));
        if (!db.open())
            qFatal("Datenbank nicht geöffnet");
        QSqlQuery q(db);
        if (!q.exec(text))
            qFatal("%s", qPrintable(q.lastError().text()));
        if (q.next())
            ergebnis = q.value(0);
    }
    QSqlDatabase::removeDatabase(u"andere"_s);
    return ergebnis;
}

void TestDatenStamm::init()
{
    FehlerAnwendung::fehler.clear();
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    DatenbankWerkzeug::anlegen(pfad(u"PROJEKT.MDB"_s));
    DatenbankWerkzeug::demoDatenEinfuegen(pfad(u"PROJEKT.MDB"_s), 12, QDate(2024, 5, 6));
    IniAnlegen();
    IniRecord.Startansicht = 0;
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_module1 = std::make_unique<TDataModule1>();
    m_module1->DBProjekt->setDatabaseName(pfad(u"PROJEKT.MDB"_s));
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
    m_haupt = std::make_unique<TFormProjektMain>();
    m_module2 = std::make_unique<TDataModule2>(m_haupt.get());
    m_haupt->show();
    m_meldungen->meldungen.clear();  // the missing help file
}

void TestDatenStamm::cleanup()
{
    m_fenster.reset();
    m_module2.reset();
    m_haupt.reset();
    m_module1.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

TFormDatenStamm* TestDatenStamm::oeffnen(int seite)
{
    m_fenster = std::make_unique<TFormDatenStamm>(m_module2->ActionManager1, m_haupt.get());
    m_fenster->StartSeite = seite;
    m_fenster->show();
    if (!QTest::qWaitForWindowActive(m_fenster.get()))
        qWarning("Stammdaten-Fenster nicht aktiv");
    return m_fenster.get();
}

void TestDatenStamm::klicken(QWidget* knopf)
{
    QVERIFY2(knopf->isVisible() && knopf->isEnabled(), qPrintable(knopf->objectName()));
    QTest::mouseClick(knopf, Qt::LeftButton);
}

// Types into the control that has the focus, as the user does after Neu or Bearbeiten.
void TestDatenStamm::tippen(const QString& text)
{
    QWidget* ziel = QApplication::focusWidget();
    QVERIFY(ziel);
    QTest::keyClicks(ziel, text);
}

void TestDatenStamm::bildSpeichern(QWidget* fenster, const QString& name)
{
    const QString ordner = qEnvironmentVariable("PV_BINARY_DIR") + u"/bildschirmfotos"_s;
    QVERIFY(QDir().mkpath(ordner));
    QVERIFY(fenster->grab().save(ordner + u'/' + name, "PNG"));
}

void TestDatenStamm::seiten_data()
{
    QTest::addColumn<int>("seite");
    QTest::addColumn<QString>("blatt");
    QTest::addColumn<QString>("gitter");
    QTest::addColumn<QString>("ersteEingabe");
    QTest::addColumn<QString>("titel");
    QTest::newRow("Aufgaben") << 0 << u"TabSheetAufgabe"_s << u"DBGridAufgaben"_s << u"DBEditAufgabeBezeichnung"_s
                              << u" AUFGABEN "_s;
    QTest::newRow("Mitarbeiter") << 1 << u"TabSheetMitarbeiter"_s << u"DBGridPersonal"_s << u"DBEditPersonalNr"_s
                                 << u" MITARBEITER "_s;
    QTest::newRow("Status") << 2 << u"TabSheetStatus"_s << u"DBGridStatus"_s << u"DBEditStatusBezeichnung"_s
                            << u" STATUS "_s;
    QTest::newRow("Projekte") << 3 << u"TabSheetProjekte"_s << u"DBGridProjekt"_s << u"DBEditProjektKommNr"_s
                              << u" PROJEKTE "_s;
}

// Each page opens alone, without tabs, browsing: inputs locked, grid focused, the record
// buttons as browse state has them and "Zentora" on the project page only. Neu then opens the
// inputs with the focus in the first one. A picture of each page goes to the pictures folder.
void TestDatenStamm::seiten()
{
    QFETCH(int, seite);
    QFETCH(QString, blatt);
    QFETCH(QString, gitter);
    QFETCH(QString, ersteEingabe);
    QFETCH(QString, titel);
    TFormDatenStamm* f = oeffnen(seite);
    QCOMPARE(f->windowTitle(), u"Stammdaten"_s);
    QCOMPARE(f->PageControl1->currentWidget()->objectName(), blatt);
    QVERIFY(!f->PageControl1->tabBar()->isVisible());
    auto* g = f->findChild<TDatenGitter*>(gitter);
    auto* eingabe = f->findChild<QWidget*>(ersteEingabe);
    QVERIFY(g && eingabe);
    QCOMPARE(QApplication::focusWidget(), g);
    QVERIFY(g->isEnabled());
    QVERIFY(!eingabe->isEnabled());
    QCOMPARE(g->currentIndex().row(), 0);
    QCOMPARE(f->PageControl1->currentWidget()->findChild<QLabel*>(u"lblTitel"_s)->text(), titel);
    for (QWidget* k : {f->BtnAdd, f->BtnEdit, f->BtnDelete, f->BtnEnde})
        QVERIFY2(k->isEnabled(), qPrintable(k->objectName()));
    QVERIFY(!f->BtnSave->isEnabled() && !f->BtnCancel->isEnabled());
    QCOMPARE(f->BtnZentora->isVisible(), seite == 3);
    QCOMPARE(f->BtnAdd->text(), u"Neu"_s);
    QCOMPARE(f->BtnEnde->text(), u"Beenden"_s);
    bildSpeichern(f, u"stammdaten-"_s + QString::fromLatin1(QTest::currentDataTag()).toLower() + u".png"_s);

    klicken(f->BtnAdd);
    QCOMPARE(QApplication::focusWidget(), eingabe);
    QVERIFY(!g->isEnabled());
    QVERIFY(f->BtnSave->isEnabled() && !f->BtnAdd->isEnabled() && !f->BtnEnde->isEnabled());
    if (seite == 3) {
        QVERIFY(!f->BtnZentora->isEnabled());
        bildSpeichern(f, u"stammdaten-projekte-neu.png"_s);
    }
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
}

// The main window's commands open the window modal on their page and release it afterwards.
void TestDatenStamm::oeffnenUeberBefehl()
{
    const std::pair<const char*, const char*> befehle[] = {{"ActionStammProjektStart", "TabSheetProjekte"},
                                                           {"ActionAufgabenStart", "TabSheetAufgabe"},
                                                           {"ActionStammMitarbeiterStart", "TabSheetMitarbeiter"},
                                                           {"ActionStammStatusStart", "TabSheetStatus"}};
    for (const auto& [befehl, blatt] : befehle) {
        QString gesehen;
        QTimer::singleShot(0, this, [&] {
            auto* f = qobject_cast<TFormDatenStamm*>(QApplication::activeModalWidget());
            if (!f)
                return;
            gesehen = f->PageControl1->currentWidget()->objectName();
            f->BtnEnde->click();
        });
        m_module2->Action(QString::fromLatin1(befehl))->trigger();
        QCOMPARE(gesehen, QString::fromLatin1(blatt));
        QVERIFY(!m_haupt->findChild<TFormDatenStamm*>());
    }
}

// Neu, typing, Speichern: the row is stored and the main window's project grid shows it.
void TestDatenStamm::neuesProjektImHauptfenster()
{
    TFormDatenStamm* f = oeffnen(3);
    const int vorher = m_module1->TabProjekt->RecordCount();
    klicken(f->BtnAdd);
    tippen(u"P-NEU"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    tippen(u"4711"_s);
    klicken(f->BtnSave);
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
    QCOMPARE(sql(u"select Konto from Projekt where Kommnr = 'P-NEU'"_s).toString(), u"4711"_s);
    QCOMPARE(m_module1->TabProjekt->RecordCount(), vorher + 1);
    QVERIFY(f->BtnAdd->isEnabled() && !f->BtnSave->isEnabled());
    QCOMPARE(QApplication::focusWidget(), f->DBGridProjekt);

    auto* hauptGitter = m_haupt->findChild<TDatenGitter*>(u"NextDBGridProjekte"_s);
    QAbstractItemModel* m = hauptGitter->model();
    QCOMPARE(m->rowCount(), vorher + 1);
    const QModelIndexList treffer = m->match(m->index(0, 1), Qt::DisplayRole, u"P-NEU"_s, 1, Qt::MatchExactly);
    QCOMPARE(treffer.size(), 1);
}

// Abbrechen throws a new record and a changed one away.
void TestDatenStamm::abbrechenVerwirft()
{
    TFormDatenStamm* f = oeffnen(1);
    const int vorher = m_module1->TabPersonal->RecordCount();
    const QString name = m_module1->TabPersonal->FieldByName(u"Nummer"_s)->AsString();
    klicken(f->BtnAdd);
    tippen(u"99"_s);
    klicken(f->BtnCancel);
    QCOMPARE(m_module1->TabPersonal->RecordCount(), vorher);
    QCOMPARE(sql(u"select count(*) from Personal"_s).toInt(), vorher);

    klicken(f->BtnEdit);
    tippen(u"7"_s);
    klicken(f->BtnCancel);
    QCOMPARE(m_module1->TabPersonal->State(), TDataSetState::dsBrowse);
    QCOMPARE(f->DBEditPersonalNr->text(), name);
    QVERIFY(!f->DBEditPersonalNr->isEnabled());
}

void TestDatenStamm::projektLoeschen_data()
{
    QTest::addColumn<bool>("ja");
    QTest::newRow("Ja") << true;
    QTest::newRow("Nein") << false;
}

// Löschen asks; Ja removes the project and its tasks, Nein nothing. Browse state either way.
void TestDatenStamm::projektLoeschen()
{
    QFETCH(bool, ja);
    TFormDatenStamm* f = oeffnen(3);
    const int id = sql(u"select Projekt_ID from ProjektAufgaben group by Projekt_ID order by Projekt_ID"_s).toInt();
    QVERIFY(m_module1->TabProjekt->Locate(u"ID"_s, id));
    const int aufgaben = sql(u"select count(*) from ProjektAufgaben where Projekt_ID = %1"_s.arg(id)).toInt();
    QVERIFY(aufgaben > 0);
    m_meldungen->antwort = ja;
    klicken(f->BtnDelete);
    QCOMPARE(m_meldungen->fragen,
             (QList<QPair<QString, QString>>{{u"Bestätigung"_s, u"Datensatz wirklich löschen ?"_s}}));
    QCOMPARE(sql(u"select count(*) from Projekt where ID = %1"_s.arg(id)).toInt(), ja ? 0 : 1);
    QCOMPARE(sql(u"select count(*) from ProjektAufgaben where Projekt_ID = %1"_s.arg(id)).toInt(), ja ? 0 : aufgaben);
    QVERIFY(f->BtnAdd->isEnabled() && !f->BtnSave->isEnabled());
    QCOMPARE(QApplication::focusWidget(), f->DBGridProjekt);
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
}

// When the project itself cannot be deleted, its tasks are not deleted either.
void TestDatenStamm::projektLoeschenFehlschlagLaesstAlles()
{
    TFormDatenStamm* f = oeffnen(3);
    const int id = sql(u"select Projekt_ID from ProjektAufgaben group by Projekt_ID order by Projekt_ID"_s).toInt();
    QVERIFY(m_module1->TabProjekt->Locate(u"ID"_s, id));
    const int aufgaben = sql(u"select count(*) from ProjektAufgaben where Projekt_ID = %1"_s.arg(id)).toInt();
    sql(u"create trigger gesperrt before delete on Projekt begin select raise(abort, 'Projekt gesperrt'); end"_s);
    klicken(f->BtnDelete);
    QCOMPARE(FehlerAnwendung::fehler.size(), 1);
    QVERIFY2(FehlerAnwendung::fehler.first().contains(u"Projekt gesperrt"_s), qPrintable(FehlerAnwendung::fehler.first()));
    QCOMPARE(sql(u"select count(*) from Projekt where ID = %1"_s.arg(id)).toInt(), 1);
    QCOMPARE(sql(u"select count(*) from ProjektAufgaben where Projekt_ID = %1"_s.arg(id)).toInt(), aufgaben);
    QCOMPARE(m_module1->TabProjekt->FieldByName(u"ID"_s)->AsInteger(), id);
    QVERIFY(f->BtnAdd->isEnabled() && !f->BtnSave->isEnabled());
}

void TestDatenStamm::konflikt_data()
{
    QTest::addColumn<bool>("ueberschreiben");
    QTest::newRow("Nein keeps the input") << false;
    QTest::newRow("Ja stores it over the other's") << true;
}

// Another PC changed the same field meanwhile: the user is asked. On "Nein" nothing is stored,
// the window stays in edit state with the input, and Abbrechen shows the other user's version;
// on "Ja" the input is stored and the window browses again.
void TestDatenStamm::konflikt()
{
    QFETCH(bool, ueberschreiben);
    TFormDatenStamm* f = oeffnen(3);
    const int id = m_module1->TabProjekt->FieldByName(u"ID"_s)->AsInteger();
    auto* bezeichnung = f->findChild<TDBEdit*>(u"DBEditProjektBezeichn"_s);
    klicken(f->BtnEdit);
    bezeichnung->clear();
    QTest::keyClicks(bezeichnung, u"Meine Änderung"_s);
    sql(u"update Projekt set Bezeichn = 'Andere Änderung' where ID = %1"_s.arg(id));
    m_meldungen->antwort = ueberschreiben;
    klicken(f->BtnSave);

    QCOMPARE(m_meldungen->fragen.size(), 1);
    QCOMPARE(m_meldungen->fragen.first().first, u"Datensatz geändert"_s);
    QCOMPARE(sql(u"select Bezeichn from Projekt where ID = %1"_s.arg(id)).toString(),
             ueberschreiben ? u"Meine Änderung"_s : u"Andere Änderung"_s);
    QCOMPARE(bezeichnung->text(), u"Meine Änderung"_s);
    QCOMPARE(bezeichnung->isEnabled(), !ueberschreiben);
    QCOMPARE(f->BtnSave->isEnabled(), !ueberschreiben);
    QCOMPARE(f->DBGridProjekt->isEnabled(), ueberschreiben);
    if (ueberschreiben) {
        QVERIFY(FehlerAnwendung::fehler.isEmpty());
        QCOMPARE(m_module1->TabProjekt->State(), TDataSetState::dsBrowse);
        return;
    }
    QCOMPARE(FehlerAnwendung::fehler.size(), 1);
    QVERIFY2(FehlerAnwendung::fehler.first().contains(u"von einem anderen Benutzer geändert"_s),
             qPrintable(FehlerAnwendung::fehler.first()));
    QCOMPARE(m_module1->TabProjekt->State(), TDataSetState::dsEdit);
    klicken(f->BtnCancel);
    QCOMPARE(bezeichnung->text(), u"Andere Änderung"_s);
}

// "Zentora" opens the ERP search dialog over the window on the project page in browse state;
// elsewhere nothing.
void TestDatenStamm::zentora()
{
    QStringList geoeffnet;
    const auto suchdialogSchliessen = [&] {
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog && dialog != m_fenster.get()) {
                geoeffnet << dialog->objectName() + u" über "_s + dialog->parentWidget()->objectName();
                dialog->close();
            }
        });
    };
    TFormDatenStamm* f = oeffnen(3);
    QCOMPARE(f->BtnZentora->text(), u"Zentora"_s);
    suchdialogSchliessen();
    klicken(f->BtnZentora);
    QCOMPARE(geoeffnet, QStringList{u"FormSucheProjekt über FormDatenStamm"_s});
    klicken(f->BtnEdit);
    QVERIFY(f->BtnZentora->isVisible() && !f->BtnZentora->isEnabled());
    klicken(f->BtnCancel);
    QVERIFY(f->BtnZentora->isEnabled());
    m_fenster.reset();

    oeffnen(0);
    QVERIFY(!m_fenster->BtnZentora->isVisible());
    suchdialogSchliessen();
    m_module2->Action(u"ActionSucheZentora"_s)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(geoeffnet.size(), 1);
}

void TestDatenStamm::aufgabenAutomatik_data()
{
    QTest::addColumn<int>("automatik");
    QTest::addColumn<bool>("neu");
    QTest::newRow("0 manuell") << 0 << true;
    QTest::newRow("1 neues Projekt") << 1 << true;
    QTest::newRow("1 geändertes Projekt") << 1 << false;
    QTest::newRow("2 alle") << 2 << false;
}

// With AufgabenAutomatik 1 a saved project opens the task assignment for it (through the main
// window's "Aufgabe zuordnen"), with this window behind it; this window closes afterwards.
void TestDatenStamm::aufgabenAutomatik()
{
    QFETCH(int, automatik);
    QFETCH(bool, neu);
    IniRecord.AufgabenAutomatik = automatik;
    QStringList zugeordnet;
    bool dahinter = false;
    m_module2->setzeHandler(u"ActionAufgZuordStart"_s, [&] {
        zugeordnet << m_module1->TabProjekt->FieldByName(u"Kommnr"_s)->AsString();
        dahinter = m_fenster && m_fenster->isVisible();
    });
    TFormDatenStamm* f = oeffnen(3);
    const QString kommnr = neu ? u"P-AUTO"_s : m_module1->TabProjekt->FieldByName(u"Kommnr"_s)->AsString();
    klicken(neu ? f->BtnAdd : f->BtnEdit);
    if (neu)
        tippen(kommnr);
    else {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        tippen(u"x"_s);  // any change to the edited project
    }
    klicken(f->BtnSave);
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
    if (automatik == 1) {
        QCOMPARE(zugeordnet, QStringList{neu ? kommnr : kommnr + u"x"_s});
        QVERIFY(dahinter);
        QVERIFY(!f->isVisible());
    } else {
        QVERIFY(zugeordnet.isEmpty());
        QVERIFY(f->isVisible());
    }
}

// The task grid shows the employee's and the status's names, not their ids.
void TestDatenStamm::lookupSpaltenZeigenNamen()
{
    TFormDatenStamm* f = oeffnen(0);
    TKADaoTable* aufgaben = m_module1->TabAufgaben;
    const int personal = aufgaben->FieldByName(u"Aufg_Mitarbeiter"_s)->AsInteger();
    const int status = aufgaben->FieldByName(u"Aufg_Status"_s)->AsInteger();
    const QAbstractItemModel* m = f->DBGridAufgaben->model();
    QCOMPARE(m->index(0, 2).data().toString(),
             sql(u"select Name from Personal where ID = %1"_s.arg(personal)).toString());
    QCOMPARE(m->index(0, 3).data().toString(),
             sql(u"select Stat_Bezeichnung from Status where ID = %1"_s.arg(status)).toString());
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), u"MITARBEITER"_s);
    auto* box = f->findChild<TDBLookupBox*>(u"DBLookupAufgabeMitarbeiter"_s);
    QCOMPARE(box->currentText(), m->index(0, 2).data().toString());
}

// Every text edit of every page takes at most as many characters as its field holds.
void TestDatenStamm::texteHaltenFeldbreite()
{
    for (int seite = 0; seite < 4; ++seite) {
        TFormDatenStamm* f = oeffnen(seite);
        klicken(f->BtnAdd);
        const QList<TDBEdit*> edits = f->PageControl1->currentWidget()->findChildren<TDBEdit*>();
        QVERIFY(!edits.isEmpty());
        for (TDBEdit* e : edits) {
            const int breite = e->verbindung()->feldObjekt()->Size();
            QVERIFY(breite > 0);
            e->clear();
            QTest::keyClicks(e, QString(breite + 5, u'9'));
            QVERIFY2(e->text().size() == breite, qPrintable(e->objectName()));
        }
        klicken(f->BtnCancel);
        m_fenster.reset();
    }
}

// The window opens where it was closed, at 0,0 in 800 x 750 the first time.
void TestDatenStamm::geometrie()
{
    TFormDatenStamm* f = oeffnen(2);
    QCOMPARE(f->pos(), QPoint(0, 0));
    QCOMPARE(f->size(), QSize(800, 750));
    f->move(40, 30);
    f->resize(900, 700);
    klicken(f->BtnEnde);
    QVERIFY(!f->isVisible());
    m_fenster.reset();

    IniVorbelegen();
    FensterLesen(u"StammFenster"_s);
    QCOMPARE(FensterLage(u"StammFenster"_s), QRect(40, 30, 900, 700));
    f = oeffnen(3);
    QCOMPARE(f->geometry().size(), QSize(900, 700));
    QCOMPARE(f->pos(), QPoint(40, 30));
    // Controls anchored to the right edge moved with it.
    QCOMPARE(f->findChild<QWidget*>(u"DBEditProjektBaustelle"_s)->x(),
             511 + f->PanelProjekteInput->width() - 780);
}

void TestDatenStamm::schliessfeld_data()
{
    QTest::addColumn<Meldung::Antwort>("antwort");
    QTest::addColumn<bool>("offen");
    QTest::addColumn<int>("gespeichert");
    QTest::newRow("Ja") << Meldung::Antwort::Ja << false << 1;
    QTest::newRow("Nein") << Meldung::Antwort::Nein << false << 0;
    QTest::newRow("Abbrechen") << Meldung::Antwort::Abbrechen << true << 0;
}

// The title-bar box while a record is pending asks whether to save it.
void TestDatenStamm::schliessfeld()
{
    QFETCH(Meldung::Antwort, antwort);
    QFETCH(bool, offen);
    QFETCH(int, gespeichert);
    TFormDatenStamm* f = oeffnen(2);
    klicken(f->BtnAdd);
    tippen(u"neu im Test"_s);
    m_meldungen->dreifachAntwort = antwort;
    f->close();
    QCOMPARE(m_meldungen->fragen, (QList<QPair<QString, QString>>{{u"Stammdaten"_s, u"Änderungen speichern?"_s}}));
    QCOMPARE(f->isVisible(), offen);
    QCOMPARE(sql(u"select count(*) from Status where Stat_Bezeichnung = 'neu im Test'"_s).toInt(), gespeichert);
    QCOMPARE(m_module1->TabStatus->State(), offen ? TDataSetState::dsInsert : TDataSetState::dsBrowse);
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
}

PV_TEST_MAIN(TestDatenStamm)
#include "tst_datenstamm.moc"
