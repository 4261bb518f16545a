// The dump tool an administrator runs on the ERP file before an import.

#include "ErpDemoDaten.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestBtrieveDump : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;

    QString dump(const QStringList& argumente, int* exitCode = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(BTRIEVEDUMP), argumente);
        if (!p.waitForFinished(60000))
            return {};
        if (exitCode)
            *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void erpDatei()
    {
        const QString pfad = m_ordner.filePath(QStringLiteral("ZT_FKT_1.DAT"));
        QString fehler;
        QVERIFY2(erpdemo::erpDateiSchreiben(pfad, erpdemo::demoProjekte(), fehler), qPrintable(fehler));
        int code = -1;
        const QString text = dump({QStringLiteral("-k"), QStringLiteral("6"), QStringLiteral("-n"), QStringLiteral("2"), pfad}, &code);
        QCOMPARE(code, 0);
        for (const char* zeile : {"Format: 6.x (Versionswort 0x0600)", "Seitengröße: 4096", "Satzlänge: 2184",
                                  "Sätze: 60", "Schlüssel: 7", "Schlüssel 6: Länge 11",
                                  "  Segment 1: Offset 16 (Position 17), Länge 11, lstring", "Sätze nach Schlüssel 6: 60",
                                  "Satz 1, Adresse", "Satz 2, Adresse"})
            QVERIFY2(text.contains(QString::fromUtf8(zeile)), zeile);
        QVERIFY(!text.contains(QStringLiteral("Satz 3, Adresse")));
        // Hex and text, the text read in the DOS code page.
        QVERIFY(text.contains(QStringLiteral("  0000  05 31 30 30 31 30 00")));
        QVERIFY(text.contains(QStringLiteral("Bäckerei")));
        QVERIFY(text.contains(QStringLiteral("7 32 33 2d 30 31 30 31")));   // the smallest project number, 23-0101
    }

    void keineBtrieveDatei()
    {
        const QString pfad = m_ordner.filePath(QStringLiteral("text.dat"));
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        int code = -1;
        QVERIFY(dump({pfad}, &code).startsWith(QStringLiteral("Status 30: keine Btrieve-Kennung")));
        QCOMPARE(code, 1);
        QVERIFY(dump({m_ordner.filePath(QStringLiteral("fehlt.dat"))}, &code).contains(QStringLiteral("Status 12")));
        QCOMPARE(code, 1);
    }
};

QTEST_GUILESS_MAIN(TestBtrieveDump)
#include "tst_btrievedump.moc"
