#pragma once

#include "BearbeitungsZustand.h"

#include <QDialog>
#include <cstdint>

class QFrame;
class QLabel;
class QSplitter;
class QTabWidget;
class TBefehlsKnopf;
class TDBDatumEdit;
class TDBEdit;
class TDBLookupBox;
class TDBMemo;
class TDBSpinEdit;
class TDBText;
class TDatenGitter;

// The task window of one project, TabProjekt's current row: on the assign page the whole task
// catalogue with a tick per task, whose ticked tasks "Zuordnen" copies into the project; on the
// edit page the project's tasks under an input panel, edited in browse/edit state. The mode
// chooses the page; the page tabs are hidden. Opened modal by AufgabenFensterOeffnen and
// released when closed. Everything shown is the data module's.
class TFormAufgabenZuordnen : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAufgabenZuordnen(QWidget* parent = nullptr);
    ~TFormAufgabenZuordnen() override;

    // Set by the opener before the window is shown: 0 assign, 1 edit; the project's number and
    // id (the tasks are assigned to ProjektID).
    int32_t Modus = 0;
    QString ProjektKommnr;
    int32_t ProjektID = 0;

    QWidget* PanelTop;
    QLabel* Label1;
    TDBText* DBTextProjektKommnr;
    TDBText* DBTextProjektBezeichnung;
    QLabel* lblKommnr;
    QLabel* lblID;

    QWidget* PanelMain;
    QTabWidget* PageControl1;
    QWidget* TSAufgabenZuordnen;
    QWidget* TSAufgabenBearbeiten;
    TDatenGitter* DBGridAufgabenZuordnen;

    QSplitter* Splitter1;
    QWidget* pnlAufgabeZuordnenInput;
    QFrame* pnlAufgabenTitel;
    QFrame* Bevel1;
    TDBEdit* DBEditBezeichnung;
    TDBMemo* DBMemoBemerkung;
    TDBLookupBox* DBLookupComboBoxMitarbeiter;
    TDBLookupBox* DBLookupComboBoxStatus;
    TDBDatumEdit* DBDateEditVon;
    TDBDatumEdit* DBDateEditBis;
    TDBSpinEdit* DBSpinEditPrioritaet;
    TDatenGitter* DBGridAufgabenBearbeiten;

    QWidget* PanelBottom;
    TBefehlsKnopf* btnEdit;
    TBefehlsKnopf* btnSave;
    TBefehlsKnopf* btnCancel;
    TBefehlsKnopf* btnDelete;
    TBefehlsKnopf* btnZuordnen;
    TBefehlsKnopf* btnClose;

    // The browse/edit state of the edit page (the buttons run its steps).
    TBearbeitungsZustand Zustand;

    // Sets Modus, and ProjektKommnr and ProjektID from TabProjekt's current row, as the opener does.
    void FuerAktuellesProjekt(int32_t modus);

    bool ZuordnenSeiteAktiv() const;
    bool BearbeitenSeiteAktiv() const;

    void FormShow();
    void ActionAufgZuordAssignExecute();
    void ActionAufgZuordCloseExecute();
    void ActionAufgZuordEditExecute();
    void ActionAufgZuordSaveExecute();
    void ActionAufgZuordCancelExecute();
    void ActionAufgZuordDeleteExecute();

    // The design size of the window's client area; the anchored controls keep their distance
    // to its right edge.
    static constexpr int DesignBreite = 784;

protected:
    void showEvent(QShowEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;
    void reject() override;

private:
    void kopfAufbauen();
    void zuordnenSeiteAufbauen();
    void bearbeitenSeiteAufbauen();
    void knopfLeisteAufbauen();
    void befehleAnbinden();
    void FormClose();

    bool m_gezeigt = false;
    bool m_geschlossen = false;
};

// The window of the process while it is open; nullptr otherwise.
extern TFormAufgabenZuordnen* FormAufgabenZuordnen;

// Opens the task window modal over `eltern` for TabProjekt's current project, in mode `Modus`
// (0 assign, 1 edit), and releases it when it is closed. The main window's
// AufgabenFensterOeffnen, the master-data window and the ERP take-over open it through here.
void AufgabenFensterOeffnen(int32_t Modus, QWidget* eltern = nullptr);
// The same for a project given by number and id (a project just taken over from the ERP system).
void AufgabenFensterOeffnen(int32_t Modus, const QString& ProjektKommnr, int32_t ProjektID, QWidget* eltern);
