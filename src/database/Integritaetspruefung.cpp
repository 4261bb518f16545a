#include "Integritaetspruefung.h"

#include <QFile>
#include <sqlite3.h>

Integritaetspruefung::Integritaetspruefung(const QString& pfad, std::function<void(Ergebnis)> fertig)
    : m_ergebnis(m_versprechen.get_future().share())
{
    m_faden = std::thread([this, pfad, fertig = std::move(fertig)] { pruefen(pfad, fertig); });
}

Integritaetspruefung::~Integritaetspruefung()
{
    {
        std::lock_guard<std::mutex> halten(m_sperre);
        m_abgebrochen = true;
        if (m_verbindung)
            sqlite3_interrupt(m_verbindung);
    }
    m_faden.join();
}

Integritaetspruefung::Ergebnis Integritaetspruefung::abwarten() const
{
    return m_ergebnis.get();
}

bool Integritaetspruefung::fertig() const
{
    return m_ergebnis.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

QString Integritaetspruefung::befund() const
{
    abwarten();
    std::lock_guard<std::mutex> halten(m_sperre);
    return m_befund;
}

int Integritaetspruefung::sperreAbwarten(void* pruefung, int versuche)
{
    constexpr int Schritt = 20;   // milliseconds
    auto* p = static_cast<Integritaetspruefung*>(pruefung);
    {
        std::lock_guard<std::mutex> halten(p->m_sperre);
        if (p->m_abgebrochen || versuche * Schritt >= 5000)
            return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(Schritt));
    return 1;
}

void Integritaetspruefung::pruefen(const QString& pfad, std::function<void(Ergebnis)> fertig)
{
    sqlite3* db = nullptr;
    Ergebnis ergebnis = Ergebnis::Unbekannt;
    QString befund;
    if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        // Another program's write is waited for as long as a save would wait, unless the
        // connection closes meanwhile.
        sqlite3_busy_handler(db, &Integritaetspruefung::sperreAbwarten, this);
        bool weiter;
        {
            std::lock_guard<std::mutex> halten(m_sperre);
            weiter = !m_abgebrochen;
            if (weiter)
                m_verbindung = db;
        }
        sqlite3_stmt* anweisung = nullptr;
        if (weiter && sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &anweisung, nullptr) == SQLITE_OK) {
            const int rc = sqlite3_step(anweisung);
            if (rc == SQLITE_ROW) {
                befund = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(anweisung, 0)));
                ergebnis = befund == QLatin1String("ok") ? Ergebnis::Heil : Ergebnis::Beschaedigt;
            } else if ((rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB) {
                ergebnis = Ergebnis::Beschaedigt;
            }
            if (ergebnis != Ergebnis::Heil && befund.isEmpty())
                befund = QString::fromUtf8(sqlite3_errmsg(db));
        } else if (weiter) {
            const int rc = sqlite3_errcode(db) & 0xff;
            befund = QString::fromUtf8(sqlite3_errmsg(db));
            // A schema the engine cannot even read is damaged as well.
            if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)
                ergebnis = Ergebnis::Beschaedigt;
        }
        sqlite3_finalize(anweisung);
        std::lock_guard<std::mutex> halten(m_sperre);
        m_verbindung = nullptr;
    }
    sqlite3_close(db);
    {
        std::lock_guard<std::mutex> halten(m_sperre);
        m_befund = ergebnis == Ergebnis::Heil ? QString() : befund;
    }
    m_versprechen.set_value(ergebnis);
    if (fertig)
        fertig(ergebnis);
}
