#include "UnitProjektMain.h"

#include "DataModule1.h"
#include "TKADaoDatabase.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

TFormProjektMain* FormProjektMain = nullptr;

TFormProjektMain::TFormProjektMain(QWidget* parent)
    : QMainWindow(parent), ActionMainMenuBar1(new QMenuBar(this)), ActionToolBar1(new QToolBar(this)),
      StatusBar1(new QStatusBar(this))
{
    setObjectName(QStringLiteral("FormProjektMain"));
    setWindowTitle(QStringLiteral("Projektverwaltung"));
    resize(1113, 750);
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    setMenuBar(ActionMainMenuBar1);
    ActionToolBar1->setObjectName(QStringLiteral("ActionToolBar1"));
    addToolBar(ActionToolBar1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    FormProjektMain = this;
}

TFormProjektMain::~TFormProjektMain()
{
    if (FormProjektMain == this)
        FormProjektMain = nullptr;
}

void TFormProjektMain::closeEvent(QCloseEvent* ereignis)
{
    if (DataModule1 && DataModule1->DBProjekt->Connected())
        DataModule1->DBProjekt->Close();
    ereignis->accept();
}
