#include "DataModule1.h"
#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "FremdeSperre.h"
#include "FehlerText.h"
#include "IniRecord.h"
#include "PostgresVerbindung.h"
#include "Serveradresse.h"
#include "TestServer.h"
#include "ServerWerkzeug.h"
#include "MeldungsRecorder.h"
#include "Programmstart.h"
#include "TKADaoDatabase.h"
#include "TField.h"
#include "TKADaoTable.h"
#include "UnitProjektMain.h"
#include "UnitStart.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// Notes whether the main window was ever shown, and closes it once it is (ends the loop): by
// its close box, or as the system asks a program to stop, by the signal SIGTERM.
class HauptfensterBeobachter : public QObject
{
public:
    bool perSignal = false;
    // Before the signal: a task edit is pending and another program holds the database.
    bool offeneAenderungGesperrt = false;
    std::unique_ptr<FremdeSperre> sperre;
    bool gezeigt = false;
    bool splashDaBeimZeigen = true;
    bool verbundenNachSchliessen = true;
    QString hinweis;   // the start-up notice in the status line when shown
    int aussenBreite = 0;   // the window's width with its frame, which the settings keep

    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (ereignis->type() == QEvent::Show && objekt->objectName() == QLatin1String("FormProjektMain")) {
            gezeigt = true;
            splashDaBeimZeigen = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<TFormStart*>(w))
                    splashDaBeimZeigen = true;
            auto* fenster = static_cast<QWidget*>(objekt);
            QMetaObject::invokeMethod(fenster, [this, fenster] {
                if (auto* l = fenster->findChild<QLabel*>(QStringLiteral("lblHinweis")); l && l->isVisibleTo(fenster))
                    hinweis = l->text();
                fenster->resize(901, 702);
                aussenBreite = fenster->frameGeometry().width();
                if (offeneAenderungGesperrt) {
                    TKADaoTable* aufgaben = DataModule1->TabProjektAufgaben;
                    aufgaben->Edit();
                    aufgaben->FieldByName("Bemerkung")->setAsString("Gerüst bestellt");
                    DataModule1->DBProjekt->setBusyTimeout(200);
                    sperre = std::make_unique<FremdeSperre>(DataModule1->DBProjekt->Dateipfad());
                }
                if (perSignal) {
                    ::raise(SIGTERM);
                    QTRY_VERIFY(!fenster->isVisible());
                } else {
                    fenster->close();
                }
                verbundenNachSchliessen = DataModule1->DBProjekt->Connected();
            }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

class TestProgrammstart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void ersterStart();
    void gespeicherteWerteBleiben();
    void fehlerBeendetVorDemHauptfenster_data();
    void fehlerBeendetVorDemHauptfenster();
    void laufEndetMitDemHauptfenster_data();
    void laufEndetMitDemHauptfenster();
    void unbeaufsichtigterStart_data();
    void unbeaufsichtigterStart();
    void windowsPfadAlsDatenbankverzeichnis_data();
    void windowsPfadAlsDatenbankverzeichnis();
    void datenbankAufDemServer_data();
    void datenbankAufDemServer();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    QString m_hilfedatei;   // placed beside the test program for this run only
};

// The main window looks for its help file beside the program file; one is put there so these
// runs show only the messages of start-up itself.
void TestProgrammstart::initTestCase()
{
    const QString pfad = QDir(QCoreApplication::applicationDirPath()).filePath("Projekt.chm");
    if (!QFile::exists(pfad)) {
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        m_hilfedatei = pfad;
    }
}

void TestProgrammstart::cleanupTestCase()
{
    if (!m_hilfedatei.isEmpty())
        QFile::remove(m_hilfedatei);
}

// A program directory as installed: the program file and a database with five statuses.
void TestProgrammstart::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    QVERIFY(QFile::copy(QStringLiteral(PV_PROGRAMM), pfad(ProgrammDateiName())));
    DatenbankWerkzeug::anlegen(pfad("PROJEKT.MDB"));
    DatenbankWerkzeug::demoDatenEinfuegen(pfad("PROJEKT.MDB"), 3, QDate(2024, 5, 6));
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
}

void TestProgrammstart::cleanup()
{
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

// First run: the bar moves in its steps, the database is connected and the datasets open in
// their order, the settings file is created, stamped and gains the number of statuses.
void TestProgrammstart::ersterStart()
{
    QVERIFY(!QFile::exists(pfad("PROJEKT.INI")));
    TDataModule1 module;
    TFormStart splash;
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.size(), QSize(389, 413));
    QCOMPARE(splash.ProgressBar1->geometry(), QRect(0, 396, 389, 17));
    QCOMPARE(splash.ProgressBar1->value(), 0);
    QCOMPARE(splash.ProgressBar1->maximum(), 100);
    QStringList schritte;
    connect(&splash, &TFormStart::Fortschritt, this, [&](int wert) {
        QStringList offen;
        for (TKADaoTable* t : module.Oeffnungsreihenfolge())
            if (t->Active())
                offen << t->objectName();
        schritte << QString("%1 %2 %3").arg(wert).arg(module.DBProjekt->Connected() ? "verbunden" : "-", offen.join(','));
    });
    splash.Initialisieren(module);

    const QString alle = "TabAufgaben,TabPersonal,TabStatus,TabStatSum,TabProjekt,TabProjektView,TabProjektAufgaben";
    const QStringList erwartet = {
        "25 - ", "35 - ", "45 - ", "55 verbunden ", "65 verbunden TabAufgaben",
        "75 verbunden TabAufgaben,TabPersonal", "85 verbunden TabAufgaben,TabPersonal,TabStatus",
        "95 verbunden TabAufgaben,TabPersonal,TabStatus,TabStatSum",
        "100 verbunden TabAufgaben,TabPersonal,TabStatus,TabStatSum,TabProjekt",
        "100 verbunden TabAufgaben,TabPersonal,TabStatus,TabStatSum,TabProjekt,TabProjektView",
        "100 verbunden " + alle,
    };
    QCOMPARE(schritte, erwartet);
    QVERIFY(module.QProjektAufgaben->Active());
    QCOMPARE(QFileInfo(module.DBProjekt->DatabaseName()).canonicalFilePath(),
             QFileInfo(pfad("PROJEKT.MDB")).canonicalFilePath());

    // The version of the program file in the program directory, not the built-in preset.
    QCOMPARE(IniRecord.Version, QStringLiteral(PV_PROGRAMMVERSION));
    QVERIFY(QFile::exists(pfad("PROJEKT.INI")));
    IniVorbelegen();
    IniLesen();
    QCOMPARE(IniRecord.AnzahlStatus, 5);
}

// A stored number of statuses other than 0 stays; "DBName" does not choose the database.
void TestProgrammstart::gespeicherteWerteBleiben()
{
    IniVorbelegen();
    IniAnlegen();
    IniRecord.AnzahlStatus = 3;
    IniRecord.DBName = QStringLiteral("ANDERS.MDB");
    IniSchreiben();

    TDataModule1 module;
    TFormStart splash;
    splash.Initialisieren(module);
    QVERIFY(module.DBProjekt->DatabaseName().endsWith(QLatin1String("PROJEKT.MDB")));
    QCOMPARE(IniRecord.AnzahlStatus, 3);
    IniVorbelegen();
    IniLesen();
    QCOMPARE(IniRecord.AnzahlStatus, 3);
    QCOMPARE(IniRecord.DBName, QStringLiteral("ANDERS.MDB"));
}

void TestProgrammstart::fehlerBeendetVorDemHauptfenster_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QStringList>("meldungen");   // texts the messages start with
    QTest::newRow("ohne Datenbank") << "ohne Datenbank" << QStringList();
    QTest::newRow("ohne Programmdatei") << "ohne Programmdatei"
                                        << QStringList{"File contains no version information"};
    QTest::newRow("Einstellungsdatei nicht schreibbar")
        << "ini gesperrt" << QStringList{"Ini-Datei konnte nicht angelegt werden", "In "};
    QTest::newRow("Datenbank gesperrt") << "db gesperrt" << QStringList{"Die Datenbank '"};
}

// Any error of start-up is shown, the program ends with code 1 and the main window never shows.
void TestProgrammstart::fehlerBeendetVorDemHauptfenster()
{
    QFETCH(QString, fall);
    QFETCH(QStringList, meldungen);
    if (fall == "ohne Datenbank")
        QVERIFY(QFile::remove(pfad("PROJEKT.MDB")));
    else if (fall == "ohne Programmdatei")
        QVERIFY(QFile::remove(pfad(ProgrammDateiName())));
    else if (fall == "ini gesperrt")
        QVERIFY(QDir(m_ordner->path()).mkdir("PROJEKT.INI"));   // root may write anywhere; a folder stops it
    // Another program holds the database during the whole start.
    std::unique_ptr<FremdeSperre> sperre;
    if (fall == "db gesperrt")
        sperre = std::make_unique<FremdeSperre>(pfad("PROJEKT.MDB"));

    MeldungsRecorder recorder;
    HauptfensterBeobachter beobachter;
    qApp->installEventFilter(&beobachter);
    const int ergebnis = ProgrammStarten(*qApp);
    qApp->removeEventFilter(&beobachter);

    QCOMPARE(ergebnis, 1);
    QVERIFY(!beobachter.gezeigt);
    QVERIFY(!FormProjektMain);
    QVERIFY(!DataModule1);
    const QStringList texte = recorder.texte();
    QVERIFY2(!texte.isEmpty(), "keine Meldung");
    if (meldungen.isEmpty())
        meldungen << QString();   // the database layer's own text
    QCOMPARE(texte.size(), meldungen.size());
    for (int i = 0; i < texte.size(); ++i)
        QVERIFY2(texte[i].startsWith(meldungen[i]) && !texte[i].isEmpty(), qPrintable(texte.join(" | ")));
    QCOMPARE(recorder.meldungen.last().first, Meldung::Art::Fehler);
    if (fall == "ohne Datenbank")
        QVERIFY2(texte[0].contains("PROJEKT.MDB"), qPrintable(texte[0]));
    if (fall == "ini gesperrt")
        QVERIFY2(texte[1].contains("PROJEKT.INI") && texte[1].endsWith("kann nicht geschrieben werden"),
                 qPrintable(texte[1]));
    // Nothing was entered yet: the start says so in its own words.
    if (fall == "db gesperrt")
        QCOMPARE(texte[0], QStringLiteral("Die Datenbank '%1' ist gerade von einem anderen Programm gesperrt; bitte in "
                                          "einem Augenblick erneut starten.")
                               .arg(QDir::toNativeSeparators(QFileInfo(pfad("PROJEKT.MDB")).absoluteFilePath())));
}

void TestProgrammstart::laufEndetMitDemHauptfenster_data()
{
    QTest::addColumn<bool>("perSignal");
    QTest::addColumn<bool>("offeneAenderungGesperrt");
    QTest::newRow("Schließfeld") << false << false;
    QTest::newRow("SIGTERM") << true << false;
    QTest::newRow("SIGTERM, offene Änderung, Datenbank gesperrt") << true << true;
}

// A good start shows the main window only after the splash is gone; closing the main window,
// also on a stop signal of the system, stores its geometry, disconnects the database and ends
// the run with code 0.
void TestProgrammstart::laufEndetMitDemHauptfenster()
{
    QFETCH(bool, perSignal);
    QFETCH(bool, offeneAenderungGesperrt);
    MeldungsRecorder recorder;
    HauptfensterBeobachter beobachter;
    beobachter.perSignal = perSignal;
    beobachter.offeneAenderungGesperrt = offeneAenderungGesperrt;
    qApp->installEventFilter(&beobachter);
    const int ergebnis = ProgrammStarten(*qApp);
    qApp->removeEventFilter(&beobachter);

    QCOMPARE(ergebnis, 0);
    QVERIFY(beobachter.gezeigt);
    QVERIFY(!beobachter.splashDaBeimZeigen);
    QVERIFY(!beobachter.verbundenNachSchliessen);
    QCOMPARE(recorder.texte(), QStringList());
    QSettings einstellungen(pfad("PROJEKT.INI"), QSettings::IniFormat);
    QVERIFY(beobachter.aussenBreite >= 901);
    QCOMPARE(einstellungen.value("Fenster/HauptFensterEVWidth").toInt(), beobachter.aussenBreite);
    // The stop signal does not wait for the lock to go: the edit is kept for the next start.
    if (offeneAenderungGesperrt) {
        beobachter.sperre.reset();
        QFile notiz(pfad("NICHT-GESPEICHERT.json"));
        QVERIFY(notiz.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(notiz.readAll()).contains("Gerüst bestellt"));
    } else {
        QVERIFY(!QFile::exists(pfad("NICHT-GESPEICHERT.json")));
    }
    // The guard is gone with the run: the signal has its default effect again.
    struct sigaction aktion = {};
    sigaction(SIGTERM, nullptr, &aktion);
    QVERIFY(aktion.sa_handler == SIG_DFL);
}

void TestProgrammstart::unbeaufsichtigterStart_data()
{
    QTest::addColumn<int>("startansicht");
    QTest::newRow("Bearbeiten: Box") << 0;
    QTest::newRow("Wandtafel: Statuszeile") << 1;
}

// Started in the public view, a wall screen runs unattended: the missing help file is said in
// the status line (and the log), not in a box that waits for a click. In the edit view the box
// stays.
void TestProgrammstart::unbeaufsichtigterStart()
{
    QFETCH(int, startansicht);
    const QString hilfe = QDir(QCoreApplication::applicationDirPath()).filePath("Projekt.chm");
    QVERIFY(QFile::rename(hilfe, hilfe + ".weg"));
    const auto zurueck = qScopeGuard([&] { QFile::rename(hilfe + ".weg", hilfe); });
    IniVorbelegen();
    IniAnlegen();
    IniRecord.Startansicht = startansicht;
    IniSchreiben();

    MeldungsRecorder recorder;
    HauptfensterBeobachter beobachter;
    qApp->installEventFilter(&beobachter);
    const int ergebnis = ProgrammStarten(*qApp);
    qApp->removeEventFilter(&beobachter);

    QCOMPARE(ergebnis, 0);
    QVERIFY(beobachter.gezeigt);
    const QString meldung = QStringLiteral("Hilfedatei nicht gefunden !") + QChar(13) + QDir::toNativeSeparators(hilfe);
    if (startansicht == 1) {
        QCOMPARE(recorder.texte(), QStringList());
        QCOMPARE(beobachter.hinweis, QString(meldung).replace(QChar(13), QChar(' ')));
    } else {
        QCOMPARE(recorder.texte(), QStringList{meldung});
        QCOMPARE(beobachter.hinweis, QString());
    }
}

void TestProgrammstart::windowsPfadAlsDatenbankverzeichnis_data()
{
    QTest::addColumn<QString>("verzeichnis");
    QTest::addColumn<bool>("datenbankImProgrammordner");
    QTest::addColumn<QString>("meldung");   // part of the one message
    QTest::newRow("Laufwerk, Datenbank im Programmordner") << "C:\\PROGRAMME\\PROJEKT" << true << "ist ein Windows-Pfad";
    QTest::newRow("Laufwerk mit Schrägstrich") << "d:/daten" << true << "ist ein Windows-Pfad";
    QTest::newRow("Laufwerk, keine Datenbank") << "C:\\PROGRAMME\\PROJEKT" << false
                                               << "ist ein Windows-Pfad mit Laufwerksbuchstaben";
    QTest::newRow("Freigabe, keine Datenbank") << "\\\\SERVER\\Daten\\Projekt" << false
                                               << "ist der Pfad einer Windows-Freigabe";
}

// Settings brought from Windows name the database folder with a Windows path. With PROJEKT.MDB
// in the program folder that one is opened, said once and stored; otherwise the message says
// that it is a Windows path and what to set, instead of a path that mixes both worlds.
void TestProgrammstart::windowsPfadAlsDatenbankverzeichnis()
{
    QFETCH(QString, verzeichnis);
    QFETCH(bool, datenbankImProgrammordner);
    QFETCH(QString, meldung);
    if (!datenbankImProgrammordner)
        QVERIFY(QFile::remove(pfad("PROJEKT.MDB")));
    IniVorbelegen();
    IniAnlegen();
    IniRecord.DBVerzeichnis = verzeichnis;
    IniSchreiben();

    MeldungsRecorder recorder;
    TDataModule1 module;
    TFormStart splash;
    QString fehler;
    try {
        splash.Initialisieren(module);
    } catch (const Fehler& f) {
        fehler = f.text();
    }
    if (!datenbankImProgrammordner) {
        QVERIFY2(fehler.startsWith(QStringLiteral("Das Datenbankverzeichnis '%1' %2").arg(verzeichnis, meldung)),
                 qPrintable(fehler));
        QVERIFY2(fehler.contains("DBVerzeichnis=" + QDir::toNativeSeparators(m_ordner->path())), qPrintable(fehler));
        QVERIFY(!module.DBProjekt->Connected());
        return;
    }
    QCOMPARE(fehler, QString());
    QVERIFY(module.DBProjekt->Connected());
    QCOMPARE(QFileInfo(module.DBProjekt->DatabaseName()).canonicalFilePath(),
             QFileInfo(pfad("PROJEKT.MDB")).canonicalFilePath());
    QCOMPARE(recorder.texte().size(), 1);
    QVERIFY2(recorder.texte()[0].contains(meldung), qPrintable(recorder.texte()[0]));
    QVERIFY2(recorder.texte()[0].contains(QDir::toNativeSeparators(pfad("PROJEKT.MDB"))), qPrintable(recorder.texte()[0]));

    // Said once: the setting now names the program folder, and the next start is silent.
    module.DBProjekt->Close();
    TFormStart naechsterStart;
    naechsterStart.Initialisieren(module);
    QCOMPARE(recorder.texte().size(), 1);
    QCOMPARE(IniRecord.DBVerzeichnis, QDir::toNativeSeparators(m_ordner->path()));
}

void TestProgrammstart::datenbankAufDemServer_data()
{
    QTest::addColumn<QString>("abschnitt");   // [Datenbank] as written; %1 host, %2 port, %3 name
    QTest::addColumn<QString>("fehler");      // start of the message; empty: the server is opened
    QTest::newRow("Server") << "Server=postgresql\nHost=%1\nPort=%2\nName=%3\nBenutzer=pvtest\n" << QString();
    QTest::newRow("Groß geschrieben") << "Server=PostgreSQL\nHost=%1\nPort=%2\nName=%3\nBenutzer=pvtest\n" << QString();
    QTest::newRow("ohne Name") << "Server=postgresql\nHost=%1\nPort=%2\n"
                               << "In %4 nennt der Abschnitt [Datenbank] den Server, aber keine Datenbank.";
    QTest::newRow("anderer Server") << "Server=oracle\nName=%3\n"
                                    << "In %4 nennt der Abschnitt [Datenbank] den Server 'oracle'.";
    QTest::newRow("Port außerhalb") << "Server=postgresql\nHost=%1\nPort=70000\nName=%3\n"
                                    << "In %4 ist im Abschnitt [Datenbank] Port=70000 keine Portnummer";
    QTest::newRow("leerer Abschnitt: die Datei") << "Server=\nName=%3\n" << QString();
}

// [Datenbank] in PROJEKT.INI names the server the office's PCs share: start-up opens it there
// (the data of this folder's file copied over) instead of the file; the section is only read,
// never rewritten; a section that names no database or an unknown server says which key.
void TestProgrammstart::datenbankAufDemServer()
{
    QFETCH(QString, abschnitt);
    QFETCH(QString, fehler);
    std::optional<Serveradresse> adresse = testServer();
    QVERIFY2(adresse, "kein Testserver (PV_TEST_PGSERVER); ctest startet ihn");
    Serveradresse wartung = *adresse;
    adresse->name = QStringLiteral("pvstart_%1_%2").arg(QCoreApplication::applicationPid()).arg(QTest::currentDataTag()[0] == 'S' ? 1 : 2);
    const bool dateiBleibt = abschnitt.startsWith(QLatin1String("Server=\n"));
    const bool aufServer = fehler.isEmpty() && !dateiBleibt;
    if (aufServer)
        DatenbankWerkzeug::kopieren(pfad("PROJEKT.MDB"), *adresse);
    const ServerDatenbankEntfernen aufraeumen{wartung, adresse->name};

    IniVorbelegen();
    IniAnlegen();
    const QString text = QStringLiteral("\n[Datenbank]\n")
        + QString(abschnitt)
              .replace(QStringLiteral("%1"), adresse->host)
              .replace(QStringLiteral("%2"), QString::number(adresse->port))
              .replace(QStringLiteral("%3"), adresse->name);
    {
        QFile ini(IniDateiPfad());
        QVERIFY(ini.open(QIODevice::Append));
        ini.write(text.toUtf8());
    }

    TDataModule1 module;
    TFormStart splash;
    const QString meldung = fehlerText([&] { splash.Initialisieren(module); });
    if (!fehler.isEmpty()) {
        QVERIFY2(meldung.startsWith(QString(fehler).replace(QStringLiteral("%4"), IniDateiPfad())), qPrintable(meldung));
        QVERIFY(!module.DBProjekt->Connected());
        return;
    }
    QCOMPARE(meldung, QString());
    QVERIFY(module.DBProjekt->Connected());
    QCOMPARE(module.DBProjekt->AufServer(), aufServer);
    if (aufServer) {
        QCOMPARE(module.DBProjekt->DatabaseName(), adresse->text());
        QCOMPARE(module.TabProjekt->RecordCount(), 3);
    }
    QCOMPARE(IniRecord.AnzahlStatus, 5);
    // Start-up rewrote the file; the section is still as it was written.
    QFile ini(IniDateiPfad());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(ini.readAll()).contains(text.trimmed()));
}

QTEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
