#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Ends the run as the close box does when the system asks the program to stop: SIGTERM at
// shut-down (a wall-screen computer is often just switched off), SIGHUP when the session ends,
// SIGINT from a terminal. Every window closes through its own closing step, so geometry, column
// layout and a pending task edit are stored instead of lost. A second signal ends the process
// at once, as without this guard.
class BeendenAufSignal : public QObject
{
public:
    // `vorDemSchliessen` (if set) runs when a signal has come, before the windows close.
    explicit BeendenAufSignal(std::function<void()> vorDemSchliessen = {}, QObject* parent = nullptr);
    ~BeendenAufSignal() override;

private:
    static void signalEmpfangen(int nummer);
    void beenden();

    QSocketNotifier* m_melder = nullptr;
    std::function<void()> m_vorDemSchliessen;
};
