#pragma once

#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "FehlerText.h"
#include "PostgresVerbindung.h"
#include "ServerWerkzeug.h"
#include "SqlText.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

// A fresh project database (made by the database tool) and a second connection to it that
// stands for another program (or office PC) working on the same data. The database is a file
// in a temporary folder, or, for the engine "Server", a database of its own on the test server
// that ctest starts (its address in PV_TEST_PGSERVER), dropped again at the end.
class TestDatenbank
{
    QTemporaryDir m_ordner;  // first: the path below lies in it
    sqlite3* m_fremd = nullptr;
    std::unique_ptr<PostgresVerbindung> m_server;

    static Serveradresse serverDerTests()
    {
        const std::optional<Serveradresse> adresse = ::testServer();
        if (!adresse)
            throw Fehler(QStringLiteral("Testdaten: kein Testserver (PV_TEST_PGSERVER='%1'); ctest startet ihn.")
                             .arg(qEnvironmentVariable("PV_TEST_PGSERVER")));
        return *adresse;
    }

    static QString neueServerDatenbank()
    {
        static int zaehler = 0;
        Serveradresse adresse = serverDerTests();
        adresse.name = QStringLiteral("pvtest_%1_%2").arg(QCoreApplication::applicationPid()).arg(++zaehler);
        DatenbankWerkzeug::anlegenAufServer(adresse);
        return adresse.text();
    }

public:
    /// The engines every test of the access layer runs on, as the global data of a test:
    /// column "server", rows "Datei" and "Server".
    static void motoren()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("Datei") << false;
        QTest::newRow("Server") << true;
    }

    /// The file engine's group_concat(x[, trenner]) as the server's string_agg.
    static QString verkettungFuerServer(QString text)
    {
        for (qsizetype anfang = text.indexOf(QLatin1String("group_concat("), 0, Qt::CaseInsensitive); anfang >= 0;
             anfang = text.indexOf(QLatin1String("group_concat("), anfang + 1, Qt::CaseInsensitive)) {
            const qsizetype innen = anfang + 13;
            int tiefe = 1;
            qsizetype komma = -1;
            qsizetype i = innen;
            bool inText = false;
            for (; i < text.size() && tiefe > 0; ++i) {
                const QChar c = text[i];
                if (c == QLatin1Char('\''))
                    inText = !inText;
                else if (inText)
                    continue;
                else if (c == QLatin1Char('('))
                    ++tiefe;
                else if (c == QLatin1Char(')'))
                    --tiefe;
                else if (c == QLatin1Char(',') && tiefe == 1)
                    komma = i;
            }
            const qsizetype ende = i - 1;  // the closing parenthesis
            const QString wert = text.mid(innen, (komma < 0 ? ende : komma) - innen);
            const QString trenner = komma < 0 ? QStringLiteral("','") : text.mid(komma + 1, ende - komma - 1).trimmed();
            text.replace(anfang, ende + 1 - anfang, QStringLiteral("string_agg((%1)::text, %2)").arg(wert, trenner));
        }
        return text;
    }

    /// The engine of the running test's global data row (see motoren).
    static bool serverDesTests()
    {
        QFETCH_GLOBAL(bool, server);
        return server;
    }

    explicit TestDatenbank(bool server = false)
        : pfad(server ? neueServerDatenbank() : m_ordner.filePath(QStringLiteral("PROJEKT.MDB")))
    {
        if (server) {
            m_server = std::make_unique<PostgresVerbindung>(*Serveradresse::lesen(pfad), 2000);
            return;
        }
        DatenbankWerkzeug::anlegen(pfad);
        sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_fremd, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_fremd, 2000);
    }
    ~TestDatenbank()
    {
        sqlite3_close(m_fremd);
        if (!m_server)
            return;
        const Serveradresse adresse = m_server->adresse();
        m_server.reset();
        Serveradresse wartung = adresse;
        wartung.name = QStringLiteral("postgres");
        const ServerDatenbankEntfernen entfernen{wartung, adresse.name};
    }
    TestDatenbank(const TestDatenbank&) = delete;
    TestDatenbank& operator=(const TestDatenbank&) = delete;

    /// The DatabaseName to open: the file's path or the server address.
    const QString pfad;

    bool server() const { return m_server != nullptr; }
    QString ordner() const { return m_ordner.path(); }

    /// Runs statements on the other connection; throws Fehler with the engine's message.
    void fremd(const QString& sql)
    {
        if (m_server) {
            m_server->roh(SqlText::fuerServer(sql).toUtf8());
            return;
        }
        char* meldung = nullptr;
        if (sqlite3_exec(m_fremd, sql.toUtf8().constData(), nullptr, nullptr, &meldung) != SQLITE_OK) {
            const QString text = QString::fromUtf8(meldung);
            sqlite3_free(meldung);
            throw Fehler(QStringLiteral("Testdaten: %1 (%2)").arg(text, sql));
        }
    }

    /// A rule of the database that refuses with the text "gesperrt" every `ereignis` ("INSERT",
    /// "UPDATE", "UPDATE OF Spalte") on `tabelle` where `wenn` holds (a condition on NEW).
    void sperre(const QString& ereignis, const QString& tabelle, const QString& wenn = QStringLiteral("TRUE"))
    {
        if (m_server)
            fremd(QStringLiteral("CREATE FUNCTION sperre() RETURNS trigger LANGUAGE plpgsql AS "
                                 "$$ BEGIN RAISE EXCEPTION 'gesperrt'; END $$;"
                                 "CREATE TRIGGER sperre BEFORE %1 ON %2 FOR EACH ROW WHEN (%3) EXECUTE FUNCTION sperre()")
                      .arg(ereignis, tabelle, wenn));
        else
            fremd(QStringLiteral("CREATE TRIGGER sperre BEFORE %1 ON %2 WHEN %3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END")
                      .arg(ereignis, tabelle, wenn == QLatin1String("TRUE") ? QStringLiteral("1") : wenn));
    }

    /// Takes the rule of sperre() away again.
    void sperreAufheben(const QString& tabelle)
    {
        fremd(m_server ? QStringLiteral("DROP TRIGGER sperre ON %1").arg(tabelle) : QStringLiteral("DROP TRIGGER sperre"));
    }

    /// First column of the first row that the other connection reads; null when none.
    QVariant wert(const QString& sql)
    {
        if (m_server) {
            // Dates as the file holds them, so that one expectation fits both.
            // The file engine's group_concat is the server's string_agg.
            // A sub-query in FROM needs a name there.
            static const QRegularExpression unterabfrage(QStringLiteral("(from\\s*\\(select [^)]*\\))\\s*$"),
                                                         QRegularExpression::CaseInsensitiveOption);
            QString text = verkettungFuerServer(sql);
            text.replace(unterabfrage, QStringLiteral("\\1 AS unterabfrage"));
            static const QRegularExpression hex(QStringLiteral("\\bhex\\(([^)]*)\\)"), QRegularExpression::CaseInsensitiveOption);
            text.replace(hex, QStringLiteral("upper(encode(convert_to((\\1)::text, 'UTF8'), 'hex'))"));
            text.replace(QStringLiteral("ifnull("), QStringLiteral("coalesce("), Qt::CaseInsensitive);
            const std::unique_ptr<AnweisungsKern> a = m_server->kern(text);
            QVariant w = a->schritt() ? a->wert(0) : QVariant();
            if (w.metaType().id() == QMetaType::QDate)
                w = w.toDate().toString(Qt::ISODate);
            else if (w.metaType().id() == QMetaType::QDateTime)
                w = w.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            return w;
        }
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
