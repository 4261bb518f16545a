#include "PrivateProfile.h"

#include "Fehler.h"
#include "ProfilDatei.h"
#include "ProfilSperre.h"
#include "ProfilZwischendatei.h"
#include "ProfilZwischenspeicher.h"

#include <QMutex>

namespace {

ProfilTestHaken::VorDemErsetzen g_vorDemErsetzen;

// The program uses one thread; the lock keeps the remembered files whole should that change.
QMutex g_zugriff;

bool hatZeilenumbruch(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

[[noreturn]] void ablehnen(const QString& abschnitt, const QString& schluessel, const QString& dateiname,
                           const QString& grund)
{
    throw Fehler(
        QStringLiteral("Der Eintrag „%1“ im Abschnitt „%2“ kann nicht in %3 gespeichert werden, weil %4.")
            .arg(schluessel, abschnitt, dateiname, grund));
}

void pruefen(const QString& abschnitt, const QString& schluessel, const QString& wert, const QString& dateiname)
{
    const QString name = schluessel.trimmed();
    if (hatZeilenumbruch(abschnitt))
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Abschnittsname einen Zeilenumbruch enthält"));
    if (hatZeilenumbruch(schluessel))
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Name einen Zeilenumbruch enthält"));
    if (hatZeilenumbruch(wert))
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Wert einen Zeilenumbruch enthält"));
    if (name.isEmpty())
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Name leer ist"));
    if (name.contains(QLatin1Char('=')))
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Name ein Gleichheitszeichen enthält"));
    if (name.startsWith(QLatin1Char(';')) || name.startsWith(QLatin1Char('[')))
        ablehnen(abschnitt, schluessel, dateiname, QStringLiteral("der Name mit „;“ oder „[“ beginnt"));
}

// Windows reads numbers with an optional sign and a base prefix ("0x", "0o", "0b"), takes the
// digits up to the first other character and wraps around at 32 bits.
int zahlWieWindows(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negativ = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negativ = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int basis = 10;
    if (i + 1 < n && text.at(i) == QLatin1Char('0')) {
        const char16_t p = text.at(i + 1).toLower().unicode();
        basis = p == u'x' ? 16 : p == u'o' ? 8 : p == u'b' ? 2 : 10;
        if (basis != 10)
            i += 2;
    }
    uint32_t wert = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        const int ziffer = c >= u'0' && c <= u'9'   ? c - u'0'
                           : c >= u'a' && c <= u'z' ? c - u'a' + 10
                           : c >= u'A' && c <= u'Z' ? c - u'A' + 10
                                                    : 99;
        if (ziffer >= basis)
            break;
        wert = wert * uint32_t(basis) + uint32_t(ziffer);
    }
    return static_cast<int>(negativ ? 0u - wert : wert);
}

} // namespace

QString GetPrivateProfileString(const QString& abschnitt, const QString& schluessel, const QString& vorgabe,
                                const QString& dateiname)
{
    {
        const QMutexLocker zugriff(&g_zugriff);
        const auto stand = ProfilZwischenspeicher::lesen(dateiname);
        if (auto wert = stand.datei->wert(abschnitt, schluessel))
            return *wert;
    }
    // Windows cuts trailing blanks off the default.
    QString ergebnis = vorgabe;
    while (ergebnis.endsWith(QLatin1Char(' ')))
        ergebnis.chop(1);
    return ergebnis;
}

int GetPrivateProfileInt(const QString& abschnitt, const QString& schluessel, int vorgabe, const QString& dateiname)
{
    const QString text = GetPrivateProfileString(abschnitt, schluessel, QString(), dateiname);
    return text.isEmpty() ? vorgabe : zahlWieWindows(text);
}

bool WritePrivateProfileString(const QString& abschnitt, const QString& schluessel, const QString& wert,
                               const QString& dateiname)
{
    pruefen(abschnitt, schluessel, wert, dateiname);
    const QMutexLocker zugriff(&g_zugriff);
    // Start-up writes every key it has just read; a value the file holds already needs no lock.
    if (const auto stand = ProfilZwischenspeicher::lesen(dateiname);
        stand.vorhanden && stand.datei->enthaelt(abschnitt, schluessel, wert))
        return true;
    // Read, change and replace under the lock, so no other program's write falls in between.
    ProfilSperre sperre(dateiname, true);
    if (!sperre.bereit())
        return false;
    const auto stand = ProfilZwischenspeicher::lesen(dateiname);
    if (!stand.lesbar)
        return false;
    ProfilDatei datei = *stand.datei;
    if (!datei.kodierungFuer({abschnitt, schluessel, wert})) {
        for (const QString& text : {abschnitt, schluessel, wert}) {
            if (!Kodierung::kodieren(text, Kodierung::innere(datei.kodierung()))) {
                ablehnen(abschnitt, schluessel, dateiname,
                         QStringLiteral("„%1“ Zeichen enthält, die die Kodierung der Datei (%2) nicht kennt")
                             .arg(text, Kodierung::name(datei.kodierung())));
            }
        }
    }
    if (!datei.setzen(abschnitt, schluessel, wert))
        return true;
    if (!ProfilZwischendatei::ersetzen(dateiname, datei.dateiInhalt(), g_vorDemErsetzen))
        return false;
    sperre.behalten();
    ProfilZwischenspeicher::geschrieben(dateiname, datei);
    return true;
}

void VerwaisteZwischendateienEntfernen(const QString& dateiname)
{
    const QMutexLocker zugriff(&g_zugriff);
    ProfilZwischendatei::verwaisteEntfernen(dateiname);
}

namespace ProfilTestHaken {
VorDemErsetzen setzen(VorDemErsetzen haken)
{
    return std::exchange(g_vorDemErsetzen, std::move(haken));
}
} // namespace ProfilTestHaken
