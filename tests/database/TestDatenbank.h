#pragma once

#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "FehlerText.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <sqlite3.h>

// A fresh project database (made by the database tool) in a temporary folder, and a second
// engine connection to it that stands for another program working on the same file.
class TestDatenbank
{
    QTemporaryDir m_ordner;  // first: the path below lies in it
    sqlite3* m_fremd = nullptr;

public:
    TestDatenbank()
        : pfad(m_ordner.filePath(QStringLiteral("PROJEKT.MDB")))
    {
        DatenbankWerkzeug::anlegen(pfad);
        sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_fremd, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_fremd, 2000);
    }
    ~TestDatenbank() { sqlite3_close(m_fremd); }
    TestDatenbank(const TestDatenbank&) = delete;
    TestDatenbank& operator=(const TestDatenbank&) = delete;

    const QString pfad;

    QString ordner() const { return m_ordner.path(); }

    /// Runs statements on the other connection; throws Fehler with the engine's message.
    void fremd(const QString& sql)
    {
        char* meldung = nullptr;
        if (sqlite3_exec(m_fremd, sql.toUtf8().constData(), nullptr, nullptr, &meldung) != SQLITE_OK) {
            const QString text = QString::fromUtf8(meldung);
            sqlite3_free(meldung);
            throw Fehler(QStringLiteral("Testdaten: %1 (%2)").arg(text, sql));
        }
    }

    /// First column of the first row that the other connection reads; null when none.
    QVariant wert(const QString& sql)
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_fremd, sql.toUtf8().constData(), -1, &st, nullptr);
        QVariant ergebnis;
        if (st && sqlite3_step(st) == SQLITE_ROW) {
            switch (sqlite3_column_type(st, 0)) {
            case SQLITE_INTEGER: ergebnis = qlonglong(sqlite3_column_int64(st, 0)); break;
            case SQLITE_FLOAT: ergebnis = sqlite3_column_double(st, 0); break;
            case SQLITE_TEXT: ergebnis = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); break;
            default: break;
            }
        }
        sqlite3_finalize(st);
        return ergebnis;
    }

    /// Damages the file where opening and reading the schema do not look: the last page, a page
    /// of table or index rows, gets a wrong count of fragmented bytes in its header.
    void letzteSeiteBeschaedigen()
    {
        QFile datei(pfad);
        if (!datei.open(QIODevice::ReadWrite))
            throw Fehler(QStringLiteral("Testdaten: %1 nicht zu öffnen").arg(pfad));
        const QByteArray kopf = datei.read(100);
        const int groesse = uchar(kopf[16]) << 8 | uchar(kopf[17]);
        const qint64 beginn = datei.size() - (groesse == 1 ? 65536 : groesse);
        datei.seek(beginn);
        const QByteArray seite = datei.read(8);
        const char art = seite[0];
        if (art != 2 && art != 5 && art != 10 && art != 13)
            throw Fehler(QStringLiteral("Testdaten: die letzte Seite ist keine Seite mit Zeilen"));
        datei.seek(beginn + 7);
        datei.write(QByteArray(1, char(uchar(seite[7]) ^ 0x21)));
    }

    /// Statuses with ranks 0..4 (IDs 1..5), two employees, two catalogue tasks and three
    /// projects: P1 with a finished and a running task, P2 with one new task, P3 without tasks.
    /// P2 is hidden from the edit view, P3 from the public view.
    void grunddaten()
    {
        fremd(QStringLiteral(
            "INSERT INTO Status (Stat_Bezeichnung, Stat_Rang) VALUES ('unbearbeitet', 0), ('in Arbeit', 1), "
            "('Rückfrage', 2), ('zeitkritisch', 3), ('erledigt', 4);"
            "INSERT INTO Personal (Nummer, Name, StdLohn) VALUES ('M1', 'Anna Groß', 21.5), ('M2', 'Bernd Öz', NULL);"
            "INSERT INTO Aufgaben (Aufg_Bezeichnung, Aufg_Mitarbeiter, Aufg_Status, Aufg_Prioritaet, [Select]) "
            "VALUES ('Aufmaß', 1, 1, 10, 0), ('Montage', 2, 1, 20, 0);"
            "INSERT INTO Projekt (Kommnr, Bezeichn, EV_Sichtbar, PV_Sichtbar, Last_Datum) VALUES "
            "('P1', 'Bäckerei Huber', 1, 1, '2024-03-01'), ('P2', 'Autohaus Schmid', 0, 1, '2024-01-15'), "
            "('P3', 'Gemeinde', 1, 0, NULL);"
            "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_bis, Mitarbeiter, Status_ID, Prioritaet) "
            "VALUES (1, 1, 'Aufmaß', '2024-02-01 00:00:00', 1, 5, 10), (1, 2, 'Montage', '2024-03-01 00:00:00', 2, 2, 20), "
            "(2, 1, 'Aufmaß', NULL, 1, 1, 10);"));
    }
};
