#include "Wochenplan.h"

#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QHash>
#include <algorithm>

namespace {

// A day column of the tasks as yyyy-MM-dd, whether the engine holds it as text (with or without
// a time) or as a day number counted from 30.12.1899, as older files may; a server holds dates.
QString tagAusdruck(const char* spalte, bool aufServer)
{
    if (aufServer)
        return QStringLiteral("to_char(%1, 'YYYY-MM-DD')").arg(QLatin1String(spalte));
    return QStringLiteral("(CASE WHEN typeof(%1) IN ('integer', 'real') THEN date(%1 + 2415018.5) "
                          "ELSE substr(%1, 1, 10) END)")
        .arg(QLatin1String(spalte));
}

const QString OhneMitarbeiter = QStringLiteral("ohne Mitarbeiter");

} // namespace

QDate TWochenplan::Wochenanfang(const QDate& tag)
{
    return tag.addDays(1 - tag.dayOfWeek());
}

QString TWochenplan::Abfrage(const QDate& montag, bool aufServer)
{
    const auto tagAusdruck = [aufServer](const char* spalte) { return ::tagAusdruck(spalte, aufServer); };
    // The file engine's min and max of two values are the server's least and greatest.
    const QString kleiner = aufServer ? QStringLiteral("least") : QStringLiteral("min");
    const QString groesser = aufServer ? QStringLiteral("greatest") : QStringLiteral("max");
    // A task with only one date lies on that day; dates the wrong way round still span the days
    // between them.
    const QString von = QStringLiteral("coalesce(%1, %2)").arg(tagAusdruck("pa.Datum_von"), tagAusdruck("pa.Datum_bis"));
    const QString bis = QStringLiteral("coalesce(%1, %2)").arg(tagAusdruck("pa.Datum_bis"), tagAusdruck("pa.Datum_von"));
    const QString anfang = QStringLiteral("%1(%2, %3)").arg(kleiner, von, bis);
    const QString ende = QStringLiteral("%1(%2, %3)").arg(groesser, von, bis);
    const QString inWoche = QStringLiteral("%1 <= '%3' AND %2 >= '%4'")
                                .arg(anfang, ende, montag.addDays(6).toString(Qt::ISODate), montag.toString(Qt::ISODate));
    const QString aufgaben = QStringLiteral("SELECT pa.Mitarbeiter, pa.Projekt_ID, pr.Kommnr, pr.Bezeichn, %1 AS Von, "
                                            "%2 AS Bis FROM ProjektAufgaben pa JOIN Projekt pr ON pr.ID = pa.Projekt_ID "
                                            "WHERE %3")
                                 .arg(anfang, ende, inWoche);
    return QStringLiteral("SELECT 1 AS Bekannt, m.ID AS MitarbeiterID, m.Name, a.Projekt_ID, a.Kommnr, a.Bezeichn, a.Von, a.Bis "
                          "FROM Personal m LEFT JOIN (%1) a ON a.Mitarbeiter = m.ID\n"
                          "UNION ALL\n"
                          "SELECT 0, a.Mitarbeiter, NULL, a.Projekt_ID, a.Kommnr, a.Bezeichn, a.Von, a.Bis FROM (%1) a "
                          "WHERE a.Mitarbeiter IS NULL OR a.Mitarbeiter NOT IN (SELECT ID FROM Personal)")
        .arg(aufgaben);
}

bool TWochenplan::ZaehltAm(const QDate& von, const QDate& bis, const QDate& tag)
{
    if (tag < von || tag > bis)
        return false;
    return tag.dayOfWeek() <= 5 || tag == von || tag == bis;
}

void TWochenplan::Laden(TKADaoDatabase* datenbank, const QDate& tag)
{
    m_montag = Wochenanfang(tag);
    m_zeilen.clear();

    TKADaoTable abfrage;
    abfrage.setObjectName(QStringLiteral("TabWochenplan"));
    abfrage.setDatabase(datenbank);
    abfrage.setSQL(Abfrage(m_montag, datenbank->AufServer()));
    abfrage.setReadOnly(true);
    abfrage.Open();

    const auto feld = [&abfrage](const char* name) { return abfrage.FieldByName(QLatin1String(name))->Index(); };
    const int bekannt = feld("Bekannt");
    const int id = feld("MitarbeiterID");
    const int name = feld("Name");
    const int kommnr = feld("Kommnr");
    const int bezeichn = feld("Bezeichn");
    const int von = feld("Von");
    const int bis = feld("Bis");

    QHash<QString, size_t> zeileVon;   // employee id (empty: none known) -> line
    TWochenplanZeile ohne;
    ohne.name = OhneMitarbeiter;
    for (int z = 0; z < abfrage.RowCount(); ++z) {
        TWochenplanZeile* zeile = &ohne;
        if (abfrage.RowValue(z, bekannt).toInt() == 1) {
            const QString schluessel = abfrage.RowValue(z, id).toString();
            auto it = zeileVon.constFind(schluessel);
            if (it == zeileVon.constEnd()) {
                it = zeileVon.insert(schluessel, m_zeilen.size());
                m_zeilen.push_back({abfrage.RowValue(z, id), abfrage.RowValue(z, name).toString(), {}});
            }
            zeile = &m_zeilen[*it];
        }
        const QDate anfang = QDate::fromString(abfrage.RowValue(z, von).toString(), Qt::ISODate);
        const QDate ende = QDate::fromString(abfrage.RowValue(z, bis).toString(), Qt::ISODate);
        if (!anfang.isValid() || !ende.isValid())
            continue;
        const QString nummer = abfrage.RowValue(z, kommnr).toString().trimmed();
        const QString bezeichnung = abfrage.RowValue(z, bezeichn).toString().trimmed();
        const QString projekt = nummer.isEmpty() ? bezeichnung
                                : bezeichnung.isEmpty() ? nummer
                                                        : nummer + QLatin1Char(' ') + bezeichnung;
        for (int t = 0; t < 7; ++t) {
            QStringList& zelle = zeile->tage[size_t(t)];
            if (ZaehltAm(anfang, ende, m_montag.addDays(t)) && !zelle.contains(projekt))
                zelle << projekt;
        }
    }
    abfrage.Close();

    std::stable_sort(m_zeilen.begin(), m_zeilen.end(), [](const TWochenplanZeile& a, const TWochenplanZeile& b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    for (TWochenplanZeile& zeile : m_zeilen)
        for (QStringList& zelle : zeile.tage)
            std::sort(zelle.begin(), zelle.end());
    for (QStringList& zelle : ohne.tage)
        std::sort(zelle.begin(), zelle.end());
    if (std::any_of(ohne.tage.begin(), ohne.tage.end(), [](const QStringList& zelle) { return !zelle.isEmpty(); }))
        m_zeilen.push_back(std::move(ohne));
}

QList<int> TWochenplan::GezeigteTage() const
{
    QList<int> tage = {0, 1, 2, 3, 4};
    for (int t : {5, 6})
        if (std::any_of(m_zeilen.begin(), m_zeilen.end(), [t](const TWochenplanZeile& z) { return !z.tage[size_t(t)].isEmpty(); }))
            tage << t;
    return tage;
}

QString TWochenplan::Titel() const
{
    return QStringLiteral("KW %1 · %2 – %3")
        .arg(m_montag.weekNumber())
        .arg(m_montag.toString(QStringLiteral("dd.MM.yyyy")), m_montag.addDays(6).toString(QStringLiteral("dd.MM.yyyy")));
}

QString TWochenplan::TagTitel(int tag) const
{
    static const char* const namen[] = {"MO", "DI", "MI", "DO", "FR", "SA", "SO"};
    return QLatin1String(namen[tag]) + QLatin1Char(' ') + m_montag.addDays(tag).toString(QStringLiteral("dd.MM."));
}

int TWochenplan::HoechsteAnzahl() const
{
    qsizetype hoechste = 1;
    for (const TWochenplanZeile& zeile : m_zeilen)
        for (const QStringList& zelle : zeile.tage)
            hoechste = std::max(hoechste, zelle.size());
    return int(hoechste);
}
