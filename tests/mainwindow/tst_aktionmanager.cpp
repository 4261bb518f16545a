#include "Bildliste.h"
#include "IniRecord.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

class TestAktionManager : public QObject
{
    Q_OBJECT

private slots:
    void befehl_data();
    void befehl();
    void alleBefehleGenauEinmal();
    void menueleiste();
    void werkzeugleiste();
    void eintraegeFuehrenBefehlAus();
    void leistenWieEntworfen();
};

void TestAktionManager::befehl_data()
{
    QTest::addColumn<QString>("kategorie");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("bild");
    const struct { const char* name; const char* kategorie; const char* caption; int bild; } befehle[] = {
        {"ActionProjektClose", "Allgemein", "Programm beenden", 16},
        {"ActionInfoClick", "Allgemein", "Info", 9},
        {"ActionHilfe", "Allgemein", "Hilfe", 8},
        {"ActionAnsicht", "Allgemein", "Ansicht", 17},
        {"ActionAnsichtRefresh", "Allgemein", "Refresh", 18},
        {"ActionAufgZuordStart", "Allgemein", "Aufgabe zuordnen", 14},
        {"ActionAufgBearbStart", "Allgemein", "Aufgaben bearbeiten", 14},
        {"ActionStammProjektStart", "Allgemein", "Projekte", 13},
        {"ActionAufgabenStart", "Allgemein", "Aufgaben", 14},
        {"ActionStammMitarbeiterStart", "Allgemein", "Mitarbeiter", 12},
        {"ActionStammStatusStart", "Allgemein", "Status", 7},
        {"ActionDruckAusgabe", "Allgemein", "Ausgabe", 23},
        {"ActionProjektlisteExport", "Allgemein", "Projektliste exportieren …", 10},
        {"ActionDatensicherungZurueck", "Allgemein", "Datensicherung zurückspielen …", 18},
        {"ActionWochenplan", "Allgemein", "Wochenplan", 11},
        {"ActionSettingsClick", "Einstellungen", "Grundeinstellungen", 21},
        {"ActionSettingsSave", "Einstellungen", "Speichern", 3},
        {"ActionSettingsClose", "Einstellungen", "Beenden", 16},
        {"ActionStammAdd", "Stammdaten", "Neu", 4},
        {"ActionStammEdit", "Stammdaten", "Bearbeiten", 5},
        {"ActionStammSave", "Stammdaten", "Speichern", 3},
        {"ActionStammCancel", "Stammdaten", "Abbrechen", 6},
        {"ActionStammDelete", "Stammdaten", "Löschen", 2},
        {"ActionSucheZentora", "Stammdaten", "Zentora", 1},
        {"ActionStammClose", "Stammdaten", "Beenden", 16},
        {"ActionProjektSucheSelect", "Projektsuche", "Übernehmen", 3},
        {"ActionProjektSucheClose", "Projektsuche", "Beenden", 16},
        {"ActionAufgZuordAssign", "AufgabenZuordnen", "Zuordnen", 19},
        {"ActionAufgZuordEdit", "AufgabenZuordnen", "Bearbeiten", 5},
        {"ActionAufgZuordSave", "AufgabenZuordnen", "Speichern", 3},
        {"ActionAufgZuordCancel", "AufgabenZuordnen", "Abbrechen", 6},
        {"ActionAufgZuordDelete", "AufgabenZuordnen", "Löschen", 2},
        {"ActionAufgZuordClose", "AufgabenZuordnen", "Beenden", 16},
    };
    for (const auto& b : befehle)
        QTest::newRow(b.name) << QString::fromUtf8(b.kategorie) << QString::fromUtf8(b.caption) << b.bild;
}

void TestAktionManager::befehl()
{
    QFETCH(QString, kategorie);
    QFETCH(QString, caption);
    QFETCH(int, bild);
    TDataModule2 modul;
    QAction* aktion = modul.Action(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(aktion);
    QCOMPARE(aktion->property("Category").toString(), kategorie);
    QCOMPARE(aktion->text(), caption);
    QCOMPARE(aktion->property("ImageIndex").toInt(), bild);
    QCOMPARE(aktion->icon().pixmap(16, 16).toImage(), Bildliste::bild(bild).toImage());
    QVERIFY(aktion->shortcut().isEmpty());
    QVERIFY(aktion->isEnabled());
    QVERIFY(aktion->isVisible());
}

void TestAktionManager::alleBefehleGenauEinmal()
{
    TDataModule2 modul;
    const auto aktionen = modul.ActionManager1->findChildren<QAction*>();
    QCOMPARE(aktionen.size(), 33);
    QSet<QString> namen;
    for (const QAction* a : aktionen)
        namen.insert(a->objectName());
    QCOMPARE(namen.size(), 33);
    QCOMPARE(DataModule2, &modul);
}

// "Menu: item (command), ..." per menu; the item text is what the user sees with its Alt letter.
void TestAktionManager::menueleiste()
{
    TFormProjektMain fenster;
    TDataModule2 modul(&fenster);
    QStringList menues;
    for (QAction* m : fenster.ActionMainMenuBar1->actions()) {
        QStringList eintraege;
        for (QAction* e : m->menu()->actions()) {
            eintraege << e->text() + " (" + e->property("Befehl").toString() + ")";
            QCOMPARE(e->icon().pixmap(16, 16).toImage(), modul.Action(e->property("Befehl").toString())->icon().pixmap(16, 16).toImage());
        }
        menues << m->text() + ": " + eintraege.join(", ");
    }
    const QStringList erwartet = {
        "&Programm: Ansicht (ActionAnsicht), &Aufgabe zuordnen (ActionAufgZuordStart), "
        "A&ufgaben bearbeiten (ActionAufgBearbStart), &Datensicherung zurückspielen … (ActionDatensicherungZurueck), "
        "&Programm beenden (ActionProjektClose)",
        "&Daten: &Projekte (ActionStammProjektStart), &Aufgaben (ActionAufgabenStart), "
        "&Mitarbeiter (ActionStammMitarbeiterStart), &Status (ActionStammStatusStart), &Wochenplan (ActionWochenplan)",
        "&Einstellungen: &Grundeinstellungen (ActionSettingsClick)",
        "&Ausgabe: &Ausgabe (ActionDruckAusgabe), &Projektliste exportieren … (ActionProjektlisteExport)",
        "&?: Hilfe (ActionHilfe), &Info (ActionInfoClick)",
    };
    QCOMPARE(menues, erwartet);
}

void TestAktionManager::werkzeugleiste()
{
    TFormProjektMain fenster;
    TDataModule2 modul(&fenster);
    QToolBar* leiste = fenster.ActionToolBar1;
    QStringList eintraege;
    for (QAction* e : leiste->actions())
        eintraege << (e->isSeparator() ? QStringLiteral("|") : e->text() + " (" + e->property("Befehl").toString() + ")");
    const QStringList erwartet = {"|", "&Ansicht (ActionAnsicht)", "|", "&Projekte (ActionStammProjektStart)", "|",
                                  "A&ufgabe zuordnen (ActionAufgZuordStart)",
                                  "Aufgaben bearbeiten (ActionAufgBearbStart)", "|", "&Refresh (ActionAnsichtRefresh)"};
    QCOMPARE(eintraege, erwartet);
    QCOMPARE(leiste->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!leiste->isMovable());
    QVERIFY(!leiste->isFloatable());
}

// A menu or toolbar entry runs the command's handler; "Programm beenden" closes the main
// window while no handler replaces it.
void TestAktionManager::eintraegeFuehrenBefehlAus()
{
    TFormProjektMain fenster;
    TDataModule2 modul(&fenster);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    QStringList gelaufen;
    // The window's own handlers would open modal windows here.
    modul.setzeHandler("ActionStammProjektStart", [&] { gelaufen << "projekte"; });
    modul.setzeHandler("ActionAufgZuordStart", [&] { gelaufen << "zuordnen"; });
    modul.setzeHandler("ActionAufgBearbStart", [&] { gelaufen << "bearbeiten"; });
    modul.setzeHandler("ActionAnsichtRefresh", [&] { gelaufen << "refresh"; });
    for (QAction* e : fenster.ActionToolBar1->actions())
        if (!e->isSeparator())
            e->trigger();   // commands without handler do nothing
    QCOMPARE(gelaufen, QStringList({"projekte", "zuordnen", "bearbeiten", "refresh"}));

    QAction* beenden = fenster.ActionMainMenuBar1->actions().first()->menu()->actions().last();
    QCOMPARE(beenden->property("Befehl").toString(), QStringLiteral("ActionProjektClose"));
    beenden->trigger();
    QVERIFY(!fenster.isVisible());
}

// Heights and colours of the two bars at 100 % scale, and the toolbar's Alt letters.
void TestAktionManager::leistenWieEntworfen()
{
    IniRecord.SymbolEditView = true;
    TFormProjektMain fenster;
    TDataModule2 modul(&fenster);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    QCOMPARE(fenster.ActionMainMenuBar1->height(), 24);
    QCOMPARE(fenster.ActionToolBar1->height(), 47);
    QCOMPARE(fenster.ActionToolBar1->layout()->spacing(), 10);
    const QColor hell(0xF2, 0xF2, 0xF2);
    for (QWidget* leiste : {static_cast<QWidget*>(fenster.ActionMainMenuBar1), static_cast<QWidget*>(fenster.ActionToolBar1)}) {
        QCOMPARE(leiste->palette().color(QPalette::Window), hell);
        QCOMPARE(leiste->palette().color(QPalette::Highlight), hell);
        QCOMPARE(leiste->palette().color(QPalette::Button), QApplication::palette().color(QPalette::Button));
    }

    QStringList texte;
    for (QAction* e : fenster.ActionToolBar1->actions())
        if (auto* knopf = qobject_cast<QToolButton*>(fenster.ActionToolBar1->widgetForAction(e)))
            texte << knopf->text();
    QCOMPARE(texte, QStringList({"&Ansicht", "&Projekte", "A&ufgabe zuordnen", "Aufgaben bearbeiten", "&Refresh"}));
    QStringList gelaufen;
    modul.setzeHandler("ActionAufgZuordStart", [&] { gelaufen << "zuordnen"; });
    modul.setzeHandler("ActionAnsichtRefresh", [&] { gelaufen << "refresh"; });
    // A button pressed by its Alt letter shows the press for a moment, then runs the command.
    QTest::keyClick(&fenster, Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(gelaufen, QStringList({"refresh"}));
    QTest::keyClick(&fenster, Qt::Key_U, Qt::AltModifier);
    QTRY_COMPARE(gelaufen, QStringList({"refresh", "zuordnen"}));
}

QTEST_MAIN(TestAktionManager)
#include "tst_aktionmanager.moc"
