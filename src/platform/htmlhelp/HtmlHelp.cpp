#include "HtmlHelp.h"

#include "ChmDatei.h"
#include "HilfeFenster.h"
#include "HilfeProtokoll.h"
#include "Meldung.h"

#include <QFileInfo>
#include <QPointer>

namespace HtmlHelp {
namespace {

Zustand g_zustand;
std::function<QRect()> g_lageLesen;
std::function<void(const QRect&)> g_lageSchreiben;
QList<QPointer<HilfeFenster>> g_fenster;

HilfeFenster* fensterFuer(const QString& datei)
{
    const QString kanonisch = QFileInfo(datei).absoluteFilePath();
    for (const auto& f : std::as_const(g_fenster))
        if (f && QFileInfo(f->datei().pfad()).absoluteFilePath() == kanonisch)
            return f;
    auto chm = std::make_unique<ChmDatei>(datei);
    if (!chm->offen()) {
        HilfeProtokoll::zeile(QStringLiteral("Fehler: ") + chm->fehlertext());
        Meldung::fehler(chm->fehlertext());
        return nullptr;
    }
    auto* fenster = new HilfeFenster(std::move(chm));
    if (g_lageLesen) {
        const QRect lage = g_lageLesen();
        if (lage.width() > 0 && lage.height() > 0)
            fenster->setGeometry(lage);
    }
    QObject::connect(fenster, &HilfeFenster::geschlossen, [](const QRect& lage) {
        if (g_lageSchreiben)
            g_lageSchreiben(lage);
    });
    g_fenster.append(fenster);
    return fenster;
}

} // namespace

QString Version::text() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(build).arg(release);
}

Version EigeneVersion()
{
    return {5, 2, 0, 0};
}

bool VersionAusreichend(const Version& v)
{
    return v.major > 4 || (v.major == 4 && v.minor >= 73);
}

void Laden()
{
    g_zustand.geladen = true;
    g_zustand.versionGelesen = true;
    g_zustand.version = EigeneVersion();
}

const Zustand& AktuellerZustand()
{
    return g_zustand;
}

void ZustandSetzen(const Zustand& zustand)
{
    g_zustand = zustand;
}

void FensterLageVerbinden(std::function<QRect()> lesen, std::function<void(const QRect&)> schreiben)
{
    g_lageLesen = std::move(lesen);
    g_lageSchreiben = std::move(schreiben);
}

HilfeFenster* HtmlHelpA(QWidget*, const QString& datei, quint32 befehl, quintptr daten)
{
    g_fenster.removeAll(nullptr);
    switch (befehl) {
    case HH_CLOSE_ALL:
        // Closed and gone at once: the program may be ending, with no event loop to delete them.
        for (const auto& f : std::as_const(g_fenster)) {
            if (f) {
                f->close();
                delete f.data();
            }
        }
        g_fenster.clear();
        return nullptr;
    case HH_HELP_CONTEXT:
    case HH_DISPLAY_TOPIC: {
        HilfeFenster* fenster = fensterFuer(datei);
        if (!fenster)
            return nullptr;
        if (befehl == HH_HELP_CONTEXT)
            fenster->kontextZeigen(quint32(daten));
        else
            fenster->seiteZeigen({});
        fenster->show();
        return fenster;
    }
    default:
        return nullptr;
    }
}

QList<HilfeFenster*> OffeneFenster()
{
    QList<HilfeFenster*> liste;
    for (const auto& f : std::as_const(g_fenster))
        if (f)
            liste.append(f);
    return liste;
}

} // namespace HtmlHelp
