#include "DatenbankWerkzeug.h"
#include "Datensicherung.h"
#include "Fehler.h"
#include "Testdateien.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sqlite3.h>

#include <atomic>

// Daily copies of a real project database: taken while another connection writes, kept for 14
// days, checked, and put back with the current file kept.
class TestDatensicherung : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sicherungWaehrendGeschriebenWird();
    void vierzehnTageBleiben();
    void zurueckspielenBehaeltBisherige();
    void beschaedigteKopieWirdAbgelehnt();
    void ordnerNichtAnlegbar();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    static qint64 anzahl(const QString& datei, const char* sql);

    std::unique_ptr<QTemporaryDir> m_ordner;
};

qint64 TestDatensicherung::anzahl(const QString& datei, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(datei).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    const qint64 n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return n;
}

void TestDatensicherung::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    DatenbankWerkzeug::anlegen(pfad("PROJEKT.MDB"));
    DatenbankWerkzeug::demoDatenEinfuegen(pfad("PROJEKT.MDB"), 12, QDate(2024, 5, 6));
}

// Another connection commits row after row while copies are taken: each copy is sound and holds
// every row committed before it began.
void TestDatensicherung::sicherungWaehrendGeschriebenWird()
{
    std::atomic<bool> fertig = false;
    std::atomic<qint64> festgeschrieben = 0;
    const QString datei = pfad("PROJEKT.MDB");
    QThread* schreiber = QThread::create([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(datei).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
        for (int i = 0; i < 400 && !fertig; ++i) {
            const QByteArray sql = "INSERT INTO Personal (Name) VALUES ('Schreiber " + QByteArray::number(i) + "')";
            if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
                ++festgeschrieben;
        }
        sqlite3_close(db);
    });
    const qint64 vorher = anzahl(datei, "SELECT count(*) FROM Personal");
    schreiber->start();
    Datensicherung sicherung(datei);
    for (int tag = 1; tag <= 5; ++tag) {
        const qint64 mindestens = vorher + festgeschrieben;
        const QString kopie = sicherung.sichern(QDate(2026, 12, tag));
        Datensicherung::pruefen(kopie);
        QVERIFY(anzahl(kopie, "SELECT count(*) FROM Personal") >= mindestens);
        QCOMPARE(anzahl(kopie, "SELECT count(*) FROM Projekt"), 12);
    }
    fertig = true;
    schreiber->wait();
    delete schreiber;
    QVERIFY(festgeschrieben > 0);
    QVERIFY(!QFile::exists(sicherung.ordner() + "/PROJEKT-2026-12-05.MDB.neu"));
}

void TestDatensicherung::vierzehnTageBleiben()
{
    Datensicherung sicherung(pfad("PROJEKT.MDB"));
    QCOMPARE(sicherung.ordner(), pfad("Sicherung"));
    for (int tag = 1; tag <= 15; ++tag)
        sicherung.sichern(QDate(2026, 11, tag));
    sicherung.sichern(QDate(2026, 11, 15));   // the same day again replaces its copy
    const auto kopien = sicherung.kopien();
    QCOMPARE(kopien.size(), 14);
    QCOMPARE(kopien.first().tag, QDate(2026, 11, 15));
    QCOMPARE(kopien.last().tag, QDate(2026, 11, 2));
    QVERIFY(kopien.first().groesse > 0);
    QVERIFY(sicherung.gesichertAm(QDate(2026, 11, 2)));
    QVERIFY(!sicherung.gesichertAm(QDate(2026, 11, 1)));
    // Files of people in the folder are not copies and stay.
    Testdateien::schreibenRoh(pfad("Sicherung/Notiz.txt"), "bitte aufheben");
    sicherung.sichern(QDate(2026, 11, 16));
    QVERIFY(QFile::exists(pfad("Sicherung/Notiz.txt")));
}

void TestDatensicherung::zurueckspielenBehaeltBisherige()
{
    Datensicherung sicherung(pfad("PROJEKT.MDB"));
    const QString kopie = sicherung.sichern(QDate(2026, 12, 1));
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(pfad("PROJEKT.MDB")).constData(), &db);
        QCOMPARE(sqlite3_exec(db, "DELETE FROM ProjektAufgaben; DELETE FROM Projekt", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const QString bisher = sicherung.zurueckspielen(kopie);
    QCOMPARE(anzahl(pfad("PROJEKT.MDB"), "SELECT count(*) FROM Projekt"), 12);
    QVERIFY(bisher.contains("PROJEKT-vor-Ruecksicherung-"));
    QCOMPARE(anzahl(bisher, "SELECT count(*) FROM Projekt"), 0);
    QVERIFY(QFile::exists(kopie));
}

void TestDatensicherung::beschaedigteKopieWirdAbgelehnt()
{
    Datensicherung sicherung(pfad("PROJEKT.MDB"));
    const QString kopie = sicherung.sichern(QDate(2026, 12, 2));
    QByteArray inhalt = Testdateien::lesen(kopie);
    for (qsizetype i = 4096; i < inhalt.size(); i += 211)
        inhalt[i] = char(inhalt[i] ^ 0xA5);
    Testdateien::schreibenRoh(kopie, inhalt);
    const QByteArray datenbank = Testdateien::lesen(pfad("PROJEKT.MDB"));
    QVERIFY_THROWS_EXCEPTION(Fehler, Datensicherung::pruefen(kopie));
    try {
        sicherung.zurueckspielen(kopie);
        QFAIL("eine beschädigte Kopie wurde zurückgespielt");
    } catch (const Fehler& f) {
        QVERIFY(f.text().contains("beschädigt"));
    }
    QCOMPARE(Testdateien::lesen(pfad("PROJEKT.MDB")), datenbank);
    QCOMPARE(QDir(m_ordner->path()).entryList({"*vor-Ruecksicherung*"}).size(), 0);
    // A sound file that is no project database is no copy to put back either.
    Testdateien::schreibenRoh(pfad("leer.MDB"), {});
    QVERIFY_THROWS_EXCEPTION(Fehler, Datensicherung::pruefen(pfad("leer.MDB")));
}

// A folder that cannot be made: a German message, and the database is not touched.
void TestDatensicherung::ordnerNichtAnlegbar()
{
    Testdateien::schreibenRoh(pfad("datei"), "kein Ordner");
    Datensicherung sicherung(pfad("PROJEKT.MDB"), pfad("datei/Sicherung"));
    try {
        sicherung.sichern(QDate(2026, 12, 3));
        QFAIL("ohne Ordner gesichert");
    } catch (const Fehler& f) {
        QCOMPARE(f.text(), QStringLiteral("Der Ordner %1 für die Datensicherung kann nicht angelegt werden.").arg(pfad("datei/Sicherung")));
    }
}

QTEST_MAIN(TestDatensicherung)
#include "tst_datensicherung.moc"
