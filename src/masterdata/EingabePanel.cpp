#include "EingabePanel.h"

#include "Farben.h"
#include "Oberflaechenschrift.h"
#include "Verankerung.h"

#include <QFrame>
#include <QLabel>

namespace {

// Colour of the title strips (red 214, green 189, blue 152).
constexpr int32_t TitelleisteCode = 10010070;

} // namespace

TEingabePanel::TEingabePanel(int designBreite, QWidget* parent)
    : QWidget(parent), m_verankerung(new TVerankerung(this, designBreite))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

QLabel* TEingabePanel::beschriftung(const QString& text, int x, int y)
{
    auto* label = new QLabel(text, this);
    label->setFont(Oberflaechenschrift(8, true));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
    // Two pixels of room above the letters, so that the dots of Ä, Ö and Ü are not cut off;
    // the text sits on the same line as with the bare text height.
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label->setGeometry(x, y, label->sizeHint().width(), label->fontMetrics().height() + 2);
    return label;
}

QFrame* TEingabePanel::titelleiste(const QString& text)
{
    auto* leiste = new QFrame(this);
    leiste->setObjectName(QStringLiteral("PanelTitel"));
    leiste->setAutoFillBackground(true);
    QPalette p = leiste->palette();
    p.setColor(QPalette::Window, FarbeAusCode(TitelleisteCode));
    leiste->setPalette(p);
    platzieren(leiste, 8, 8, 764, 16, Anker::Breite);

    auto* titel = new QLabel(text, leiste);
    titel->setObjectName(QStringLiteral("lblTitel"));
    titel->setFont(Oberflaechenschrift(10, true));
    titel->setAutoFillBackground(true);
    QPalette t = titel->palette();
    t.setColor(QPalette::Window, Qt::white);
    // The strip is locked with the inputs; its title keeps its look in either state.
    for (const auto gruppe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        t.setColor(gruppe, QPalette::Window, Qt::white);
        t.setColor(gruppe, QPalette::WindowText, Qt::black);
    }
    titel->setPalette(t);
    titel->adjustSize();
    titel->move(8, 0);
    titel->setFixedHeight(16);
    return leiste;
}

QFrame* TEingabePanel::trennlinie(int x, int y, int breite, Anker anker)
{
    auto* linie = new QFrame(this);
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);
    platzieren(linie, x, y, breite, 2, anker);
    return linie;
}

void TEingabePanel::setzen(QWidget* w, const QRect& design, Anker anker)
{
    w->setGeometry(design);
    if (anker == Anker::Rechts)
        m_verankerung->rechts(w);
    else if (anker == Anker::Breite)
        m_verankerung->linksUndRechts(w);
}
