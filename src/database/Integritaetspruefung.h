#pragma once

#include <QString>

#include <functional>
#include <future>
#include <mutex>
#include <thread>

struct sqlite3;

/// Reads every page of a database file once (the engine's quick check) in a thread of its own,
/// on a read-only connection of its own. At 20,000 projects the read takes some hundred
/// milliseconds, too long to hold up every start; the connection lets its first write wait for
/// the result instead, so a damaged file is found before anything is written to it.
class Integritaetspruefung
{
public:
    enum class Ergebnis { Heil, Beschaedigt, Unbekannt };

    /// Starts the check of `pfad`. `fertig` (if set) is called in the checking thread with the
    /// result once it is there.
    explicit Integritaetspruefung(const QString& pfad, std::function<void(Ergebnis)> fertig = {});
    /// Stops a check still running and waits for its thread.
    ~Integritaetspruefung();
    Integritaetspruefung(const Integritaetspruefung&) = delete;
    Integritaetspruefung& operator=(const Integritaetspruefung&) = delete;

    /// Waits for the result. Unbekannt when the check could not run (file locked for longer
    /// than the wait, or stopped): the file is then taken as it is.
    Ergebnis abwarten() const;
    bool fertig() const;
    /// The engine's first finding, for the log; empty when sound.
    QString befund() const;

private:
    void pruefen(const QString& pfad, std::function<void(Ergebnis)> fertig);
    // Busy handler of the check's connection: waits in short steps while the check is wanted.
    static int sperreAbwarten(void* pruefung, int versuche);

    mutable std::mutex m_sperre;
    sqlite3* m_verbindung = nullptr;   // while the check runs; guarded by m_sperre
    bool m_abgebrochen = false;
    QString m_befund;
    std::promise<Ergebnis> m_versprechen;
    std::shared_future<Ergebnis> m_ergebnis;
    std::thread m_faden;
};
