#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Daily copies of the project database, taken with the engine's online backup: consistent while
// the program runs and other PCs write. A copy is named after its day ("PROJEKT-2026-12-10.MDB")
// and lies in a folder of its own; the newest 14 days are kept.
class Datensicherung
{
public:
    static constexpr int AufbewahrteTage = 14;

    struct Kopie
    {
        QString pfad;
        QDate tag;
        qint64 groesse = 0;
        QDateTime geschrieben;
    };

    // `ordner` empty: the folder "Sicherung" beside the database.
    Datensicherung(const QString& datenbank, const QString& ordner = QString());

    QString ordner() const { return m_ordner; }
    // The copies, newest first.
    QList<Kopie> kopien() const;
    bool gesichertAm(const QDate& tag) const;

    // Writes the copy of the day (replacing an earlier one of the same day) and removes copies
    // beyond the newest 14 days. Returns the copy's path. Raises Fehler with a German message;
    // a failed copy leaves no file and the earlier ones as they were.
    QString sichern(const QDate& tag = QDate::currentDate());

    // Raises Fehler when the copy is not a sound database.
    static void pruefen(const QString& kopie);

    // Puts a checked copy in place of the database: the current file is kept beside it under a
    // new name (returned). The database must not be open in this program.
    QString zurueckspielen(const QString& kopie);

private:
    QString m_datenbank;
    QString m_ordner;
};
