#pragma once

#include <QString>

#include <memory>

class QApplication;
class TDataModule1;
class TDataModule2;
class TDataModule3;
class TFRDruckVorschauForm;
class TFormProjektMain;

// The run of the program: creates the long-lived windows and modules in their order, does the
// start-up work behind the splash window and hands over to the main window.
class TProgrammstart
{
public:
    TProgrammstart();
    ~TProgrammstart();

    // Splash, main window (hidden), data modules, start-up work, splash freed. On an error the
    // message is shown and false returned; the main window stays hidden.
    bool Starten();
    // Shows the main window and runs the message loop until it is closed. With a folder for
    // pictures the views are photographed into it and the window closes by itself.
    int Ausfuehren(QApplication& app, const QString& fotoOrdner = {});

private:
    // Declared in creation order; destroyed in reverse, the main window last.
    std::unique_ptr<TFormProjektMain> m_hauptfenster;
    std::unique_ptr<TDataModule1> m_module1;
    std::unique_ptr<TDataModule2> m_module2;
    std::unique_ptr<TDataModule3> m_module3;
    std::unique_ptr<TFRDruckVorschauForm> m_druckvorschau;
};

// The program entry after the application object exists: exit code 1 when start-up failed
// (or a picture could not be stored).
int ProgrammStarten(QApplication& app, const QString& fotoOrdner = {});
