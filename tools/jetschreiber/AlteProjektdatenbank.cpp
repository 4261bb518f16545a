#include "AlteProjektdatenbank.h"

#include "Fehler.h"
#include "Schema.h"

#include <QDate>
#include <QDateTime>

namespace JetSchreiber {

namespace {

const Schema::Tabelle& schemaTabelle(const QString& name)
{
    for (const Schema::Tabelle& t : Schema::tabellen())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    throw Fehler(QStringLiteral("Die Projektdatenbank hat keine Tabelle '%1'.").arg(name));
}

Spalte alsAccessSpalte(const Schema::Spalte& s)
{
    switch (s.typ) {
    case TFieldType::ftAutoInc: return {s.name, Typ::Long, 0, true};
    case TFieldType::ftString: return {s.name, Typ::Text, s.breite};
    case TFieldType::ftInteger: return {s.name, Typ::Long};
    case TFieldType::ftSmallint: return {s.name, Typ::Integer};
    case TFieldType::ftFloat: return {s.name, Typ::Double};
    case TFieldType::ftBoolean: return {s.name, Typ::JaNein};
    case TFieldType::ftMemo: return {s.name, Typ::Memo};
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return {s.name, Typ::DatumZeit};
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown: break;
    }
    return {s.name, Typ::Memo};
}

} // namespace

int projektTabelle(Jet4Datei& datei, const QString& name, const std::vector<Spalte>& weitere)
{
    const Schema::Tabelle& t = schemaTabelle(name);
    std::vector<Spalte> spalten;
    for (const Schema::Spalte& s : t.spalten)
        spalten.push_back(alsAccessSpalte(s));
    spalten.insert(spalten.end(), weitere.begin(), weitere.end());
    return datei.tabelleAnlegen(t.name, spalten);
}

QVariantList projektZeile(const QString& tabelle, const std::vector<std::pair<QString, QVariant>>& werte,
                          const std::vector<Spalte>& weitere)
{
    QStringList namen;
    for (const Schema::Spalte& s : schemaTabelle(tabelle).spalten)
        namen << s.name;
    for (const Spalte& s : weitere)
        namen << s.name;
    QVariantList zeile;
    for (int i = 0; i < namen.size(); ++i)
        zeile << QVariant();
    for (const auto& [name, wert] : werte) {
        int nr = -1;
        for (int i = 0; i < namen.size() && nr < 0; ++i)
            if (namen[i].compare(name, Qt::CaseInsensitive) == 0)
                nr = i;
        if (nr < 0)
            throw Fehler(QStringLiteral("Die Tabelle '%1' hat keine Spalte '%2'.").arg(tabelle, name));
        zeile[nr] = wert;
    }
    return zeile;
}

void grosseAlteDatenbank(const QString& pfad, int projekte, int aufgabenJeProjekt)
{
    Jet4Datei datei;
    const int status = projektTabelle(datei, QStringLiteral("Status"));
    const int personal = projektTabelle(datei, QStringLiteral("Personal"));
    const int aufgaben = projektTabelle(datei, QStringLiteral("Aufgaben"));
    const int projekt = projektTabelle(datei, QStringLiteral("Projekt"));
    const int projektAufgaben = projektTabelle(datei, QStringLiteral("ProjektAufgaben"));
    const char* const statusNamen[] = {"unbearbeitet", "in Arbeit", "Rückfrage", "zeitkritisch", "erledigt"};
    for (int i = 0; i < 5; ++i)
        datei.zeileAnfuegen(status, projektZeile(QStringLiteral("Status"),
                                                 {{QStringLiteral("ID"), i + 1},
                                                  {QStringLiteral("Stat_Bezeichnung"), QString::fromUtf8(statusNamen[i])},
                                                  {QStringLiteral("Stat_Rang"), i}}));
    for (int i = 1; i <= 8; ++i)
        datei.zeileAnfuegen(personal, projektZeile(QStringLiteral("Personal"),
                                                   {{QStringLiteral("ID"), i},
                                                    {QStringLiteral("Nummer"), QStringLiteral("M%1").arg(i, 3, 10, QLatin1Char('0'))},
                                                    {QStringLiteral("Name"), QStringLiteral("Mitarbeiter Nr. %1 Müller").arg(i)},
                                                    {QStringLiteral("StdLohn"), 20.5 + i}}));
    for (int i = 1; i <= 15; ++i)
        datei.zeileAnfuegen(aufgaben, projektZeile(QStringLiteral("Aufgaben"),
                                                   {{QStringLiteral("ID"), i},
                                                    {QStringLiteral("Aufg_Bezeichnung"), QStringLiteral("Arbeitsschritt %1 (Prüfung)").arg(i)},
                                                    {QStringLiteral("Aufg_Mitarbeiter"), 1 + i % 8},
                                                    {QStringLiteral("Aufg_Status"), 1},
                                                    {QStringLiteral("Aufg_Prioritaet"), 10 * i},
                                                    {QStringLiteral("Select"), false}}));
    const QDate anfang(2023, 1, 9);
    qint64 aufgabeId = 0;
    for (int p = 1; p <= projekte; ++p) {
        const QDate datum = anfang.addDays(p % 700);
        datei.zeileAnfuegen(projekt, projektZeile(QStringLiteral("Projekt"),
                                                  {{QStringLiteral("ID"), p},
                                                   {QStringLiteral("Konto"), QString::number(10000 + p % 500)},
                                                   {QStringLiteral("Kommnr"), QStringLiteral("23-%1").arg(p, 5, 10, QLatin1Char('0'))},
                                                   {QStringLiteral("Bezeichn"), QStringLiteral("Bäckerei Kunde %1").arg(p)},
                                                   {QStringLiteral("Datum"), datum},
                                                   {QStringLiteral("Strasse"), QStringLiteral("Hauptstraße %1").arg(p % 120)},
                                                   {QStringLiteral("Ort"), QStringLiteral("74072 Heilbronn")},
                                                   {QStringLiteral("Betreff1"), QStringLiteral("Lieferung und Montage einer Stahltreppe")},
                                                   {QStringLiteral("Betreff_ges"), QStringLiteral("Lieferung und Montage einer Stahltreppe")},
                                                   {QStringLiteral("Baustelle"), QStringLiteral("Neubau Wohnhaus")},
                                                   {QStringLiteral("Termin"), QDateTime(datum.addDays(30), QTime(9, 30))},
                                                   {QStringLiteral("LiefTermin"), datum.addDays(60)},
                                                   {QStringLiteral("Last_Aufgabe"), 1},
                                                   {QStringLiteral("Last_Datum"), datum.addDays(5)},
                                                   {QStringLiteral("Last_Personal"), 2},
                                                   {QStringLiteral("Last_Rang"), 1},
                                                   {QStringLiteral("EV_Sichtbar"), true},
                                                   {QStringLiteral("PV_Sichtbar"), p % 3 != 0},
                                                   {QStringLiteral("V_Bemerkung"), p % 10 == 0 ? QVariant(QStringLiteral("Schlüssel beim Nachbarn")) : QVariant()}}));
        for (int a = 0; a < aufgabenJeProjekt; ++a) {
            const QDateTime von(datum.addDays(3 * a), QTime(7, 0));
            datei.zeileAnfuegen(projektAufgaben,
                                projektZeile(QStringLiteral("ProjektAufgaben"),
                                             {{QStringLiteral("ID"), ++aufgabeId},
                                              {QStringLiteral("Projekt_ID"), p},
                                              {QStringLiteral("Aufgabe_ID"), 1 + a % 15},
                                              {QStringLiteral("Bezeichnung"), QStringLiteral("Arbeitsschritt %1 (Prüfung)").arg(1 + a % 15)},
                                              {QStringLiteral("Datum_von"), von},
                                              {QStringLiteral("Datum_bis"), von.addDays(2)},
                                              {QStringLiteral("Mitarbeiter"), 1 + a % 8},
                                              {QStringLiteral("Status_ID"), 1 + (a + p) % 5},
                                              {QStringLiteral("Prioritaet"), 10 * (a + 1)},
                                              {QStringLiteral("Bemerkung"), a % 4 == 0 ? QVariant(QStringLiteral("Rückfrage beim Architekten")) : QVariant()}}));
        }
    }
    datei.speichern(pfad);
}

} // namespace JetSchreiber
