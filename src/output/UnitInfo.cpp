#include "UnitInfo.h"

#include "IniRecord.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QLabel* beschriftung(QWidget* eltern, const QString& name, const QString& text, int links, int oben)
{
    auto* l = new QLabel(text, eltern);
    l->setObjectName(name);
    l->setFont(QFont(QStringLiteral("Tahoma"), 8));
    l->move(links, oben);
    l->adjustSize();
    return l;
}

} // namespace

TFormInfo::TFormInfo(QWidget* eltern)
    : QDialog(eltern), m_bild(Infobild())
{
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("Programminformation"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(428, 450);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);

    // A raised inner and a lowered outer bevel, in the window colour over the picture.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(24, 288, 377, 105);
    panel->setAutoFillBackground(true);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    auto* innen = new QFrame(panel);
    innen->setGeometry(1, 1, 375, 103);
    innen->setFrameStyle(QFrame::Panel | QFrame::Raised);
    innen->setLineWidth(1);
    Panel1 = panel;

    Label1 = new QLabel(QStringLiteral("Projektverwaltung"), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titel(QStringLiteral("Tahoma"));
    titel.setPixelSize(19);
    titel.setBold(true);
    Label1->setFont(titel);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setGeometry(189 - 120, 8, 177 + 120, 26);   // right edge at 366, as the design has it
    Label2 = beschriftung(panel, QStringLiteral("Label2"), QStringLiteral("Version:"), 16, 40);
    lblVersion = beschriftung(panel, QStringLiteral("lblVersion"), QString(), 64, 40);
    Label3 = beschriftung(panel, QStringLiteral("Label3"), QStringLiteral("Datum:"), 16, 56);
    lblDatum = beschriftung(panel, QStringLiteral("lblDatum"), QString(), 64, 56);
    panel->raise();
}

void TFormInfo::showEvent(QShowEvent* ereignis)
{
    FormShow();
    QDialog::showEvent(ereignis);
}

void TFormInfo::FormShow()
{
    lblVersion->setText(IniRecord.Version);
    lblVersion->adjustSize();
    lblDatum->setText(IniRecord.Datum);
    lblDatum->adjustSize();
    if (parentWidget()) {
        QRect lage = frameGeometry();
        lage.moveCenter(parentWidget()->window()->frameGeometry().center());
        move(lage.topLeft());
    }
    bildEinpassen();
}

void TFormInfo::resizeEvent(QResizeEvent* ereignis)
{
    QDialog::resizeEvent(ereignis);
    bildEinpassen();
}

void TFormInfo::bildEinpassen()
{
    Image1->setGeometry(rect());
    Image1->setPixmap(m_bild.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPixmap Infobild()
{
    // Everything stands in the upper two thirds: the window's panel covers the rest.
    QPixmap bild(256, 256);
    bild.fill(QColor(0xED, 0xF3, 0xFE));
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);

    // The program window with its title bar and a list of coloured progress rows.
    p.setPen(QPen(QColor(0x4A, 0x6F, 0xA5), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(10, 12, 158, 146), 6, 6);
    p.setBrush(QColor(0x3A, 0x6E, 0xC8));
    p.drawRoundedRect(QRectF(10, 12, 158, 18), 6, 6);
    const QColor balken[] = {QColor(0xE0, 0x4B, 0x4B), QColor(0xF2, 0xB1, 0x34), QColor(0x5B, 0xB8, 0x5B),
                             QColor(0xF2, 0xB1, 0x34), QColor(0x5B, 0xB8, 0x5B), QColor(0xE0, 0x4B, 0x4B)};
    for (int i = 0; i < 6; ++i) {
        const qreal y = 40 + i * 19;
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 == 0 ? QColor(0xED, 0xF3, 0xFE) : QColor(Qt::white));
        p.drawRect(QRectF(16, y - 3, 146, 18));
        p.setBrush(QColor(0x9A, 0xA8, 0xBE));
        p.drawRect(QRectF(22, y + 3, 56, 5));
        p.setBrush(balken[i]);
        p.drawRoundedRect(QRectF(88, y, 16 + 12 * ((i * 5) % 6), 11), 3, 3);
    }

    // The calendar sheet.
    p.setPen(QPen(QColor(0x8B, 0x2E, 0x2E), 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(178, 12, 68, 72));
    p.setBrush(QColor(0xC8, 0x3A, 0x3A));
    p.drawRect(QRectF(178, 12, 68, 18));
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.setBrush(Qt::NoBrush);
    for (int zeile = 0; zeile < 4; ++zeile)
        for (int spalte = 0; spalte < 4; ++spalte)
            p.drawRect(QRectF(184 + spalte * 15, 36 + zeile * 11, 9, 7));

    // The clock.
    const QPointF mitte(212, 128);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 3));
    p.setBrush(QColor(0xFF, 0xFB, 0xE8));
    p.drawEllipse(mitte, 32, 32);
    for (int i = 0; i < 12; ++i) {
        const qreal w = qDegreesToRadians(i * 30.0);
        p.drawLine(mitte + QPointF(26 * qSin(w), -26 * qCos(w)), mitte + QPointF(30 * qSin(w), -30 * qCos(w)));
    }
    p.drawLine(mitte, mitte + QPointF(0, -22));
    p.drawLine(mitte, mitte + QPointF(14, 6));
    return bild;
}
