#pragma once

#include <QObject>
#include <QPointer>

class QAbstractItemModel;
class QTimer;
class TDatenGitter;

// Turns the pages of a grid on a wall screen: when the rows do not fit, the grid shows them page
// by page (whole rows only) and turns to the next page every few seconds, after the last back to
// the first. A new reading of the rows keeps the page shown, or the last one when there are fewer
// pages now. When somebody scrolls, clicks or types in the grid, paging pauses for a while and
// the grid scrolls as usual.
class TSeitenwechsel : public QObject
{
    Q_OBJECT
public:
    static constexpr int PauseMs = 30'000;

    explicit TSeitenwechsel(TDatenGitter* gitter, QObject* parent = nullptr);

    // Pages turn every `sekunden` seconds; 0 (or less) leaves the grid as it is, scrolling.
    void starten(int sekunden);
    void anhalten();
    bool aktiv() const { return m_aktiv; }

    // Page shown, from 0, and the number of pages (at least 1).
    int seite() const { return m_seite; }
    int seiten() const;
    // "Seite 2 von 3"; empty when paging is off or everything fits one page.
    QString text() const;

    // The next page, after the last the first. Does nothing while paused.
    void weiterblaettern();

    // Somebody uses the grid: paging pauses and starts again PauseMs after the last use.
    void nutzerEingriff();
    void fortsetzen();
    bool pausiert() const { return m_pausiert; }

    QTimer* blaetterTimer() const { return m_blaettern; }
    QTimer* pauseTimer() const { return m_pause; }

signals:
    // The page shown or the number of pages changed.
    void seiteGeaendert();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void modellVerbinden();
    // Shows the page (limited to the pages there are) and reports it.
    void zeigen();

    TDatenGitter* m_gitter;
    QTimer* m_blaettern;
    QTimer* m_pause;
    QPointer<QAbstractItemModel> m_modell;
    bool m_aktiv = false;
    bool m_pausiert = false;
    int m_seite = 0;
    int m_gemeldeteSeite = -1;
    int m_gemeldeteSeiten = -1;
};
