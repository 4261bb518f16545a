#pragma once

#include "Zeilenwerte.h"

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>
#include <unordered_map>

/// The complete stored values of rows that a dataset holds only in part (see Spaltenauswahl),
/// read for the rows somebody looks at and kept for a bounded number of rows: a list of any
/// length then holds of every row only what its order and filter need.
///
/// What it holds is good for one state of the dataset's rows (their content stand); asked
/// for another, it has nothing, and what is put in from then on belongs to that one.
class Nachlesefenster
{
public:
    explicit Nachlesefenster(size_t hoechstens = 1024, int pauseMs = 3000)
        : m_hoechstens(hoechstens), m_pauseMs(pauseMs) {}

    /// The row with this key as read at `stand`; nullptr when none is held for that stand.
    const Zeilenwerte* finden(qint64 schluessel, quint64 stand) const;
    /// Keeps `werte` as the row with this key, read at `stand`. Rows read at another stand go;
    /// a full window starts over.
    void ablegen(qint64 schluessel, Zeilenwerte&& werte, quint64 stand);
    /// Makes room for `anzahl` rows about to be put in at `stand`, so that none of them pushes
    /// out another.
    void platzSchaffen(size_t anzahl, quint64 stand);
    void leeren() { m_zeilen.clear(); }

    /// A read for the window failed at `stand` with `meldung` (another program holds the
    /// database). Asked again at that stand within the pause, the window gives the message
    /// instead of another read: a list drawn cell by cell then waits for the lock once, not
    /// once per cell.
    void fehlgeschlagen(quint64 stand, const QString& meldung);
    /// The message of a read failed at `stand`, while its pause lasts; empty otherwise.
    QString fehlerInPause(quint64 stand) const;

    size_t anzahl() const { return m_zeilen.size(); }
    size_t hoechstens() const { return m_hoechstens; }

private:
    std::unordered_map<qint64, Zeilenwerte> m_zeilen;
    quint64 m_stand = 0;
    size_t m_hoechstens;
    int m_pauseMs;
    quint64 m_fehlerStand = 0;
    QString m_fehler;
    QElapsedTimer m_seitFehler;
};
