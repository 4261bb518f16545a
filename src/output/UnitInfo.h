#pragma once

#include <QDialog>

class QLabel;

// The program information: title, version and date over a picture of the program.
class TFormInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TFormInfo(QWidget* eltern = nullptr);

    QLabel* Image1;
    QWidget* Panel1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* lblVersion;
    QLabel* Label3;
    QLabel* lblDatum;

    void FormShow();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    void bildEinpassen();
    QPixmap m_bild;
};

// The picture of the information window, 256 × 256: a program window with a coloured list,
// a calendar sheet and a clock.
QPixmap Infobild();
