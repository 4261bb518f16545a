// The ERP file access: record layout and text conversion, and the calling sequence with its
// status reports, on real Btrieve files written by the demo generator.

#include "ErpDemoDaten.h"
#include "IniRecord.h"
#include "MasterDatei.h"
#include "MeldungsRecorder.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(std::optional<QDate>)

namespace {
QByteArray b(const char* s, int n = -1) { return n < 0 ? QByteArray(s) : QByteArray(s, n); }

QByteArray ole(double tage)
{
    QByteArray d(8, 0);
    std::memcpy(d.data(), &tage, 8);
    return d;
}

QString kommnr(const TMasterProjekt& p) { return p.wert(QStringLiteral("Kommnr")).toString(); }
} // namespace

class TestErp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;

    // A data directory holding ZT_FKT_1.DAT with these records.
    QString erpOrdner(const QString& name, const std::vector<erpdemo::ErpSatz>& saetze)
    {
        QDir(m_ordner.path()).mkpath(name);
        const QString ordner = m_ordner.filePath(name);
        QString fehler;
        if (!erpdemo::erpDateiSchreiben(ordner + QStringLiteral("/ZT_FKT_1.DAT"), saetze, fehler))
            qWarning() << fehler;
        return ordner;
    }

private slots:
    void oemNachAnsi_data()
    {
        QTest::addColumn<QByteArray>("dos");
        QTest::addColumn<QByteArray>("ansi");
        QTest::newRow("leer") << QByteArray() << QByteArray();
        QTest::newRow("ASCII bleibt") << b("Hauptstr. 12, 79098 Freiburg") << b("Hauptstr. 12, 79098 Freiburg");
        QTest::newRow("alle neun") << b("\x81\x84\x8E\x94\x99\x9A\xE1\xFC\xFD") << b("\xFC\xE4\xC4\xF6\xD6\xDC\xDF\xB3\xB2");
        QTest::newRow("129 und 252: nicht doppelt") << b("\x81\xFC") << b("\xFC\xB3");
        QTest::newRow("Ersatz wird nicht erneut ersetzt") << b("M\x81ller \xFC\xFC") << b("M\xFCller \xB3\xB3");
        QTest::newRow("andere DOS-Zeichen bleiben") << b("\x82\x87\xB3\xC4\xE4\xFE") << b("\x82\x87\xB3\xC4\xE4\xFE");
        QTest::newRow("Nullbyte bleibt") << b("a\0\x94", 3) << b("a\0\xF6", 3);
    }

    void oemNachAnsi()
    {
        QFETCH(QByteArray, dos);
        QFETCH(QByteArray, ansi);
        QCOMPARE(OemNachAnsi(dos), ansi);
        QCOMPARE(OemNachAnsi(dos).size(), dos.size());
    }

    void masterProjekt_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVariant>("wert");
        const QDateTime neujahr(QDate(2024, 1, 1), QTime(18, 0));
        QTest::newRow("Projektnummer") << "Kommnr" << 16 << b("\x07" "24-0101") << QVariant(QStringLiteral("24-0101"));
        QTest::newRow("Rest hinter der Länge zählt nicht") << "Kommnr" << 16 << b("\x03" "ABCxyz") << QVariant(QStringLiteral("ABC"));
        QTest::newRow("Länge über den Platz hinaus") << "Kommnr" << 16 << b("\xC8" "0123456789ABCDEF") << QVariant(QStringLiteral("0123456789"));
        QTest::newRow("Länge 0") << "Bezeichn" << 68 << b("\x00" "Alt", 4) << QVariant(QString());
        QTest::newRow("Kunde mit DOS-ü") << "Bezeichn" << 68 << b("\x0B" "M\x81ller & S\x94hne") << QVariant(QStringLiteral("Müller & Sö"));
        QTest::newRow("Bemerkung mit ³ und ²") << "Bemerkung" << 1442 << b("\x0C" "3 m\xFC, 12 m\xFD." "\xAA") << QVariant(QStringLiteral("3 m³, 12 m²."));
        QTest::newRow("Straße mit DOS-ß") << "Strasse" << 203 << b("\x08" "Stra\xE1" "e 1") << QVariant(QStringLiteral("Straße 1"));
        QTest::newRow("Konto ohne Umsetzung") << "Konto" << 0 << b("\x02" "A\x81") << QVariant(QStringLiteral("A\u0081"));
        QTest::newRow("Betreff 5 am Ende des Blocks") << "Betreff5" << 501 << b("\x32" "12345678901234567890123456789012345678901234567890")
                                                    << QVariant(QStringLiteral("12345678901234567890123456789012345678901234567890"));
        QTest::newRow("Baustelle") << "Baustelle" << 1250 << b("\x0A" "Im Gr\x81n 8 ") << QVariant(QStringLiteral("Im Grün 8 "));
        QTest::newRow("Datumstext") << "Datum" << 99 << b("\x0A" "05.03.2024") << QVariant(QStringLiteral("05.03.2024"));
        QTest::newRow("kurzer Datumstext") << "Termin" << 1424 << b("\x08" "30.06.25") << QVariant(QStringLiteral("30.06.25"));
        QTest::newRow("Teilrechnung negativ") << "TRechNr" << 1160 << b("\xFE") << QVariant(-2);
        QTest::newRow("Kostenstelle") << "Kostenstelle" << 1573 << b("\x2C\x01\x00\x00", 4) << QVariant(300);
        QTest::newRow("Kostenstelle negativ") << "Kostenstelle" << 1573 << b("\xFF\xFF\xFF\xFF") << QVariant(-1);
        QTest::newRow("OLE-Datum mit Uhrzeit") << "RechDate" << 1930 << ole(45292.75) << QVariant(neujahr);
        QTest::newRow("OLE-Datum 1") << "MontageDate" << 1975 << ole(1.0) << QVariant(QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
        QTest::newRow("OLE-Datum 0: keins") << "AngDate" << 1938 << ole(0.0) << QVariant();
        QTest::newRow("OLE-Datum negativ: keins") << "AuftrDate" << 1946 << ole(-3.5) << QVariant();
        QTest::newRow("OLE-Datum ungültig: keins") << "GutschrDate" << 1954 << ole(std::nan("")) << QVariant();
    }

    void masterProjekt()
    {
        QFETCH(QString, feld);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QVariant, wert);
        const TMasterFeld* f = MasterFeld(feld);
        QVERIFY(f);
        QCOMPARE(f->Offset, offset);
        TMasterProjekt p;
        p.Daten.fill(0xAA);   // bytes that are not read must not matter
        std::memcpy(p.Daten.data() + offset, bytes.constData(), size_t(bytes.size()));
        QCOMPARE(p.wert(*f), wert);
    }

    // The fields are where the layout puts them: no overlap, all inside the record.
    void felder()
    {
        int ende = 0;
        int spalten = 0;
        for (const TMasterFeld& f : MasterFelder()) {
            QVERIFY2(f.Offset >= ende, f.Feld);
            ende = f.Offset + f.Spanne;
            spalten += f.Spalte ? 1 : 0;
        }
        QVERIFY(ende <= TMasterProjekt::Laenge);
        QCOMPARE(spalten, 4);
        QCOMPARE(QString::fromLatin1(MasterFeld(QStringLiteral("Betreff1"))->Spalte), QStringLiteral("BETREFF"));
    }

    void kurzdatum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QDate>>("datum");
        QTest::newRow("lang") << "05.03.2024" << std::optional<QDate>(QDate(2024, 3, 5));
        QTest::newRow("kurz") << "5.3.24" << std::optional<QDate>(QDate(2024, 3, 5));
        QTest::newRow("29 ist 2029") << "31.12.29" << std::optional<QDate>(QDate(2029, 12, 31));
        QTest::newRow("30 ist 1930") << "01.01.30" << std::optional<QDate>(QDate(1930, 1, 1));
        QTest::newRow("Leerzeichen") << " 05.03.2024 " << std::optional<QDate>(QDate(2024, 3, 5));
        QTest::newRow("leer") << "" << std::optional<QDate>();
        QTest::newRow("kein Tag") << "31.02.2024" << std::optional<QDate>();
        QTest::newRow("anderes Format") << "2024-03-05" << std::optional<QDate>();
    }

    void kurzdatum()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<QDate>, datum);
        QCOMPARE(KurzdatumNachDatum(text), datum);
    }

    // Open, first, next until 9, equal, close, stop, as the search dialog calls them.
    void ablauf()
    {
        const auto projekte = erpdemo::demoProjekte();
        IniRecord.MasterVerzeichnis = erpOrdner(QStringLiteral("demo"), projekte);
        QStringList erwartet;
        for (const auto& p : projekte) {
            TMasterProjekt t;
            std::memcpy(t.Daten.data(), p.bytes().data(), TMasterProjekt::Laenge);
            erwartet << kommnr(t);
        }
        erwartet.sort();

        MeldungsRecorder meldungen;
        MasterSchluessel = 6;
        QCOMPARE(MasterDateiOeffnen(), int16_t(0));
        QCOMPARE(BtrieveStatus, int16_t(0));
        QCOMPARE(BtrieveClientId[12], uint8_t('M'));
        QCOMPARE(BtrieveClientId[13], uint8_t('T'));
        QCOMPARE(BtrieveClientId[14], uint8_t(50));
        QCOMPARE(BtrieveClientId[15], uint8_t(0));
        QCOMPARE(std::count(BtrieveClientId.begin(), BtrieveClientId.begin() + 12, 0), 12);

        QStringList gelesen;
        BtrieveStatus = MasterErsterSatz(MasterSchluessel);
        BtrieveFehlerMelden();
        while (BtrieveStatus == 0) {
            gelesen << kommnr(MasterSatz);
            BtrieveStatus = MasterNaechsterSatz();
            if (BtrieveStatus != 9)
                BtrieveFehlerMelden();
        }
        QCOMPARE(BtrieveStatus, int16_t(9));
        QCOMPARE(gelesen, erwartet);

        // Found by the number as the list shows it, and by the record's own bytes.
        QCOMPARE(MasterSatzSuchen(erwartet[17], 6), int16_t(0));
        QCOMPARE(kommnr(MasterSatz), erwartet[17]);
        QCOMPARE(MasterSatzSuchen(QByteArray("23-0105"), 6), int16_t(0));
        QCOMPARE(kommnr(MasterSatz), QStringLiteral("23-0105"));
        QCOMPARE(MasterSatz.wert(QStringLiteral("Bezeichn")).toString(), QStringLiteral("Metzgerei Günther"));
        // Get Next goes on after the record Get Equal found.
        QCOMPARE(MasterNaechsterSatz(), int16_t(0));
        QCOMPARE(kommnr(MasterSatz), QStringLiteral("23-0106"));
        QCOMPARE(MasterSatzSuchen(QStringLiteral("99-9999"), 6), int16_t(4));
        BtrieveFehlerMelden();
        QCOMPARE(MasterSatzSuchen(QStringLiteral("23-0105-AL"), 6), int16_t(4));   // old text behind the length

        QCOMPARE(MasterSatzSuchen(QStringLiteral("24-0130"), 6), int16_t(0));
        QCOMPARE(MasterDateiSchliessen(), int16_t(0));
        QCOMPARE(BtrieveBeenden(), int16_t(0));
        BtrieveFehlerMelden();
        QCOMPARE(kommnr(MasterSatz), QStringLiteral("24-0130"));   // the last record stays
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Btrieve-Fehler: 4\nDie ERP-Datei enthält kein Projekt mit dieser Nummer.")}));
        QCOMPARE(meldungen.meldungen.first().first, Meldung::Art::Information);
    }

    void leereDatei()
    {
        IniRecord.MasterVerzeichnis = erpOrdner(QStringLiteral("leer"), {});
        MeldungsRecorder meldungen;
        QCOMPARE(MasterDateiOeffnen(), int16_t(0));
        BtrieveStatus = MasterErsterSatz(6);
        BtrieveFehlerMelden();
        QCOMPARE(MasterDateiSchliessen(), int16_t(0));
        QCOMPARE(BtrieveBeenden(), int16_t(0));
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Btrieve-Fehler: 9\nDie ERP-Datei enthält keine (weiteren) Projekte.")}));
    }

    // A failed Open is reported once; Close is still issued and its refusal reported, Stop is not.
    void dateiFehlt()
    {
        IniRecord.MasterVerzeichnis = m_ordner.filePath(QStringLiteral("gibtsnicht"));
        MeldungsRecorder meldungen;
        BtrieveStatus = MasterDateiOeffnen();
        BtrieveFehlerMelden();
        BtrieveStatus = MasterDateiSchliessen();
        BtrieveFehlerMelden();
        // The number first, then one line saying what it means.
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Btrieve-Fehler: 12\nDie ERP-Datei wurde nicht gefunden: ") + MasterDateiPfad(),
                              QStringLiteral("Btrieve-Fehler: 3\nDie ERP-Datei ist nicht geöffnet.")}));
    }

    void pfade()
    {
        IniRecord.MasterVerzeichnis = QStringLiteral("/daten/erp/");
        QCOMPARE(MasterDateiPfad(), QStringLiteral("/daten/erp//ZT_FKT_1.DAT"));
        // A path that does not fit the key buffer with its terminating zero is refused, not cut.
        IniRecord.MasterVerzeichnis = QStringLiteral("/") + QString(260, QLatin1Char('x'));
        QCOMPARE(MasterDateiOeffnen(), int16_t(11));
        // The file of a directory ending in a separator is found all the same.
        IniRecord.MasterVerzeichnis = erpOrdner(QStringLiteral("schraegstrich"), erpdemo::demoProjekte()) + QLatin1Char('/');
        QCOMPARE(MasterDateiOeffnen(), int16_t(0));
        QCOMPARE(MasterDateiSchliessen(), int16_t(0));
        QCOMPARE(BtrieveBeenden(), int16_t(0));
    }

    // A project number with DOS umlauts is found by the text the list shows.
    void nummerMitUmlaut()
    {
        erpdemo::ErpSatz a, b;
        a.text("Kommnr", QStringLiteral("MÜ-1")).text("Bezeichn", QStringLiteral("Erster"));
        b.text("Kommnr", QStringLiteral("Mü-1")).text("Bezeichn", QStringLiteral("Zweiter"));
        IniRecord.MasterVerzeichnis = erpOrdner(QStringLiteral("umlaut"), {a, b});
        QCOMPARE(MasterDateiOeffnen(), int16_t(0));
        QCOMPARE(MasterSatzSuchen(QStringLiteral("Mü-1"), 6), int16_t(0));
        QCOMPARE(MasterSatz.wert(QStringLiteral("Bezeichn")).toString(), QStringLiteral("Zweiter"));
        QCOMPARE(MasterSatzSuchen(QByteArray("M\x9A-1"), 6), int16_t(0));
        QCOMPARE(MasterSatz.wert(QStringLiteral("Bezeichn")).toString(), QStringLiteral("Erster"));
        QCOMPARE(MasterDateiSchliessen(), int16_t(0));
        QCOMPARE(BtrieveBeenden(), int16_t(0));
    }

    void nichtsZuMelden()
    {
        MeldungsRecorder meldungen;
        for (int16_t st : {int16_t(0), int16_t(-1)}) {
            BtrieveStatus = st;
            BtrieveFehlerMelden();
        }
        QVERIFY(meldungen.meldungen.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestErp)
#include "tst_erp.moc"
