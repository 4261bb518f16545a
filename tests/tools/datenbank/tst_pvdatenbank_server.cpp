#include "Schema.h"
#include "Serveradresse.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The database tool and a PostgreSQL server: a database made there, a file moved there with
// every row, compared through the sqlite3 and psql shells.
namespace {

struct Lauf
{
    int rc;
    QString ausgabe;
    QString fehler;
};

Lauf starten(const QString& programm, const QStringList& argumente)
{
    QProcess prozess;
    prozess.start(programm, argumente);
    if (!prozess.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("%1 lief nicht zu Ende").arg(programm)};
    return {prozess.exitCode(), QString::fromUtf8(prozess.readAllStandardOutput()),
            QString::fromUtf8(prozess.readAllStandardError())};
}

Lauf werkzeug(const QStringList& argumente)
{
    return starten(QStringLiteral(PV_DATENBANKWERKZEUG), argumente);
}

// The fields of CSV lines as both shells write them (they quote differently).
QList<QStringList> csvZeilen(const QString& text)
{
    QList<QStringList> zeilen;
    QStringList felder;
    QString feld;
    bool inAnfuehrung = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inAnfuehrung) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                feld += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inAnfuehrung = false;
            } else {
                feld += c;
            }
        } else if (c == QLatin1Char('"')) {
            inAnfuehrung = true;
        } else if (c == QLatin1Char(',')) {
            felder << feld;
            feld.clear();
        } else if (c == QLatin1Char('\n')) {
            felder << feld;
            zeilen << felder;
            felder.clear();
            feld.clear();
        } else if (c != QLatin1Char('\r')) {
            feld += c;
        }
    }
    return zeilen;
}

// The same value: equal text, or equal numbers written differently ("22.0" and "22").
bool gleich(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA);
    const double y = b.toDouble(&okB);
    return okA && okB && x == y;
}

} // namespace

class TstPvDatenbankServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    Serveradresse m_basis;
    int m_nummer = 0;

    Serveradresse neueAdresse()
    {
        Serveradresse a = m_basis;
        a.name = QStringLiteral("pvwerkzeug_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_nummer);
        return a;
    }

    QString psql(const Serveradresse& adresse, const QString& sql)
    {
        const Lauf lauf = starten(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("--csv"),
                                                           QStringLiteral("-t"), adresse.text(), QStringLiteral("-c"), sql});
        if (lauf.rc != 0)
            qWarning("psql: %s", qUtf8Printable(lauf.fehler));
        return lauf.ausgabe;
    }

private slots:
    void initTestCase()
    {
        const std::optional<Serveradresse> basis = Serveradresse::lesen(qEnvironmentVariable("PV_TEST_PGSERVER"));
        QVERIFY2(basis, "kein Testserver (PV_TEST_PGSERVER); ctest startet ihn");
        m_basis = *basis;
    }

    // A file with the demo data moved to the server: every row of every table the same, the
    // IDs kept, and new rows numbered on after the highest.
    void kopierenRundreise()
    {
        const QString datei = m_ordner.filePath(QStringLiteral("RUNDREISE.MDB"));
        QCOMPARE(werkzeug({QStringLiteral("--demo"), datei}).rc, 0);
        const Serveradresse ziel = neueAdresse();
        const Lauf lauf = werkzeug({QStringLiteral("--kopieren"), datei, ziel.text()});
        QVERIFY2(lauf.rc == 0, qPrintable(lauf.fehler));
        QVERIFY2(lauf.ausgabe.contains(QStringLiteral("Projekt: 40 Zeilen")), qPrintable(lauf.ausgabe));

        for (const Schema::Tabelle& t : Schema::tabellen()) {
            const Lauf sqlite = starten(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), datei,
                                                                    QStringLiteral("SELECT * FROM [%1] ORDER BY ID").arg(t.name)});
            QCOMPARE(sqlite.rc, 0);
            const QList<QStringList> erwartet = csvZeilen(sqlite.ausgabe);
            const QList<QStringList> gelesen = csvZeilen(psql(ziel, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(t.name)));
            QVERIFY2(!erwartet.isEmpty(), qPrintable(t.name));
            QCOMPARE(gelesen.size(), erwartet.size());
            for (qsizetype z = 0; z < erwartet.size(); ++z) {
                QCOMPARE(gelesen[z].size(), erwartet[z].size());
                for (qsizetype f = 0; f < erwartet[z].size(); ++f)
                    QVERIFY2(gleich(gelesen[z][f], erwartet[z][f]),
                             qPrintable(QStringLiteral("%1 Zeile %2 Spalte %3: '%4' statt '%5'")
                                            .arg(t.name)
                                            .arg(z + 1)
                                            .arg(t.spalten[size_t(f)].name, gelesen[z][f], erwartet[z][f])));
            }
        }
        const QString hoechste = psql(ziel, QStringLiteral("SELECT max(id) FROM projekt")).trimmed();
        QCOMPARE(psql(ziel, QStringLiteral("INSERT INTO projekt (kommnr) VALUES ('neu') RETURNING id")).trimmed(),
                 QString::number(hoechste.toInt() + 1));

        // A second copy to the same database refuses and changes nothing.
        const Lauf nochmal = werkzeug({QStringLiteral("--kopieren"), datei, ziel.text()});
        QCOMPARE(nochmal.rc, 1);
        QVERIFY2(nochmal.fehler.contains(QStringLiteral("enthält schon eine Projektdatenbank")), qPrintable(nochmal.fehler));
        QCOMPARE(psql(ziel, QStringLiteral("SELECT count(*) FROM projekt")).trimmed(), QStringLiteral("41"));
    }

    void anlegenAufDemServer_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("projekte");   // count on the server; empty: no database
        QTest::addColumn<QString>("meldung");
        QTest::newRow("leer") << QStringList{QStringLiteral("--server"), QStringLiteral("%1")} << 0 << "0" << QString();
        QTest::newRow("mit Beispieldaten") << QStringList{QStringLiteral("--server"), QStringLiteral("%1"), QStringLiteral("--demo"),
                                                          QStringLiteral("--projekte"), QStringLiteral("12")}
                                           << 0 << "12" << QString();
        QTest::newRow("Adresse ohne Datenbank") << QStringList{QStringLiteral("--server"), QStringLiteral("postgresql://x@host/")}
                                                << 2 << "" << "keine vollständige Serveradresse";
        QTest::newRow("Datei und Server zugleich")
            << QStringList{QStringLiteral("--server"), QStringLiteral("%1"), QStringLiteral("PROJEKT.MDB")} << 2 << ""
            << "Mit --server wird keine Datei angegeben.";
    }
    void anlegenAufDemServer()
    {
        QFETCH(QStringList, argumente);
        QFETCH(int, rc);
        QFETCH(QString, projekte);
        QFETCH(QString, meldung);
        const Serveradresse ziel = neueAdresse();
        for (QString& a : argumente)
            a.replace(QStringLiteral("%1"), ziel.text());
        const Lauf lauf = werkzeug(argumente);
        QVERIFY2(lauf.rc == rc, qPrintable(lauf.fehler));
        QVERIFY2(lauf.fehler.contains(meldung), qPrintable(lauf.fehler));
        if (!projekte.isEmpty()) {
            QCOMPARE(psql(ziel, QStringLiteral("SELECT count(*) FROM projekt")).trimmed(), projekte);
            // Tables, stored queries and the change notes are all there.
            QCOMPARE(psql(ziel, QStringLiteral("SELECT count(*) FROM aufgaben_aktuell WHERE false")).trimmed(), QStringLiteral("0"));
            QCOMPARE(psql(ziel, QStringLiteral("SELECT count(*) FROM projektaufgabensumme WHERE false")).trimmed(), QStringLiteral("0"));
            QCOMPARE(psql(ziel, QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname LIKE 'projektaenderung%'")).trimmed(),
                     QStringLiteral("3"));
        }
    }

    void cleanupTestCase()
    {
        Serveradresse wartung = m_basis;
        for (int i = 1; i <= m_nummer; ++i)
            psql(wartung, QStringLiteral("DROP DATABASE IF EXISTS pvwerkzeug_%1_%2 WITH (FORCE)").arg(QCoreApplication::applicationPid()).arg(i));
    }
};

QTEST_GUILESS_MAIN(TstPvDatenbankServer)
#include "tst_pvdatenbank_server.moc"
