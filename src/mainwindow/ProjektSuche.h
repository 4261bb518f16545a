#pragma once

#include "Suchbegriff.h"

#include <QPointer>
#include <QString>
#include <memory>

class TKADaoTable;

// The search over the edit view's project list: while a text is given, the projects dataset
// shows only the projects whose number, name, site, customer or subject contain it (see
// Suchbegriff), on top of its Filter. It works on the rows in memory, never on the database:
// each project's searchable text is prepared the first time the project is searched and again
// only after one of its searched fields has changed, so a keystroke only compares.
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
