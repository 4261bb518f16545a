#include "BeendenAufSignal.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The signal handler may only write to a pipe; the message loop reads the other end.
int g_rohr[2] = {-1, -1};
constexpr int Signale[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

BeendenAufSignal::BeendenAufSignal(std::function<void()> vorDemSchliessen, QObject* parent)
    : QObject(parent)
    , m_vorDemSchliessen(std::move(vorDemSchliessen))
{
    if (g_rohr[0] >= 0 || ::pipe2(g_rohr, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_melder = new QSocketNotifier(g_rohr[0], QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, &BeendenAufSignal::beenden);
    struct sigaction aktion = {};
    aktion.sa_handler = &BeendenAufSignal::signalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    // The handler is used once; the next signal has its default effect again.
    aktion.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int nummer : Signale)
        sigaction(nummer, &aktion, nullptr);
}

BeendenAufSignal::~BeendenAufSignal()
{
    if (!m_melder)
        return;
    for (int nummer : Signale)
        std::signal(nummer, SIG_DFL);
    delete m_melder;
    ::close(g_rohr[0]);
    ::close(g_rohr[1]);
    g_rohr[0] = g_rohr[1] = -1;
}

void BeendenAufSignal::signalEmpfangen(int)
{
    const int fehlerVorher = errno;
    const char zeichen = 1;
    [[maybe_unused]] const ssize_t geschrieben = ::write(g_rohr[1], &zeichen, 1);
    errno = fehlerVorher;
}

void BeendenAufSignal::beenden()
{
    char zeichen;
    while (::read(g_rohr[0], &zeichen, 1) > 0) {
    }
    if (m_vorDemSchliessen)
        m_vorDemSchliessen();
    // Open dialogs close first (their loops end), then the main window, which ends the run.
    QApplication::closeAllWindows();
}
