#include "HookHelpSystem.h"

#include "HilfeFenster.h"
#include "HilfeProtokoll.h"
#include "HtmlHelp.h"
#include "Meldung.h"

namespace {

HilfeHandler* g_handler = nullptr;

QString befehlsname(quint16 befehl)
{
    switch (befehl) {
    case HELP_CONTEXT: return QStringLiteral("HELP_CONTEXT");
    case HELP_CONTEXTPOPUP: return QStringLiteral("HELP_CONTEXTPOPUP");
    case HELP_SETPOPUP_POS: return QStringLiteral("HELP_SETPOPUP_POS");
    default: return QStringLiteral("?");
    }
}

} // namespace

HilfeHandler* HilfeHandlerSetzen(HilfeHandler* handler)
{
    HilfeHandler* vorher = g_handler;
    g_handler = handler;
    return vorher;
}

HilfeHandler* AktuellerHilfeHandler()
{
    return g_handler;
}

bool AnwendungHilfeBefehl(quint16 befehl, qintptr daten)
{
    if (!g_handler)
        return false;
    bool behandelt = false;
    const bool ok = g_handler->HilfeBefehl(befehl, daten, behandelt);
    return ok && behandelt;
}

bool AnwendungHilfeKontext(qintptr kontext)
{
    return AnwendungHilfeBefehl(HELP_CONTEXT, kontext);
}

THookHelpSystem::THookHelpSystem(const QString& Hilfedatei, const QString& Fenstername, HostTyp host)
    : m_datei(Hilfedatei), m_fenster(Fenstername), m_host(host), m_vorher(HilfeHandlerSetzen(this))
{
    HilfeProtokoll::zeile(QStringLiteral("THookHelpSystem.Create: Datei=%1, Fenster=%2, Host=%3")
                              .arg(m_datei, m_fenster).arg(int(m_host)));
}

THookHelpSystem::~THookHelpSystem()
{
    HilfeProtokoll::zeile(QStringLiteral("THookHelpSystem.Destroy"));
    if (HtmlHelp::AktuellerZustand().geladen)
        HtmlHelp::HtmlHelpA(nullptr, {}, HtmlHelp::HH_CLOSE_ALL, 0);
    if (AktuellerHilfeHandler() == this)
        HilfeHandlerSetzen(m_vorher);
}

bool THookHelpSystem::HilfeBefehl(quint16 befehl, qintptr daten, bool& behandelt)
{
    HilfeProtokoll::zeile(QStringLiteral("HelpHook: Befehl=%1 (%2), Daten=%3").arg(befehl).arg(befehlsname(befehl)).arg(daten));
    switch (befehl) {
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
        KontextZeigen(quint32(daten));
        behandelt = true;
        break;
    case HELP_SETPOPUP_POS:
        // The position comes packed as x in the low and y in the high word.
        m_popupPosition = QPoint(qint16(daten & 0xFFFF), qint16((daten >> 16) & 0xFFFF));
        behandelt = true;
        break;
    default:
        behandelt = false;
        break;
    }
    return true;
}

void THookHelpSystem::KontextZeigen(quint32 kontext)
{
    const QString pfad = QString(m_datei).replace(QLatin1String("%20"), QLatin1String(" ")).trimmed();
    if (!HtmlHelp::AktuellerZustand().installiert()) {
        HilfeProtokoll::zeile(QStringLiteral("Fehler: MS Html Help is not installed on this PC."));
        Meldung::warnung(QStringLiteral("MS Html Help is not installed on this PC."));
        return;
    }
    HilfeFenster* fenster = HtmlHelp::HtmlHelpA(nullptr, pfad, HtmlHelp::HH_HELP_CONTEXT, kontext);
    HilfeProtokoll::zeile(QStringLiteral("HtmlHelp: Datei=%1, Kontext=%2, Fenster=%3, Host=%4, Ergebnis=%5")
                              .arg(pfad).arg(kontext).arg(m_fenster).arg(int(m_host)).arg(fenster ? 1 : 0));
    if (fenster) {
        fenster->raise();
        fenster->activateWindow();
    }
}
