#include "WochenplanBericht.h"

#include "Bericht.h"
#include "BerichtDefinition.h"
#include "Fehler.h"
#include "Wochenplan.h"

#include <algorithm>

namespace {

using Objekt = TBerichtObjekt;

const QString DatenmengenName = QStringLiteral("frxWochenplan");

// Millimetres: the printable width of the landscape page, the employee column, one line of text.
constexpr double Links = 3;
constexpr double Breite = 267;
constexpr double NamensBreite = 40;
constexpr double ZeilenHoehe = 4;
// The most lines a band may take: a band higher than the page would lose its foot.
constexpr int HoechsteZeilen = 38;

TBerichtObjekt linie(const QString& name, double oben)
{
    return TBerichtObjekt::Linie(name, Links, oben, Breite);
}

// Report expressions take square brackets as fields; captions never hold any.
QString literal(QString text)
{
    return text.replace(QLatin1Char('['), QLatin1Char('(')).replace(QLatin1Char(']'), QLatin1Char(')'));
}

} // namespace

TWochenplanDatenmenge::TWochenplanDatenmenge(const TWochenplan& plan)
    : TBerichtDatenmenge(DatenmengenName), m_plan(plan)
{
}

bool TWochenplanDatenmenge::Eof() const
{
    return m_zeile >= Anzahl();
}

int TWochenplanDatenmenge::Anzahl() const
{
    return int(m_plan.Zeilen().size());
}

QVariant TWochenplanDatenmenge::Wert(const QString& feld) const
{
    if (Eof())
        return {};
    const TWochenplanZeile& zeile = m_plan.Zeilen()[size_t(m_zeile)];
    if (feld.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return zeile.name;
    bool zahl = false;
    const int tag = feld.startsWith(QLatin1String("Tag"), Qt::CaseInsensitive) ? feld.mid(3).toInt(&zahl) : -1;
    if (!zahl || tag < 0 || tag > 6)
        throw Fehler(QStringLiteral("Feld '%1' nicht gefunden").arg(feld));
    // One project per line: the report's text layout breaks at line separators.
    return zeile.tage[size_t(tag)].join(QChar(QChar::LineSeparator));
}

std::shared_ptr<const TBerichtDefinition> TWochenplanBericht::Definition(const TWochenplan& plan)
{
    auto d = std::make_shared<TBerichtDefinition>();
    d->Name = QStringLiteral("Wochenplan");
    d->Papier = QPageSize(QPageSize::A4);
    d->Ausrichtung = QPageLayout::Landscape;
    d->Raender = QMarginsF(0, 0, 0, 0);
    d->Seitenschrift = BerichtSchrift(QStringLiteral("Tahoma"), 10);
    const QFont titel = BerichtSchrift(QStringLiteral("Tahoma"), 12, true);
    const QFont fett = BerichtSchrift(QStringLiteral("Tahoma"), 9, true);
    const QFont klein = BerichtSchrift(QStringLiteral("Arial"), 9);

    const QList<int> tage = plan.GezeigteTage();
    const double spalte = (Breite - NamensBreite) / double(tage.size());
    const auto spaltenLinks = [&](int i) { return Links + NamensBreite + i * spalte; };

    TBerichtBand kopf;
    kopf.Name = QStringLiteral("PageHeader1");
    kopf.art = TBandArt::Seitenkopf;
    kopf.Hoehe = 24;
    kopf.Schrift = d->Seitenschrift;
    kopf.Objekte = {
        Objekt::Text(QStringLiteral("Titel"), Links, 5, 150, 6, titel, QStringLiteral("WOCHENPLAN ") + literal(plan.Titel())),
        Objekt::Text(QStringLiteral("Datum"), 236, 5, 34, 5, klein, QStringLiteral("[DATE]"), Qt::AlignRight),
        Objekt::Text(QStringLiteral("Seite"), 236, 10, 34, 5, klein, QStringLiteral("Seite [PAGE#] von [TOTALPAGES#]"),
                     Qt::AlignRight),
        Objekt::Text(QStringLiteral("KopfName"), Links, 17, NamensBreite - 2, 5, fett, QStringLiteral("MITARBEITER")),
        linie(QStringLiteral("Linie1"), 23),
    };
    for (int i = 0; i < tage.size(); ++i)
        kopf.Objekte.push_back(Objekt::Text(QStringLiteral("Kopf%1").arg(tage[i]), spaltenLinks(i), 17, spalte - 2, 5, fett,
                                            literal(plan.TagTitel(tage[i]))));

    const int zeilen = std::min(plan.HoechsteAnzahl(), HoechsteZeilen);
    TBerichtBand master;
    master.Name = QStringLiteral("MasterData1");
    master.art = TBandArt::Stammdaten;
    master.Hoehe = zeilen * ZeilenHoehe + 2.5;
    master.Datenmenge = DatenmengenName;
    master.Schrift = klein;
    master.DruckenOhneDetails = true;
    const auto feld = [](const QString& name) { return QStringLiteral("[%1.\"%2\"]").arg(DatenmengenName, name); };
    master.Gliederung = TBerichtAusdruck(feld(QStringLiteral("Name")));
    master.Objekte = {Objekt::Text(QStringLiteral("frxWochenplanName"), Links, 1, NamensBreite - 2, zeilen * ZeilenHoehe, fett,
                                   feld(QStringLiteral("Name")))};
    for (int i = 0; i < tage.size(); ++i)
        master.Objekte.push_back(Objekt::Text(QStringLiteral("frxWochenplanTag%1").arg(tage[i]), spaltenLinks(i), 1, spalte - 2,
                                              zeilen * ZeilenHoehe, klein, feld(QStringLiteral("Tag%1").arg(tage[i]))));
    master.Objekte.push_back(linie(QStringLiteral("Trennlinie"), master.Hoehe - 0.5));

    TBerichtBand fuss;
    fuss.Name = QStringLiteral("PageFooter1");
    fuss.art = TBandArt::Seitenfuss;
    fuss.Hoehe = 6;
    fuss.Schrift = d->Seitenschrift;

    d->Baender = {kopf, master, fuss};
    return d;
}

TWochenplanBericht::TWochenplanBericht(const TWochenplan& plan)
    : m_daten(std::make_unique<TWochenplanDatenmenge>(plan)),
      m_bericht(std::make_unique<TBericht>(Definition(plan)))
{
    m_bericht->setObjectName(QStringLiteral("frxWochenplanBericht"));
    m_bericht->DatenmengeHinzufuegen(m_daten.get());
}

TWochenplanBericht::~TWochenplanBericht() = default;
