#pragma once

#include "Wochenplan.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class TDatenGitter;
class TDatumEdit;
class TKADaoDatabase;
class TWochenplanModell;
class TFRDruckVorschauForm;

// The week overview "Wochenplan": employees down, the days of one week across, in each cell the
// projects whose tasks that employee has on that day. The week is chosen with the buttons for
// the previous, the current and the next week or with the date field (any day of a week shows
// that week). "Drucken" shows the week in the print preview, A4 landscape, to print or save.
// Opened modal from the "Daten" menu; read only.
class TFormWochenplan : public QDialog
{
    Q_OBJECT

public:
    explicit TFormWochenplan(TKADaoDatabase* datenbank, QWidget* parent = nullptr);
    ~TFormWochenplan() override;

    QPushButton* BtnVorherigeWoche;
    QPushButton* BtnDieseWoche;
    QPushButton* BtnNaechsteWoche;
    TDatumEdit* EditWoche;
    QLabel* lblWoche;
    QPushButton* BtnDrucken;
    QPushButton* BtnSchliessen;
    TDatenGitter* NextDBGridWochenplan;

    // Shows the week of `tag`, read afresh.
    void WocheZeigen(const QDate& tag);
    const TWochenplan& Plan() const { return m_plan; }
    // The day the window counts as today; the system date unless set (before showing).
    void setHeute(const QDate& heute) { m_heute = heute; }

    // The print preview "Drucken" uses; the program's preview window unless set.
    std::function<TFRDruckVorschauForm*()> Vorschau;
    void Drucken();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void done(int ergebnis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    void spaltenAnpassen();
    void zeilenHoeheAnpassen();

    TKADaoDatabase* m_datenbank;
    TWochenplan m_plan;
    TWochenplanModell* m_modell;
    QDate m_heute;
    bool m_gezeigt = false;
};
