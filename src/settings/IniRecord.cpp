#include "IniRecord.h"

#include "Fehler.h"
#include "Meldung.h"
#include "PrivateProfile.h"
#include "Serveradresse.h"

#include <QDir>
#include <QFile>
#include <type_traits>
#include <variant>

TIniRecord IniRecord;

namespace {

// Windows hands at most this many characters of a string value to the program.
constexpr qsizetype MaxTextLaenge = 2047;

using RecordFeld = std::variant<QString TIniRecord::*, int32_t TIniRecord::*, bool TIniRecord::*>;
using SpaltenFeld = std::variant<int32_t TSpaltenLayout::*, bool TSpaltenLayout::*>;

// One key of "Programm" or "Control". Preset and default are in the file's text form;
// nullptr stands for the program directory at the time of use.
struct Eintrag
{
    const char* abschnitt;
    const char* schluessel;
    RecordFeld feld;
    const char* voreinstellung;
    const char* vorgabe;
};

const Eintrag g_eintraege[] = {
    {"Programm", "ProgVerzeichnis", &TIniRecord::ProgVerzeichnis, nullptr, nullptr},
    {"Programm", "DBVerzeichnis", &TIniRecord::DBVerzeichnis, nullptr, nullptr},
    // Files of old versions without the key name the old database; the key decides nothing.
    {"Programm", "DBName", &TIniRecord::DBName, "PROJEKT.MDB", "ZEIT.MDB"},
    {"Programm", "MasterVerzeichnis", &TIniRecord::MasterVerzeichnis, "C:\\PROGRAMME\\ZENTORA\\DATA\\BASE",
     "C:\\PROGRAMME\\ZENTORA\\DATA\\BASE"},
    {"Programm", "MasterDatei", &TIniRecord::MasterDatei, "Zentora", "Zentora"},
    {"Control", "Entwicklerversion", &TIniRecord::Entwicklerversion, "0", "0"},
    {"Control", "AnzahlStatus", &TIniRecord::AnzahlStatus, "0", "0"},
    {"Control", "Startansicht", &TIniRecord::Startansicht, "0", "0"},
    {"Control", "HighValueBound", &TIniRecord::HighValueBound, "90", "90"},
    {"Control", "LowValueBound", &TIniRecord::LowValueBound, "50", "50"},
    {"Control", "SymbolEditView", &TIniRecord::SymbolEditView, "1", "1"},
    {"Control", "SymbolPublicView", &TIniRecord::SymbolPublicView, "1", "1"},
    {"Control", "RefreshPublicView", &TIniRecord::RefreshPublicView, "1", "1"},
    {"Control", "RefreshTimePublicView", &TIniRecord::RefreshTimePublicView, "10000", "10000"},
    {"Control", "AufgabenAutomatik", &TIniRecord::AufgabenAutomatik, "0", "0"},
    // Not in the old program: the wall screen as a display board. Written after the old keys,
    // so a file of the old program keeps its order and only gains them at the end of its section.
    {"Programm", "SeitenwechselSekunden", &TIniRecord::SeitenwechselSekunden, "15", "15"},
    {"Programm", "VollbildPublicView", &TIniRecord::VollbildPublicView, "0", "0"},
    {"Programm", "SpaltenAnpassenPublicView", &TIniRecord::SpaltenAnpassenPublicView, "0", "0"},
};

// [Datenbank] is read only: a file without it stays as it is, and what an administrator wrote
// there is never rewritten.
const Eintrag g_datenbankEintraege[] = {
    {"Datenbank", "Server", &TIniRecord::DatenbankServer, "", ""},
    {"Datenbank", "Host", &TIniRecord::DatenbankHost, "", ""},
    {"Datenbank", "Port", &TIniRecord::DatenbankPort, "5432", "5432"},
    {"Datenbank", "Name", &TIniRecord::DatenbankName, "", ""},
    {"Datenbank", "Benutzer", &TIniRecord::DatenbankBenutzer, "", ""},
};

const char* const g_lageSchluessel[4] = {"Top", "Left", "Width", "Height"};

struct Fenster
{
    const char* name;
    int32_t TIniRecord::* lage[4];   // Top, Left, Width, Height
    int32_t vorgabe[4];
};

#define PV_FENSTER(name, breite, hoehe)                                                                          \
    {#name, {&TIniRecord::name##Top, &TIniRecord::name##Left, &TIniRecord::name##Width, &TIniRecord::name##Height}, \
     {0, 0, breite, hoehe}}

const Fenster g_fenster[] = {
    PV_FENSTER(HauptFensterEV, 1113, 750),
    PV_FENSTER(HauptFensterPV, 1113, 750),
    PV_FENSTER(StammFenster, 800, 750),
    PV_FENSTER(OptionFenster, 657, 565),
    PV_FENSTER(AufgabeFenster, 657, 565),
    PV_FENSTER(SucheFenster, 715, 427),
    PV_FENSTER(DruckVorschau, 715, 427),
    PV_FENSTER(HilfeFenster, 900, 650),
    PV_FENSTER(WochenplanFenster, 1000, 600),
};

#undef PV_FENSTER

struct Spalte
{
    const char* id;
    const char* abschnitt;   // also the name of the record field
    TSpaltenLayout TIniRecord::* layout;
};

const Spalte g_spalten[] = {
    {"PROJEKT", "PublicKommNr", &TIniRecord::PublicKommNr},
    {"BEZEICHNUNG", "PublicBezeichn", &TIniRecord::PublicBezeichn},
    {"BAUSTELLE", "PublicBaustelle", &TIniRecord::PublicBaustelle},
    {"BETREFF", "PublicBetreff", &TIniRecord::PublicBetreff},
    {"MITARBEITER", "PublicPersonal", &TIniRecord::PublicPersonal},
    {"AUFGABE", "PublicAufgabe", &TIniRecord::PublicAufgabe},
    {"DATUM", "PublicDatum", &TIniRecord::PublicDatum},
    {"STATUS", "PublicStatus", &TIniRecord::PublicStatus},
    {"ASTATUS", "PublicAufgStatus", &TIniRecord::PublicAufgStatus},
};

struct SpaltenEintrag
{
    const char* schluessel;
    SpaltenFeld feld;
    const char* vorgabe;
};

const SpaltenEintrag g_spaltenEintraege[] = {
    {"Position", &TSpaltenLayout::Position, "0"},
    {"Width", &TSpaltenLayout::Width, "80"},
    {"Visible", &TSpaltenLayout::Visible, "1"},
    {"Color", &TSpaltenLayout::Color, "-16777211"},       // 0xFF000005, system colour window background
    {"Fontcolor", &TSpaltenLayout::Fontcolor, "-16777208"}, // 0xFF000008, system colour window text
};

// A number as the settings file holds it: decimal with optional sign, or hexadecimal after "$"
// or "0x"/"0X" (up to 32 bits, so 0xFF000005 is a system colour). Anything else is the default.
int32_t ZahlAusText(const QString& text, int32_t vorgabe)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negativ = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negativ = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int basis = 10;
    if (i < n && text.at(i) == QLatin1Char('$')) {
        basis = 16;
        i += 1;
    } else if (i + 1 < n && text.at(i) == QLatin1Char('0') && text.at(i + 1).toLower() == QLatin1Char('x')) {
        basis = 16;
        i += 2;
    }
    if (i == n)
        return vorgabe;
    const uint64_t grenze = basis == 16 ? 0xFFFFFFFFull : (negativ ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t wert = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        int ziffer = 99;
        if (c >= u'0' && c <= u'9')
            ziffer = c - u'0';
        else if (c >= u'a' && c <= u'f')
            ziffer = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            ziffer = c - u'A' + 10;
        if (ziffer >= basis)
            return vorgabe;
        wert = wert * uint64_t(basis) + uint64_t(ziffer);
        if (wert > grenze)
            return vorgabe;
    }
    const auto bits = static_cast<uint32_t>(wert);
    return static_cast<int32_t>(negativ ? 0u - bits : bits);
}

QString ausVorgabe(const char* text)
{
    return text ? QString::fromUtf8(text) : ProgrammVerzeichnis();
}

// Cuts a string value to what Windows returns, without splitting a surrogate pair.
QString gekuerzt(QString text)
{
    if (text.size() > MaxTextLaenge)
        text.truncate(text.at(MaxTextLaenge - 1).isHighSurrogate() ? MaxTextLaenge - 1 : MaxTextLaenge);
    return text;
}

// Stores a value given in the file's text form into a field of any of the three kinds.
template <class Objekt, class Feld>
void feldSetzen(Objekt& objekt, const Feld& feld, const QString& text, const QString& vorgabeText)
{
    std::visit(
        [&](auto zeiger) {
            auto& ziel = objekt.*zeiger;
            using Typ = std::remove_reference_t<decltype(ziel)>;
            if constexpr (std::is_same_v<Typ, QString>)
                ziel = text;
            else if constexpr (std::is_same_v<Typ, bool>)
                ziel = ZahlAusText(text, ZahlAusText(vorgabeText, 0)) != 0;
            else
                ziel = ZahlAusText(text, ZahlAusText(vorgabeText, 0));
        },
        feld);
}

template <class Objekt, class Feld>
QString feldText(const Objekt& objekt, const Feld& feld)
{
    return std::visit(
        [&](auto zeiger) {
            const auto& wert = objekt.*zeiger;
            using Typ = std::remove_cvref_t<decltype(wert)>;
            if constexpr (std::is_same_v<Typ, QString>)
                return wert;
            else if constexpr (std::is_same_v<Typ, bool>)
                return QString::fromLatin1(wert ? "1" : "0");
            else
                return QString::number(wert);
        },
        feld);
}

template <class Objekt, class Feld>
void lesen(const QString& datei, const char* abschnitt, const QString& schluessel, Objekt& objekt,
           const Feld& feld, const QString& vorgabe)
{
    const QString text = gekuerzt(GetPrivateProfileString(QString::fromUtf8(abschnitt), schluessel, vorgabe, datei));
    feldSetzen(objekt, feld, text, vorgabe);
}

void schreiben(const QString& datei, const char* abschnitt, const QString& schluessel, const QString& text)
{
    if (!WritePrivateProfileString(QString::fromUtf8(abschnitt), schluessel, text, datei))
        throw Fehler(QStringLiteral("In %1 kann nicht geschrieben werden").arg(datei));
}

const Fenster* fensterZu(const QString& name)
{
    for (const Fenster& f : g_fenster) {
        if (name == QLatin1String(f.name))
            return &f;
    }
    return nullptr;
}

const Spalte* spalteZu(const QString& id)
{
    for (const Spalte& s : g_spalten) {
        if (id == QLatin1String(s.id))
            return &s;
    }
    return nullptr;
}

} // namespace

QString ProgrammVerzeichnis()
{
    // Qt asks the system with a buffer that grows as needed, so long paths come back whole.
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString PfadVerbinden(const QString& verzeichnis, const QString& name)
{
    // Without a directory the name stays relative (to the program directory), never the root.
    const QChar trenner = QDir::separator();
    if (verzeichnis.isEmpty() || verzeichnis.endsWith(trenner))
        return verzeichnis + name;
    return verzeichnis + trenner + name;
}

QString IniDateiPfad()
{
    return PfadVerbinden(ProgrammVerzeichnis(), QStringLiteral("PROJEKT.INI"));
}

QString ProgrammDateiName()
{
    return QStringLiteral(PV_PROGRAMMDATEI);
}

void IniVorbelegen()
{
    for (const Eintrag& e : g_datenbankEintraege)
        feldSetzen(IniRecord, e.feld, QString::fromUtf8(e.voreinstellung), QString::fromUtf8(e.voreinstellung));
    for (const Eintrag& e : g_eintraege) {
        const QString text = ausVorgabe(e.voreinstellung);
        feldSetzen(IniRecord, e.feld, text, text);
    }
    IniRecord.Version = QStringLiteral("1.0.4.20");
    IniRecord.Datum = QStringLiteral("21.04.2010");
}

void IniAnlegen()
{
    QFile datei(IniDateiPfad());
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Meldung::fehler(QStringLiteral("Ini-Datei konnte nicht angelegt werden"));
        return;
    }
    datei.close();
    IniVorbelegen();
    IniSchreiben();
}

void IniLesen()
{
    const QString datei = IniDateiPfad();
    // Writes killed before they replaced the file left their temporaries beside it.
    VerwaisteZwischendateienEntfernen(datei);
    for (const Eintrag& e : g_eintraege)
        lesen(datei, e.abschnitt, QString::fromUtf8(e.schluessel), IniRecord, e.feld, ausVorgabe(e.vorgabe));
    for (const Eintrag& e : g_datenbankEintraege)
        lesen(datei, e.abschnitt, QString::fromUtf8(e.schluessel), IniRecord, e.feld, ausVorgabe(e.vorgabe));
}

QString ServerDatenbank()
{
    const QString server = IniRecord.DatenbankServer.trimmed();
    if (server.isEmpty())
        return QString();
    if (server.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) != 0)
        throw Fehler(QStringLiteral("In %1 nennt der Abschnitt [Datenbank] den Server '%2'. Möglich ist Server=postgresql; "
                                    "ohne Eintrag wird die Datenbankdatei PROJEKT.MDB verwendet.")
                         .arg(IniDateiPfad(), server));
    Serveradresse adresse;
    adresse.host = IniRecord.DatenbankHost.trimmed();
    adresse.port = IniRecord.DatenbankPort;
    adresse.name = IniRecord.DatenbankName.trimmed();
    adresse.benutzer = IniRecord.DatenbankBenutzer.trimmed();
    if (adresse.name.isEmpty())
        throw Fehler(QStringLiteral("In %1 nennt der Abschnitt [Datenbank] den Server, aber keine Datenbank. Bitte dort "
                                    "Name=… eintragen (dazu Host=…, Port=… und Benutzer=…).")
                         .arg(IniDateiPfad()));
    if (adresse.port < 1 || adresse.port > 65535)
        throw Fehler(QStringLiteral("In %1 ist im Abschnitt [Datenbank] Port=%2 keine Portnummer (1 bis 65535).")
                         .arg(IniDateiPfad())
                         .arg(adresse.port));
    return adresse.text();
}

void IniSchreiben()
{
    const QString datei = IniDateiPfad();
    for (const Eintrag& e : g_eintraege)
        schreiben(datei, e.abschnitt, QString::fromUtf8(e.schluessel), feldText(IniRecord, e.feld));
}

void FensterLesen(const QString& FensterName)
{
    const Fenster* f = fensterZu(FensterName);
    if (!f)
        return;
    const QString datei = IniDateiPfad();
    for (int i = 0; i < 4; ++i) {
        const QString schluessel = FensterName + QLatin1String(g_lageSchluessel[i]);
        lesen(datei, "Fenster", schluessel, IniRecord, RecordFeld(f->lage[i]), QString::number(f->vorgabe[i]));
    }
}

void FensterSchreiben(const QString& FensterName)
{
    const Fenster* f = fensterZu(FensterName);
    if (!f)
        return;
    const QString datei = IniDateiPfad();
    for (int i = 0; i < 4; ++i) {
        schreiben(datei, "Fenster", FensterName + QLatin1String(g_lageSchluessel[i]),
                  QString::number(IniRecord.*(f->lage[i])));
    }
}

bool FensterNameBekannt(const QString& FensterName)
{
    return fensterZu(FensterName) != nullptr;
}

QRect FensterLage(const QString& FensterName)
{
    const Fenster* f = fensterZu(FensterName);
    if (!f)
        return {};
    const auto feld = [f](int i) { return IniRecord.*(f->lage[i]); };
    return QRect(feld(1), feld(0), feld(2), feld(3));
}

void FensterLageSetzen(const QString& FensterName, const QRect& lage)
{
    const Fenster* f = fensterZu(FensterName);
    if (!f)
        return;
    IniRecord.*(f->lage[0]) = lage.top();
    IniRecord.*(f->lage[1]) = lage.left();
    IniRecord.*(f->lage[2]) = lage.width();
    IniRecord.*(f->lage[3]) = lage.height();
}

void SpalteLesen(const QString& SpaltenId)
{
    const Spalte* s = spalteZu(SpaltenId);
    if (!s)
        return;
    const QString datei = IniDateiPfad();
    TSpaltenLayout& layout = IniRecord.*(s->layout);
    for (const SpaltenEintrag& e : g_spaltenEintraege)
        lesen(datei, s->abschnitt, QString::fromUtf8(e.schluessel), layout, e.feld, QString::fromUtf8(e.vorgabe));
}

void SpalteSchreiben(const QString& SpaltenId)
{
    const Spalte* s = spalteZu(SpaltenId);
    if (!s)
        return;
    const QString datei = IniDateiPfad();
    const TSpaltenLayout& layout = IniRecord.*(s->layout);
    for (const SpaltenEintrag& e : g_spaltenEintraege)
        schreiben(datei, s->abschnitt, QString::fromUtf8(e.schluessel), feldText(layout, e.feld));
}
