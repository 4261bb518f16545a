#include "Datensicherung.h"

#include "Fehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace {

// The engine's connections, closed whatever happens.
struct Verbindung
{
    sqlite3* db = nullptr;
    Verbindung(const QString& pfad, int art)
    {
        if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, art, nullptr) != SQLITE_OK) {
            const QString grund = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
            sqlite3_close(db);
            db = nullptr;
            throw Fehler(QStringLiteral("Die Datenbank %1 kann für die Datensicherung nicht geöffnet werden.\n(%2)").arg(pfad, grund));
        }
        sqlite3_busy_timeout(db, 5000);
    }
    ~Verbindung() { sqlite3_close(db); }
    Verbindung(const Verbindung&) = delete;
    Verbindung& operator=(const Verbindung&) = delete;
};

void kopieren(const QString& von, const QString& nach)
{
    Verbindung quelle(von, SQLITE_OPEN_READONLY);
    Verbindung ziel(nach, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup* sicherung = sqlite3_backup_init(ziel.db, "main", quelle.db, "main");
    if (!sicherung)
        throw Fehler(QStringLiteral("Die Datensicherung nach %1 konnte nicht beginnen.\n(%2)")
                         .arg(nach, QString::fromUtf8(sqlite3_errmsg(ziel.db))));
    // In one step: the source is read under one read lock, so the copy is one consistent state.
    // While another program commits, the lock is not to be had for a moment: try again, for up
    // to ten seconds.
    int rc = sqlite3_backup_step(sicherung, -1);
    for (int versuch = 0; (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && versuch < 500; ++versuch) {
        sqlite3_sleep(20);
        rc = sqlite3_backup_step(sicherung, -1);
    }
    sqlite3_backup_finish(sicherung);
    if (rc != SQLITE_DONE) {
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throw Fehler(QStringLiteral("Die Datenbank %1 ist gerade gesperrt; die Datensicherung wurde nicht geschrieben.").arg(von));
        throw Fehler(QStringLiteral("Die Datensicherung nach %1 ist fehlgeschlagen.\n(%2)").arg(nach, QString::fromUtf8(sqlite3_errstr(rc))));
    }
}

QString tagesName(const QString& datenbank, const QDate& tag)
{
    const QFileInfo info(datenbank);
    return QStringLiteral("%1-%2.%3").arg(info.completeBaseName(), tag.toString(QStringLiteral("yyyy-MM-dd")), info.suffix());
}

} // namespace

Datensicherung::Datensicherung(const QString& datenbank, const QString& ordner)
    : m_datenbank(datenbank)
    , m_ordner(ordner.isEmpty() ? QFileInfo(datenbank).dir().filePath(QStringLiteral("Sicherung")) : ordner)
{
}

QList<Datensicherung::Kopie> Datensicherung::kopien() const
{
    const QFileInfo info(m_datenbank);
    const QRegularExpression muster(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2})\\.%2$")
                                        .arg(QRegularExpression::escape(info.completeBaseName()), QRegularExpression::escape(info.suffix())),
                                    QRegularExpression::CaseInsensitiveOption);
    QList<Kopie> liste;
    const auto eintraege = QDir(m_ordner).entryInfoList(QDir::Files);
    for (const QFileInfo& datei : eintraege) {
        const auto treffer = muster.match(datei.fileName());
        const QDate tag = QDate::fromString(treffer.captured(1), QStringLiteral("yyyy-MM-dd"));
        if (treffer.hasMatch() && tag.isValid())
            liste.append({datei.absoluteFilePath(), tag, datei.size(), datei.lastModified()});
    }
    std::sort(liste.begin(), liste.end(), [](const Kopie& a, const Kopie& b) { return a.tag > b.tag; });
    return liste;
}

bool Datensicherung::gesichertAm(const QDate& tag) const
{
    return QFileInfo::exists(QDir(m_ordner).filePath(tagesName(m_datenbank, tag)));
}

QString Datensicherung::sichern(const QDate& tag)
{
    if (!QDir().mkpath(m_ordner))
        throw Fehler(QStringLiteral("Der Ordner %1 für die Datensicherung kann nicht angelegt werden.").arg(m_ordner));
    const QString ziel = QDir(m_ordner).filePath(tagesName(m_datenbank, tag));
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    try {
        kopieren(m_datenbank, neu);
        pruefen(neu);
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    // The day's earlier copy goes only once the new one is complete.
    QFile::remove(ziel);
    if (!QFile::rename(neu, ziel)) {
        QFile::remove(neu);
        throw Fehler(QStringLiteral("Die Datensicherung %1 kann nicht geschrieben werden.").arg(ziel));
    }
    const QList<Kopie> alle = kopien();
    for (qsizetype i = AufbewahrteTage; i < alle.size(); ++i)
        QFile::remove(alle[i].pfad);
    return ziel;
}

void Datensicherung::pruefen(const QString& kopie)
{
    if (!QFileInfo(kopie).isFile())
        throw Fehler(QStringLiteral("Die Datensicherung %1 gibt es nicht.").arg(kopie));
    QString ergebnis;
    {
        Verbindung db(kopie, SQLITE_OPEN_READONLY);
        sqlite3_stmt* anweisung = nullptr;
        int rc = sqlite3_prepare_v2(db.db, "PRAGMA quick_check", -1, &anweisung, nullptr);
        if (rc == SQLITE_OK && sqlite3_step(anweisung) == SQLITE_ROW)
            ergebnis = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(anweisung, 0)));
        sqlite3_finalize(anweisung);
        if (ergebnis == QLatin1String("ok")) {
            // A sound file that is no project database is no backup of ours either.
            rc = sqlite3_prepare_v2(db.db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Projekt'", -1,
                                    &anweisung, nullptr);
            const bool projekt = rc == SQLITE_OK && sqlite3_step(anweisung) == SQLITE_ROW && sqlite3_column_int(anweisung, 0) == 1;
            sqlite3_finalize(anweisung);
            if (!projekt)
                ergebnis = QStringLiteral("keine Projektdatenbank");
        }
    }
    if (ergebnis != QLatin1String("ok"))
        throw Fehler(QStringLiteral("Die Datensicherung %1 ist beschädigt und kann nicht zurückgespielt werden.").arg(kopie));
}

QString Datensicherung::zurueckspielen(const QString& kopie)
{
    pruefen(kopie);
    const QString stempel = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QFileInfo info(m_datenbank);
    const QString bisher = info.dir().filePath(QStringLiteral("%1-vor-Ruecksicherung-%2.%3").arg(info.completeBaseName(), stempel, info.suffix()));
    const QString neu = m_datenbank + QStringLiteral(".neu");
    QFile::remove(neu);
    try {
        kopieren(kopie, neu);
        pruefen(neu);
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    if (QFileInfo::exists(m_datenbank) && !QFile::rename(m_datenbank, bisher)) {
        QFile::remove(neu);
        throw Fehler(QStringLiteral("Die Datenbank %1 kann nicht umbenannt werden; es wurde nichts zurückgespielt.").arg(m_datenbank));
    }
    if (!QFile::rename(neu, m_datenbank)) {
        // The old file goes back where it was.
        QFile::rename(bisher, m_datenbank);
        QFile::remove(neu);
        throw Fehler(QStringLiteral("Die Datensicherung kann nicht an die Stelle von %1 gelegt werden; es wurde nichts zurückgespielt.").arg(m_datenbank));
    }
    return bisher;
}
