#include "BefehlsKnopf.h"

#include <QAction>

TBefehlsKnopf::TBefehlsKnopf(QWidget* parent)
    : QPushButton(parent)
{
    setFlat(false);
    setFixedHeight(Hoehe);
    setIconSize(QSize(16, 16));
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TBefehlsKnopf::ausfuehren);
}

TBefehlsKnopf::TBefehlsKnopf(QAction* befehl, QWidget* parent)
    : TBefehlsKnopf(parent)
{
    setBefehl(befehl);
}

void TBefehlsKnopf::setBefehl(QAction* befehl)
{
    disconnect(m_verbindung);
    m_befehl = befehl;
    if (befehl)
        m_verbindung = connect(befehl, &QAction::changed, this, &TBefehlsKnopf::befehlUebernehmen);
    befehlUebernehmen();
}

void TBefehlsKnopf::befehlUebernehmen()
{
    setText(m_befehl ? m_befehl->text() : QString());
    setIcon(m_befehl ? m_befehl->icon() : QIcon());
    setToolTip(m_befehl ? m_befehl->toolTip() : QString());
}

void TBefehlsKnopf::ausfuehren()
{
    // A disabled button sends no click, so the button's own state is what guards the command.
    if (m_befehl)
        m_befehl->trigger();
}
