#include "Fehler.h"
#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include "Testdateien.h"

#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

using Testdateien::lesen;
using Testdateien::schreibenRoh;

// A file as Windows writes it: CR LF line ends, umlauts in Windows-1252.
const QByteArray g_windowsDatei = "[Programm]\r\n"
                                  "ProgVerzeichnis=C:\\Programme\\Projekt\r\n"
                                  "Inhaber=J\xFCrgen M\xFCller \x80 Stra\xDF" "e\r\n"
                                  "\r\n"
                                  "[Control]\r\n"
                                  "AnzahlStatus=5\r\n";

// A text as Windows saves it with "Unicode" or "Unicode big endian": byte-order mark, then UTF-16.
QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char hoch = char(c.unicode() >> 8), tief = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? hoch : tief);
        bytes.append(bigEndian ? tief : hoch);
    }
    return bytes;
}

// Set by the child processes of the two-writer test: "<file>|<key prefix>|<count>".
constexpr const char* g_schreiberVariable = "PV_PROFIL_SCHREIBER";

// Set by the child process of the interrupted-write test: it dies between writing the
// temporary file and replacing the original.
constexpr const char* g_kindVariable = "PV_PROFIL_ABBRUCH_DATEI";

} // namespace

class TestPrivateProfile : public QObject
{
    Q_OBJECT

    QTemporaryDir* m_ordner = nullptr;
    QString pfad(const QString& name = QStringLiteral("PROJEKT.INI")) const { return m_ordner->filePath(name); }
    QStringList ordnerInhalt() const { return QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

private slots:
    void init()
    {
        m_ordner = new QTemporaryDir;
        QVERIFY(m_ordner->isValid());
    }
    void cleanup()
    {
        ProfilTestHaken::setzen({});
        delete m_ordner;
    }

    void lesenNachWindowsRegeln_data()
    {
        QTest::addColumn<QByteArray>("datei");   // null: no file at all
        QTest::addColumn<QString>("abschnitt");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QString>("erwartet");   // read with default "VORGABE"

        const QString v = QStringLiteral("VORGABE");
        QTest::newRow("Groß-/Kleinschreibung egal") << QByteArray("[PROGRAMM]\r\nDbName=a.mdb\r\n") << "programm" << "DBNAME" << "a.mdb";
        QTest::newRow("Umlaute ohne Groß-/Kleinschreibung") << QByteArray("[Größe]\nBreite=3\n") << "GRÖSSE" << "Breite" << v;
        QTest::newRow("Umlaut-Abschnitt anders geschrieben") << QByteArray("[Größe]\nBreite=3\n") << "GRÖßE" << "breite" << "3";
        QTest::newRow("Leerzeichen um Namen und Wert") << QByteArray("  [ Programm ]  \r\n\t Key \t=  a b  c \t\r\n") << "Programm" << "Key" << "a b  c";
        QTest::newRow("gesuchte Namen mit Leerzeichen") << QByteArray("[A]\nKey=1\n") << " A " << " Key " << "1";
        QTest::newRow("nur LF") << QByteArray("[A]\nX=1\nY=2\n") << "A" << "Y" << "2";
        QTest::newRow("gemischte Zeilenenden") << QByteArray("[A]\r\nX=1\nY=2\r\n[B]\nZ=3") << "B" << "Z" << "3";
        QTest::newRow("letzte Zeile ohne Zeilenende") << QByteArray("[A]\r\nX=1") << "A" << "X" << "1";
        QTest::newRow("Kommentarzeile") << QByteArray("[A]\r\n;X=1\r\n") << "A" << "X" << v;
        QTest::newRow("eingerückter Kommentar") << QByteArray("[A]\r\n   ;X=1\r\nX=2\r\n") << "A" << "X" << "2";
        QTest::newRow("Semikolon im Wert bleibt") << QByteArray("[A]\r\nX=1 ; 2\r\n") << "A" << "X" << "1 ; 2";
        QTest::newRow("erstes = trennt") << QByteArray("[A]\r\nFormel=a=b==c\r\n") << "A" << "Formel" << "a=b==c";
        QTest::newRow("Zeile ohne = ist kein Schlüssel") << QByteArray("[A]\r\nX\r\nX=2\r\n") << "A" << "X" << "2";
        QTest::newRow("nur Zeile ohne =") << QByteArray("[A]\r\nX\r\n") << "A" << "X" << v;
        QTest::newRow("doppelter Schlüssel: erster gilt") << QByteArray("[A]\r\nX=1\r\nx=2\r\n") << "A" << "X" << "1";
        QTest::newRow("doppelter Abschnitt: nur erster") << QByteArray("[A]\r\nX=1\r\n[B]\r\n[a]\r\nY=2\r\n") << "A" << "Y" << v;
        QTest::newRow("doppelter Abschnitt: erster gilt") << QByteArray("[A]\r\nX=1\r\n[a]\r\nX=2\r\n") << "a" << "X" << "1";
        QTest::newRow("Schlüssel des nächsten Abschnitts") << QByteArray("[A]\r\n[B]\r\nX=1\r\n") << "A" << "X" << v;
        QTest::newRow("Schlüssel vor dem ersten Abschnitt") << QByteArray("X=1\r\n[A]\r\n") << "A" << "X" << v;
        QTest::newRow("Anführungszeichen entfernt") << QByteArray("[A]\r\nX= \"  a b \" \r\n") << "A" << "X" << "  a b ";
        QTest::newRow("nur ein Paar Anführungszeichen") << QByteArray("[A]\r\nX=\"\"a\"\"\r\n") << "A" << "X" << "\"a\"";
        QTest::newRow("einfache Anführungszeichen") << QByteArray("[A]\r\nX='a'\r\n") << "A" << "X" << "a";
        QTest::newRow("ungleiche Anführungszeichen bleiben") << QByteArray("[A]\r\nX=\"a'\r\n") << "A" << "X" << "\"a'";
        QTest::newRow("einzelnes Anführungszeichen bleibt") << QByteArray("[A]\r\nX=\"\r\n") << "A" << "X" << "\"";
        QTest::newRow("Key= ist leer, nicht Vorgabe") << QByteArray("[A]\r\nX=\r\n") << "A" << "X" << "";
        QTest::newRow("Key= mit Leerzeichen ist leer") << QByteArray("[A]\r\nX =   \r\n") << "A" << "X" << "";
        QTest::newRow("Abschnitt fehlt") << QByteArray("[A]\r\nX=1\r\n") << "B" << "X" << v;
        QTest::newRow("Schlüssel fehlt") << QByteArray("[A]\r\nX=1\r\n") << "A" << "Y" << v;
        QTest::newRow("leere Datei") << QByteArray("") << "A" << "X" << v;
        QTest::newRow("Datei fehlt") << QByteArray() << "A" << "X" << v;
        QTest::newRow("Abschnitt mit Kommentar dahinter") << QByteArray("[A] ; alt\r\nX=1\r\n") << "A" << "X" << "1";
        QTest::newRow("[ ohne ] ist kein Abschnitt") << QByteArray("[A]\r\n[B\r\nX=1\r\n") << "A" << "X" << "1";
        QTest::newRow("Windows-Datei: 1252-Umlaute") << g_windowsDatei << "programm" << "inhaber" << "Jürgen Müller € Straße";
        QTest::newRow("Windows-Datei: zweiter Abschnitt") << g_windowsDatei << "Control" << "AnzahlStatus" << "5";
        QTest::newRow("UTF-8-Datei") << QByteArray("[A]\r\nName=J\xC3\xBCrgen \xE2\x82\xAC\r\n") << "A" << "Name" << "Jürgen €";
        QTest::newRow("UTF-8 mit BOM") << QByteArray("\xEF\xBB\xBF[A]\r\nName=\xC3\xBC\r\n") << "A" << "Name" << "ü";
        QTest::newRow("ungültiges UTF-8 ist 1252") << QByteArray("[A]\r\nName=\xC3\xBC\xFC\r\n") << "A" << "Name" << "Ã¼ü";
        QTest::newRow("überlanges UTF-8 ist 1252") << QByteArray("[A]\r\nName=\xC0\xAF\r\n") << "A" << "Name" << "À¯";
    }
    void lesenNachWindowsRegeln()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, abschnitt);
        QFETCH(QString, schluessel);
        QFETCH(QString, erwartet);
        if (!datei.isNull())
            schreibenRoh(pfad(), datei);
        QCOMPARE(GetPrivateProfileString(abschnitt, schluessel, QStringLiteral("VORGABE"), pfad()), erwartet);
    }

    void vorgabeOhneLeerzeichenAmEnde()
    {
        QCOMPARE(GetPrivateProfileString("A", "X", "  vor  ", pfad()), QStringLiteral("  vor"));
    }

    void zahlLesen_data()
    {
        QTest::addColumn<QString>("wert");   // null: key missing
        QTest::addColumn<int>("erwartet");   // read with default 77
        QTest::newRow("dezimal") << "42" << 42;
        QTest::newRow("negativ") << "-5" << -5;
        QTest::newRow("hex") << "0x1F" << 31;
        QTest::newRow("führende Ziffern") << "12abc" << 12;
        QTest::newRow("keine Ziffern") << "abc" << 0;
        QTest::newRow("leer") << "" << 77;
        QTest::newRow("fehlt") << QString() << 77;
        QTest::newRow("in Anführungszeichen") << "\"9\"" << 9;
        QTest::newRow("32 Bit Überlauf") << "4294967295" << -1;
    }
    void zahlLesen()
    {
        QFETCH(QString, wert);
        QFETCH(int, erwartet);
        schreibenRoh(pfad(), wert.isNull() ? QByteArray("[A]\r\n") : "[A]\r\nX=" + wert.toUtf8() + "\r\n");
        QCOMPARE(GetPrivateProfileInt("A", "X", 77, pfad()), erwartet);
    }

    void schreibenAendertNurDenEintrag_data()
    {
        QTest::addColumn<QByteArray>("vorher");   // null: no file
        QTest::addColumn<QString>("abschnitt");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QByteArray>("nachher");

        QTest::newRow("neue Datei: CR LF, kein BOM") << QByteArray() << "Programm" << "DBName" << "PROJEKT.MDB"
            << QByteArray("[Programm]\r\nDBName=PROJEKT.MDB\r\n");
        QTest::newRow("leere Datei") << QByteArray("") << "A" << "X" << "1" << QByteArray("[A]\r\nX=1\r\n");
        QTest::newRow("Wert ersetzt, Schreibweise und Leerzeichen bleiben")
            << QByteArray("[A]\r\n  dbNAME = \"alt\"  \r\nB=1\r\n") << "a" << "DBName" << "neu"
            << QByteArray("[A]\r\n  dbNAME = neu\r\nB=1\r\n");
        QTest::newRow("nur der erste doppelte Schlüssel") << QByteArray("[A]\r\nX=1\r\nX=2\r\n") << "A" << "X" << "3"
            << QByteArray("[A]\r\nX=3\r\nX=2\r\n");
        QTest::newRow("neuer Schlüssel nach dem letzten Schlüssel")
            << QByteArray("[A]\r\nX=1\r\n; Kommentar\r\nY=2\r\n\r\n; vor B\r\n[B]\r\nZ=3\r\n") << "A" << "Neu" << "4"
            << QByteArray("[A]\r\nX=1\r\n; Kommentar\r\nY=2\r\nNeu=4\r\n\r\n; vor B\r\n[B]\r\nZ=3\r\n");
        QTest::newRow("neuer Schlüssel in leerem Abschnitt") << QByteArray("[A]\r\n\r\n[B]\r\n") << "A" << "X" << "1"
            << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\n");
        QTest::newRow("neuer Schlüssel in den ersten doppelten Abschnitt") << QByteArray("[A]\r\nX=1\r\n[A]\r\nY=2\r\n")
            << "A" << "Y" << "3" << QByteArray("[A]\r\nX=1\r\nY=3\r\n[A]\r\nY=2\r\n");
        QTest::newRow("neuer Abschnitt am Ende") << QByteArray("[A]\r\nX=1\r\n\r\n") << "B" << "Y" << "2"
            << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
        QTest::newRow("fehlendes letztes Zeilenende ergänzt") << QByteArray("[A]\r\nX=1") << "B" << "Y" << "2"
            << QByteArray("[A]\r\nX=1\r\n[B]\r\nY=2\r\n");
        QTest::newRow("neuer Schlüssel nach letzter Zeile ohne Zeilenende") << QByteArray("[A]\r\nX=1") << "A" << "Y" << "2"
            << QByteArray("[A]\r\nX=1\r\nY=2\r\n");
        QTest::newRow("neuer Schlüssel nach Abschnitt ohne Zeilenende") << QByteArray("[A]") << "A" << "Y" << "2"
            << QByteArray("[A]\r\nY=2\r\n");
        QTest::newRow("Wert in letzter Zeile ohne Zeilenende bekommt CR LF") << QByteArray("[A]\r\nX=1") << "A" << "X" << "22"
            << QByteArray("[A]\r\nX=22\r\n");
        QTest::newRow("gleicher Wert in letzter Zeile ohne Zeilenende") << QByteArray("[A]\r\nX=1") << "A" << "X" << "1"
            << QByteArray("[A]\r\nX=1\r\n");
        QTest::newRow("LF-Datei: letzte Zeile bekommt LF") << QByteArray("[A]\nX=1") << "A" << "X" << "2"
            << QByteArray("[A]\nX=2\n");
        QTest::newRow("LF-Datei bleibt LF") << QByteArray("[A]\nX=1\n") << "B" << "Y" << "2" << QByteArray("[A]\nX=1\n[B]\nY=2\n");
        QTest::newRow("gemischt: erstes Zeilenende gilt") << QByteArray("[A]\nX=1\r\n") << "A" << "Y" << "2"
            << QByteArray("[A]\nX=1\r\nY=2\n");
        QTest::newRow("leerer Wert") << QByteArray("[A]\r\nX=1\r\n") << "A" << "X" << "" << QByteArray("[A]\r\nX=\r\n");
        QTest::newRow("Windows-Datei bleibt 1252") << g_windowsDatei << "Control" << "Ort" << "Köln"
            << QByteArray(g_windowsDatei + "Ort=K\xF6ln\r\n");
        QTest::newRow("1252-Wert ersetzt") << g_windowsDatei << "Programm" << "Inhaber" << "Ärger"
            << QByteArray(g_windowsDatei).replace("J\xFCrgen M\xFCller \x80 Stra\xDF" "e", "\xC4rger");
        QTest::newRow("ASCII-Datei bekommt Umlaut in 1252") << QByteArray("[A]\r\nX=1\r\n") << "A" << "Ort" << "Köln"
            << QByteArray("[A]\r\nX=1\r\nOrt=K\xF6ln\r\n");
        QTest::newRow("neue Datei mit Umlaut in 1252") << QByteArray() << "Programm" << "Inhaber" << "Jürgen Müller"
            << QByteArray("[Programm]\r\nInhaber=J\xFCrgen M\xFCller\r\n");
        QTest::newRow("ASCII-Datei: Zeichen außerhalb 1252 als UTF-8") << QByteArray("[A]\r\nX=1\r\n") << "A" << "Ort" << "Łódź"
            << QByteArray("[A]\r\nX=1\r\nOrt=\xC5\x81\xC3\xB3" "d\xC5\xBA\r\n");
        QTest::newRow("UTF-8-Datei bleibt UTF-8") << QByteArray("[A]\r\nName=\xC3\xBC\r\n") << "A" << "Ort" << "Köln"
            << QByteArray("[A]\r\nName=\xC3\xBC\r\nOrt=K\xC3\xB6ln\r\n");
        QTest::newRow("BOM bleibt") << QByteArray("\xEF\xBB\xBF[A]\r\nX=1\r\n") << "A" << "X" << "ä"
            << QByteArray("\xEF\xBB\xBF[A]\r\nX=\xC3\xA4\r\n");
    }
    void schreibenAendertNurDenEintrag()
    {
        QFETCH(QByteArray, vorher);
        QFETCH(QString, abschnitt);
        QFETCH(QString, schluessel);
        QFETCH(QString, wert);
        QFETCH(QByteArray, nachher);
        if (!vorher.isNull())
            schreibenRoh(pfad(), vorher);
        QVERIFY(WritePrivateProfileString(abschnitt, schluessel, wert, pfad()));
        QCOMPARE(lesen(pfad()), nachher);
        QCOMPARE(GetPrivateProfileString(abschnitt, schluessel, QStringLiteral("?"), pfad()), wert);
        QCOMPARE(ordnerInhalt(), QStringList{QStringLiteral("PROJEKT.INI")});
    }

    // Every character Windows-1252 knows survives reading and writing back, in both encodings.
    void kodierungRundreise()
    {
        QByteArray alle;
        for (int b = 0x21; b <= 0xFF; ++b) {
            if (b != 0x7F)
                alle.append(char(b));
        }
        schreibenRoh(pfad(), "[A]\r\nAlle=" + alle + "\r\n");
        const QString text = GetPrivateProfileString("A", "Alle", {}, pfad());
        QCOMPARE(text.size(), alle.size());
        // 0x7F is left out, so bytes from 0x80 on sit at b - 0x22.
        QCOMPARE(text.at(0x80 - 0x22), QChar(0x20AC));   // €
        QCOMPARE(text.at(0x81 - 0x22), QChar(0x0081));   // unassigned byte kept as itself
        QCOMPARE(text.at(0x9F - 0x22), QChar(0x0178));   // Ÿ
        QCOMPARE(text.at(0xFC - 0x22), QChar(0x00FC));   // ü
        QVERIFY(WritePrivateProfileString("A", "Kopie", text, pfad()));
        QCOMPARE(lesen(pfad()), "[A]\r\nAlle=" + alle + "\r\nKopie=" + alle + "\r\n");

        const QString neu = QStringLiteral("Größe € 😀");
        QVERIFY(WritePrivateProfileString("A", "X", neu, pfad("NEU.INI")));
        QCOMPARE(lesen(pfad("NEU.INI")), QByteArray("[A]\r\nX=") + neu.toUtf8() + "\r\n");
        QCOMPARE(GetPrivateProfileString("A", "X", {}, pfad("NEU.INI")), neu);
    }

    void gefaehrlicheEintraegeAbgelehnt_data()
    {
        QTest::addColumn<QString>("abschnitt");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("grund");
        QTest::newRow("LF im Wert") << "A" << "X" << "a\nB=1" << "Zeilenumbruch";
        QTest::newRow("CR im Wert") << "A" << "X" << "a\rb" << "Zeilenumbruch";
        QTest::newRow("Zeilenumbruch im Namen") << "A" << "X\r\n[B]" << "1" << "Zeilenumbruch";
        QTest::newRow("Zeilenumbruch im Abschnitt") << "A]\n[B" << "X" << "1" << "Zeilenumbruch";
        QTest::newRow("= im Namen") << "A" << "X=Y" << "1" << "Gleichheitszeichen";
        QTest::newRow("Name beginnt mit ;") << "A" << ";X" << "1" << "„;“";
        QTest::newRow("leerer Name") << "A" << "  " << "1" << "leer";
        QTest::newRow("Zeichen, die 1252 nicht kennt") << "Programm" << "X" << "Zoë 😀" << "Windows-1252";
    }
    void gefaehrlicheEintraegeAbgelehnt()
    {
        QFETCH(QString, abschnitt);
        QFETCH(QString, schluessel);
        QFETCH(QString, wert);
        QFETCH(QString, grund);
        schreibenRoh(pfad(), g_windowsDatei);
        try {
            WritePrivateProfileString(abschnitt, schluessel, wert, pfad());
            QFAIL("keine Fehlermeldung");
        } catch (const Fehler& f) {
            QVERIFY2(f.text().contains(pfad()) && f.text().contains(grund), qPrintable(f.text()));
        }
        QCOMPARE(lesen(pfad()), g_windowsDatei);
    }

    void rechteBleiben()
    {
        schreibenRoh(pfad(), "[A]\r\nX=1\r\n");
        const auto rechte = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(pfad(), rechte));
        QVERIFY(WritePrivateProfileString("A", "X", "2", pfad()));
        QCOMPARE(QFile::permissions(pfad()) & 0x7077, rechte);
    }

    // A PROJEKT.INI that is a link to a file elsewhere stays a link; that file is written,
    // and the temporaries beside it are cleared.
    void verknuepfteDatei()
    {
        QVERIFY(QDir(m_ordner->path()).mkdir("echt"));
        schreibenRoh(pfad("echt/PROJEKT.INI"), "[A]\r\nX=1\r\n");
        QVERIFY(QFile::link(pfad("echt/PROJEKT.INI"), pfad()));
        QVERIFY(WritePrivateProfileString("A", "X", "2", pfad()));
        QVERIFY(QFileInfo(pfad()).isSymLink());
        QCOMPARE(lesen(pfad("echt/PROJEKT.INI")), QByteArray("[A]\r\nX=2\r\n"));
        schreibenRoh(pfad("echt/PROJEKT.INI.QwErTz"), "[A]\r\nX=3\r\n");
        VerwaisteZwischendateienEntfernen(pfad());
        QCOMPARE(QDir(pfad("echt")).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("PROJEKT.INI")});
    }

    void schreibfehlerGemeldet_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("Ordner ist eine Datei") << "ordnerIstDatei";
        QTest::newRow("Datei ist ein Ordner") << "dateiIstOrdner";
        QTest::newRow("schreibgeschützter Ordner") << "schreibgeschuetzt";
        QTest::newRow("schreibgeschützte Datei") << "dateiSchreibgeschuetzt";
    }
    void schreibfehlerGemeldet()
    {
        QFETCH(QString, fall);
        QString ziel = pfad();
        if (fall == "ordnerIstDatei") {
            schreibenRoh(pfad("Programm"), "kein Ordner");
            ziel = pfad("Programm") + "/PROJEKT.INI";
        } else if (fall == "dateiIstOrdner") {
            QVERIFY(QDir(m_ordner->path()).mkdir("PROJEKT.INI"));
        } else {
            if (::geteuid() == 0)
                QSKIP("root writes into read-only folders and files");
            schreibenRoh(pfad(), "[A]\r\nX=1\r\n");
            if (fall == "schreibgeschuetzt")
                QVERIFY(QFile::setPermissions(m_ordner->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            else
                QVERIFY(QFile::setPermissions(pfad(), QFileDevice::ReadOwner));
        }
        const QStringList vorher = ordnerInhalt();
        const QByteArray inhaltVorher = lesen(ziel);
        const bool ok = WritePrivateProfileString("A", "X", "2", ziel);
        QFile::setPermissions(m_ordner->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!ok);
        QCOMPARE(ordnerInhalt(), vorher);   // no temporary file left behind
        QCOMPARE(lesen(ziel), inhaltVorher);
        QCOMPARE(GetPrivateProfileString("A", "X", "fehlt", ziel), fall.contains("schreibgeschuetzt", Qt::CaseInsensitive) ? "1" : "fehlt");
    }

    // A failure after the temporary file is written and before it replaces the file leaves the
    // original as it was and no temporary file behind.
    void abbruchVorDemErsetzen()
    {
        schreibenRoh(pfad(), g_windowsDatei);
        bool gerufen = false;
        ProfilTestHaken::setzen([&] {
            gerufen = true;
            return false;
        });
        QVERIFY(!WritePrivateProfileString("Control", "AnzahlStatus", "7", pfad()));
        QVERIFY(gerufen);
        QCOMPARE(lesen(pfad()), g_windowsDatei);
        QCOMPARE(ordnerInhalt(), QStringList{QStringLiteral("PROJEKT.INI")});
    }

    // The process is killed between writing the temporary file and replacing the original:
    // the file keeps its complete old content, and the next write works.
    void getoetetBeimSchreiben()
    {
        schreibenRoh(pfad(), g_windowsDatei);
        QProcess kind;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QString::fromLatin1(g_kindVariable), pfad());
        kind.setProcessEnvironment(umgebung);
        kind.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(kind.waitForFinished(60000));
        QCOMPARE(kind.exitStatus(), QProcess::CrashExit);
        QCOMPARE(lesen(pfad()), g_windowsDatei);
        // Depending on the file system the abandoned temporary file is unnamed or lies beside it.
        for (const QString& name : ordnerInhalt())
            QVERIFY2(name == "PROJEKT.INI" || name.startsWith("PROJEKT.INI."), qPrintable(name));
        // The next start clears what the killed write left.
        VerwaisteZwischendateienEntfernen(pfad());
        QCOMPARE(ordnerInhalt(), QStringList{QStringLiteral("PROJEKT.INI")});
        QVERIFY(WritePrivateProfileString("Control", "AnzahlStatus", "7", pfad()));
        QCOMPARE(GetPrivateProfileInt("Control", "AnzahlStatus", 0, pfad()), 7);
        QCOMPARE(GetPrivateProfileString("Programm", "Inhaber", {}, pfad()), QStringLiteral("Jürgen Müller € Straße"));
    }

    // Temporaries that writes of this and of earlier versions left when killed before the rename
    // are removed; files a person put beside PROJEKT.INI stay, as do other programs' files.
    void verwaisteZwischendateien()
    {
        schreibenRoh(pfad(), g_windowsDatei);
        const QStringList verwaist = {"PROJEKT.INI.QwErTz", "PROJEKT.INI.aBcDeF", "PROJEKT.INI.~x1Y2z3"};
        const QStringList bleiben = {"PROJEKT.INI",        "PROJEKT.INI.backup", "PROJEKT.INI.BACKUP",
                                     "PROJEKT.INI.Sicher", "PROJEKT.INI.bak",    "PROJEKT.INI.QwErTz7",
                                     "ANDERE.INI.QwErTz",  "PROJEKT.INI.~x1Y2"};
        for (const QString& name : verwaist + bleiben.mid(1))
            schreibenRoh(pfad(name), g_windowsDatei);
        QVERIFY(QDir(m_ordner->path()).mkdir("PROJEKT.INI.XyZabc"));
        VerwaisteZwischendateienEntfernen(pfad());
        QStringList erwartet = bleiben + QStringList{"PROJEKT.INI.XyZabc"};
        QStringList ist = ordnerInhalt();
        ist.sort();
        erwartet.sort();
        QCOMPARE(ist, erwartet);
        QCOMPARE(lesen(pfad()), g_windowsDatei);

        // Without PROJEKT.INI nothing is touched.
        QVERIFY(QFile::remove(pfad()));
        schreibenRoh(pfad("PROJEKT.INI.QwErTz"), g_windowsDatei);
        VerwaisteZwischendateienEntfernen(pfad());
        QVERIFY(QFile::exists(pfad("PROJEKT.INI.QwErTz")));
    }

    // Two programs on one program folder write at the same time: every key of both survives.
    void zweiProgrammeSchreibenGleichzeitig()
    {
        schreibenRoh(pfad(), g_windowsDatei);
        constexpr int anzahl = 150;
        QList<QProcess*> kinder;
        for (const char* praefix : {"Erster", "Zweiter"}) {
            auto* kind = new QProcess(this);
            QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.insert(QString::fromLatin1(g_schreiberVariable),
                            QStringLiteral("%1|%2|%3").arg(pfad(), QLatin1String(praefix)).arg(anzahl));
            kind->setProcessEnvironment(umgebung);
            kind->setProcessChannelMode(QProcess::ForwardedChannels);
            kinder.append(kind);
        }
        for (QProcess* kind : kinder)
            kind->start(QCoreApplication::applicationFilePath(), {});
        for (QProcess* kind : kinder) {
            QVERIFY(kind->waitForFinished(180000));
            QCOMPARE(kind->exitStatus(), QProcess::NormalExit);
            QCOMPARE(kind->exitCode(), 0);
        }
        QStringList fehlend;
        for (const char* praefix : {"Erster", "Zweiter"}) {
            for (int i = 0; i < anzahl; ++i) {
                const QString schluessel = QLatin1String(praefix) + QString::number(i);
                if (GetPrivateProfileString("Gemeinsam", schluessel, {}, pfad()) != "Wert " + QString::number(i))
                    fehlend.append(schluessel);
            }
        }
        QVERIFY2(fehlend.isEmpty(), qPrintable(fehlend.join(' ')));
        QCOMPARE(GetPrivateProfileString("Programm", "Inhaber", {}, pfad()), QStringLiteral("Jürgen Müller € Straße"));
        QCOMPARE(ordnerInhalt(), QStringList{QStringLiteral("PROJEKT.INI")});
    }

    // Files Windows saved as "Unicode" are read and written as UTF-16 in their byte order.
    void utf16Dateien_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("FF FE") << false;
        QTest::newRow("FE FF") << true;
    }
    void utf16Dateien()
    {
        QFETCH(bool, bigEndian);
        const QString vorher = QStringLiteral("[Programm]\r\nDBVerzeichnis=C:\\Daten\\Müller\r\n"
                                              "MasterDatei=Zentora 😀\r\n[Control]\r\nAnzahlStatus=7\r\n");
        schreibenRoh(pfad(), utf16(vorher, bigEndian));
        QCOMPARE(GetPrivateProfileString("Programm", "DBVerzeichnis", {}, pfad()), QStringLiteral("C:\\Daten\\Müller"));
        QCOMPARE(GetPrivateProfileString("programm", "masterdatei", {}, pfad()), QStringLiteral("Zentora 😀"));
        QCOMPARE(GetPrivateProfileInt("Control", "AnzahlStatus", 0, pfad()), 7);

        QVERIFY(WritePrivateProfileString("Control", "AnzahlStatus", "12", pfad()));
        QVERIFY(WritePrivateProfileString("Control", "Ort", "Łódź", pfad()));
        QVERIFY(WritePrivateProfileString("Fenster", "Breite", "800", pfad()));
        QString nachher = vorher;
        nachher.replace("AnzahlStatus=7\r\n", "AnzahlStatus=12\r\nOrt=Łódź\r\n[Fenster]\r\nBreite=800\r\n");
        QCOMPARE(lesen(pfad()), utf16(nachher, bigEndian));
    }

    // A Windows-1252 file stays Windows-1252 for the run, also when a write has removed the
    // only bytes that are not valid UTF-8: the other values read as before.
    void kodierungBleibtImLauf()
    {
        // "Ã¤" is C3 A4 in Windows-1252, which as UTF-8 would read "ä".
        schreibenRoh(pfad(), "[A]\r\nName=M\xFCller\r\nAlt=\xC3\xA4\r\n");
        QCOMPARE(GetPrivateProfileString("A", "Alt", {}, pfad()), QStringLiteral("Ã¤"));
        QVERIFY(WritePrivateProfileString("A", "Name", "Mueller", pfad()));
        QCOMPARE(lesen(pfad()), QByteArray("[A]\r\nName=Mueller\r\nAlt=\xC3\xA4\r\n"));
        QCOMPARE(GetPrivateProfileString("A", "Alt", {}, pfad()), QStringLiteral("Ã¤"));
        QVERIFY(WritePrivateProfileString("A", "Ort", "Köln", pfad()));
        QCOMPARE(lesen(pfad()), QByteArray("[A]\r\nName=Mueller\r\nAlt=\xC3\xA4\r\nOrt=K\xF6ln\r\n"));
    }

    // Megabytes of lines without "=" are read at once; a file too big to be a settings file is
    // refused with a message instead of being read.
    void grosseDateien()
    {
        QByteArray notizen;
        for (int i = 0; i < 300000; ++i)
            notizen += "Notiz\r\n";
        schreibenRoh(pfad(), "[Notizen]\r\n" + notizen + "[Control]\r\nAnzahlStatus=5\r\n");
        for (int i = 0; i < 40; ++i)
            QCOMPARE(GetPrivateProfileInt("Control", "AnzahlStatus", 0, pfad()), 5);
        QVERIFY(WritePrivateProfileString("Control", "Startansicht", "1", pfad()));
        QCOMPARE(GetPrivateProfileInt("Control", "Startansicht", 0, pfad()), 1);

        const QByteArray riesig = "[Control]\r\nAnzahlStatus=5\r\n" + QByteArray(9 * 1024 * 1024, 'x');
        schreibenRoh(pfad(), riesig);
        const auto pruefen = [&](const std::function<void()>& zugriff) {
            try {
                zugriff();
                QFAIL("keine Meldung");
            } catch (const Fehler& f) {
                QVERIFY2(f.text().contains(pfad()) && f.text().contains("zu groß"), qPrintable(f.text()));
            }
        };
        pruefen([&] { GetPrivateProfileInt("Control", "AnzahlStatus", 0, pfad()); });
        pruefen([&] { WritePrivateProfileString("Control", "AnzahlStatus", "6", pfad()); });
        QCOMPARE(lesen(pfad()), riesig);
    }

    // The file is read again as soon as anything else has changed it, even within the same
    // instant and to the same size.
    void fremdeAenderungSofortGelesen()
    {
        schreibenRoh(pfad(), "[A]\r\nX=1\r\n");
        QCOMPARE(GetPrivateProfileString("A", "X", {}, pfad()), QStringLiteral("1"));
        schreibenRoh(pfad(), "[A]\r\nX=2\r\n");
        QCOMPARE(GetPrivateProfileString("A", "X", {}, pfad()), QStringLiteral("2"));
        QVERIFY(WritePrivateProfileString("A", "Y", "3", pfad()));
        schreibenRoh(pfad(), "[A]\r\nX=4\r\nY=5\r\n");
        QCOMPARE(GetPrivateProfileString("A", "X", {}, pfad()), QStringLiteral("4"));
        QVERIFY(WritePrivateProfileString("A", "Z", "6", pfad()));
        QCOMPARE(lesen(pfad()), QByteArray("[A]\r\nX=4\r\nY=5\r\nZ=6\r\n"));
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(g_schreiberVariable)) {
        const QStringList teile = qEnvironmentVariable(g_schreiberVariable).split(QLatin1Char('|'));
        for (int i = 0; i < teile.value(2).toInt(); ++i) {
            if (!WritePrivateProfileString("Gemeinsam", teile.value(1) + QString::number(i),
                                           "Wert " + QString::number(i), teile.value(0)))
                return 1;
        }
        return 0;
    }
    if (qEnvironmentVariableIsSet(g_kindVariable)) {
        ProfilTestHaken::setzen([] {
            ::raise(SIGKILL);
            return true;
        });
        WritePrivateProfileString("Control", "AnzahlStatus", "7", qEnvironmentVariable(g_kindVariable));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestPrivateProfile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_privateprofile.moc"
