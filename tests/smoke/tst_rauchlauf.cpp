// The program as a user starts it: the demo folder the run script prepares, the built program
// in it, no screen. Each view is photographed into the build folder (bildschirmfotos/), so a
// change of the look can be seen without starting the program.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QtTest>

class TestRauchlauf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startenFotografierenSchliessen();
    void wandansichtPasstAufDenSchirm();

private:
    // Runs the program in the demo folder; returns its exit code, fails the test on a hang.
    int programmLaufen(QStringList* meldungen);

    QString m_demo;
    QString m_fotos;
};

void TestRauchlauf::initTestCase()
{
    const QDir bau(qEnvironmentVariable("PV_BINARY_DIR"));
    m_demo = bau.filePath("rauchlauf-demo");
    m_fotos = bau.filePath("bildschirmfotos");
    QVERIFY(QDir(m_demo).removeRecursively());
    // Only this run's own pictures go: the window tests leave theirs in the same folder.
    for (const char* name : {"ansicht-bearbeiten.png", "ansicht-oeffentlich.png", "ansicht-suche.png", "terminplan.png",
                             "wochenplan.png"})
        QFile::remove(QDir(m_fotos).filePath(name));

    QProcess skript;
    skript.setProcessChannelMode(QProcess::ForwardedChannels);
    skript.start("bash", {QDir(qEnvironmentVariable("PV_SOURCE_DIR")).filePath("scripts/prepare-demo.sh"),
                          QStringLiteral(PV_PROGRAMM_ORDNER), m_demo});
    QVERIFY(skript.waitForFinished(120000));
    QCOMPARE(skript.exitCode(), 0);
}

int TestRauchlauf::programmLaufen(QStringList* meldungen)
{
    QProcess programm;
    programm.setWorkingDirectory(m_demo);
    programm.start(QDir(m_demo).filePath("projektverwaltung"), {"--bildschirmfotos", m_fotos});
    if (!programm.waitForFinished(120000)) {
        programm.kill();
        programm.waitForFinished();
        qWarning().noquote() << programm.readAllStandardError();
        return -1;
    }
    const QString fehlerausgabe = QString::fromUtf8(programm.readAllStandardError());
    for (const QString& zeile : fehlerausgabe.split('\n'))
        if (zeile.startsWith("Meldung: "))
            *meldungen << zeile.mid(9);
    if (programm.exitStatus() != QProcess::NormalExit || programm.exitCode() != 0)
        qWarning().noquote() << fehlerausgabe;
    return programm.exitStatus() == QProcess::NormalExit ? programm.exitCode() : -1;
}

// Two runs: the first on the fresh demo folder, the second on the settings the first stored.
// Both start without a message other than a missing help file, show the main window, photograph
// both views and end with code 0; the second finds geometry and column layout as stored.
void TestRauchlauf::startenFotografierenSchliessen()
{
    QStringList erwartet;
    if (!QFile::exists(QDir(m_demo).filePath("Projekt.chm")))
        erwartet << "Hilfedatei nicht gefunden ! " + QDir(m_demo).filePath("Projekt.chm");

    QStringList meldungen;
    QCOMPARE(programmLaufen(&meldungen), 0);
    QCOMPARE(meldungen, erwartet);

    // The settings the first run stored, window places and column layout among them.
    QFile ini(QDir(m_demo).filePath("PROJEKT.INI"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray nachErstemLauf = ini.readAll();
    ini.close();
    for (const char* abschnitt : {"[Fenster]", "HauptFensterEVWidth=", "[PublicKommNr]", "[PublicAufgStatus]"})
        QVERIFY2(nachErstemLauf.contains(abschnitt), abschnitt);

    QImage bilder[2];
    for (int ansicht : {0, 1}) {
        const QString name = ansicht == 0 ? "ansicht-bearbeiten.png" : "ansicht-oeffentlich.png";
        bilder[ansicht] = QImage(QDir(m_fotos).filePath(name));
        QVERIFY2(!bilder[ansicht].isNull(), qPrintable(name));
        // A window with grids full of projects, not an empty or one-colour picture.
        QVERIFY(bilder[ansicht].width() >= 640 && bilder[ansicht].height() >= 480);
        QSet<QRgb> farben;
        for (int y = 0; y < bilder[ansicht].height(); y += 3)
            for (int x = 0; x < bilder[ansicht].width(); x += 3)
                farben.insert(bilder[ansicht].pixel(x, y));
        QVERIFY2(farben.size() > 20, qPrintable(name));
    }
    QVERIFY(bilder[0] != bilder[1]);
    // The edit view with a search typed: a list other than the full one.
    const QImage suche(QDir(m_fotos).filePath("ansicht-suche.png"));
    QVERIFY(!suche.isNull() && suche != bilder[0]);
    // The task window on its two pages, the timeline page and the week overview.
    for (const char* name : {"aufgaben-zuordnen.png", "aufgaben-bearbeiten.png", "terminplan.png", "wochenplan.png"}) {
        const QImage bild(QDir(m_fotos).filePath(name));
        QVERIFY2(!bild.isNull() && bild.width() >= 600 && bild.height() >= 500, name);
    }

    meldungen.clear();
    QCOMPARE(programmLaufen(&meldungen), 0);
    QCOMPARE(meldungen, erwartet);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), nachErstemLauf);
}

// The demo's wall-screen columns, side by side, leave room on a screen 1,600 pixels wide for
// the window's frame, the grid's frame and its scroll bar, so the last column is not cut.
void TestRauchlauf::wandansichtPasstAufDenSchirm()
{
    const QSettings ini(QDir(m_demo).filePath("PROJEKT.INI"), QSettings::IniFormat);
    int summe = 0;
    for (const char* abschnitt : {"PublicKommNr", "PublicBezeichn", "PublicBaustelle", "PublicBetreff", "PublicStatus",
                                  "PublicAufgabe", "PublicPersonal", "PublicDatum", "PublicAufgStatus"}) {
        const int breite = ini.value(QStringLiteral("%1/Width").arg(QLatin1String(abschnitt))).toInt();
        QVERIFY2(breite >= 130, abschnitt);   // a caption or a date in the large font
        summe += breite;
    }
    QVERIFY2(summe <= 1600 - 40, qPrintable(QString::number(summe)));
}

QTEST_GUILESS_MAIN(TestRauchlauf)
#include "tst_rauchlauf.moc"
