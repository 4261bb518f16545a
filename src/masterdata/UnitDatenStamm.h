#pragma once

#include "BearbeitungsZustand.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QAction;
class QTabWidget;
class TBefehlsKnopf;
class TDataSource;
class TDBEdit;
class TDatenGitter;
class TEingabePanel;
class TKADaoTable;

// The master-data window "Stammdaten": one page each for the task catalogue, the employees, the
// statuses and the projects, each an input panel over a grid, bound to the data module's
// datasets. The opener sets StartSeite before showing it modal; the page tabs are hidden.
class TFormDatenStamm : public QDialog
{
    Q_OBJECT

public:
    // `befehle`: the parent of the program's command actions (ActionManager1); the window's
    // buttons show and run the "Stammdaten" commands found there, and this window serves them
    // while it exists.
    explicit TFormDatenStamm(QObject* befehle, QWidget* parent = nullptr);
    ~TFormDatenStamm() override;

    // 0 tasks, 1 employees, 2 statuses, 3 projects.
    int32_t StartSeite = 0;

    QTabWidget* PageControl1;
    QWidget* TabSheetAufgabe;
    QWidget* TabSheetMitarbeiter;
    QWidget* TabSheetStatus;
    QWidget* TabSheetProjekte;
    TEingabePanel* PanelAufgabeInput;
    TEingabePanel* PanelMitarbeiterInput;
    TEingabePanel* PanelStatusInput;
    TEingabePanel* PanelProjekteInput;
    TDatenGitter* DBGridAufgaben;
    TDatenGitter* DBGridPersonal;
    TDatenGitter* DBGridStatus;
    TDatenGitter* DBGridProjekt;
    TDBEdit* DBEditAufgabeBezeichnung;
    TDBEdit* DBEditPersonalNr;
    TDBEdit* DBEditStatusBezeichnung;
    TDBEdit* DBEditProjektKommNr;

    QWidget* pnlBottom;
    TBefehlsKnopf* BtnAdd;
    TBefehlsKnopf* BtnEdit;
    TBefehlsKnopf* BtnSave;
    TBefehlsKnopf* BtnCancel;
    TBefehlsKnopf* BtnDelete;
    TBefehlsKnopf* BtnZentora;
    TBefehlsKnopf* BtnEnde;

    // The three routines of the browse/edit state, on the active page.
    void StammButtonsSetzen(bool Bearbeitung);
    void StammEingabeSetzen(bool Bearbeitung);
    void StammDatensatzBefehl(const QString& Befehl);

    void ActionStammAddExecute();
    void ActionStammEditExecute();
    void ActionStammSaveExecute();
    void ActionStammCancelExecute();
    void ActionStammDeleteExecute();
    void ActionStammCloseExecute();
    void ActionSucheZentoraExecute();

public slots:
    // Every way of closing ends here (title-bar box, Beenden, Escape): a pending record is
    // asked about first, and the geometry is stored.
    void reject() override;

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    struct Seite
    {
        QWidget* blatt;
        TEingabePanel* panel;
        TDatenGitter* gitter;
        QWidget* ersteEingabe;
        TDataSource* quelle;
        TKADaoTable* tabelle;
    };
    enum : int { SeiteAufgaben = 0, SeiteMitarbeiter = 1, SeiteStatus = 2, SeiteProjekte = 3 };

    QWidget* seiteAnlegen(const QString& name, TEingabePanel*& panel, const QString& panelName, int hoehe,
                          const QString& titel, TDatenGitter*& gitter, const QString& gitterName, bool indikator);
    void aufgabenSeiteAnlegen();
    void mitarbeiterSeiteAnlegen();
    void statusSeiteAnlegen();
    void projektSeiteAnlegen();
    void knopfleisteAnlegen();
    TBefehlsKnopf* knopf(const char* name, const char* befehl, int links, int breite = 89);
    void befehlAnbinden(const char* befehl, void (TFormDatenStamm::*handler)());

    int aktiveSeite() const;
    const Seite& seite() const;
    void FormShow();
    void FormClose();
    // The AufgabenAutomatik step after a saved project.
    void nachProjektSpeichern();

    QObject* m_befehle;
    std::array<Seite, 4> m_seiten{};
    TBearbeitungsZustand m_zustand;
    bool m_gezeigt = false;
};
