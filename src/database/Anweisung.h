#pragma once

#include "Spaltenkatalog.h"
#include "Zeilenwerte.h"

#include <QString>
#include <QVariant>
#include <memory>

/// What a statement of one engine does: values in as parameters (numbered from 1), rows out one
/// at a time. Every failure is a Fehler with a German message.
class AnweisungsKern
{
public:
    virtual ~AnweisungsKern() = default;
    virtual void binden(int nr, const QVariant& wert) = 0;
    virtual bool schritt() = 0;
    virtual void zuruecksetzen() = 0;
    virtual int ausfuehren() = 0;
    virtual int spaltenAnzahl() = 0;
    virtual QVariant wert(int spalte) const = 0;
    /// The first `spalten` values of the current row into `bau`, as wert() gives them.
    virtual void zeileBauen(int spalten, Zeilenbau& bau) const
    {
        for (int c = 0; c < spalten; ++c)
            bau.wert(wert(c));
    }
    /// The columns of the statement, with the tables they come from; `sql` is the text the
    /// caller wrote (for the aliases of a join).
    virtual Spaltenkatalog katalog(const QString& sql) = 0;
};

/// A prepared statement on the project database, whichever engine holds it: the file engine
/// or a database server. Values go in and come out as they are stored: null, 64-bit integer,
/// double, text (RohText when a file holds invalid UTF-8), bytes, and from a server also dates.
class Anweisung
{
public:
    Anweisung() = default;
    explicit Anweisung(std::unique_ptr<AnweisungsKern> kern)
        : m_kern(std::move(kern))
    {
    }

    bool gueltig() const { return m_kern != nullptr; }
    void binden(int nr, const QVariant& wert) { m_kern->binden(nr, wert); }
    /// Runs one step: true while a row is there, false when done.
    bool schritt() { return m_kern->schritt(); }
    /// Makes the statement ready to run again and clears its bindings.
    void zuruecksetzen() { m_kern->zuruecksetzen(); }
    /// Runs the statement to its end and returns the number of rows it changed.
    int ausfuehren() { return m_kern->ausfuehren(); }
    int spaltenAnzahl() { return m_kern->spaltenAnzahl(); }
    /// The stored value of column `spalte` (from 0) of the current row.
    QVariant wert(int spalte) const { return m_kern->wert(spalte); }
    /// The first `spalten` values of the current row into `bau` (for many rows, without a
    /// QVariant of each value where the engine allows).
    void zeileBauen(int spalten, Zeilenbau& bau) const { m_kern->zeileBauen(spalten, bau); }
    Spaltenkatalog katalog(const QString& sql) { return m_kern->katalog(sql); }

private:
    std::unique_ptr<AnweisungsKern> m_kern;
};
