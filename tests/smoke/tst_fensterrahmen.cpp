// The built program under a real X server with a window manager that draws frames: started and
// closed through the close box three times, it leaves PROJEKT.INI byte for byte as it was after
// the first run, so no window creeps; a stored place that hides the title bar is moved back
// onto the screen. The test runs its own virtual X server (Xvfb) on a free display and its own
// openbox, and ends both.

#include "Testdateien.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <optional>

namespace {

// A process that is ended when the test is done with it, whatever happened meanwhile.
struct Hintergrund
{
    QProcess prozess;
    ~Hintergrund()
    {
        if (prozess.state() == QProcess::NotRunning)
            return;
        prozess.terminate();
        if (!prozess.waitForFinished(5000)) {
            prozess.kill();
            prozess.waitForFinished();
        }
    }
};

bool programmDa(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

} // namespace

class TestFensterrahmen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void dreiStartsOhneWandern();
    void titelleisteAusserhalbZurueck();

private:
    QProcessEnvironment xUmgebung() const;
    // Runs a helper program on the test display; its output, or nothing when it failed.
    std::optional<QString> aufDisplay(const QString& programm, const QStringList& argumente) const;
    // Starts the program, waits for its main window, closes it through its close box.
    void startenUndSchliessen();
    bool laufOk()
    {
        startenUndSchliessen();
        return !QTest::currentTestFailed();
    }
    QByteArray ini() const { return Testdateien::lesen(QDir(m_demo).filePath("PROJEKT.INI")); }
    void fensterSetzen(int top, int left);

    QString m_demo;
    QString m_display;
    Hintergrund m_xserver;
    Hintergrund m_fenstermanager;
};

void TestFensterrahmen::initTestCase()
{
    for (const char* noetig : {"Xvfb", "openbox", "wmctrl"})
        QVERIFY2(programmDa(noetig), qPrintable(QStringLiteral("%1 fehlt (scripts/install-deps.sh)").arg(noetig)));

    // Xvfb picks a free display number itself and reports it.
    m_xserver.prozess.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1600x1000x24", "-nolisten", "tcp"});
    QVERIFY(m_xserver.prozess.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_xserver.prozess.canReadLine() || m_xserver.prozess.state() == QProcess::NotRunning, 60000);
    const QString nummer = QString::fromLatin1(m_xserver.prozess.readLine()).trimmed();
    QVERIFY2(!nummer.isEmpty(), "Xvfb meldet keine Displaynummer");
    m_display = ':' + nummer;

    m_fenstermanager.prozess.setProcessEnvironment(xUmgebung());
    m_fenstermanager.prozess.setProcessChannelMode(QProcess::MergedChannels);
    m_fenstermanager.prozess.start("openbox", {"--sm-disable"});
    QVERIFY(m_fenstermanager.prozess.waitForStarted());
    QElapsedTimer uhr;
    uhr.start();
    bool bereit = false;
    while (!bereit && uhr.elapsed() < 60000 && m_fenstermanager.prozess.state() == QProcess::Running) {
        bereit = aufDisplay("wmctrl", {"-m"}).value_or(QString()).contains("Openbox");
        if (!bereit)
            QTest::qWait(100);
    }
    QVERIFY2(bereit, qPrintable(QStringLiteral("openbox nach %1 ms nicht bereit: %2")
                                    .arg(uhr.elapsed())
                                    .arg(QString::fromLocal8Bit(m_fenstermanager.prozess.readAll()))));
}

void TestFensterrahmen::cleanupTestCase()
{
    // The members end openbox and Xvfb, the window manager first.
}

void TestFensterrahmen::init()
{
    const QDir bau(qEnvironmentVariable("PV_BINARY_DIR"));
    m_demo = bau.filePath("fensterrahmen-demo");
    QVERIFY(QDir(m_demo).removeRecursively());
    QProcess skript;
    skript.setProcessChannelMode(QProcess::ForwardedChannels);
    skript.start("bash", {QDir(qEnvironmentVariable("PV_SOURCE_DIR")).filePath("scripts/prepare-demo.sh"),
                          QStringLiteral(PV_PROGRAMM_ORDNER), m_demo});
    QVERIFY(skript.waitForFinished(120000));
    QCOMPARE(skript.exitCode(), 0);
    // The demo has its help file, so no message box waits for an answer at start.
    QVERIFY(QFile::exists(QDir(m_demo).filePath("Projekt.chm")));
}

QProcessEnvironment TestFensterrahmen::xUmgebung() const
{
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("DISPLAY", m_display);
    umgebung.insert("QT_QPA_PLATFORM", "xcb");
    return umgebung;
}

std::optional<QString> TestFensterrahmen::aufDisplay(const QString& programm, const QStringList& argumente) const
{
    QProcess p;
    p.setProcessEnvironment(xUmgebung());
    p.start(programm, argumente);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

void TestFensterrahmen::fensterSetzen(int top, int left)
{
    QByteArray inhalt = ini();
    inhalt += QStringLiteral("[Fenster]\r\nHauptFensterEVTop=%1\r\nHauptFensterEVLeft=%2\r\nHauptFensterEVWidth=1113\r\n"
                             "HauptFensterEVHeight=750\r\n").arg(top).arg(left).toLatin1();
    Testdateien::schreibenRoh(QDir(m_demo).filePath("PROJEKT.INI"), inhalt);
}

void TestFensterrahmen::startenUndSchliessen()
{
    Hintergrund programm;
    programm.prozess.setProcessEnvironment(xUmgebung());
    programm.prozess.setWorkingDirectory(m_demo);
    programm.prozess.start(QDir(m_demo).filePath("projektverwaltung"), {});
    QVERIFY(programm.prozess.waitForStarted());

    // The main window, not the splash window of the same title: wider than 600 pixels.
    static const QRegularExpression zeile(QStringLiteral("^(0x[0-9a-f]+)\\s+\\S+\\s+\\S+\\s+\\S+\\s+(\\d+)\\s+\\d+\\s+\\S+\\s+Projektverwaltung$"));
    QString fenster;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QString& z : aufDisplay("wmctrl", {"-lG"}).value_or(QString()).split('\n')) {
                const auto t = zeile.match(z.trimmed());
                if (t.hasMatch() && t.captured(2).toInt() > 600)
                    fenster = t.captured(1);
            }
            return !fenster.isEmpty() || programm.prozess.state() == QProcess::NotRunning;
        }(),
        60000);
    QVERIFY2(!fenster.isEmpty(), programm.prozess.readAllStandardError().constData());
    // The window manager frames the window and the program settles its place.
    QTest::qWait(1500);
    QVERIFY(aufDisplay("wmctrl", {"-i", "-c", fenster}).has_value());
    QVERIFY(programm.prozess.waitForFinished(60000));
    QCOMPARE(programm.prozess.exitStatus(), QProcess::NormalExit);
    QCOMPARE(programm.prozess.exitCode(), 0);
}

void TestFensterrahmen::dreiStartsOhneWandern()
{
    fensterSetzen(40, 99);
    QVERIFY(laufOk());
    const QByteArray nachErstem = ini();
    QVERIFY2(nachErstem.contains("HauptFensterEVTop=40\r\nHauptFensterEVLeft=99\r\nHauptFensterEVWidth=1113\r\n"
                                 "HauptFensterEVHeight=750\r\n"),
             nachErstem.constData());
    for (int lauf = 2; lauf <= 3; ++lauf) {
        QVERIFY(laufOk());
        QCOMPARE(ini(), nachErstem);
    }
}

void TestFensterrahmen::titelleisteAusserhalbZurueck()
{
    fensterSetzen(-300, 99);
    QVERIFY(laufOk());
    const QByteArray nachher = ini();
    const auto wert = [&](const char* schluessel) {
        const QRegularExpression m(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(schluessel)));
        return m.match(QString::fromLatin1(nachher)).captured(1).toInt();
    };
    QCOMPARE(wert("HauptFensterEVTop"), 0);
    QCOMPARE(wert("HauptFensterEVLeft"), 99);
    QCOMPARE(wert("HauptFensterEVWidth"), 1113);
}

QTEST_GUILESS_MAIN(TestFensterrahmen)
#include "tst_fensterrahmen.moc"
