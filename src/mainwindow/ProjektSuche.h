#pragma once

#include "Suchbegriff.h"

#include <QPointer>
#include <QString>
#include <memory>

class TKADaoTable;

// The search over the edit view's project list: while a text is given, the projects dataset
// shows only the projects whose number, name, site, customer or subject contain it (see
// Suchbegriff), on top of its Filter. The list holds of each project only what its order and
// filter need; the searched fields of all projects are read in one statement when a search is
// prepared (the field taking the focus, or the first keystroke), and each project's searchable
// text is made then. After that a keystroke only compares, until the list reads its rows anew.
class TProjektSuche
{
public:
    explicit TProjektSuche(TKADaoTable* projekte);
    // Lifts the search, unless a change is pending in the dataset (that is not posted here).
    ~TProjektSuche();
    TProjektSuche(const TProjektSuche&) = delete;
    TProjektSuche& operator=(const TProjektSuche&) = delete;

    // Shows the projects the text finds; a text of nothing but blanks shows all again. A pending
    // change of the current project is posted first, as any move does; when that fails the
    // search stays as it was and the error is thrown.
    void setText(const QString& text);
    const QString& text() const { return m_text; }
    // Prepares the searchable text of every project, where a pause allows it (the field taking
    // the focus), so that the first keystroke only compares. Later changes of a project are
    // caught at the next keystroke. A failing read is left to the first keystroke to report.
    void vorbereiten();
    // Lets the prepared texts go while no search is in force (the field lost the focus): they
    // take memory in the measure of the projects.
    void freigeben();
    bool aktiv() const;
    // "n von m Projekten" while a search is active: the projects shown against those listed
    // without the search. Empty otherwise.
    QString statusText() const;

private:
    struct Vorrat;

    QPointer<TKADaoTable> m_projekte;
    // Shared with the row condition the dataset holds, which may outlive this object.
    std::shared_ptr<Vorrat> m_vorrat;
    QString m_text;
};
