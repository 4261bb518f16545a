#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class TDataModule1;

// The splash window of start-up: a picture and a progress bar that shows how far the start-up
// work has come. It does the start-up work itself (Initialisieren).
class TFormStart : public QWidget
{
    Q_OBJECT

public:
    explicit TFormStart(QWidget* parent = nullptr);

    QLabel* const Image1;
    QProgressBar* const ProgressBar1;

    // Loads and stamps the settings, connects the database of the module and opens its
    // datasets, and fills in the number of statuses on a first run. Errors (Fehler) pass on.
    void Initialisieren(TDataModule1& module);

    // The picture of the splash and the information window: an application window with a
    // coloured list, a calendar sheet and a clock.
    static QPixmap Programmbild();

signals:
    // After each step of the bar, once the window has been repainted.
    void Fortschritt(int wert);

private:
    void schritt(int weite);
};
