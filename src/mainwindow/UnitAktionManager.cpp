#include "UnitAktionManager.h"

#include "Bildliste.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

TDataModule2* DataModule2 = nullptr;

const QList<TBefehl>& Befehlsliste()
{
    static const QList<TBefehl> liste = {
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
    return liste;
}

const QList<TMenue>& Hauptmenue()
{
    static const QList<TMenue> menues = {
        {"&Programm",
         {{"ActionAnsicht", ""},
          {"ActionAufgZuordStart", "&Aufgabe zuordnen"},
          {"ActionAufgBearbStart", "A&ufgaben bearbeiten"},
          {"ActionDatensicherungZurueck", "&Datensicherung zurückspielen …"},
          {"ActionProjektClose", "&Programm beenden"}}},
        {"&Daten",
         {{"ActionStammProjektStart", "&Projekte"},
          {"ActionAufgabenStart", "&Aufgaben"},
          {"ActionStammMitarbeiterStart", "&Mitarbeiter"},
          {"ActionStammStatusStart", "&Status"},
          {"ActionWochenplan", "&Wochenplan"}}},
        {"&Einstellungen", {{"ActionSettingsClick", "&Grundeinstellungen"}}},
        {"&Ausgabe", {{"ActionDruckAusgabe", "&Ausgabe"}, {"ActionProjektlisteExport", "&Projektliste exportieren …"}}},
        {"&?", {{"ActionHilfe", ""}, {"ActionInfoClick", "&Info"}}},
    };
    return menues;
}

const QList<TLeistenEintrag>& Werkzeugleiste()
{
    static const TLeistenEintrag trenner{"", "", true};
    static const QList<TLeistenEintrag> leiste = {
        trenner,
        {"ActionAnsicht", "&Ansicht"},
        trenner,
        {"ActionStammProjektStart", "&Projekte"},
        trenner,
        {"ActionAufgZuordStart", "A&ufgabe zuordnen"},
        {"ActionAufgBearbStart", ""},
        trenner,
        {"ActionAnsichtRefresh", "&Refresh"},
    };
    return leiste;
}

TDataModule2::TDataModule2(QMainWindow* hauptfenster, QObject* parent)
    : QObject(parent), ActionManager1(new QObject(this)), m_hauptfenster(hauptfenster)
{
    setObjectName(QStringLiteral("DataModule2"));
    ActionManager1->setObjectName(QStringLiteral("ActionManager1"));
    for (const TBefehl& b : Befehlsliste()) {
        auto* aktion = new QAction(Bildliste::symbol(b.Bild), b.Caption, ActionManager1);
        aktion->setObjectName(b.Name);
        aktion->setProperty("Category", b.Kategorie);
        aktion->setProperty("ImageIndex", b.Bild);
        // Captions hold no accelerator marks; the menus give their own.
        aktion->setIconText(b.Caption);
        const QString name = b.Name;
        connect(aktion, &QAction::triggered, this, [this, name] { ausfuehren(name); });
    }
    if (m_hauptfenster) {
        auto* leiste = m_hauptfenster->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"));
        if (!leiste) {
            leiste = new QToolBar(m_hauptfenster);
            leiste->setObjectName(QStringLiteral("ActionToolBar1"));
            m_hauptfenster->addToolBar(leiste);
        }
        LeistenAnbinden(m_hauptfenster->menuBar(), leiste);
    }
    DataModule2 = this;
}

TDataModule2::~TDataModule2()
{
    if (DataModule2 == this)
        DataModule2 = nullptr;
}

QAction* TDataModule2::Action(const QString& name) const
{
    return ActionManager1->findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TDataModule2::setzeHandler(const QString& name, std::function<void()> handler)
{
    m_handler[name] = std::move(handler);
}

void TDataModule2::ausfuehren(const QString& name)
{
    const auto it = m_handler.find(name);
    if (it != m_handler.end() && it->second) {
        it->second();
        return;
    }
    if (name == QLatin1String("ActionProjektClose") && m_hauptfenster)
        m_hauptfenster->close();
}

QAction* TDataModule2::eintragsAktion(const TLeistenEintrag& eintrag, QObject* eltern)
{
    QAction* befehl = Action(eintrag.Befehl);
    Q_ASSERT(befehl);
    // Own action per entry so the entry keeps its own caption; the command stays the one place
    // where the handler runs.
    auto* aktion = new QAction(befehl->icon(), eintrag.Caption.isEmpty() ? befehl->text() : eintrag.Caption, eltern);
    aktion->setObjectName(eintrag.Befehl);
    aktion->setProperty("Befehl", eintrag.Befehl);
    connect(aktion, &QAction::triggered, befehl, [befehl] { befehl->trigger(); });
    return aktion;
}

void TDataModule2::LeistenAnbinden(QMenuBar* menueleiste, QToolBar* werkzeugleiste)
{
    if (menueleiste) {
        for (const TMenue& m : Hauptmenue()) {
            QMenu* menue = menueleiste->addMenu(m.Caption);
            for (const TLeistenEintrag& e : m.Eintraege) {
                if (e.Trenner)
                    menue->addSeparator();
                else
                    menue->addAction(eintragsAktion(e, menue));
            }
        }
    }
    if (werkzeugleiste) {
        werkzeugleiste->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        werkzeugleiste->setMovable(false);
        werkzeugleiste->setFloatable(false);
        for (const TLeistenEintrag& e : Werkzeugleiste()) {
            if (e.Trenner) {
                werkzeugleiste->addSeparator();
                continue;
            }
            QAction* aktion = eintragsAktion(e, werkzeugleiste);
            // The button's caption keeps its Alt letter (the caption under the picture is the
            // icon text, which would otherwise drop the mark).
            aktion->setIconText(aktion->text());
            werkzeugleiste->addAction(aktion);
        }
    }
}
