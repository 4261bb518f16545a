#include "Fehler.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "Testdateien.h"

#include <QtTest>

namespace {

using Testdateien::lesen;
using Testdateien::schreibenRoh;

// The file a first run writes, with the program directory put in.
QByteArray ersterStartDatei(const QString& verzeichnis)
{
    const QByteArray v = verzeichnis.toUtf8();
    return "[Programm]\r\n"
           "ProgVerzeichnis=" + v + "\r\n"
           "DBVerzeichnis=" + v + "\r\n"
           "DBName=PROJEKT.MDB\r\n"
           "MasterVerzeichnis=C:\\PROGRAMME\\ZENTORA\\DATA\\BASE\r\n"
           "MasterDatei=Zentora\r\n"
           "[Control]\r\n"
           "Entwicklerversion=0\r\n"
           "AnzahlStatus=0\r\n"
           "Startansicht=0\r\n"
           "HighValueBound=90\r\n"
           "LowValueBound=50\r\n"
           "SymbolEditView=1\r\n"
           "SymbolPublicView=1\r\n"
           "RefreshPublicView=1\r\n"
           "RefreshTimePublicView=10000\r\n"
           "AufgabenAutomatik=0\r\n";
}

struct FensterFelder
{
    int32_t TIniRecord::* top;
    int32_t TIniRecord::* left;
    int32_t TIniRecord::* width;
    int32_t TIniRecord::* height;
};

} // namespace

Q_DECLARE_METATYPE(FensterFelder)
Q_DECLARE_METATYPE(TSpaltenLayout TIniRecord::*)

class TestIniRecord : public QObject
{
    Q_OBJECT

    QTemporaryDir* m_ordner = nullptr;
    QString m_vorher;

    QString ini() const { return QDir::toNativeSeparators(m_ordner->filePath("PROJEKT.INI")); }
    QString verzeichnis() const { return QDir::toNativeSeparators(m_ordner->path()); }

    // Reads the key "Control"/<schluessel> after putting the text into the file (null: no key).
    void controlLesen(const char* schluessel, const QString& text)
    {
        schreibenRoh(ini(), text.isNull() ? QByteArray("[Control]\r\n")
                                          : "[Control]\r\n" + QByteArray(schluessel) + "=" + text.toUtf8() + "\r\n");
        IniLesen();
    }

private slots:
    void init()
    {
        m_ordner = new QTemporaryDir;
        QVERIFY(m_ordner->isValid());
        m_vorher = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_ordner->path()));
        IniRecord = TIniRecord{};
    }
    void cleanup()
    {
        ProfilTestHaken::setzen({});
        QDir::setCurrent(m_vorher);
        delete m_ordner;
    }

    // Start-up on a first run: preset, create, read, write; then the windows and columns write
    // their sections in the order they first write.
    void ersterStart()
    {
        MeldungsRecorder meldungen;
        IniVorbelegen();
        QVERIFY(!QFile::exists(ini()));
        IniAnlegen();
        IniLesen();
        IniSchreiben();
        QVERIFY(meldungen.meldungen.isEmpty());
        QCOMPARE(lesen(ini()), ersterStartDatei(verzeichnis()));

        QCOMPARE(IniRecord.ProgVerzeichnis, verzeichnis());
        QCOMPARE(IniRecord.DBVerzeichnis, verzeichnis());
        QCOMPARE(IniRecord.DBName, QStringLiteral("PROJEKT.MDB"));
        QCOMPARE(IniRecord.Version, QStringLiteral("1.0.4.20"));
        QCOMPARE(IniRecord.Datum, QStringLiteral("21.04.2010"));
        QCOMPARE(IniRecord.HighValueBound, 90);
        QCOMPARE(IniRecord.LowValueBound, 50);
        QCOMPARE(IniRecord.RefreshTimePublicView, 10000);
        QVERIFY(IniRecord.SymbolEditView && IniRecord.SymbolPublicView && IniRecord.RefreshPublicView);
        QVERIFY(!IniRecord.Entwicklerversion);
        // Geometry and columns have no preset.
        QCOMPARE(IniRecord.HauptFensterEVWidth, 0);
        QCOMPARE(IniRecord.PublicKommNr.Width, 0);
        QVERIFY(!IniRecord.PublicKommNr.Visible);

        IniRecord.OptionFensterTop = 10;
        IniRecord.OptionFensterLeft = -20;
        IniRecord.OptionFensterWidth = 657;
        IniRecord.OptionFensterHeight = 565;
        FensterSchreiben("OptionFenster");
        IniRecord.PublicDatum = {3, 120, true, int32_t(0xFF000005), 0x0000FF00};
        SpalteSchreiben("DATUM");
        SpalteSchreiben("PROJEKT");
        FensterSchreiben("HauptFensterEV");
        QCOMPARE(lesen(ini()), ersterStartDatei(verzeichnis())
                                   + "[Fenster]\r\n"
                                     "OptionFensterTop=10\r\nOptionFensterLeft=-20\r\n"
                                     "OptionFensterWidth=657\r\nOptionFensterHeight=565\r\n"
                                     "HauptFensterEVTop=0\r\nHauptFensterEVLeft=0\r\n"
                                     "HauptFensterEVWidth=0\r\nHauptFensterEVHeight=0\r\n"
                                     "[PublicDatum]\r\n"
                                     "Position=3\r\nWidth=120\r\nVisible=1\r\nColor=-16777211\r\nFontcolor=65280\r\n"
                                     "[PublicKommNr]\r\n"
                                     "Position=0\r\nWidth=0\r\nVisible=0\r\nColor=0\r\nFontcolor=0\r\n");

        // The next start rewrites the file without changing a byte.
        const QByteArray vorher = lesen(ini());
        IniRecord = TIniRecord{};
        IniVorbelegen();
        IniLesen();
        IniSchreiben();
        QCOMPARE(lesen(ini()), vorher);
    }

    // An older file gains the missing keys with their defaults; DBName falls back to ZEIT.MDB.
    void fehlendeSchluesselLesenVorgaben()
    {
        schreibenRoh(ini(), "[Programm]\r\nMasterDatei=Alt\r\n");
        IniRecord.DBName = "x";
        IniRecord.HighValueBound = 1;
        IniRecord.SymbolEditView = false;
        IniLesen();
        QCOMPARE(IniRecord.DBName, QStringLiteral("ZEIT.MDB"));
        QCOMPARE(IniRecord.MasterDatei, QStringLiteral("Alt"));
        QCOMPARE(IniRecord.ProgVerzeichnis, verzeichnis());
        QCOMPARE(IniRecord.DBVerzeichnis, verzeichnis());
        QCOMPARE(IniRecord.MasterVerzeichnis, QStringLiteral("C:\\PROGRAMME\\ZENTORA\\DATA\\BASE"));
        QCOMPARE(IniRecord.HighValueBound, 90);
        QVERIFY(IniRecord.SymbolEditView);
        IniSchreiben();
        QVERIFY(lesen(ini()).startsWith("[Programm]\r\nMasterDatei=Alt\r\nProgVerzeichnis="));
        QCOMPARE(GetPrivateProfileString("Programm", "DBName", {}, ini()), QStringLiteral("ZEIT.MDB"));
    }

    // A settings file Windows saved as "Unicode" (UTF-16 with byte-order mark) is read as such
    // and stays UTF-16 when start-up writes the keys it lacks.
    void windowsUnicodeDatei()
    {
        const QString text = QStringLiteral("[Programm]\r\nDBVerzeichnis=\\\\server\\Bühl\r\n"
                                            "MasterVerzeichnis=D:\\Zentora\r\n[Control]\r\nAnzahlStatus=6\r\n"
                                            "Startansicht=1\r\n");
        QByteArray datei("\xFF\xFE");
        for (const QChar c : text)
            datei.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        schreibenRoh(ini(), datei);
        IniVorbelegen();
        IniLesen();
        QCOMPARE(IniRecord.DBVerzeichnis, QStringLiteral("\\\\server\\Bühl"));
        QCOMPARE(IniRecord.MasterVerzeichnis, QStringLiteral("D:\\Zentora"));
        QCOMPARE(IniRecord.AnzahlStatus, 6);
        QCOMPARE(IniRecord.Startansicht, 1);
        QCOMPARE(IniRecord.DBName, QStringLiteral("ZEIT.MDB"));

        IniSchreiben();
        const QByteArray nachher = lesen(ini());
        QVERIFY(nachher.startsWith("\xFF\xFE"));
        QCOMPARE(nachher.size() % 2, 0);
        const QString gelesen = QString::fromUtf16(reinterpret_cast<const char16_t*>(nachher.constData() + 2),
                                                   (nachher.size() - 2) / 2);
        QVERIFY2(gelesen.startsWith("[Programm]\r\nDBVerzeichnis=\\\\server\\Bühl\r\nMasterVerzeichnis=D:\\Zentora\r\n"
                                    "ProgVerzeichnis="),
                 qPrintable(gelesen));
        QVERIFY(gelesen.contains("\r\nDBName=ZEIT.MDB\r\n"));
        QVERIFY(gelesen.endsWith("\r\nAufgabenAutomatik=0\r\n"));
        IniRecord = TIniRecord{};
        IniLesen();
        QCOMPARE(IniRecord.DBVerzeichnis, QStringLiteral("\\\\server\\Bühl"));
        QCOMPARE(IniRecord.AnzahlStatus, 6);
    }

    // Reading the settings at start removes what writes killed before their rename left behind.
    void verwaisteZwischendateienBeimStart()
    {
        schreibenRoh(ini(), "[Control]\r\nAnzahlStatus=4\r\n");
        schreibenRoh(ini() + ".KzUwQe", "[Control]\r\nAnzahlStatus=5\r\n");
        IniLesen();
        QCOMPARE(IniRecord.AnzahlStatus, 4);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("PROJEKT.INI")});
    }

    void zahlenUndSchalter_data()
    {
        QTest::addColumn<QByteArray>("schluessel");
        QTest::addColumn<QString>("text");   // null: key missing
        QTest::addColumn<int>("erwartet");   // for flags 1 or 0

        // HighValueBound defaults to 90, SymbolEditView to true, Entwicklerversion to false.
        QTest::newRow("dezimal") << QByteArray("HighValueBound") << "75" << 75;
        QTest::newRow("negativ") << QByteArray("HighValueBound") << "-12" << -12;
        QTest::newRow("0x hex") << QByteArray("HighValueBound") << "0x1F" << 31;
        QTest::newRow("0X hex") << QByteArray("HighValueBound") << "0X1f" << 31;
        QTest::newRow("$ hex") << QByteArray("HighValueBound") << "$1F" << 31;
        QTest::newRow("nur 0x") << QByteArray("HighValueBound") << "0x" << 90;
        QTest::newRow("nur $") << QByteArray("HighValueBound") << "$" << 90;
        QTest::newRow("Wort") << QByteArray("HighValueBound") << "neunzig" << 90;
        QTest::newRow("Ziffern mit Rest") << QByteArray("HighValueBound") << "12abc" << 90;
        QTest::newRow("Kommazahl") << QByteArray("HighValueBound") << "1.5" << 90;
        QTest::newRow("leer") << QByteArray("HighValueBound") << "" << 90;
        QTest::newRow("fehlt") << QByteArray("HighValueBound") << QString() << 90;
        QTest::newRow("größte Zahl") << QByteArray("HighValueBound") << "2147483647" << 2147483647;
        QTest::newRow("zu groß") << QByteArray("HighValueBound") << "2147483648" << 90;
        QTest::newRow("kleinste Zahl") << QByteArray("HighValueBound") << "-2147483648" << int(-2147483648LL);
        QTest::newRow("hex 32 Bit") << QByteArray("HighValueBound") << "0xFFFFFFFF" << -1;
        QTest::newRow("hex zu groß") << QByteArray("HighValueBound") << "0x100000000" << 90;
        QTest::newRow("in Anführungszeichen") << QByteArray("HighValueBound") << "\"60\"" << 60;
        QTest::newRow("Sekunden, keine Millisekunden") << QByteArray("RefreshTimePublicView") << "10000" << 10000;
        QTest::newRow("Schalter 0") << QByteArray("SymbolEditView") << "0" << 0;
        QTest::newRow("Schalter 2 ist an") << QByteArray("SymbolEditView") << "2" << 1;
        QTest::newRow("Schalter -1 ist an") << QByteArray("Entwicklerversion") << "-1" << 1;
        QTest::newRow("Schalter yes: Vorgabe an") << QByteArray("SymbolEditView") << "yes" << 1;
        QTest::newRow("Schalter yes: Vorgabe aus") << QByteArray("Entwicklerversion") << "yes" << 0;
        QTest::newRow("Schalter fehlt: Vorgabe an") << QByteArray("SymbolEditView") << QString() << 1;
    }
    void zahlenUndSchalter()
    {
        QFETCH(QByteArray, schluessel);
        QFETCH(QString, text);
        QFETCH(int, erwartet);
        const QHash<QByteArray, std::function<int()>> feld = {
            {"HighValueBound", [] { return IniRecord.HighValueBound; }},
            {"RefreshTimePublicView", [] { return IniRecord.RefreshTimePublicView; }},
            {"SymbolEditView", [] { return int(IniRecord.SymbolEditView); }},
            {"Entwicklerversion", [] { return int(IniRecord.Entwicklerversion); }},
        };
        controlLesen(schluessel.constData(), text);
        QCOMPARE(feld.value(schluessel)(), erwartet);
    }

    void spaltenWerte_data()
    {
        QTest::addColumn<QByteArray>("datei");   // section PublicBetreff
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("breite");
        QTest::addColumn<bool>("sichtbar");
        QTest::addColumn<int>("farbe");
        QTest::addColumn<int>("schriftfarbe");
        const int fenster = int(0xFF000005), text = int(0xFF000008);
        QTest::newRow("Vorgaben") << QByteArray("") << 0 << 80 << true << fenster << text;
        QTest::newRow("gespeichert") << QByteArray("Position=4\r\nWidth=150\r\nVisible=0\r\nColor=255\r\nFontcolor=-16777211\r\n")
                                     << 4 << 150 << false << 255 << fenster;
        QTest::newRow("grün als 0x") << QByteArray("Color=0x00FF00\r\n") << 0 << 80 << true << 0x00FF00 << text;
        QTest::newRow("grün als $") << QByteArray("Color=$00FF00\r\n") << 0 << 80 << true << 0x00FF00 << text;
        QTest::newRow("Systemfarbe hex") << QByteArray("Fontcolor=0xFF000005\r\n") << 0 << 80 << true << fenster << fenster;
        QTest::newRow("Farbwort: Vorgabe") << QByteArray("Color=green\r\n") << 0 << 80 << true << fenster << text;
        QTest::newRow("Visible 2") << QByteArray("Visible=2\r\n") << 0 << 80 << true << fenster << text;
        QTest::newRow("Visible yes") << QByteArray("Visible=yes\r\n") << 0 << 80 << true << fenster << text;
    }
    void spaltenWerte()
    {
        QFETCH(QByteArray, datei);
        schreibenRoh(ini(), "[PublicBetreff]\r\n" + datei);
        SpalteLesen("BETREFF");
        const TSpaltenLayout& s = IniRecord.PublicBetreff;
        QTEST(int(s.Position), "position");
        QTEST(int(s.Width), "breite");
        QTEST(s.Visible, "sichtbar");
        QTEST(int(s.Color), "farbe");
        QTEST(int(s.Fontcolor), "schriftfarbe");
    }

    // Each column id reads and writes its own section and record field, and only that.
    void spaltenIds_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("abschnitt");
        QTest::addColumn<TSpaltenLayout TIniRecord::*>("feld");
        QTest::newRow("PROJEKT") << "PROJEKT" << "PublicKommNr" << &TIniRecord::PublicKommNr;
        QTest::newRow("BEZEICHNUNG") << "BEZEICHNUNG" << "PublicBezeichn" << &TIniRecord::PublicBezeichn;
        QTest::newRow("BAUSTELLE") << "BAUSTELLE" << "PublicBaustelle" << &TIniRecord::PublicBaustelle;
        QTest::newRow("BETREFF") << "BETREFF" << "PublicBetreff" << &TIniRecord::PublicBetreff;
        QTest::newRow("MITARBEITER") << "MITARBEITER" << "PublicPersonal" << &TIniRecord::PublicPersonal;
        QTest::newRow("AUFGABE") << "AUFGABE" << "PublicAufgabe" << &TIniRecord::PublicAufgabe;
        QTest::newRow("DATUM") << "DATUM" << "PublicDatum" << &TIniRecord::PublicDatum;
        QTest::newRow("STATUS") << "STATUS" << "PublicStatus" << &TIniRecord::PublicStatus;
        QTest::newRow("ASTATUS") << "ASTATUS" << "PublicAufgStatus" << &TIniRecord::PublicAufgStatus;
    }
    void spaltenIds()
    {
        QFETCH(QString, id);
        QFETCH(QString, abschnitt);
        QFETCH(TSpaltenLayout TIniRecord::*, feld);
        IniRecord.*feld = {7, 99, true, 1, 2};
        SpalteSchreiben(id);
        QCOMPARE(lesen(ini()), QByteArray("[" + abschnitt.toUtf8()
                                          + "]\r\nPosition=7\r\nWidth=99\r\nVisible=1\r\nColor=1\r\nFontcolor=2\r\n"));
        IniRecord = TIniRecord{};
        SpalteLesen(id);
        const TSpaltenLayout& s = IniRecord.*feld;
        QVERIFY(s.Position == 7 && s.Width == 99 && s.Visible && s.Color == 1 && s.Fontcolor == 2);
        // No other column was touched.
        int gelesen = 0;
        for (auto spalte : {&TIniRecord::PublicKommNr, &TIniRecord::PublicBezeichn, &TIniRecord::PublicBaustelle,
                            &TIniRecord::PublicBetreff, &TIniRecord::PublicPersonal, &TIniRecord::PublicAufgabe,
                            &TIniRecord::PublicDatum, &TIniRecord::PublicStatus, &TIniRecord::PublicAufgStatus})
            gelesen += (IniRecord.*spalte).Width != 0;
        QCOMPARE(gelesen, 1);
    }

    void fenster_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<FensterFelder>("felder");
        QTest::addColumn<int>("breite");
        QTest::addColumn<int>("hoehe");
#define FENSTER(n, b, h) \
    QTest::newRow(#n) << #n << FensterFelder{&TIniRecord::n##Top, &TIniRecord::n##Left, &TIniRecord::n##Width, &TIniRecord::n##Height} << b << h
        FENSTER(HauptFensterEV, 1113, 750);
        FENSTER(HauptFensterPV, 1113, 750);
        FENSTER(StammFenster, 800, 750);
        FENSTER(OptionFenster, 657, 565);
        FENSTER(AufgabeFenster, 657, 565);
        FENSTER(SucheFenster, 715, 427);
        FENSTER(DruckVorschau, 715, 427);
#undef FENSTER
    }
    void fenster()
    {
        QFETCH(QString, name);
        QFETCH(FensterFelder, felder);
        QFETCH(int, breite);
        QFETCH(int, hoehe);
        schreibenRoh(ini(), "[Fenster]\r\n");
        IniRecord.*felder.top = 5;
        FensterLesen(name);
        QCOMPARE(IniRecord.*felder.top, 0);
        QCOMPARE(IniRecord.*felder.left, 0);
        QCOMPARE(IniRecord.*felder.width, breite);
        QCOMPARE(IniRecord.*felder.height, hoehe);

        IniRecord.*felder.top = 11;
        IniRecord.*felder.left = -1920;
        IniRecord.*felder.width = 1024;
        IniRecord.*felder.height = 700;
        FensterSchreiben(name);
        const QByteArray n = name.toUtf8();
        QCOMPARE(lesen(ini()), "[Fenster]\r\n" + n + "Top=11\r\n" + n + "Left=-1920\r\n" + n + "Width=1024\r\n" + n
                                   + "Height=700\r\n");
        IniRecord = TIniRecord{};
        FensterLesen(name);
        QCOMPARE(IniRecord.*felder.top, 11);
        QCOMPARE(IniRecord.*felder.left, -1920);
        QCOMPARE(IniRecord.*felder.width, 1024);
        QCOMPARE(IniRecord.*felder.height, 700);
    }

    // Names and ids are compared exactly; anything else reads and writes nothing.
    void unbekannteNamen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Kleinschreibung") << "hauptfensterev";
        QTest::newRow("Großschreibung") << "HAUPTFENSTEREV";
        QTest::newRow("Spalten-Id klein") << "projekt";
        QTest::newRow("unbekannt") << "Nebenfenster";
        QTest::newRow("leer") << "";
    }
    void unbekannteNamen()
    {
        QFETCH(QString, name);
        const QByteArray datei = "[Fenster]\r\nHauptFensterEVTop=50\r\nhauptfenstereVTop=60\r\n[PublicKommNr]\r\nWidth=5\r\n";
        schreibenRoh(ini(), datei);
        IniRecord.HauptFensterEVTop = 7;
        IniRecord.PublicKommNr.Width = 8;
        FensterLesen(name);
        SpalteLesen(name);
        FensterSchreiben(name);
        SpalteSchreiben(name);
        QCOMPARE(IniRecord.HauptFensterEVTop, 7);
        QCOMPARE(IniRecord.PublicKommNr.Width, 8);
        QCOMPARE(lesen(ini()), datei);
    }

    void langeTexteGekuerzt()
    {
        const QString lang(3000, QLatin1Char('x'));
        QString paar = QString(2046, QLatin1Char('y')) + QStringLiteral("😀z");   // pair at 2047/2048
        schreibenRoh(ini(), "[Programm]\r\nMasterVerzeichnis=" + lang.toUtf8() + "\r\nMasterDatei=" + paar.toUtf8() + "\r\n");
        IniLesen();
        QCOMPARE(IniRecord.MasterVerzeichnis, lang.left(2047));
        QCOMPARE(IniRecord.MasterDatei, paar.left(2046));
    }

    // The program directory is the working directory, whole, however long.
    void langesProgrammVerzeichnis()
    {
        QString tief = m_ordner->path();
        for (int i = 0; i < 8; ++i)
            tief += "/" + QString(40, QChar(u'ä' + 0)) + QString::number(i);
        QVERIFY(QDir().mkpath(tief));
        QVERIFY(QDir::setCurrent(tief));
        QCOMPARE(ProgrammVerzeichnis(), QDir::toNativeSeparators(tief));
        QCOMPARE(IniDateiPfad(), QDir::toNativeSeparators(tief + "/PROJEKT.INI"));
        IniAnlegen();
        IniRecord = TIniRecord{};
        IniLesen();
        QCOMPARE(IniRecord.DBVerzeichnis, QDir::toNativeSeparators(tief));
    }

    void namenUndPfade()
    {
        QCOMPARE(ProgrammDateiName(), QStringLiteral("projektverwaltung"));
        QCOMPARE(PfadVerbinden("/srv/projekt", "PROJEKT.MDB"), QStringLiteral("/srv/projekt/PROJEKT.MDB"));
        QCOMPARE(PfadVerbinden("/", "PROJEKT.INI"), QStringLiteral("/PROJEKT.INI"));
        QCOMPARE(PfadVerbinden("", "PROJEKT.MDB"), QStringLiteral("PROJEKT.MDB"));
    }

    // A directory in place of the file: creating it is reported and nothing else happens;
    // writing raises the error with the full path.
    void dateiNichtSchreibbar()
    {
        QVERIFY(QDir(m_ordner->path()).mkdir("PROJEKT.INI"));
        MeldungsRecorder meldungen;
        IniAnlegen();
        QCOMPARE(meldungen.texte(), QStringList{QStringLiteral("Ini-Datei konnte nicht angelegt werden")});
        QCOMPARE(meldungen.meldungen.first().first, Meldung::Art::Fehler);
        QVERIFY(IniRecord.DBName.isEmpty());   // not preset either
        QCOMPARE(IniRecord.HighValueBound, 0);

        IniVorbelegen();
        const QString erwartet = QStringLiteral("In %1 kann nicht geschrieben werden").arg(ini());
        const auto pruefen = [&](const std::function<void()>& routine) {
            try {
                routine();
                QFAIL("kein Fehler");
            } catch (const Fehler& f) {
                QCOMPARE(f.text(), erwartet);
            }
        };
        pruefen(IniSchreiben);
        pruefen([] { FensterSchreiben("StammFenster"); });
        pruefen([] { SpalteSchreiben("STATUS"); });
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("PROJEKT.INI")});
    }

    // A write that fails in the middle of IniSchreiben keeps the keys written before it and
    // skips the rest; the file is never half-written.
    void schreibfehlerMittendrin()
    {
        IniVorbelegen();
        int schreibvorgaenge = 0;
        ProfilTestHaken::setzen([&] { return ++schreibvorgaenge < 3; });
        try {
            IniSchreiben();
            QFAIL("kein Fehler");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(ini()));
        }
        QCOMPARE(schreibvorgaenge, 3);
        const QByteArray v = verzeichnis().toUtf8();
        QCOMPARE(lesen(ini()), "[Programm]\r\nProgVerzeichnis=" + v + "\r\nDBVerzeichnis=" + v + "\r\n");
    }
};

QTEST_GUILESS_MAIN(TestIniRecord)

#include "tst_inirecord.moc"
