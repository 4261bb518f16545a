// Pictures of the wall screen as it hangs on the wall: full screen on a 1920 × 1080 and on a
// 1280 × 720 screen, pages 1 and 2, with the demo's column layout fitted to the width. They go to
// the build folder (bildschirmfotos/) to be looked at. The offscreen platform is given both
// screens by its configuration file (see CMakeLists.txt).
#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "Seitenwechsel.h"
#include "TKADaoDatabase.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

class TestWandtafelBilder : public QObject
{
    Q_OBJECT

private slots:
    void bilder_data();
    void bilder();
};

void TestWandtafelBilder::bilder_data()
{
    QTest::addColumn<QSize>("bildschirm");
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("1280x720") << QSize(1280, 720);
}

void TestWandtafelBilder::bilder()
{
    QFETCH(QSize, bildschirm);
    QScreen* ziel = nullptr;
    for (QScreen* s : QGuiApplication::screens())
        if (s->geometry().size() == bildschirm)
            ziel = s;
    QVERIFY2(ziel, "the offscreen platform lacks the screen; see CMakeLists.txt");

    QTemporaryDir ordner;
    const QString vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(ordner.path()));
    const auto zurueck = qScopeGuard([&] { QDir::setCurrent(vorher); });
    const QString datenbank = ordner.filePath("PROJEKT.MDB");
    DatenbankWerkzeug::anlegen(datenbank);
    DatenbankWerkzeug::demoDatenEinfuegen(datenbank, 70, QDate(2024, 5, 6));

    IniAnlegen();
    IniRecord.AnzahlStatus = 6;
    IniRecord.Startansicht = 1;
    IniRecord.VollbildPublicView = true;
    IniRecord.SpaltenAnpassenPublicView = true;
    IniRecord.SeitenwechselSekunden = 15;
    IniRecord.HauptFensterPVLeft = ziel->geometry().left();
    IniRecord.HauptFensterPVTop = ziel->geometry().top();
    IniRecord.HauptFensterPVWidth = 1000;
    IniRecord.HauptFensterPVHeight = 600;
    FensterSchreiben("HauptFensterPV");
    // The demo folder's layout (scripts/prepare-demo.sh), the date column wide enough for a
    // date in the 20-point font of the stand-in for Tahoma.
    const std::pair<const char*, int> spalten[] = {{"PROJEKT", 140},    {"BEZEICHNUNG", 260}, {"BAUSTELLE", 260},
                                                   {"BETREFF", 360},    {"STATUS", 150},      {"AUFGABE", 220},
                                                   {"MITARBEITER", 180}, {"DATUM", 170},      {"ASTATUS", 150}};
    TSpaltenLayout* layouts[] = {&IniRecord.PublicKommNr,   &IniRecord.PublicBezeichn, &IniRecord.PublicBaustelle,
                                 &IniRecord.PublicBetreff,  &IniRecord.PublicStatus,   &IniRecord.PublicAufgabe,
                                 &IniRecord.PublicPersonal, &IniRecord.PublicDatum,    &IniRecord.PublicAufgStatus};
    for (int i = 0; i < 9; ++i) {
        const QString id = QString::fromLatin1(spalten[i].first);
        SpalteLesen(id);
        layouts[i]->Position = i;
        layouts[i]->Width = spalten[i].second;
        SpalteSchreiben(id);
    }

    MeldungsRecorder meldungen;
    TDataModule1 module;
    module.DBProjekt->setDatabaseName(datenbank);
    module.DBProjekt->Open();
    module.DatenmengenOeffnen();
    TFormProjektMain fenster;
    TDataModule2 befehle(&fenster);
    fenster.show();
    QVERIFY(fenster.isFullScreen());
    QTRY_COMPARE(fenster.size(), bildschirm);
    TSeitenwechsel* seiten = fenster.Seitenwechsel();
    QTRY_VERIFY(seiten->seiten() >= 2);
    auto* seite = fenster.findChild<QLabel*>("lblSeite");
    QTRY_COMPARE(seite->text(), QStringLiteral("Seite 1 von %1").arg(seiten->seiten()));

    const QDir bilder(qEnvironmentVariable("PV_BINARY_DIR") + "/bildschirmfotos");
    QVERIFY(bilder.mkpath("."));
    const QString name = QStringLiteral("wandtafel-%1x%2-seite%3.png").arg(bildschirm.width()).arg(bildschirm.height());
    QVERIFY(fenster.grab().save(bilder.filePath(name.arg(1))));
    seiten->weiterblaettern();
    QCOMPARE(seite->text(), QStringLiteral("Seite 2 von %1").arg(seiten->seiten()));
    QVERIFY(fenster.grab().save(bilder.filePath(name.arg(2))));
    fenster.close();
}

QTEST_MAIN(TestWandtafelBilder)
#include "tst_wandtafelbilder.moc"
