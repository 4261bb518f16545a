// Times the main window on a database of 20,000 projects and about 200,000 tasks, each step up
// to a finished picture of the window (a grab paints every visible row):
//  1. start: main window, both data modules, the database and its datasets opened, the window
//     shown in the edit view;
//  2. switching to the public view and back;
//  3. a tick of the public view's timer (the wall screen does this every few seconds, so it must
//     not freeze the window noticeably);
//  4. "Refresh" in the edit view.
//   bench_hauptfenster [--projekte N] [--runden R]      (offscreen unless a display is set)
// Exit code 1 when a limit is missed: start > 2 s, switch > 500 ms, tick > 300 ms, refresh > 500 ms.

#include "BenchDaten.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>

namespace {

using BenchDaten::messen;

// Until the picture is on screen: pending events, then a full paint of the window.
void bildFertig(QWidget& fenster)
{
    QApplication::processEvents();
    const QPixmap bild = fenster.grab();
    Q_UNUSED(bild);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    const int projekte = umfang.projekte;
    const int runden = umfang.runden;
    try {
        QElapsedTimer uhr;
        uhr.start();
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbank(ordner.path(), projekte);
        aus << QStringLiteral("Datenbank (%1 Projekte) bereit: %2 ms\n").arg(projekte).arg(uhr.elapsed());
        // The settings file of the run lives beside the database, as in a program directory.
        QDir::setCurrent(ordner.path());
        IniVorbelegen();
        IniAnlegen();
        IniRecord.AnzahlStatus = 5;
        IniRecord.Startansicht = 0;
        IniRecord.DBVerzeichnis = ordner.path();

        // --- 1. Start up to the shown edit view ---
        std::unique_ptr<TFormProjektMain> fenster;
        std::unique_ptr<TDataModule1> dm1;
        std::unique_ptr<TDataModule2> dm2;
        const auto beenden = [&] {
            if (fenster)
                fenster->close();
            fenster.reset();
            dm2.reset();
            dm1.reset();
        };
        const double start = messen(runden, [&] {
            beenden();
            fenster = std::make_unique<TFormProjektMain>();
            dm1 = std::make_unique<TDataModule1>();
            dm2 = std::make_unique<TDataModule2>(fenster.get());
            dm1->DBProjekt->setDatabaseName(datei);
            dm1->DBProjekt->Open();
            dm1->DatenmengenOeffnen();
            fenster->show();
            bildFertig(*fenster);
        });
        aus << QStringLiteral("Start bis zur gezeigten Bearbeitungsansicht: %1 ms\n").arg(start, 0, 'f', 1);
        aus << QStringLiteral("  TabProjekt %1 Zeilen, TabProjektView %2 Zeilen\n")
                   .arg(dm1->TabProjekt->RecordCount())
                   .arg(dm1->TabProjektView->RecordCount());

        // --- 2. Switching the views ---
        const double wechsel = messen(runden, [&] {
            fenster->ActionAnsichtExecute();
            bildFertig(*fenster);
        });
        aus << QStringLiteral("Ansicht wechseln: %1 ms\n").arg(wechsel, 0, 'f', 1);
        if (fenster->Ansicht() != 1)
            fenster->ActionAnsichtExecute();

        // --- 3. A tick of the wall screen's timer ---
        const double tick = messen(runden, [&] {
            fenster->Timer1Timer();
            bildFertig(*fenster);
        });
        aus << QStringLiteral("Zeitgeber-Takt der öffentlichen Ansicht: %1 ms (%2 Projekte gelistet)\n")
                   .arg(tick, 0, 'f', 1)
                   .arg(dm1->TabProjektView->RecordCount());
        // Its parts, each on its own.
        const double stand = messen(runden, [&] { dm1->ProjektStandAktualisieren(); });
        const double statSum = messen(runden, [&] { dm1->TabStatSum->Requery(); });
        const double liste = messen(runden, [&] {
            dm1->TabProjektView->Requery();
            dm1->TabProjektView->setFilter(QStringLiteral("PV_Sichtbar"));
            dm1->TabProjektView->setFiltered(true);
        });
        const double bild = messen(runden, [&] {
            fenster->NextDBGridPublicView->viewport()->update();
            bildFertig(*fenster);
        });
        aus << QStringLiteral("  davon ProjektStandAktualisieren %1 ms, Requery TabStatSum %2 ms, "
                              "Requery + Filter TabProjektView %3 ms, Bild %4 ms\n")
                   .arg(stand, 0, 'f', 1)
                   .arg(statSum, 0, 'f', 1)
                   .arg(liste, 0, 'f', 1)
                   .arg(bild, 0, 'f', 1);

        // --- 4. "Refresh" in the edit view ---
        fenster->ActionAnsichtExecute();
        const double refresh = messen(runden, [&] {
            fenster->ActionAnsichtRefreshExecute();
            bildFertig(*fenster);
        });
        aus << QStringLiteral("\"Refresh\" in der Bearbeitungsansicht: %1 ms\n").arg(refresh, 0, 'f', 1);
        beenden();

        aus << QStringLiteral("(Mediane von %1 Runden)\n").arg(runden);
        const bool ok = start <= 2000 && wechsel <= 500 && tick <= 300 && refresh <= 500;
        aus << (ok ? "Grenzen eingehalten\n" : "GRENZE ÜBERSCHRITTEN\n");
        return ok ? 0 : 1;
    } catch (const Fehler& f) {
        aus << "Fehler: " << f.text() << '\n';
        return 2;
    }
}
