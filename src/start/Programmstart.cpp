#include "Programmstart.h"

#include "Aenderungsnotiz.h"
#include "BeendenAufSignal.h"
#include "Bildschirmfotos.h"
#include "DataModule1.h"
#include "FRDruckVorschau.h"
#include "Fehler.h"
#include "HilfeProtokoll.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "UnitAktionManager.h"
#include "UnitDataModulePrint.h"
#include "UnitProjektMain.h"
#include "UnitStart.h"

#include <QApplication>
#include <QTimer>

TProgrammstart::TProgrammstart() = default;

TProgrammstart::~TProgrammstart() = default;

bool TProgrammstart::Starten()
{
    auto splash = std::make_unique<TFormStart>();
    splash->show();
    QApplication::processEvents();
    try {
        // The menu and toolbar contents attach to the main window's bars, so it comes first.
        m_hauptfenster = std::make_unique<TFormProjektMain>();
        m_module1 = std::make_unique<TDataModule1>();
        m_module2 = std::make_unique<TDataModule2>(m_hauptfenster.get());
        m_module3 = std::make_unique<TDataModule3>(m_module1.get());
        m_druckvorschau = std::make_unique<TFRDruckVorschauForm>(m_hauptfenster.get());
        splash->Initialisieren(*m_module1);
    } catch (const Fehler& f) {
        splash.reset();
        Meldung::fehler(f.text());
        return false;
    } catch (const std::exception& e) {
        splash.reset();
        Meldung::fehler(QString::fromLocal8Bit(e.what()));
        return false;
    }
    splash.reset();
    // Changes that could not be stored when the last run had to end are offered now; a
    // failure to enter them is reported, the start goes on.
    try {
        Aenderungsnotiz::Anbieten(*m_module1);
    } catch (const Fehler& f) {
        Meldung::fehler(f.text());
    }
    return true;
}

int TProgrammstart::Ausfuehren(QApplication& app, const QString& fotoOrdner)
{
    m_hauptfenster->show();
    // The system will not wait for a lock to go: a pending edit is noted for the next start.
    BeendenAufSignal signale([this] { m_hauptfenster->setSystemEnde(true); });
    bool fotosGespeichert = true;
    if (!fotoOrdner.isEmpty()) {
        QTimer::singleShot(0, m_hauptfenster.get(), [&] {
            fotosGespeichert = Bildschirmfotos(fotoOrdner).aufnehmen(*m_hauptfenster);
        });
    }
    const int ergebnis = app.exec();
    return fotosGespeichert ? ergebnis : 1;
}

int ProgrammStarten(QApplication& app, const QString& fotoOrdner)
{
    // The help control and its diagnostic file come before any window. The version is only
    // noted there; a program file without one is start-up's to report.
    HtmlHelp::Laden();
    QString version;
    try {
        version = DateiVersion(QCoreApplication::applicationFilePath());
    } catch (const Fehler&) {
    }
    HilfeProtokoll::Einrichten(QCoreApplication::applicationDirPath(), QCoreApplication::arguments(), version,
                               HtmlHelp::AktuellerZustand().version.text());
    TProgrammstart start;
    if (!start.Starten())
        return 1;
    return start.Ausfuehren(app, fotoOrdner);
}
