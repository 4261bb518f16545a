#pragma once

#include <QList>
#include <QString>

class ChmDatei;

// Full-text search over the pages of a help file. The pages are read once, on the first
// search; letters are compared case-folded, so "ÄNDERN" finds "ändern".
class Volltextsuche
{
public:
    struct Treffer
    {
        QString titel;
        QString name;
    };

    explicit Volltextsuche(const ChmDatei& datei) : m_datei(datei) {}

    // Pages that hold every word of the text, in the file's order; empty for an empty text.
    QList<Treffer> suchen(const QString& text);

private:
    struct Seite
    {
        QString titel;
        QString name;
        QString text;   // case-folded plain text
    };
    void einlesen();

    const ChmDatei& m_datei;
    QList<Seite> m_seiten;
    bool m_eingelesen = false;
};
