#include "Fehler.h"
#include "IniRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

void setze16(QByteArray& d, int pos, quint16 wert) { qToLittleEndian(wert, d.data() + pos); }
void setze32(QByteArray& d, int pos, quint32 wert) { qToLittleEndian(wert, d.data() + pos); }

struct PeArt
{
    bool pe32plus = false;
    bool mitVersion = true;
    quint32 signatur = 0xFEEF04BD;
    quint32 name = 1;   // resource compilers use 1; some tools another number
};

// A minimal Windows program file: headers, one resource section with an icon resource (type 3)
// and, if wanted, a version resource (type 16, name 1, language 0x407) whose product version
// is 'produkt' and whose file version is 9.9.9.9.
QByteArray peDatei(const PeArt& art, const quint16 (&produkt)[4])
{
    QByteArray d(0x800, '\0');
    d[0] = 'M';
    d[1] = 'Z';
    setze32(d, 0x3C, 0x80);
    d.replace(0x80, 4, QByteArray("PE\0\0", 4));
    const int coff = 0x84;
    const int optGroesse = art.pe32plus ? 240 : 224;
    setze16(d, coff + 0, art.pe32plus ? 0x8664 : 0x014C);
    setze16(d, coff + 2, 1);   // one section
    setze16(d, coff + 16, optGroesse);
    setze16(d, coff + 18, 0x0102);
    const int opt = coff + 20;
    const int verzeichnisse = art.pe32plus ? 112 : 96;
    setze16(d, opt, art.pe32plus ? 0x20B : 0x10B);
    setze32(d, opt + verzeichnisse - 4, 16);
    setze32(d, opt + verzeichnisse + 16, 0x1000);   // resource directory RVA
    setze32(d, opt + verzeichnisse + 20, 0x300);
    const int abschnitt = opt + optGroesse;
    d.replace(abschnitt, 8, QByteArray(".rsrc\0\0\0", 8));
    setze32(d, abschnitt + 8, 0x300);    // virtual size
    setze32(d, abschnitt + 12, 0x1000);  // virtual address
    setze32(d, abschnitt + 16, 0x400);   // raw size
    setze32(d, abschnitt + 20, 0x400);   // raw position

    const int r = 0x400;   // resource section; offsets below are relative to it
    const auto verzeichnis = [&](int pos, QList<QPair<quint32, quint32>> eintraege) {
        setze16(d, r + pos + 14, quint16(eintraege.size()));
        for (int i = 0; i < eintraege.size(); ++i) {
            setze32(d, r + pos + 16 + 8 * i, eintraege[i].first);
            setze32(d, r + pos + 20 + 8 * i, eintraege[i].second);
        }
    };
    const quint32 unter = 0x80000000u;
    QList<QPair<quint32, quint32>> typen = {{3, unter | 0x20}};
    if (art.mitVersion)
        typen.append({16, unter | 0x60});
    verzeichnis(0x00, typen);
    // The icon resource, whose data is no version block.
    verzeichnis(0x20, {{1, unter | 0x38}});
    verzeichnis(0x38, {{0x407, 0x50}});
    setze32(d, r + 0x50, 0x1000 + 0x100);
    setze32(d, r + 0x54, 92);
    d.replace(r + 0x100, 92, QByteArray(92, '\x5A'));
    // The version resource.
    verzeichnis(0x60, {{art.name, unter | 0x78}});
    verzeichnis(0x78, {{0x407, 0x90}});
    setze32(d, r + 0x90, 0x1000 + 0x200);
    setze32(d, r + 0x94, 92);
    const int v = r + 0x200;
    setze16(d, v + 0, 92);   // length
    setze16(d, v + 2, 52);   // value length
    const QString schluessel = QStringLiteral("VS_VERSION_INFO");
    for (int i = 0; i < schluessel.size(); ++i)
        setze16(d, v + 6 + 2 * i, schluessel.at(i).unicode());
    const int f = v + 40;
    setze32(d, f + 0, art.signatur);
    setze32(d, f + 4, 0x00010000);
    setze32(d, f + 8, 0x00090009);
    setze32(d, f + 12, 0x00090009);
    setze32(d, f + 16, quint32(produkt[0]) << 16 | produkt[1]);
    setze32(d, f + 20, quint32(produkt[2]) << 16 | produkt[3]);
    return d;
}

} // namespace

class TestDateiVersion : public QObject
{
    Q_OBJECT

private slots:
    void dateiVersion_data()
    {
        QTest::addColumn<QString>("fall");       // "datei": write 'inhalt'; else a special file
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("erwartet");   // empty: no version information

        PeArt pe32, pe64, ohne, falsch, anderName;
        pe64.pe32plus = true;
        anderName.name = 102;
        ohne.mitVersion = false;
        falsch.signatur = 0xFEEF04BE;
        QTest::newRow("PE32") << "datei" << peDatei(pe32, {1, 2, 3, 4}) << "1.2.3.4";
        QTest::newRow("PE32+ mit großen Zahlen") << "datei" << peDatei(pe64, {65535, 0, 300, 4}) << "65535.0.300.4";
        QTest::newRow("Versionsressource mit anderem Namen") << "datei" << peDatei(anderName, {5, 6, 7, 8}) << "5.6.7.8";
        QTest::newRow("PE ohne Versionsressource") << "datei" << peDatei(ohne, {1, 2, 3, 4}) << "";
        QTest::newRow("PE mit falscher Signatur") << "datei" << peDatei(falsch, {1, 2, 3, 4}) << "";
        QTest::newRow("abgeschnittene PE-Datei") << "datei" << peDatei(pe32, {1, 2, 3, 4}).left(0x600) << "";
        QTest::newRow("nur MZ") << "datei" << QByteArray("MZ") << "";
        QTest::newRow("Textdatei") << "datei" << QByteArray("[Programm]\r\nVersion=1.2.3.4\r\n") << "";
        QTest::newRow("leere Datei") << "datei" << QByteArray("") << "";
        QTest::newRow("Datei fehlt") << "fehlt" << QByteArray() << "";
        QTest::newRow("Ordner") << "ordner" << QByteArray() << "";
        QTest::newRow("ELF ohne Versionssatz") << "testprogramm" << QByteArray() << "";
        QTest::newRow("unser Programm") << "programm" << QByteArray() << PV_PROGRAMMVERSION;
    }
    void dateiVersion()
    {
        QFETCH(QString, fall);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, erwartet);
        QTemporaryDir ordner;
        QString pfad = ordner.filePath("PROJEKT.EXE");
        if (fall == "datei") {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(inhalt);
        } else if (fall == "ordner") {
            QVERIFY(QDir(ordner.path()).mkdir("PROJEKT.EXE"));
        } else if (fall == "testprogramm") {
            pfad = QCoreApplication::applicationFilePath();
        } else if (fall == "programm") {
            pfad = QStringLiteral(PV_PROGRAMM);
        }
        try {
            const QString version = DateiVersion(pfad);
            QVERIFY2(!erwartet.isEmpty(), qPrintable(version));
            QCOMPARE(version, erwartet);
        } catch (const Fehler& f) {
            QVERIFY2(erwartet.isEmpty(), qPrintable(f.text()));
            QCOMPARE(f.text(), QStringLiteral("File contains no version information"));
        }
    }
};

QTEST_GUILESS_MAIN(TestDateiVersion)

#include "tst_dateiversion.moc"
