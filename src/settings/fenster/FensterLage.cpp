#include "FensterLage.h"

#include "IniRecord.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <limits>

namespace {

// Width of the piece of title bar that must lie on a screen for the user to take hold of it.
constexpr int GreifbareBreite = 40;

// The frame the window manager gave a window; none before the window is on the screen, and
// none on platforms without frames.
QMargins rahmen(const QWidget* fenster)
{
    const QWindow* w = fenster->windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QList<QRect> bildschirmFlaechen()
{
    QList<QRect> flaechen;
    for (const QScreen* s : QGuiApplication::screens())
        flaechen << s->availableGeometry();
    return flaechen;
}

void aussenSetzen(QWidget* fenster, QRect aussen, bool mitGroesse)
{
    // A window filling the screen keeps doing so; its place counts again once it leaves that.
    if (fenster->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized))
        return;
    const QMargins r = rahmen(fenster);
    if (!mitGroesse)
        aussen.setSize(fenster->size().grownBy(r));
    aussen = AufBildschirm(aussen, qMax(r.top(), 1), bildschirmFlaechen());
    if (r.isNull()) {
        // Before the window exists on the screen, move() places its frame, whatever it will be.
        if (mitGroesse)
            fenster->resize(aussen.size());
        fenster->move(aussen.topLeft());
        return;
    }
    // The frame is known, but the window's own idea of it may lag behind: the inner area is
    // placed, which nothing else moves.
    fenster->setGeometry(aussen.marginsRemoved(r));
}

// Until the window manager has framed a window, its frame is unknown: a place set then puts the
// inner area where the frame belongs, and a size set then is the inner size. This watcher
// places the window once more when it is first on the screen, and until then stands for the
// window's outer rectangle; a size the program sets meanwhile is carried over.
class TRahmenAbwarten : public QObject
{
public:
    TRahmenAbwarten(QWidget* fenster, const QRect& aussen, bool mitGroesse)
        : QObject(fenster), m_fenster(fenster), m_aussen(AufBildschirm(aussen, 1, bildschirmFlaechen())),
          m_gesetzt(fenster->size()), m_mitGroesse(mitGroesse)
    {
        setObjectName(QStringLiteral("FensterLageRahmenAbwarten"));
        fenster->installEventFilter(this);
        fensterBeobachten();
    }

    // The inner area may still shift while the window is framed, so only a change of its size
    // is the program's own and carried over.
    QRect aussen() const { return QRect(m_aussen.topLeft(), m_aussen.size() + (m_fenster->size() - m_gesetzt)); }

    static TRahmenAbwarten* von(const QWidget* fenster)
    {
        return fenster->findChild<TRahmenAbwarten*>(QStringLiteral("FensterLageRahmenAbwarten"),
                                                    Qt::FindDirectChildrenOnly);
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (objekt == m_fenster && ereignis->type() == QEvent::Show)
            fensterBeobachten();
        else if (objekt == m_fensterGriff && ereignis->type() == QEvent::Expose && m_fensterGriff->isExposed())
            abschliessen();
        return false;
    }

private:
    void fensterBeobachten()
    {
        QWindow* griff = m_fenster->windowHandle();
        if (!griff || griff == m_fensterGriff)
            return;
        m_fensterGriff = griff;
        griff->installEventFilter(this);
    }

    // The frame is known now: the window goes where it was asked to, and the watcher is done.
    void abschliessen()
    {
        const QRect ziel = aussen();
        m_fensterGriff->removeEventFilter(this);
        m_fenster->removeEventFilter(this);
        setObjectName(QString());
        deleteLater();
        aussenSetzen(m_fenster, ziel, m_mitGroesse);
    }

    QWidget* m_fenster;
    QPointer<QWindow> m_fensterGriff;
    QRect m_aussen;
    QSize m_gesetzt;   // the inner size as set, before the frame was known
    bool m_mitGroesse;
};

} // namespace

QRect AufBildschirm(const QRect& aussen, int titelhoehe, const QList<QRect>& bildschirme)
{
    if (bildschirme.isEmpty())
        return aussen;
    const QRect titel(aussen.left(), aussen.top(), qMax(aussen.width(), 1), qMax(titelhoehe, 1));
    for (const QRect& b : bildschirme) {
        const QRect teil = b.intersected(titel);
        if (teil.height() == titel.height() && teil.width() >= qMin(GreifbareBreite, titel.width()))
            return aussen;
    }
    // The screen that holds most of the window, or the one whose middle is nearest to it.
    const QRect* ziel = &bildschirme.first();
    qint64 besteFlaeche = -1;
    qint64 besterAbstand = std::numeric_limits<qint64>::max();
    for (const QRect& b : bildschirme) {
        const QRect teil = b.intersected(aussen);
        const qint64 flaeche = teil.isEmpty() ? 0 : qint64(teil.width()) * teil.height();
        const QPoint d = b.center() - titel.center();
        const qint64 abstand = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        if (flaeche > besteFlaeche || (flaeche == besteFlaeche && abstand < besterAbstand)) {
            ziel = &b;
            besteFlaeche = flaeche;
            besterAbstand = abstand;
        }
    }
    QRect ergebnis = aussen;
    const int x = qBound(ziel->left(), aussen.left(), qMax(ziel->left(), ziel->right() + 1 - aussen.width()));
    const int y = qBound(ziel->top(), aussen.top(), qMax(ziel->top(), ziel->bottom() + 1 - aussen.height()));
    ergebnis.moveTopLeft(QPoint(x, y));
    return ergebnis;
}

QRect AeussereFensterLage(const QWidget* fenster)
{
    if (const TRahmenAbwarten* abwarten = TRahmenAbwarten::von(fenster))
        return abwarten->aussen();
    return fenster->frameGeometry();
}

void FensterLageAnwenden(QWidget* fenster, const QString& FensterName)
{
    if (!FensterNameBekannt(FensterName))
        return;
    FensterLesen(FensterName);
    const QRect aussen = FensterLage(FensterName);
    // A size never stored would make the window vanish; it keeps its own size then.
    const bool mitGroesse = aussen.width() > 0 && aussen.height() > 0;
    delete TRahmenAbwarten::von(fenster);
    aussenSetzen(fenster, aussen, mitGroesse);
    const QWindow* griff = fenster->windowHandle();
    if (!griff || !griff->isExposed())
        new TRahmenAbwarten(fenster, mitGroesse ? aussen : QRect(aussen.topLeft(), fenster->frameGeometry().size()),
                            mitGroesse);
}

void FensterLageMerken(QWidget* fenster, const QString& FensterName)
{
    if (!FensterNameBekannt(FensterName))
        return;
    FensterLageSetzen(FensterName, AeussereFensterLage(fenster));
    FensterSchreiben(FensterName);
}
