#pragma once

#include "ProjektUebernahme.h"

#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class TBefehlsKnopf;
class TDatenGitter;
class TErpProjektModell;

// "Projekt suchen": lists every project of the ERP file, finds one by the beginning of its
// number, customer, construction site or subject, and takes the chosen one over as a new
// project. The ERP file is open exactly as long as the dialog exists.
class TFormSucheProjekt : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSucheProjekt(QWidget* parent = nullptr);
    ~TFormSucheProjekt() override;

    // Project number of the row last selected; empty until a row is selected.
    const QString& AuswahlKommnr() const { return m_auswahlKommnr; }

    // Fills the grid from the ERP file until its end; a read failure is reported and the rows
    // read so far stay.
    void ProjekteLaden();
    void ProjektUebernehmen(const QString& Kommnr);
    TProjektUebernahme& Uebernahme() { return m_uebernahme; }

    QFrame* const PanelTop;
    QLineEdit* const editProjekt;
    QLineEdit* const EditKunde;
    QLineEdit* const EditBaustelle;
    QLineEdit* const EditBetreff;
    QLabel* const Label1;
    QFrame* const PanelMain;
    TDatenGitter* const NextGrid1;
    QFrame* const PanelBottom;
    QAction* const ActionProjektSucheSelect;
    QAction* const ActionProjektSucheClose;
    TBefehlsKnopf* const btnSelect;
    TBefehlsKnopf* const btnClose;
    TErpProjektModell* const Modell;

    static constexpr const char* FensterName = "SucheFenster";

public slots:
    void done(int ergebnis) override;

protected:
    void showEvent(QShowEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void aufbauen();
    void gitterEinrichten();
    // The column an edit searches.
    int suchSpalte(const QObject* edit) const;
    void editBetreten(int spalte);
    void suchen(int spalte, const QString& text);
    void zeileGewaehlt(int zeile);

    QString m_auswahlKommnr;
    TProjektUebernahme m_uebernahme;
};

// Opens the dialog modally over the given window and releases it when it closes.
void ProjektSucheZeigen(QWidget* eltern);

// AufgabenAutomatik 1: what opens the task assignment window for a project just taken over.
// The program sets it; each dialog hands it on to its take-over.
extern std::function<void(const QString& Kommnr, int ProjektID)> AufgabenFensterNachUebernahme;
