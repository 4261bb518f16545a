#include "ErpDemoDaten.h"

#include "Cp850.h"

#include <QFile>

#include <cstring>
#include <stdexcept>

namespace erpdemo {

namespace bs = btrieveschreiber;
using namespace btrieve;

namespace {
// Days between 30.12.1899 and a date, with the time of day as fraction.
double oleTage(const QDateTime& wert)
{
    return double(QDate(1899, 12, 30).daysTo(wert.date())) + wert.time().msecsSinceStartOfDay() / 86400000.0;
}
} // namespace

ErpSatz::ErpSatz() : m_bytes(TMasterProjekt::Laenge, 0) {}

const TMasterFeld& ErpSatz::feld(const char* name) const
{
    const TMasterFeld* f = MasterFeld(QString::fromLatin1(name));
    if (!f)
        throw std::invalid_argument(std::string("unbekanntes Feld ") + name);
    return *f;
}

ErpSatz& ErpSatz::text(const char* name, const QString& wert)
{
    const TMasterFeld& f = feld(name);
    std::string dos;
    if (!cp850::ausUtf8(wert.toStdString(), dos))
        throw std::invalid_argument("Zeichen außerhalb der Codepage 850: " + wert.toStdString());
    if (int(dos.size()) > f.Spanne - 1)
        throw std::invalid_argument("Text zu lang für " + std::string(name) + ": " + wert.toStdString());
    std::memset(&m_bytes[size_t(f.Offset)], 0, size_t(f.Spanne));
    m_bytes[size_t(f.Offset)] = uint8_t(dos.size());
    std::memcpy(&m_bytes[size_t(f.Offset) + 1], dos.data(), dos.size());
    return *this;
}

ErpSatz& ErpSatz::text(const char* name, const QString& wert, const QString& vorher)
{
    text(name, vorher);
    std::vector<uint8_t> alt(m_bytes);
    text(name, wert);
    const TMasterFeld& f = feld(name);
    const size_t n = m_bytes[size_t(f.Offset)];
    for (size_t i = size_t(f.Offset) + 1 + n; i < size_t(f.Offset + f.Spanne); ++i)
        m_bytes[i] = alt[i];
    return *this;
}

ErpSatz& ErpSatz::datum(const char* name, const QDate& wert)
{
    const TMasterFeld& f = feld(name);
    return text(name, wert.toString(f.Spanne - 1 >= 10 ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("dd.MM.yy")));
}

ErpSatz& ErpSatz::zahl(const char* name, int wert)
{
    const TMasterFeld& f = feld(name);
    for (int i = 0; i < f.Spanne; ++i)
        m_bytes[size_t(f.Offset + i)] = uint8_t(uint32_t(wert) >> (8 * i));
    return *this;
}

ErpSatz& ErpSatz::oleDatum(const char* name, double tage)
{
    const TMasterFeld& f = feld(name);
    std::memcpy(&m_bytes[size_t(f.Offset)], &tage, 8);
    return *this;
}

ErpSatz& ErpSatz::oleDatum(const char* name, const QDateTime& wert)
{
    return oleDatum(name, wert.isValid() ? oleTage(wert) : 0.0);
}

std::vector<bs::Schluessel> erpSchluessel()
{
    auto lstring = [](uint16_t offset, uint16_t laenge, bool duplikate, uint16_t flags = 0) {
        bs::Schluessel k;
        k.segmente = {{offset, laenge, typ::LString, flags}};
        k.duplikate = duplikate;
        k.aenderbar = duplikate;
        return k;
    };
    bs::Schluessel kostenstelle;
    kostenstelle.segmente = {{1573, 4, typ::Integer, 0}};
    kostenstelle.duplikate = kostenstelle.aenderbar = true;
    return {lstring(0, 16, true), lstring(27, 11, true), lstring(38, 11, true), lstring(49, 19, true),
            lstring(68, 31, true, flag::OhneGross), kostenstelle, lstring(16, 11, false)};
}

bs::Schreiber erpSchreiber()
{
    return bs::Schreiber(TMasterProjekt::Laenge, erpSchluessel());
}

bool erpDateiSchreiben(const QString& pfad, const std::vector<ErpSatz>& saetze, QString& fehler)
{
    try {
        bs::Schreiber s = erpSchreiber();
        for (const ErpSatz& satz : saetze)
            s.satz(satz.bytes());
        std::string grund;
        if (!s.schreiben(QFile::encodeName(pfad).toStdString(), grund)) {
            fehler = QString::fromStdString(grund);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        fehler = QString::fromStdString(e.what());
        return false;
    }
}

std::vector<uint8_t> massenProjekt(int nr)
{
    ErpSatz s;
    const QString n = QString::number(nr);
    s.text("Konto", QString::number(10000 + nr % 900))
        .text("Kommnr", QStringLiteral("M%1").arg(nr, 7, 10, QLatin1Char('0')))
        .text("AngebotsNr", QStringLiteral("A") + n)
        .text("Bezeichn", QStringLiteral("Kunde %1 Müller & Söhne").arg(nr % 5000))
        .text("Betreff1", QStringLiteral("Sanitärinstallation Bauabschnitt %1").arg(nr % 97))
        .text("Baustelle", QStringLiteral("Hauptstraße %1").arg(nr % 300 + 1))
        .datum("Datum", QDate(2020, 1, 1).addDays(nr % 2000))
        .zahl("Kostenstelle", 100 * (nr % 5 + 1))
        .oleDatum("AngDate", 43831.0 + nr % 2000);
    return s.bytes();
}

std::vector<ErpSatz> demoProjekte()
{
    struct Kunde
    {
        const char* konto;
        const char* name;
        const char* anrede;
        const char* branche;
        const char* strasse;
        const char* ort;
        const char* telefon;
        const char* postfach;
    };
    static const Kunde kunden[] = {
        {"10010", "Bäckerei Müller GmbH", "Firma", "Handwerk", "Hauptstraße 12", "79098 Freiburg", "0761 208811", "Postfach 1123"},
        {"10011", "Wohnungsbau Südstadt eG", "Firma", "Wohnungsbau", "Schloßallee 7", "79100 Freiburg", "0761 45670", "Postfach 2210"},
        {"10012", "Dr. Jürgen Weiß", "Herrn", "Privat", "Am Mühlbach 3", "79199 Kirchzarten", "07661 3321", ""},
        {"10013", "Gemeinde Großostheim", "An die", "Öffentlich", "Rathausplatz 1", "63762 Großostheim", "06026 50040", "Postfach 11"},
        {"10014", "Autohaus Schäfer KG", "Firma", "Gewerbe", "Industriestraße 44", "79211 Denzlingen", "07666 90210", ""},
        {"10015", "Zahnarztpraxis Dr. Köhler", "Frau", "Gesundheit", "Bahnhofstraße 9", "79183 Waldkirch", "07681 4455", ""},
        {"10016", "Hotel Zur Krone", "Firma", "Gastronomie", "Marktplatz 2", "79822 Titisee-Neustadt", "07651 9330", ""},
        {"10017", "Familie Öztürk", "Familie", "Privat", "Lindenweg 4", "79112 Freiburg", "0761 4791220", ""},
        {"10018", "Metzgerei Günther", "Firma", "Handwerk", "Kirchgasse 5", "79206 Breisach", "07667 8120", ""},
        {"10019", "Kita Sonnenschein e.V.", "An den", "Öffentlich", "Wiesenstraße 21", "79194 Gundelfingen", "0761 581122", ""},
        {"10020", "Evang. Kirchengemeinde", "An die", "Öffentlich", "Pfarrgasse 1", "79215 Elzach", "07682 255", ""},
        {"10021", "Steuerbüro Brückner", "Herrn", "Dienstleistung", "Löwenstraße 8", "79098 Freiburg", "0761 31415", ""},
        {"10022", "Holzbau Fuchs GmbH", "Firma", "Handwerk", "Sägewerkstraße 3", "79271 St. Peter", "07660 9400", ""},
        {"10023", "Schreinerei Maaß", "Firma", "Handwerk", "Gewerbepark 11", "79341 Kenzingen", "07644 1283", ""},
        {"10024", "Stadtwerke Überlingen", "An die", "Öffentlich", "Kurt-Wilde-Str. 10", "88662 Überlingen", "07551 9470", "Postfach 101"},
        {"10025", "Ehel. Schröder", "Eheleute", "Privat", "Rebstockweg 19", "79235 Vogtsburg", "07662 6611", ""},
        {"10026", "Pflegeheim St. Josef", "Firma", "Gesundheit", "Klosterweg 2", "79117 Freiburg", "0761 6120", ""},
        {"10027", "Brauerei Ganter AG", "Firma", "Gewerbe", "Schwarzwaldstraße 43", "79117 Freiburg", "0761 21850", "Postfach 720"},
        {"10028", "Frau Käthe Vögele", "Frau", "Privat", "Höhenweg 6", "79856 Hinterzarten", "07652 1717", ""},
        {"10029", "Grundschule Am Dorfbach", "An die", "Öffentlich", "Schulstraße 17", "79256 Buchenbach", "07661 90100", ""},
    };
    struct Auftrag
    {
        const char* betreff[3];
        int kostenstelle;
        const char* bemerkung;
    };
    static const Auftrag auftraege[] = {
        {{"Heizungsmodernisierung", "Gas-Brennwertkessel 24 kW", "Warmwasserspeicher 300 l"}, 300, "Altkessel entsorgen, Kamin prüft Schornsteinfeger"},
        {{"Badsanierung 2. OG", "Fliesen 18 m², bodengleiche Dusche", ""}, 200, "Mieter wohnt während der Arbeiten im Haus"},
        {{"Elektroinstallation Neubau EFH", "Zählerschrank, 42 Stromkreise", "Außenbeleuchtung"}, 100, "Baustrom vorhanden, Schlüssel beim Polier"},
        {{"Photovoltaikanlage 9,8 kWp", "Speicher 10 kWh", "Wallbox 11 kW"}, 100, "Anmeldung beim Netzbetreiber läuft"},
        {{"Lüftungsanlage mit Wärmerückgewinnung", "Volumenstrom 450 m³/h", ""}, 300, "Kernbohrungen durch Fa. Maaß"},
        {{"Wärmepumpe Luft/Wasser 12 kW", "Pufferspeicher 500 l", "Fußbodenheizung 140 m²"}, 300, "Förderantrag BAFA gestellt, Bescheid abwarten"},
        {{"Sanitärinstallation Gewerbeküche", "Fettabscheider", "Edelstahlrinnen"}, 200, "Arbeiten nur montags (Ruhetag)"},
        {{"Umbau Heizzentrale", "Fernwärmeübergabestation", "Hydraulischer Abgleich"}, 300, "Abschaltung nur außerhalb der Heizperiode"},
        {{"Erneuerung Trinkwasserleitungen", "Edelstahl 22 mm, 3 Stränge", "Legionellenprüfung"}, 200, "Wasserabstellung mit Hausverwaltung abstimmen"},
        {{"Elektro-Sanierung Altbau", "Unterverteilung je Wohnung", "FI-Schutzschalter nachrüsten"}, 100, "Asbestprüfung Spachtelmasse liegt vor"},
        {{"Regenwassernutzung", "Zisterne 6 m³", "Pumpe und Nachspeisung"}, 200, "Erdarbeiten durch Bauherrn"},
        {{"Wartungsvertrag Heizung", "Jahreswartung 2 Anlagen", ""}, 300, "Termin jeweils im September"},
        {{"Barrierefreies Bad", "Stützgriffe, unterfahrbarer Waschtisch", "Dusch-WC"}, 200, "Zuschuss Pflegekasse, Rechnung an Kunden direkt"},
        {{"Beleuchtung Turnhalle LED", "Ballwurfsichere Leuchten", "DALI-Steuerung"}, 100, "Arbeiten in den Sommerferien"},
        {{"Solarthermie Brauchwasser", "Flachkollektor 7,5 m²", "Solarstation"}, 300, "Dachdecker stellt Gerüst"},
    };
    static const char* baustellen[] = {"Lindenweg 4", "Schulstraße 17", "Im Grün 8", "Mühlenstraße 23",
                                       "Am Schloßberg 5", "Gartenstraße 2a", "Talstraße 61", "Rosenau 12",
                                       "Bergstraße 30", "Weiherhof 1", "Güterbahnhof 3", "Kaiserstraße 88"};
    static const char* baustellenOrte[] = {"Freiburg", "Kirchzarten", "Waldkirch", "Emmendingen", "Überlingen",
                                           "Titisee-Neustadt", "Breisach", "Müllheim"};
    static const char* bauherren[] = {"Ehel. Müller", "WBG Südstadt", "Dr. Weiß", "Gemeinde", "Fam. Öztürk",
                                      "Fr. Vögele", "Herr Schröder", "St. Josef gGmbH"};
    static const char* architekten[] = {"Büro Schäfer+Partner", "Arch. Lößle", "Planwerk Süd", "", "Ing.-Büro Kühn",
                                        "Arch. Hübner"};

    std::vector<ErpSatz> ergebnis;
    const QDate anfang(2023, 1, 9);
    for (int i = 0; i < 60; ++i) {
        const Kunde& k = kunden[(i * 7) % 20];
        const Auftrag& a = auftraege[(i * 4 + i / 15) % 15];
        const int jahr = 23 + i / 25;
        const int lfd = 101 + i;
        const QString nummer = QStringLiteral("%1-%2").arg(jahr).arg(lfd, 4, 10, QLatin1Char('0'));
        const QDate angebot = anfang.addDays(i * 17);
        const QDate auftrag = angebot.addDays(14 + i % 20);
        const QDate beginn = auftrag.addDays(21 + (i % 5) * 7);
        const QDate termin = beginn.addDays(10 + (i % 9) * 3);
        const bool abgerechnet = i < 38;

        ErpSatz s;
        s.text("Konto", QString::fromUtf8(k.konto))
            .text("Kommnr", nummer)
            .text("AngebotsNr", QStringLiteral("A%1-%2").arg(jahr).arg(300 + i))
            .text("AuftragsNr", QStringLiteral("AB-%1-%2").arg(jahr).arg(lfd))
            .text("Bezeichn", QString::fromUtf8(k.name))
            .datum("Datum", angebot)
            .text("Anrede", QString::fromUtf8(k.anrede))
            .text("Branche", QString::fromUtf8(k.branche))
            .text("Postfach", QString::fromUtf8(k.postfach))
            .text("Strasse", QString::fromUtf8(k.strasse))
            .text("Ort", QString::fromUtf8(k.ort))
            .text("U_Zchn", QStringLiteral("MK/sb"))
            .text("I_Zchn", QStringLiteral("Hr. Weiß"))
            .text("Baustelle", QString::fromUtf8(baustellen[i % 12]))
            .text("Bauherr", QString::fromUtf8(bauherren[i % 8]))
            .text("Architekt", QString::fromUtf8(architekten[i % 6]))
            .text("BOrt", QString::fromUtf8(baustellenOrte[i % 8]))
            .text("BStrasse", QString::fromUtf8(baustellen[(i + 3) % 12]))
            .text("BTel", QStringLiteral("0171 55%1").arg(1000 + i * 37))
            .text("ATel", i % 6 == 3 ? QString() : QStringLiteral("0761 70%1").arg(200 + i))
            .text("UTel", QString::fromUtf8(k.telefon))
            .datum("Baubegin", beginn)
            .datum("Termin", termin)
            .text("Bemerkung", QString::fromUtf8(a.bemerkung))
            .text("KundenKey", QString::fromUtf8(k.name).toUpper().left(40))
            .zahl("Kostenstelle", a.kostenstelle)
            .oleDatum("AngDate", angebot.startOfDay())
            .oleDatum("AuftrDate", QDateTime(auftrag, QTime(9 + i % 8, (i * 13) % 60)))
            .oleDatum("MontageDate", beginn.startOfDay());
        for (int b = 0; b < 3; ++b)
            s.text(b == 0 ? "Betreff1" : b == 1 ? "Betreff2" : "Betreff3", QString::fromUtf8(a.betreff[b]));
        if (i % 4 == 0)
            s.text("Betreff4", QStringLiteral("gem. Angebot vom %1").arg(angebot.toString(QStringLiteral("dd.MM.yyyy"))));
        if (abgerechnet) {
            s.text("RechnNr", QStringLiteral("R%1-%2").arg(jahr).arg(500 + i))
                .datum("Faellig", termin.addDays(44))
                .zahl("TRechNr", 1 + i % 3)
                .oleDatum("RechDate", termin.addDays(14).startOfDay());
        }
        if (i % 9 == 4) {
            s.text("Kommnr", nummer, nummer + QStringLiteral("-AL"));
            s.text("Betreff2", QString::fromUtf8(a.betreff[1]), QStringLiteral("Angebot überarbeitet, siehe Nachtrag Nr. 2"));
        }
        if (i % 11 == 5)
            s.text("GutSchrNr", QStringLiteral("G%1-%2").arg(jahr).arg(20 + i)).oleDatum("GutschrDate", termin.addDays(60).startOfDay());
        ergebnis.push_back(s);
    }
    return ergebnis;
}

} // namespace erpdemo
