#include "AlteDatenbank.h"
#include "Testdateien.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// pvdatenbank --uebernehmen ALT NEU: a line per table as it is done, the report, the exit code.
class TstPvDatenbankUebernahme : public QObject
{
    Q_OBJECT

    struct Lauf
    {
        int rc;
        QStringList aus;
        QString fehler;
    };

    static Lauf starten(const QStringList& argumente)
    {
        QProcess prozess;
        prozess.start(QStringLiteral(PV_DATENBANKWERKZEUG), argumente);
        prozess.waitForFinished(60000);
        return {prozess.exitCode(), QString::fromUtf8(prozess.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(prozess.readAllStandardError())};
    }

private slots:
    void uebernehmen()
    {
        QTemporaryDir ordner;
        const QString alt = ordner.filePath("ALT.MDB");
        const QString neu = ordner.filePath("NEU.MDB");
        AlteDatenbank::schreiben(alt);

        Lauf lauf = starten({"--uebernehmen", alt, neu});
        QCOMPARE(lauf.rc, 0);
        QCOMPARE(lauf.aus.mid(0, 5), QStringList({"Projekt: 3 Zeilen (3 von 15)", "ProjektAufgaben: 3 Zeilen (6 von 15)",
                                                 "Aufgaben: 2 Zeilen (8 von 15)", "Personal: 2 Zeilen (10 von 15)",
                                                 "Status: 5 Zeilen (15 von 15)"}));
        QVERIFY(lauf.aus[5].startsWith("Übernahme der Access-Datenbank"));
        QCOMPARE(lauf.aus.filter("  - ").size(), 2);
        const QByteArray ergebnis = Testdateien::lesen(neu);
        QVERIFY(ergebnis.startsWith("SQLite format 3"));

        // The new file is never overwritten; a cut Access file gives its message and no file.
        lauf = starten({"--uebernehmen", alt, neu});
        QCOMPARE(lauf.rc, 1);
        QVERIFY2(lauf.fehler.contains("gibt es schon"), qPrintable(lauf.fehler));
        QCOMPARE(Testdateien::lesen(neu), ergebnis);
        Testdateien::schreibenRoh(alt, Testdateien::lesen(alt).chopped(1000));
        lauf = starten({"--uebernehmen", alt, ordner.filePath("ZWEI.MDB")});
        QCOMPARE(lauf.rc, 1);
        QVERIFY2(lauf.fehler.contains("unvollständig"), qPrintable(lauf.fehler));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList({"ALT.MDB", "NEU.MDB"}));
    }
};

QTEST_GUILESS_MAIN(TstPvDatenbankUebernahme)
#include "tst_pvdatenbank_uebernahme.moc"
