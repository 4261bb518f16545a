#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class TVerankerung;

// The white input panel of an editing page: controls sit at fixed places of the design, and a
// control anchored to the right edge moves with it (or grows with it) when the window is wider
// or narrower than designed.
class TEingabePanel : public QWidget
{
    Q_OBJECT
public:
    enum class Anker { Links, Rechts, Breite };

    // `designBreite`: the panel's width the positions are measured in.
    TEingabePanel(int designBreite, QWidget* parent);

    // Places `w` at `x, y` with width `breite` (its height: `hoehe`, or its own size hint).
    template <typename W>
    W* platzieren(W* w, int x, int y, int breite, int hoehe = 0, Anker anker = Anker::Links)
    {
        setzen(w, QRect(x, y, breite, hoehe > 0 ? hoehe : w->sizeHint().height()), anker);
        return w;
    }

    // A caption label: bold, black.
    QLabel* beschriftung(const QString& text, int x, int y);
    // The title strip at the top with its title on white.
    QFrame* titelleiste(const QString& text);
    // A horizontal divider line.
    QFrame* trennlinie(int x, int y, int breite, Anker anker = Anker::Links);

private:
    void setzen(QWidget* w, const QRect& design, Anker anker);

    TVerankerung* m_verankerung;
};
