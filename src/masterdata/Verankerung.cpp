#include "Verankerung.h"

#include <QEvent>
#include <QWidget>

TVerankerung::TVerankerung(QWidget* panel, int designBreite)
    : QObject(panel), m_panel(panel), m_designBreite(designBreite)
{
    panel->installEventFilter(this);
}

void TVerankerung::rechts(QWidget* steuerelement)
{
    m_eintraege.append({steuerelement, steuerelement->geometry(), false});
    anwenden();
}

void TVerankerung::linksUndRechts(QWidget* steuerelement)
{
    m_eintraege.append({steuerelement, steuerelement->geometry(), true});
    anwenden();
}

bool TVerankerung::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_panel && ereignis->type() == QEvent::Resize)
        anwenden();
    return QObject::eventFilter(objekt, ereignis);
}

void TVerankerung::anwenden()
{
    const int zuwachs = m_panel->width() - m_designBreite;
    for (const Eintrag& e : std::as_const(m_eintraege)) {
        if (!e.steuerelement)
            continue;
        if (e.dehnen)
            e.steuerelement->setGeometry(e.entwurf.x(), e.entwurf.y(), qMax(0, e.entwurf.width() + zuwachs),
                                         e.entwurf.height());
        else
            e.steuerelement->move(e.entwurf.x() + zuwachs, e.entwurf.y());
    }
}
