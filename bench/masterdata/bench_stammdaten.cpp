// Times the master-data window on a database of 20,000 projects and about 200,000 tasks, each
// step up to a finished picture of the window (a grab paints every visible row):
//  1. opening the window on the project page (created, bound, shown);
//  2. saving an edited project ("Speichern" on a changed name, with the state switch).
//   bench_stammdaten [--projekte N] [--runden R]      (offscreen unless a display is set)
// Exit code 1 when a limit is missed: opening > 150 ms, saving > 150 ms.

#include "BefehlsKnopf.h"
#include "BenchDaten.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "TKADaoDatabase.h"
#include "TField.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitDatenStamm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>

namespace {

// Runs the step `runden` times and returns the median in milliseconds; `vorher` and `nachher`
// run untimed around each run.
double messen(int runden, const std::function<void()>& schritt, const std::function<void()>& vorher = {},
              const std::function<void()>& nachher = {})
{
    QList<double> zeiten;
    for (int r = 0; r < runden; ++r) {
        if (vorher)
            vorher();
        QElapsedTimer uhr;
        uhr.start();
        schritt();
        zeiten << uhr.nsecsElapsed() / 1e6;
        if (nachher)
            nachher();
    }
    return BenchDaten::median(zeiten);
}

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
    try {
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbankGemeldet(ordner.path(), umfang.projekte, aus);
        QDir::setCurrent(ordner.path());
        IniVorbelegen();
        IniAnlegen();
        IniRecord.AufgabenAutomatik = 0;

        TDataModule1 dm1;
        TDataModule2 dm2;
        dm1.DBProjekt->setDatabaseName(datei);
        dm1.DBProjekt->Open();
        dm1.DatenmengenOeffnen();
        aus << QStringLiteral("TabProjekt %1 Zeilen\n").arg(dm1.TabProjekt->RecordCount());

        // --- 1. Opening on the project page ---
        std::unique_ptr<TFormDatenStamm> fenster;
        const auto schliessen = [&] {
            if (fenster)
                fenster->close();
            fenster.reset();
        };
        const auto oeffnen = [&] {
            fenster = std::make_unique<TFormDatenStamm>(dm2.ActionManager1);
            fenster->StartSeite = 3;
            fenster->show();
            bildFertig(*fenster);
        };
        const double oeffnenMs = messen(umfang.runden, oeffnen, schliessen);
        aus << QStringLiteral("Stammdaten auf der Projektseite öffnen: %1 ms\n").arg(oeffnenMs, 0, 'f', 1);

        // --- 2. Saving an edited project, halfway down the list ---
        dm1.TabProjekt->MoveToRow(dm1.TabProjekt->RowCount() / 2);
        int nr = 0;
        const double speichernMs = messen(
            umfang.runden,
            [&] {
                fenster->BtnSave->click();
                bildFertig(*fenster);
            },
            [&] {
                fenster->BtnEdit->click();
                dm1.TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->setValue(QStringLiteral("Geändert %1").arg(++nr));
            });
        if (dm1.TabProjekt->State() != TDataSetState::dsBrowse)
            throw Fehler(QStringLiteral("Das Projekt wurde nicht gespeichert."));
        aus << QStringLiteral("Geändertes Projekt speichern: %1 ms\n").arg(speichernMs, 0, 'f', 1);
        schliessen();

        const bool ok = oeffnenMs <= 150 && speichernMs <= 150;
        aus << (ok ? QStringLiteral("Alle Grenzen eingehalten.\n") : QStringLiteral("GRENZE VERFEHLT.\n"));
        return ok ? 0 : 1;
    } catch (const Fehler& f) {
        aus << QStringLiteral("Fehler: ") << f.text() << '\n';
        return 2;
    }
}
