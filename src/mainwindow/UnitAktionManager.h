#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QMainWindow;
class QMenuBar;
class QToolBar;

// One command of the program: name, category, caption and image index in Bildliste.
struct TBefehl
{
    QString Name;
    QString Kategorie;
    QString Caption;
    int Bild = -1;
};

// One entry of a menu or the toolbar: a command, shown with its own caption (empty: the
// command's caption), or a separator.
struct TLeistenEintrag
{
    QString Befehl;
    QString Caption;
    bool Trenner = false;
};

struct TMenue
{
    QString Caption;
    QList<TLeistenEintrag> Eintraege;
};

// The command list, the menus of the main menu bar and the toolbar, in their order.
const QList<TBefehl>& Befehlsliste();
const QList<TMenue>& Hauptmenue();
const QList<TLeistenEintrag>& Werkzeugleiste();

// Holds every command of the program as a named action in ActionManager1. The windows bind
// their buttons to these actions; what a command does is set by the window that serves it
// (setzeHandler), so this module knows no window but the main window it closes.
class TDataModule2 : public QObject
{
    Q_OBJECT

public:
    // Builds the commands and, when a main window is given, fills its menu bar and toolbar.
    explicit TDataModule2(QMainWindow* hauptfenster = nullptr, QObject* parent = nullptr);
    ~TDataModule2() override;

    // Parent of all command actions (objectName = command name).
    QObject* const ActionManager1;

    // The command of this name; nullptr for an unknown name.
    QAction* Action(const QString& name) const;

    // What the command does when triggered; an empty function makes it do nothing.
    // ActionProjektClose closes the main window unless a handler is set.
    void setzeHandler(const QString& name, std::function<void()> handler);

    // Fills a menu bar and a toolbar with the entries of Hauptmenue() and Werkzeugleiste().
    // An entry is an action of its own with its caption that runs the command.
    void LeistenAnbinden(QMenuBar* menueleiste, QToolBar* werkzeugleiste);

private:
    void ausfuehren(const QString& name);
    QAction* eintragsAktion(const TLeistenEintrag& eintrag, QObject* eltern);

    QMainWindow* m_hauptfenster;
    std::map<QString, std::function<void()>> m_handler;
};

// The module of the process; nullptr before it is created and after it is destroyed.
extern TDataModule2* DataModule2;
