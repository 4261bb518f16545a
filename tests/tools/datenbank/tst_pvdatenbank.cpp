#include "Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

namespace {

struct Lauf
{
    int rc;
    QString fehler;
};

Lauf starten(const QStringList& argumente)
{
    QProcess prozess;
    prozess.start(QStringLiteral(PV_DATENBANKWERKZEUG), argumente);
    prozess.waitForFinished(60000);
    return {prozess.exitCode(), QString::fromUtf8(prozess.readAllStandardError())};
}

QByteArray pruefsumme(const QString& pfad)
{
    QFile datei(pfad);
    datei.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(datei.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TstPvDatenbank : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    QString m_demo;
    sqlite3* m_db = nullptr;

    QVariant wert(const QString& sql)
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr);
        QVariant ergebnis;
        if (st && sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
            ergebnis = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return ergebnis;
    }

private slots:
    void initTestCase()
    {
        m_demo = m_ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        const Lauf lauf = starten({QStringLiteral("--demo"), m_demo});
        QCOMPARE(lauf.rc, 0);
        QVERIFY(sqlite3_open_v2(QFile::encodeName(m_demo).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK);
    }

    void cleanupTestCase() { sqlite3_close(m_db); }

    void aufrufe()
    {
        QCOMPARE(starten({}).rc, 2);
        const QByteArray vorher = pruefsumme(m_demo);
        const Lauf nochmal = starten({m_demo});
        QCOMPARE(nochmal.rc, 1);
        QVERIFY2(nochmal.fehler.contains(QStringLiteral("gibt es schon; sie wird nicht überschrieben")), qPrintable(nochmal.fehler));
        QCOMPARE(pruefsumme(m_demo), vorher);

        const QString leer = m_ordner.filePath(QStringLiteral("LEER.MDB"));
        QCOMPARE(starten({leer}).rc, 0);
        QCOMPARE(QFile(leer).size() > 0, true);
    }

    void stammdaten()
    {
        QCOMPARE(wert(QStringLiteral("SELECT group_concat(Stat_Bezeichnung || ':' || Stat_Rang, ',') FROM "
                                     "(SELECT * FROM Status ORDER BY Stat_Rang)")).toString(),
                 QStringLiteral("unbearbeitet:0,in Arbeit:1,Rückfrage:2,zeitkritisch:3,erledigt:4"));
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Personal")).toInt(), 8);
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Aufgaben")).toInt(), 15);
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Aufgaben WHERE [Select] <> 0")).toInt(), 0);
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Projekt")).toInt(), 40);
    }

    // Tasks in every state, projects without tasks and projects hidden from either view.
    void projekteInAllenLagen()
    {
        QCOMPARE(wert(QStringLiteral("SELECT count(DISTINCT Status_ID) FROM ProjektAufgaben")).toInt(), 5);
        QVERIFY(wert(QStringLiteral("SELECT count(*) FROM Projekt WHERE ID NOT IN (SELECT Projekt_ID FROM ProjektAufgaben)")).toInt() > 0);
        QVERIFY(wert(QStringLiteral("SELECT count(*) FROM Projekt WHERE EV_Sichtbar = 0")).toInt() > 0);
        QVERIFY(wert(QStringLiteral("SELECT count(*) FROM Projekt WHERE PV_Sichtbar = 0")).toInt() > 0);
        QVERIFY(wert(QStringLiteral("SELECT count(*) FROM ProjektAufgabenSumme WHERE SummeRang = 4 * AnzahlAufgaben")).toInt() > 0);
        QVERIFY(wert(QStringLiteral("SELECT count(*) FROM ProjektAufgabenSumme WHERE SummeRang = 0")).toInt() > 0);
        // Every task names existing rows, so the report shows them all.
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM projektaufgaben p, status s, aufgaben a, personal m "
                                     "where (p.aufgabe_id = a.id) and (p.status_id = s.id) and (p.mitarbeiter = m.id)")),
                 wert(QStringLiteral("SELECT count(*) FROM ProjektAufgaben")));
    }

    void texteUndZusammenfassungPassen()
    {
        for (const Schema::Tabelle& tabelle : Schema::tabellen())
            for (const Schema::Spalte& spalte : tabelle.spalten)
                if (spalte.typ == TFieldType::ftString)
                    QVERIFY2(wert(QStringLiteral("SELECT ifnull(max(length([%1])), 0) FROM [%2]").arg(spalte.name, tabelle.name)).toInt()
                                 <= spalte.breite,
                             qPrintable(tabelle.name + QLatin1Char('.') + spalte.name));
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Projekt WHERE Betreff_ges <> trim(ifnull(Betreff1, '') || ' ' || "
                                     "ifnull(Betreff2, '') || ' ' || ifnull(Betreff3, '') || ' ' || ifnull(Betreff4, '') || ' ' || "
                                     "ifnull(Betreff5, ''))")).toInt(), 0);
        // The summary columns name the current task, as the program keeps them.
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM Projekt p WHERE EXISTS (SELECT 1 FROM Aufgaben_Aktuell a WHERE "
                                     "a.Projekt_ID = p.ID) AND p.Last_Aufgabe IS NOT (SELECT a.Aufgabe_ID FROM Aufgaben_Aktuell a "
                                     "WHERE a.Projekt_ID = p.ID ORDER BY a.Prioritaet LIMIT 1)")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TstPvDatenbank)
#include "tst_pvdatenbank.moc"
