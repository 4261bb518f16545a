#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class TKADaoTable;

// The browse/edit pattern of the editing windows (master data, task assignment): a window shows
// a dataset's current record in an input panel over a grid; in browse state the grid moves the
// record and the inputs are locked, in edit state the inputs are open and the grid is locked.
// The state is not stored: it is the enabled state of the buttons and controls.

// The record-command words, compared exactly (case-sensitive).
enum class TDatensatzBefehl { Edit, Append, Post, Delete, Cancel };

// "edit", "append", "post", "delete", "cancel"; any other word gives nothing.
std::optional<TDatensatzBefehl> DatensatzBefehlAusWort(const QString& Befehl);

// The plain operation of a command word on a dataset (Edit, Append, Post, Delete, Cancel).
// Errors are the dataset's Fehler.
void DatensatzBefehlAusfuehren(TKADaoTable* tabelle, TDatensatzBefehl befehl);

// The buttons of a window's button bar: those usable in browse state and those usable in edit
// state get their enabled state; a window shows, hides or moves its special buttons itself.
struct TKnopfLeiste
{
    QList<QPointer<QWidget>> imBlaettern;   // e.g. Neu, Bearbeiten, Löschen, Beenden
    QList<QPointer<QWidget>> imBearbeiten;  // e.g. Speichern, Abbrechen

    void setzen(bool Bearbeitung) const;
};

// One input panel with its grid: every direct child of the panel that is not a plain caption
// label (edits, lookup boxes, memos, date and spin edits, check boxes, record-id texts, title
// strips, divider lines) gets enabled = Bearbeitung, the grid the opposite; the focus goes to
// the first input in edit state and to the grid in browse state.
void EingabeSetzen(QWidget* eingabePanel, QWidget* gitter, QWidget* ersteEingabe, bool Bearbeitung);

// The record commands of a window as its buttons run them. The window gives its three
// routines (buttons, inputs, record command) and the dataset its active page edits.
//
// The state follows the dataset: a window switches to browse state only after a post or a
// cancel has succeeded, and back to browse state when an edit or append failed; a failed save
// leaves the user in edit state with the input kept. The error itself goes on to the caller
// (and so to the application's error box).
class TBearbeitungsZustand
{
public:
    struct Routinen
    {
        std::function<void(bool Bearbeitung)> ButtonsSetzen;
        std::function<void(bool Bearbeitung)> EingabeSetzen;
        std::function<void(const QString& Befehl)> DatensatzBefehl;
        // The dataset of the active page (for the close question); may give nullptr.
        std::function<TKADaoTable*()> Tabelle;
    };

    explicit TBearbeitungsZustand(Routinen routinen);

    // Both routines with false: the state a window shows first.
    void Blaettern();
    // Edit state, then "append" / "edit"; back to browse state if the command fails.
    void Neu();
    void Bearbeiten();
    // "post" / "cancel", then browse state; on failure the edit state stays.
    void Speichern();
    void Abbrechen();
    // Asks "Datensatz wirklich löschen ?" (title "Bestätigung"); on "Ja" "delete". Then browse
    // state whatever the answer and even when the delete failed.
    void Loeschen();

    // True when the dataset holds a record being edited or entered.
    bool Anhaengig() const;

    // The question when a window is closed by its title-bar box while a record is pending:
    // "Änderungen speichern?" with Ja (save, then close), Nein (discard, then close) and
    // Abbrechen (stay). A failed save keeps the window open; its error is handed to the
    // application's error box. True when the window may close; without a pending record
    // nothing is asked.
    bool SchliessenErlaubt(const QString& titel);

private:
    Routinen m_routinen;
};
