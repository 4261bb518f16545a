// libFuzzer target: any bytes as a settings file. Reading must give back every byte as it was;
// a key set afterwards must read back as written, from the object and from its bytes read anew.

#include "ProfilDatei.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const char16_t* const g_abschnitte[] = {u"Programm", u"Control", u"größe", u"A b", u"Fenster"};
const char16_t* const g_schluessel[] = {u"DBName", u"AnzahlStatus", u"x", u"Straße", u"K e y"};
const char16_t* const g_werte[] = {u"", u"1", u"Köln", u"Łódź 😀", u"a=b;c", u"C:\\PROGRAMME\\€"};

template <class T, size_t N>
QString wahl(T (&liste)[N], uint8_t b)
{
    return QString::fromUtf16(liste[b % N]);
}

void pruefen(bool bedingung)
{
    if (!bedingung)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    ProfilDatei datei(bytes);
    pruefen(datei.dateiInhalt() == bytes);
    datei.wert(QStringLiteral("Programm"), QStringLiteral("DBName"));
    if (groesse < 3)
        return 0;

    const QString abschnitt = wahl(g_abschnitte, daten[0]);
    const QString schluessel = wahl(g_schluessel, daten[1]);
    const QString wert = wahl(g_werte, daten[2]);
    if (!datei.kodierungFuer({abschnitt, schluessel, wert}))
        return 0;
    datei.setzen(abschnitt, schluessel, wert);
    pruefen(datei.wert(abschnitt, schluessel) == wert);
    pruefen(!datei.setzen(abschnitt, schluessel, wert));
    const ProfilDatei wieder(datei.dateiInhalt(), datei.festeKodierung());
    pruefen(wieder.wert(abschnitt, schluessel) == wert);
    return 0;
}
