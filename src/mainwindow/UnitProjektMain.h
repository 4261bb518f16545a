#pragma once

#include <QMainWindow>

class QStatusBar;
class QToolBar;

// The main window: menu bar and toolbar for the command set and the status bar. The views
// of the projects sit in its central area.
class TFormProjektMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormProjektMain(QWidget* parent = nullptr);
    ~TFormProjektMain() override;

    QMenuBar* const ActionMainMenuBar1;
    QToolBar* const ActionToolBar1;
    QStatusBar* const StatusBar1;

protected:
    // Closing the main window ends the run: the database connection is released here.
    void closeEvent(QCloseEvent* ereignis) override;
};

// The main window of the process; nullptr before it is created and after it is destroyed.
extern TFormProjektMain* FormProjektMain;
