#pragma once

#include "AlteProjektdatenbank.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// A small database of the old Windows program: IDs with gaps, umlauts, empty and null values,
// dates with and without time of day, a memo of a few KB, a text longer than its column in the
// project database (35 characters of Bezeichn, 30 allowed) and a column that the project
// database does not know (Projekt.Altfeld).
namespace AlteDatenbank {

inline const QString ueberlangerName = QStringLiteral("Sanitär- und Heizungsbau Müller & Söhne");
inline QString langeBemerkung()
{
    return QStringLiteral("Zufahrt über den Hof, Schlüssel beim Nachbarn (Frau Groß). ").repeated(40);
}

inline void schreiben(const QString& pfad)
{
    using namespace JetSchreiber;
    using W = std::vector<std::pair<QString, QVariant>>;
    const std::vector<Spalte> altfeld = {{QStringLiteral("Altfeld"), Typ::Text, 20}};
    Jet4Datei d;
    const int status = projektTabelle(d, QStringLiteral("Status"));
    const int personal = projektTabelle(d, QStringLiteral("Personal"));
    const int aufgaben = projektTabelle(d, QStringLiteral("Aufgaben"));
    const int projekt = projektTabelle(d, QStringLiteral("Projekt"), altfeld);
    const int projektAufgaben = projektTabelle(d, QStringLiteral("ProjektAufgaben"));

    const char* const namen[] = {"unbearbeitet", "in Arbeit", "Rückfrage", "zeitkritisch", "erledigt"};
    for (int rang = 0; rang < 5; ++rang)
        d.zeileAnfuegen(status, projektZeile("Status", W{{"ID", 3 + rang}, {"Stat_Bezeichnung", QString::fromUtf8(namen[rang])},
                                                         {"Stat_Rang", rang}}));
    d.zeileAnfuegen(personal, projektZeile("Personal", W{{"ID", 2}, {"Nummer", "M002"}, {"Name", "Jürgen Weiß"},
                                                         {"Lohnart", "Stundenlohn"}, {"StdLohn", 24.5}}));
    d.zeileAnfuegen(personal, projektZeile("Personal", W{{"ID", 9}, {"Nummer", "M009"}, {"Name", "Anna Öztürk"},
                                                         {"Lohnart", ""}}));
    d.zeileAnfuegen(aufgaben, projektZeile("Aufgaben", W{{"ID", 11}, {"Aufg_Bezeichnung", "Aufmaß vor Ort"},
                                                         {"Aufg_Mitarbeiter", 2}, {"Aufg_Status", 3},
                                                         {"Aufg_Bemerkung", "Maße vollständig aufnehmen"},
                                                         {"Aufg_Prioritaet", 10}, {"Select", false}}));
    d.zeileAnfuegen(aufgaben, projektZeile("Aufgaben", W{{"ID", 12}, {"Aufg_Bezeichnung", "Montage"}, {"Aufg_Mitarbeiter", 9},
                                                         {"Aufg_Status", 3}, {"Aufg_Prioritaet", 20}, {"Select", true}}));

    d.zeileAnfuegen(projekt, projektZeile("Projekt",
                                          W{{"ID", 5}, {"Kommnr", "24-1001"}, {"Bezeichn", "Bäckerei Huber GmbH"},
                                            {"Datum", QDate(2024, 3, 4)}, {"Termin", QDateTime(QDate(2024, 4, 2), QTime(9, 30))},
                                            {"Strasse", ""}, {"Ort", "74613 Öhringen"},
                                            {"Betreff1", "Stahltreppe für den Außenbereich"}, {"TRechNr", 123},
                                            {"Kostenstelle", 200}, {"Last_Aufgabe", 12}, {"Last_Datum", QDate(2024, 3, 8)},
                                            {"Last_Personal", 9}, {"Last_Rang", 1}, {"EV_Sichtbar", true},
                                            {"PV_Sichtbar", false}, {"V_Bemerkung", langeBemerkung()},
                                            {"Altfeld", "alter Wert"}},
                                          altfeld));
    d.zeileAnfuegen(projekt, projektZeile("Projekt", W{{"ID", 8}, {"Kommnr", "24-1002"}, {"Bezeichn", ueberlangerName},
                                                       {"EV_Sichtbar", true}, {"PV_Sichtbar", true}},
                                          altfeld),
                    true);
    d.zeileAnfuegen(projekt, projektZeile("Projekt", W{{"ID", 9}, {"Kommnr", "24-1003"}}, altfeld));

    d.zeileAnfuegen(projektAufgaben,
                    projektZeile("ProjektAufgaben",
                                 W{{"ID", 21}, {"Projekt_ID", 5}, {"Aufgabe_ID", 11}, {"Bezeichnung", "Aufmaß vor Ort"},
                                   {"Datum_von", QDateTime(QDate(2024, 3, 4), QTime(7, 30))},
                                   {"Datum_bis", QDateTime(QDate(2024, 3, 5), QTime(16, 45))}, {"Mitarbeiter", 2},
                                   {"Status_ID", 7}, {"Prioritaet", 10}}));
    d.zeileAnfuegen(projektAufgaben,
                    projektZeile("ProjektAufgaben",
                                 W{{"ID", 22}, {"Projekt_ID", 5}, {"Aufgabe_ID", 12}, {"Bezeichnung", "Montage"},
                                   {"Datum_von", QDate(2024, 3, 6)}, {"Datum_bis", QDate(2024, 3, 8)}, {"Mitarbeiter", 9},
                                   {"Status_ID", 4}, {"Prioritaet", 20}, {"Bemerkung", "Kran bestellen – dringend"}}));
    d.zeileAnfuegen(projektAufgaben,
                    projektZeile("ProjektAufgaben", W{{"ID", 30}, {"Projekt_ID", 8}, {"Aufgabe_ID", 12},
                                                      {"Bezeichnung", "Montage"}, {"Status_ID", 3}, {"Prioritaet", 10}}));
    d.speichern(pfad);
}

} // namespace AlteDatenbank
