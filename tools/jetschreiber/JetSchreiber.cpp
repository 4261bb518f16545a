#include "JetSchreiber.h"

#include "Fehler.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <cstring>

namespace JetSchreiber {

namespace {

constexpr int seitenGroesse = 4096;
constexpr int datenKopf = 14;        // page type, free space, owner, 4 unknown bytes, row count
constexpr int tdefSpaltenStart = 63; // column entries follow the 55-byte table block
constexpr int spaltenEintrag = 25;

// Column type codes of the engine.
enum : quint8 { jetBool = 0x01, jetInt = 0x03, jetLong = 0x04, jetDouble = 0x07, jetDatum = 0x08,
                jetText = 0x0A, jetOle = 0x0B, jetMemo = 0x0C };
// Column flags: fixed width, may be null, AutoNumber.
enum : quint8 { flagFest = 0x01, flagNull = 0x02, flagAuto = 0x04 };

void setze16(QByteArray& b, int pos, quint16 wert)
{
    b[pos] = char(wert & 0xFF);
    b[pos + 1] = char(wert >> 8);
}

void setze32(QByteArray& b, int pos, quint32 wert)
{
    for (int i = 0; i < 4; ++i)
        b[pos + i] = char((wert >> (8 * i)) & 0xFF);
}

void anhaengen16(QByteArray& b, quint16 wert)
{
    b.append(char(wert & 0xFF)).append(char(wert >> 8));
}

quint8 typCode(const Spalte& s)
{
    switch (s.typ) {
    case Typ::JaNein: return jetBool;
    case Typ::Integer: return jetInt;
    case Typ::Long: return jetLong;
    case Typ::Double: return jetDouble;
    case Typ::DatumZeit: return jetDatum;
    case Typ::Text: return jetText;
    case Typ::Memo: return jetMemo;
    case Typ::Ole: return jetOle;
    }
    return jetText;
}

// Bytes a fixed column takes in a row; 0 for the variable kinds. A Yes/No value lives in the
// null mask, its byte in the fixed part stays unused.
int festeBreite(Typ typ)
{
    switch (typ) {
    case Typ::JaNein: return 1;
    case Typ::Integer: return 2;
    case Typ::Long: return 4;
    case Typ::Double:
    case Typ::DatumZeit: return 8;
    case Typ::Text:
    case Typ::Memo:
    case Typ::Ole: return 0;
    }
    return 0;
}

// One byte per character behind FF FE when that is possible, UTF-16 (little-endian) otherwise.
QByteArray textKodieren(const QString& text)
{
    QByteArray b;
    bool einByte = true;
    for (QChar c : text)
        if (c.unicode() == 0 || c.unicode() > 0xFF) {
            einByte = false;
            break;
        }
    if (text.isEmpty())
        return b;
    if (einByte) {
        b.reserve(text.size() + 2);
        b.append(char(0xFF)).append(char(0xFE));
        for (QChar c : text)
            b.append(char(c.unicode()));
    } else {
        b.reserve(text.size() * 2);
        for (QChar c : text)
            anhaengen16(b, c.unicode());
    }
    return b;
}

// Days since 30.12.1899 with the time of day as fraction; before that day the whole days count
// down while the fraction still counts forward, as the engine keeps it.
double oleDatum(const QDateTime& zeitpunkt)
{
    const qint64 tage = QDate(1899, 12, 30).daysTo(zeitpunkt.date());
    const double anteil = zeitpunkt.time().msecsSinceStartOfDay() / 86400000.0;
    return tage >= 0 ? double(tage) + anteil : double(tage) - anteil;
}

void rc4(const QByteArray& schluessel, char* daten, int laenge)
{
    std::array<quint8, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + quint8(schluessel[i % schluessel.size()])) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < laenge; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        daten[n] = char(quint8(daten[n]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

QByteArray kopfseite()
{
    QByteArray seite(seitenGroesse, '\0');
    seite[1] = 0x01;
    std::memcpy(seite.data() + 4, "Standard Jet DB", 15);
    setze32(seite, 0x14, 1);                 // engine version: Jet 4
    setze16(seite, 0x3C, 1252);              // code page
    setze32(seite, 0x3E, 0);                 // no encryption key: pages are stored plain
    setze32(seite, 0x6E, 1033);              // sort order "General"
    // Jet keeps 128 bytes from 0x18 scrambled with a fixed key.
    rc4(QByteArray("\xC7\xDA\x39\x6B", 4), seite.data() + 0x18, 128);
    return seite;
}

QByteArray leereDatenseite(int tdefSeite)
{
    QByteArray seite(seitenGroesse, '\0');
    seite[0] = 0x01;
    seite[1] = 0x01;
    setze16(seite, 2, seitenGroesse - datenKopf);
    setze32(seite, 4, quint32(tdefSeite));
    return seite;
}

int zeilenAnzahl(const QByteArray& seite)
{
    return quint8(seite[12]) | (quint8(seite[13]) << 8);
}

int freierPlatz(const QByteArray& seite)
{
    return quint8(seite[2]) | (quint8(seite[3]) << 8);
}

// Puts a row into a data page (rows grow from the page's end towards its head); false when full.
bool inSeite(QByteArray& seite, const QByteArray& zeile)
{
    const int n = zeilenAnzahl(seite);
    if (freierPlatz(seite) < zeile.size() + 2)
        return false;
    const int ende = n == 0 ? seitenGroesse : (quint8(seite[datenKopf + 2 * (n - 1)]) | (quint8(seite[datenKopf + 2 * (n - 1) + 1]) << 8)) & 0x1FFF;
    const int anfang = ende - int(zeile.size());
    std::memcpy(seite.data() + anfang, zeile.constData(), size_t(zeile.size()));
    setze16(seite, datenKopf + 2 * n, quint16(anfang));
    setze16(seite, 12, quint16(n + 1));
    setze16(seite, 2, quint16(freierPlatz(seite) - zeile.size() - 2));
    return true;
}

} // namespace

Jet4Datei::Jet4Datei()
{
    m_seiten.push_back(kopfseite());
    m_seiten.push_back(leereDatenseite(0));
    m_seiten.push_back(QByteArray(seitenGroesse, '\0'));   // MSysObjects, filled when saved
    tabelleEinrichten(QStringLiteral("MSysObjects"),
                      {{QStringLiteral("Id"), Typ::Long},
                       {QStringLiteral("ParentId"), Typ::Long},
                       {QStringLiteral("Name"), Typ::Text, 128},
                       {QStringLiteral("Type"), Typ::Integer},
                       {QStringLiteral("Flags"), Typ::Long},
                       {QStringLiteral("LvProp"), Typ::Ole}},
                      true);
}

int Jet4Datei::tabelleEinrichten(const QString& name, std::vector<Spalte> spalten, bool system)
{
    if (spalten.empty() || spalten.size() > 255)
        throw Fehler(QStringLiteral("Die Tabelle '%1' braucht 1 bis 255 Spalten.").arg(name));
    Tabelle t;
    t.name = name;
    t.system = system;
    for (const Spalte& s : spalten) {
        if (s.typ == Typ::Text && (s.laenge < 1 || s.laenge > 255))
            throw Fehler(QStringLiteral("Die Textspalte '%1' muss 1 bis 255 Zeichen breit sein.").arg(s.name));
        const int breite = festeBreite(s.typ);
        if (breite > 0) {
            t.position.push_back(t.festLaenge);
            t.festLaenge += breite;
        } else {
            t.position.push_back(t.variabel++);
        }
    }
    t.spalten = std::move(spalten);
    if (system) {
        t.tdefSeite = 2;
    } else {
        t.tdefSeite = int(m_seiten.size());
        m_seiten.push_back(QByteArray(seitenGroesse, '\0'));
    }
    m_tabellen.push_back(std::move(t));
    return int(m_tabellen.size()) - 1;
}

int Jet4Datei::tabelleAnlegen(const QString& name, std::vector<Spalte> spalten)
{
    if (name.isEmpty() || name.size() > 64)
        throw Fehler(QStringLiteral("Ein Tabellenname hat 1 bis 64 Zeichen."));
    for (const Tabelle& t : m_tabellen)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            throw Fehler(QStringLiteral("Die Tabelle '%1' gibt es schon.").arg(name));
    return tabelleEinrichten(name, std::move(spalten), false);
}

QByteArray Jet4Datei::zeileKodieren(const Tabelle& t, const QVariantList& werte, bool ueberlang) const
{
    const int spalten = int(t.spalten.size());
    if (werte.size() != spalten)
        throw Fehler(QStringLiteral("Die Tabelle '%1' hat %2 Spalten, die Zeile %3 Werte.").arg(t.name).arg(spalten).arg(werte.size()));
    QByteArray zeile(2 + t.festLaenge, '\0');
    setze16(zeile, 0, quint16(spalten));
    QByteArray maske((spalten + 7) / 8, '\0');
    std::vector<quint16> anfaenge(size_t(t.variabel), 0);
    auto gesetzt = [&](int nr) { maske[nr / 8] = char(quint8(maske[nr / 8]) | (1 << (nr % 8))); };

    for (int nr = 0; nr < spalten; ++nr) {
        const Spalte& s = t.spalten[size_t(nr)];
        const QVariant& w = werte[nr];
        const int ort = 2 + t.position[size_t(nr)];
        if (s.typ == Typ::Text || s.typ == Typ::Memo || s.typ == Typ::Ole) {
            anfaenge[size_t(t.position[size_t(nr)])] = quint16(zeile.size());
            if (!w.isValid() || w.isNull() || s.typ == Typ::Ole)
                continue;
            const QString text = w.toString();
            if (s.typ == Typ::Text && text.size() > s.laenge && !ueberlang)
                throw Fehler(QStringLiteral("Der Text für '%1' ist länger als %2 Zeichen.").arg(s.name).arg(s.laenge));
            const QByteArray bytes = textKodieren(text);
            if (s.typ == Typ::Memo) {
                // Memo kept in the row: length with the flag "inline", no page pointer.
                QByteArray kopf(12, '\0');
                setze32(kopf, 0, quint32(bytes.size()) | 0x80000000u);
                zeile.append(kopf);
            }
            zeile.append(bytes);
            gesetzt(nr);
            continue;
        }
        if (!w.isValid() || w.isNull())
            continue;
        switch (s.typ) {
        case Typ::JaNein:
            if (w.toBool())
                gesetzt(nr);
            continue;
        case Typ::Integer:
            setze16(zeile, ort, quint16(qint16(w.toInt())));
            break;
        case Typ::Long:
            setze32(zeile, ort, quint32(qint32(w.toLongLong())));
            break;
        case Typ::Double: {
            const double d = w.toDouble();
            std::memcpy(zeile.data() + ort, &d, 8);
            break;
        }
        case Typ::DatumZeit: {
            const QDateTime dt = w.metaType().id() == QMetaType::QDate ? QDateTime(w.toDate(), QTime(0, 0)) : w.toDateTime();
            const double d = oleDatum(dt);
            std::memcpy(zeile.data() + ort, &d, 8);
            break;
        }
        case Typ::Text:
        case Typ::Memo:
        case Typ::Ole:
            break;
        }
        gesetzt(nr);
    }
    // Tail, read backwards by a reader: null mask, number of variable values, their offsets
    // (first value last), end of the variable data.
    if (t.variabel > 0) {
        anhaengen16(zeile, quint16(zeile.size()));   // end of the variable data
        for (int i = t.variabel - 1; i >= 0; --i)
            anhaengen16(zeile, anfaenge[size_t(i)]);
        anhaengen16(zeile, quint16(t.variabel));
    }
    zeile.append(maske);
    if (zeile.size() > seitenGroesse - datenKopf - 2)
        throw Fehler(QStringLiteral("Eine Zeile der Tabelle '%1' passt mit %2 Bytes nicht in eine Seite.").arg(t.name).arg(zeile.size()));
    return zeile;
}

int Jet4Datei::neueDatenseite(int tdefSeite)
{
    m_seiten.push_back(leereDatenseite(tdefSeite));
    return int(m_seiten.size()) - 1;
}

void Jet4Datei::zeileAblegen(Tabelle& t, const QByteArray& zeile)
{
    if (t.datenSeiten.empty() || !inSeite(m_seiten[size_t(t.datenSeiten.back())], zeile)) {
        t.datenSeiten.push_back(neueDatenseite(t.tdefSeite));
        inSeite(m_seiten[size_t(t.datenSeiten.back())], zeile);
    }
    ++t.zeilen;
}

void Jet4Datei::zeileAnfuegen(int tabelle, const QVariantList& werte, bool ueberlang)
{
    if (tabelle < 1 || tabelle >= int(m_tabellen.size()))
        throw Fehler(QStringLiteral("Unbekannte Tabellennummer %1.").arg(tabelle));
    Tabelle& t = m_tabellen[size_t(tabelle)];
    zeileAblegen(t, zeileKodieren(t, werte, ueberlang));
    for (size_t nr = 0; nr < t.spalten.size(); ++nr)
        if (t.spalten[nr].autoWert && werte[int(nr)].isValid())
            t.naechsteNummer = qMax(t.naechsteNummer, werte[int(nr)].toLongLong() + 1);
}

void Jet4Datei::speichern(const QString& pfad) const
{
    const QString anzeige = QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
    if (QFileInfo::exists(pfad))
        throw Fehler(QStringLiteral("Die Datei '%1' gibt es schon; sie wird nicht überschrieben.").arg(anzeige));

    // The catalogue and the page maps are laid out on a copy, so the file can be saved again.
    Jet4Datei d = *this;
    Tabelle& katalog = d.m_tabellen[0];
    d.zeileAblegen(katalog, d.zeileKodieren(katalog, {2, 0x0F000000, QStringLiteral("MSysObjects"), 1, qint64(0x80000002u), QVariant()}, false));
    for (size_t i = 1; i < d.m_tabellen.size(); ++i) {
        const Tabelle& t = d.m_tabellen[i];
        d.zeileAblegen(katalog, d.zeileKodieren(katalog, {t.tdefSeite, 0x0F000000, t.name, 1, 0, QVariant()}, false));
    }

    // Page maps: for every table one row listing its data pages and one (empty) for pages with
    // free room; a row pointer is the page number shifted by 8 bits plus the row's number.
    const int seiten = int(d.m_seiten.size());
    int kartenSeite = -1;
    auto karteAblegen = [&](const QByteArray& karte) -> quint32 {
        if (kartenSeite < 0 || !inSeite(d.m_seiten[size_t(kartenSeite)], karte)) {
            kartenSeite = d.neueDatenseite(0);
            if (!inSeite(d.m_seiten[size_t(kartenSeite)], karte))
                throw Fehler(QStringLiteral("Die Datei wird für den Jet-Schreiber zu groß."));
        }
        return (quint32(kartenSeite) << 8) | quint32(zeilenAnzahl(d.m_seiten[size_t(kartenSeite)]) - 1);
    };
    for (Tabelle& t : d.m_tabellen) {
        QByteArray belegt(5 + (seiten + 7) / 8, '\0');
        for (int s : t.datenSeiten)
            belegt[5 + s / 8] = char(quint8(belegt[5 + s / 8]) | (1 << (s % 8)));
        const quint32 belegtZeiger = karteAblegen(belegt);
        const quint32 freiZeiger = karteAblegen(QByteArray(5 + (seiten + 7) / 8, '\0'));

        QByteArray& tdef = d.m_seiten[size_t(t.tdefSeite)];
        tdef[0] = 0x02;
        tdef[1] = 0x01;
        setze32(tdef, 16, t.zeilen);
        setze32(tdef, 20, quint32(t.naechsteNummer));
        tdef[24] = 0x01;
        tdef[40] = char(t.system ? 0x53 : 0x4E);
        const int n = int(t.spalten.size());
        setze16(tdef, 41, quint16(n));
        setze16(tdef, 43, quint16(t.variabel));
        setze16(tdef, 45, quint16(n));
        setze32(tdef, 55, belegtZeiger);
        setze32(tdef, 59, freiZeiger);
        int pos = tdefSpaltenStart;
        for (int nr = 0; nr < n; ++nr, pos += spaltenEintrag) {
            const Spalte& s = t.spalten[size_t(nr)];
            const bool fest = festeBreite(s.typ) > 0;
            tdef[pos] = char(typCode(s));
            setze16(tdef, pos + 5, quint16(nr));
            setze16(tdef, pos + 7, quint16(fest ? 0 : t.position[size_t(nr)]));
            setze16(tdef, pos + 9, quint16(nr));
            if (s.typ == Typ::Text || s.typ == Typ::Memo)
                setze16(tdef, pos + 11, 0x409);
            tdef[pos + 15] = char((fest ? flagFest : 0) | (s.autoWert ? flagAuto : flagNull));
            setze16(tdef, pos + 21, quint16(fest ? t.position[size_t(nr)] : 0));
            setze16(tdef, pos + 23, quint16(s.typ == Typ::Text ? 2 * s.laenge : festeBreite(s.typ)));
        }
        for (const Spalte& s : t.spalten) {
            setze16(tdef, pos, quint16(2 * s.name.size()));
            pos += 2;
            for (QChar c : s.name) {
                setze16(tdef, pos, c.unicode());
                pos += 2;
            }
        }
        setze16(tdef, pos, 0xFFFF);
        pos += 2;
        if (pos > seitenGroesse)
            throw Fehler(QStringLiteral("Die Tabellendefinition von '%1' passt nicht in eine Seite.").arg(t.name));
        setze32(tdef, 8, quint32(pos));
        setze16(tdef, 2, quint16(seitenGroesse - pos - 8));
    }

    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        throw Fehler(QStringLiteral("Die Datei '%1' kann nicht angelegt werden: %2").arg(anzeige, datei.errorString()));
    for (const QByteArray& seite : d.m_seiten)
        datei.write(seite);
    if (!datei.commit())
        throw Fehler(QStringLiteral("Die Datei '%1' kann nicht geschrieben werden: %2").arg(anzeige, datei.errorString()));
}

} // namespace JetSchreiber
