#pragma once

#include <QPoint>
#include <QString>

// How the application asks for help: a help command and a number reach the installed help
// handler, which says whether it handled them.
constexpr quint16 HELP_CONTEXT = 1;
constexpr quint16 HELP_CONTEXTPOPUP = 8;
constexpr quint16 HELP_SETPOPUP_POS = 13;

class HilfeHandler
{
public:
    virtual ~HilfeHandler() = default;
    // Returns success; `behandelt` says whether the application's own processing is skipped.
    virtual bool HilfeBefehl(quint16 befehl, qintptr daten, bool& behandelt) = 0;
};

// The application's help handler (nullptr for none); returns the one replaced.
HilfeHandler* HilfeHandlerSetzen(HilfeHandler* handler);
HilfeHandler* AktuellerHilfeHandler();
// The application asks for a help command; false when no handler took it.
bool AnwendungHilfeBefehl(quint16 befehl, qintptr daten);
// The application asks for a help context (HELP_CONTEXT).
bool AnwendungHilfeKontext(qintptr kontext);

// The help link of the main window: while it exists it is the application's help handler and
// shows help contexts from its help file in our help control.
class THookHelpSystem : public HilfeHandler
{
public:
    enum class HostTyp { HtmlHelpApi, ExternerViewer };

    THookHelpSystem(const QString& Hilfedatei, const QString& Fenstername, HostTyp host = HostTyp::HtmlHelpApi);
    ~THookHelpSystem() override;
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    bool HilfeBefehl(quint16 befehl, qintptr daten, bool& behandelt) override;

    // Shows a context of the help file: "%20" in the path becomes a blank; without an
    // installed help control the user is told so.
    void KontextZeigen(quint32 kontext);
    QPoint PopupPosition() const { return m_popupPosition; }
    QString Hilfedatei() const { return m_datei; }

private:
    QString m_datei;
    QString m_fenster;
    HostTyp m_host;
    QPoint m_popupPosition;
    HilfeHandler* m_vorher;
};
