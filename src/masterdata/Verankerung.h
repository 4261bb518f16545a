#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

// Controls placed at fixed design positions inside a panel that follow its right edge when the
// window is resized: anchored right keeps the distance to the right edge, anchored left and
// right keeps both distances and so grows and shrinks with the panel. The design positions are
// those the controls have when they are added, for a panel `designBreite` wide.
class TVerankerung : public QObject
{
public:
    TVerankerung(QWidget* panel, int designBreite);

    void rechts(QWidget* steuerelement);
    void linksUndRechts(QWidget* steuerelement);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    struct Eintrag
    {
        QPointer<QWidget> steuerelement;
        QRect entwurf;
        bool dehnen;
    };
    void anwenden();

    QWidget* m_panel;
    int m_designBreite;
    QList<Eintrag> m_eintraege;
};
