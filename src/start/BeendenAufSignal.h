#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the run as the close box does when the system asks the program to stop: SIGTERM at
// shut-down (a wall-screen computer is often just switched off), SIGHUP when the session ends,
// SIGINT from a terminal. Every window closes through its own closing step, so geometry, column
// layout and a pending task edit are stored instead of lost. A second signal ends the process
// at once, as without this guard.
class BeendenAufSignal : public QObject
{
public:
    explicit BeendenAufSignal(QObject* parent = nullptr);
    ~BeendenAufSignal() override;

private:
    static void signalEmpfangen(int nummer);
    void beenden();

    QSocketNotifier* m_melder = nullptr;
};
