#include "Seitenwechsel.h"

#include "DatenGitter.h"

#include <QEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

TSeitenwechsel::TSeitenwechsel(TDatenGitter* gitter, QObject* parent)
    : QObject(parent), m_gitter(gitter), m_blaettern(new QTimer(this)), m_pause(new QTimer(this))
{
    m_blaettern->setObjectName(QStringLiteral("TimerSeitenwechsel"));
    m_pause->setObjectName(QStringLiteral("TimerSeitenwechselPause"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseMs);
    connect(m_blaettern, &QTimer::timeout, this, &TSeitenwechsel::weiterblaettern);
    connect(m_pause, &QTimer::timeout, this, &TSeitenwechsel::fortsetzen);
    // What the user does to the rows: wheel and clicks reach the viewport and the scroll bar,
    // keys the grid.
    m_gitter->installEventFilter(this);
    m_gitter->viewport()->installEventFilter(this);
    m_gitter->verticalScrollBar()->installEventFilter(this);
}

void TSeitenwechsel::starten(int sekunden)
{
    anhalten();
    if (sekunden <= 0)
        return;
    m_aktiv = true;
    m_seite = 0;
    modellVerbinden();
    m_gitter->setSeitenweise(true);
    m_blaettern->start(static_cast<int>(std::min<qint64>(qint64(sekunden) * 1000, INT_MAX)));
    zeigen();
}

void TSeitenwechsel::anhalten()
{
    const bool warAktiv = m_aktiv;
    m_aktiv = false;
    m_pausiert = false;
    m_blaettern->stop();
    m_pause->stop();
    m_gitter->setSeitenweise(false);
    m_gemeldeteSeite = m_gemeldeteSeiten = -1;
    if (m_modell)
        disconnect(m_modell, nullptr, this, nullptr);
    m_modell = nullptr;
    if (warAktiv)
        emit seiteGeaendert();
}

void TSeitenwechsel::modellVerbinden()
{
    m_modell = m_gitter->model();
    if (!m_modell)
        return;
    // A new reading keeps the page; fewer rows may leave fewer pages.
    connect(m_modell, &QAbstractItemModel::modelReset, this, &TSeitenwechsel::zeigen);
    connect(m_modell, &QAbstractItemModel::layoutChanged, this, &TSeitenwechsel::zeigen);
    connect(m_modell, &QAbstractItemModel::rowsInserted, this, &TSeitenwechsel::zeigen);
    connect(m_modell, &QAbstractItemModel::rowsRemoved, this, &TSeitenwechsel::zeigen);
}

int TSeitenwechsel::seiten() const
{
    const int zeilen = m_gitter->model() ? m_gitter->model()->rowCount() : 0;
    const int proSeite = m_gitter->ganzeZeilen();
    return std::max(1, (zeilen + proSeite - 1) / proSeite);
}

QString TSeitenwechsel::text() const
{
    if (!m_aktiv || seiten() <= 1)
        return {};
    return QStringLiteral("Seite %1 von %2").arg(m_seite + 1).arg(seiten());
}

void TSeitenwechsel::weiterblaettern()
{
    if (!m_aktiv || m_pausiert)
        return;
    m_seite = (m_seite + 1) % seiten();
    zeigen();
}

void TSeitenwechsel::zeigen()
{
    if (!m_aktiv)
        return;
    const int anzahl = seiten();
    m_seite = std::min(m_seite, anzahl - 1);
    if (!m_pausiert)
        m_gitter->ersteZeileZeigen(m_seite * m_gitter->ganzeZeilen());
    if (m_seite != m_gemeldeteSeite || anzahl != m_gemeldeteSeiten) {
        m_gemeldeteSeite = m_seite;
        m_gemeldeteSeiten = anzahl;
        emit seiteGeaendert();
    }
}

void TSeitenwechsel::nutzerEingriff()
{
    if (!m_aktiv)
        return;
    if (!m_pausiert) {
        m_pausiert = true;
        m_gitter->setSeitenweise(false);
    }
    m_pause->start();
}

void TSeitenwechsel::fortsetzen()
{
    if (!m_aktiv || !m_pausiert)
        return;
    m_pausiert = false;
    m_pause->stop();
    // Back on the page the user has scrolled to.
    m_seite = std::max(0, m_gitter->ersteSichtbareZeile()) / m_gitter->ganzeZeilen();
    m_gitter->setSeitenweise(true);
    zeigen();
}

bool TSeitenwechsel::eventFilter(QObject* objekt, QEvent* ereignis)
{
    switch (ereignis->type()) {
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        nutzerEingriff();
        break;
    case QEvent::Resize:
        // Another height holds another number of rows per page.
        if (objekt == m_gitter->viewport())
            QTimer::singleShot(0, this, &TSeitenwechsel::zeigen);
        break;
    default:
        break;
    }
    return false;
}
