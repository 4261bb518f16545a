#pragma once

#include <QRect>
#include <QString>

#include <functional>

class HilfeFenster;
class QWidget;

// Our help control: the calls the program makes to show and close compiled help, with the
// version and load state the program checks at start.
namespace HtmlHelp {

constexpr quint32 HH_DISPLAY_TOPIC = 0;
constexpr quint32 HH_HELP_CONTEXT = 15;
constexpr quint32 HH_CLOSE_ALL = 18;

struct Version
{
    int major = 0, minor = 0, build = 0, release = 0;
    QString text() const;
};

// The control's own version.
Version EigeneVersion();
// Whether a control of this version is good enough for the program (4.73 or later).
bool VersionAusreichend(const Version& v);

// What the program found at start: whether the control can be used, and its version.
struct Zustand
{
    bool geladen = false;
    bool versionGelesen = false;
    Version version;
    bool installiert() const { return versionGelesen; }
};

// Loads the control at program start (before any window exists).
void Laden();
const Zustand& AktuellerZustand();
// For tests: the state as another installation would have it.
void ZustandSetzen(const Zustand& zustand);

// Where help windows are placed when they open and where their place is kept when they close.
void FensterLageVerbinden(std::function<QRect()> lesen, std::function<void(const QRect&)> schreiben);

// The help call. HH_HELP_CONTEXT shows the topic of the context number `daten` from `datei`
// and returns its window (nullptr when the file cannot be read; the reason has been shown);
// HH_DISPLAY_TOPIC shows the start page; HH_CLOSE_ALL closes every help window.
HilfeFenster* HtmlHelpA(QWidget* aufrufer, const QString& datei, quint32 befehl, quintptr daten);

// The open help windows, for tests.
QList<HilfeFenster*> OffeneFenster();

} // namespace HtmlHelp
