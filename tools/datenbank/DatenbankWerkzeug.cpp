#include "DatenbankWerkzeug.h"

#include "Fehler.h"
#include "Transaktion.h"
#include "Schema.h"
#include "SqliteVerbindung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <QVariant>
#include <sqlite3.h>

namespace DatenbankWerkzeug {

namespace {

template<typename V, typename F>
void inTransaktion(V& v, F&& arbeit)
{
    DatenbankWerkzeug::inTransaktion(v, QStringLiteral("BEGIN IMMEDIATE"), std::forward<F>(arbeit));
}

QVariant datum(const QDate& d)
{
    return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
}

QVariant zeitpunkt(const QDate& d, int stunde = 0)
{
    return d.isValid() ? QVariant(QDateTime(d, QTime(stunde, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QVariant();
}

struct Kunde
{
    const char* anrede;
    const char* name;
    const char* branche;
    const char* schluessel;
};

const Kunde kunden[] = {
    {"Firma", "Bäckerei Huber GmbH", "Lebensmittel", "HUBER"},
    {"Firma", "Autohaus Schmid KG", "Kfz-Handel", "SCHMID"},
    {"Herrn", "Dr. Martin Vogel", "Arztpraxis", "VOGEL"},
    {"Frau", "Claudia Becker", "", "BECKER"},
    {"Familie", "Familie Keller", "", "KELLER"},
    {"An die", "Gemeinde Neuenstadt", "Verwaltung", "GEM-NEUENSTADT"},
    {"Firma", "Weinkellerei Fischer", "Weinbau", "FISCHER"},
    {"Firma", "Hotel Sonne am Markt", "Gastronomie", "HOTEL-SONNE"},
    {"Firma", "Kraus Maschinenbau GmbH", "Maschinenbau", "KRAUS"},
    {"Herrn", "Wolfgang Richter", "", "RICHTER"},
    {"Frau", "Ingrid Neumann", "", "NEUMANN"},
    {"Firma", "Stadtwerke Öhringen", "Versorgung", "SW-OEHRINGEN"},
    {"Firma", "Gasthaus zum Löwen", "Gastronomie", "LOEWEN"},
    {"Firma", "Schreinerei Maier", "Handwerk", "MAIER"},
    {"An das", "Landratsamt Heilbronn", "Verwaltung", "LRA-HN"},
    {"Firma", "Physiotherapie Lang", "Gesundheit", "LANG"},
    {"Firma", "Müller Logistik GmbH & Co. KG", "Spedition", "MUELLER-LOG"},
    {"Herrn", "Jürgen Weiß", "", "WEISS"},
    {"Firma", "Elektro Brenner", "Handwerk", "BRENNER"},
    {"Firma", "Sparkasse Hohenlohe", "Bank", "SPK-HOHENLOHE"},
};

const char* const orte[] = {"74072 Heilbronn", "74172 Neckarsulm", "74613 Öhringen", "74196 Neuenstadt",
                            "74523 Schwäbisch Hall", "74074 Heilbronn", "74235 Erlenbach", "74354 Besigheim",
                            "71522 Backnang", "74821 Mosbach"};
const char* const strassen[] = {"Hauptstraße", "Bahnhofstraße", "Kirchgasse", "Lindenweg", "Am Marktplatz",
                                "Schillerstraße", "Gartenstraße", "Talstraße", "Weinsberger Str.", "Industriestraße"};
const char* const baustellen[] = {"Neubau Wohnhaus", "Umbau Praxis", "Sanierung Altbau", "Anbau Wintergarten",
                                  "Neubau Halle 3", "Erweiterung Lager", "Renovierung Gastraum", "Umbau Ladengeschäft",
                                  "Neubau Carport", "Sanierung Rathaus"};
const char* const architekten[] = {"Büro Hartmann", "Arch. B. Scholz", "Planwerk GmbH", "Architekten Roth", ""};
const char* const betreffErste[] = {
    "Lieferung und Montage einer Stahltreppe", "Herstellung und Montage von Balkongeländern",
    "Lieferung von Fenstern und Haustür", "Einbau einer Brandschutztür T30",
    "Überdachung Eingangsbereich aus Stahl und Glas", "Treppengeländer aus Edelstahl, geschliffen",
    "Vordach mit Glaseindeckung", "Carport in Stahlbauweise, feuerverzinkt",
    "Toranlage mit elektrischem Antrieb", "Fluchttreppe außen, feuerverzinkt",
    "Unterkonstruktion für Wintergarten", "Schiebetor 6 m mit Antrieb und Funksteuerung"};
const char* const betreffWeitere[] = {"nach Aufmaß vor Ort", "inkl. Statik und Prüfbericht", "Ausführung nach Zeichnung",
                                      "Farbton RAL 7016 anthrazit", "mit Handlauf beidseitig",
                                      "Oberfläche pulverbeschichtet", "Montage an zwei Tagen",
                                      "Anlieferung mit Kran"};
const char* const bemerkungen[] = {"Zufahrt nur über die Hofeinfahrt", "Ansprechpartner vor Ort: Hausmeister",
                                   "Schlüssel beim Nachbarn", "Montage nicht vor 8 Uhr", ""};

struct Mitarbeiter
{
    const char* nummer;
    const char* name;
    const char* lohnart;
    double stdLohn;
};

const Mitarbeiter personal[] = {
    {"M001", "Klaus Berger", "Gehalt", 0.0},       {"M002", "Sabine Hoffmann", "Gehalt", 0.0},
    {"M003", "Jürgen Weber", "Stundenlohn", 24.5}, {"M004", "Monika Schäfer", "Gehalt", 0.0},
    {"M005", "Thomas Krüger", "Stundenlohn", 22.0}, {"M006", "Petra Wagner", "Stundenlohn", 19.75},
    {"M007", "Stefan Böhm", "Stundenlohn", 21.0},  {"M008", "Andrea Zimmermann", "Gehalt", 0.0},
};

struct Katalogaufgabe
{
    const char* text;
    int mitarbeiter;  // index into personal
    int prioritaet;
    const char* bemerkung;
};

const Katalogaufgabe katalog[] = {
    {"Aufmaß vor Ort", 2, 10, "Maße und Anschlüsse vollständig aufnehmen"},
    {"Angebot erstellen", 0, 20, ""},
    {"Auftragsbestätigung versenden", 1, 30, ""},
    {"Werkplanung und Zeichnung", 3, 40, "Zeichnung dem Bauherrn zur Freigabe senden"},
    {"Freigabe durch Bauherrn", 0, 50, ""},
    {"Material bestellen", 1, 60, "Lieferzeiten beim Großhandel erfragen"},
    {"Fertigung in der Werkstatt", 4, 70, ""},
    {"Oberflächenbehandlung", 5, 80, "Verzinkerei oder Pulverbeschichtung beauftragen"},
    {"Lieferung zur Baustelle", 6, 90, ""},
    {"Montage", 4, 100, "Kran und Hubsteiger rechtzeitig bestellen"},
    {"Elektroanschluss", 6, 110, ""},
    {"Abnahme mit Bauherrn", 0, 120, "Abnahmeprotokoll unterschreiben lassen"},
    {"Nacharbeiten", 2, 130, ""},
    {"Aufmaß für Abrechnung", 7, 140, ""},
    {"Schlussrechnung", 7, 150, ""},
};

const char* const statusNamen[] = {"unbearbeitet", "in Arbeit", "Rückfrage", "zeitkritisch", "erledigt"};

template<typename T, size_t N>
const T& waehle(QRandomGenerator& z, const T (&liste)[N])
{
    return liste[z.bounded(int(N))];
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

void anlegen(const QString& pfad)
{
    const QString anzeige = QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
    if (QFileInfo::exists(pfad))
        throw Fehler(QStringLiteral("Die Datei '%1' gibt es schon; sie wird nicht überschrieben.").arg(anzeige));
    // NewOnly: nobody else creates the same file between the test and the creation.
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw Fehler(QStringLiteral("Die Datei '%1' kann nicht angelegt werden: %2").arg(anzeige, datei.errorString()));
    datei.close();
    try {
        SqliteVerbindung v(pfad);
        inTransaktion(v, [&] {
            for (const QString& anweisung : Schema::anweisungen())
                v.ausfuehren(anweisung);
        });
    } catch (...) {
        QFile::remove(pfad);
        throw;
    }
}

void demoDatenEinfuegen(const QString& pfad, int anzahlProjekte, const QDate& stichtag)
{
    SqliteVerbindung v(pfad);
    QRandomGenerator z(20240601u);
    inTransaktion(v, [&] {
        QList<qint64> statusIds;
        {
            auto a = v.anweisung(QStringLiteral("INSERT INTO Status (Stat_Bezeichnung, Stat_Rang, Stat_Bemerkung) VALUES (?, ?, ?)"));
            for (int rang = 0; rang < 5; ++rang) {
                a.binden(1, s(statusNamen[rang]));
                a.binden(2, rang);
                a.binden(3, rang == 4 ? QVariant(QStringLiteral("Aufgabe abgeschlossen")) : QVariant());
                a.ausfuehren();
                statusIds << v.letzteId();
            }
        }
        QList<qint64> personalIds;
        {
            auto a = v.anweisung(QStringLiteral("INSERT INTO Personal (Nummer, Name, Lohnart, StdLohn) VALUES (?, ?, ?, ?)"));
            for (const Mitarbeiter& m : personal) {
                a.binden(1, s(m.nummer));
                a.binden(2, s(m.name));
                a.binden(3, s(m.lohnart));
                a.binden(4, m.stdLohn > 0 ? QVariant(m.stdLohn) : QVariant());
                a.ausfuehren();
                personalIds << v.letzteId();
            }
        }
        QList<qint64> katalogIds;
        {
            auto a = v.anweisung(QStringLiteral("INSERT INTO Aufgaben (Aufg_Bezeichnung, Aufg_Mitarbeiter, Aufg_Status, "
                                                "Aufg_Bemerkung, Aufg_Prioritaet, [Select]) VALUES (?, ?, ?, ?, ?, 0)"));
            for (const Katalogaufgabe& k : katalog) {
                a.binden(1, s(k.text));
                a.binden(2, personalIds[k.mitarbeiter]);
                a.binden(3, statusIds[0]);
                a.binden(4, *k.bemerkung ? QVariant(s(k.bemerkung)) : QVariant());
                a.binden(5, k.prioritaet);
                a.ausfuehren();
                katalogIds << v.letzteId();
            }
        }

        auto projektEinfuegen = v.anweisung(QStringLiteral(
            "INSERT INTO Projekt (Konto, Kommnr, RechnNr, AngebotsNr, AuftragsNr, Bezeichn, Datum, Anrede, Branche, "
            "Postfach, Strasse, Ort, U_Zchn, I_Zchn, Betreff1, Betreff2, Betreff3, Betreff4, Betreff5, Betreff_ges, "
            "TRechNr, LiefTermin, Baustelle, Bauherr, Architekt, BOrt, BStrasse, BTel, ATel, UTel, Baubegin, Termin, "
            "Faellig, Bemerkung, KundenKey, Kostenstelle, RechDate, AngDate, AuftrDate, MontageDate, EV_Sichtbar, "
            "PV_Sichtbar) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        auto aufgabeEinfuegen = v.anweisung(QStringLiteral(
            "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_von, Datum_bis, Mitarbeiter, "
            "Status_ID, Prioritaet, Bemerkung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));

        const int jahr = stichtag.year() % 100;
        for (int i = 0; i < anzahlProjekte; ++i) {
            const int kundeNr = z.bounded(int(std::size(kunden)));
            const Kunde& kunde = kunden[kundeNr];
            const QString ort = s(waehle(z, orte));
            const QString nummer = QStringLiteral("%1-%2").arg(jahr, 2, 10, QLatin1Char('0')).arg(1001 + i);
            // Kinds of project, so that every state shows: new, running, finished, without tasks.
            enum class Art { Neu, Laufend, Fertig, OhneAufgaben };
            const Art art = i % 13 == 3 ? Art::OhneAufgaben : i % 7 == 0 ? Art::Neu : i % 7 == 6 ? Art::Fertig : Art::Laufend;

            const QDate beginn = stichtag.addDays(-int(z.bounded(20, 200)));
            const bool beauftragt = art != Art::Neu || z.bounded(2) == 0;
            const QDate auftrag = beauftragt ? beginn.addDays(z.bounded(7, 21)) : QDate();
            const QDate lieferung = beginn.addDays(z.bounded(60, 150));
            const QDate rechnung = art == Art::Fertig ? stichtag.addDays(-int(z.bounded(1, 20))) : QDate();

            QStringList betreff;
            betreff << s(waehle(z, betreffErste));
            const int zeilen = i % 11 == 7 ? 5 : int(z.bounded(1, 4));
            for (int b = 1; b < zeilen; ++b)
                betreff << s(betreffWeitere[(i + b * 3) % std::size(betreffWeitere)]);
            while (betreff.size() < 5)
                betreff << QString();
            QStringList gefuellt;
            for (const QString& zeile : std::as_const(betreff))
                if (!zeile.isEmpty())
                    gefuellt << zeile;

            const QString strasse = QStringLiteral("%1 %2").arg(s(waehle(z, strassen))).arg(z.bounded(1, 120));
            const QString ortOhnePlz = ort.mid(6);
            int nr = 1;
            auto& p = projektEinfuegen;
            p.binden(nr++, QString::number(10000 + kundeNr * 7));
            p.binden(nr++, nummer);
            p.binden(nr++, rechnung.isValid() ? QVariant(QStringLiteral("R%1").arg(nummer)) : QVariant());
            p.binden(nr++, QStringLiteral("A%1").arg(nummer));
            p.binden(nr++, beauftragt ? QVariant(QStringLiteral("AB%1").arg(nummer)) : QVariant());
            p.binden(nr++, s(kunde.name));
            p.binden(nr++, datum(beginn));
            p.binden(nr++, s(kunde.anrede));
            p.binden(nr++, *kunde.branche ? QVariant(s(kunde.branche)) : QVariant());
            p.binden(nr++, i % 5 == 2 ? QVariant(QStringLiteral("Postfach %1").arg(1000 + i)) : QVariant());
            p.binden(nr++, strasse);
            p.binden(nr++, ort);
            p.binden(nr++, QStringLiteral("KB"));
            p.binden(nr++, QStringLiteral("SH"));
            for (const QString& zeile : std::as_const(betreff))
                p.binden(nr++, zeile.isEmpty() ? QVariant() : QVariant(zeile));
            p.binden(nr++, gefuellt.join(QLatin1Char(' ')));
            p.binden(nr++, i % 3 == 0 ? QVariant(100 + i % 800) : QVariant());
            p.binden(nr++, datum(lieferung));
            p.binden(nr++, s(waehle(z, baustellen)));
            p.binden(nr++, QString::fromUtf8(kunde.name).left(20));
            const QString architekt = s(waehle(z, architekten));
            p.binden(nr++, architekt.isEmpty() ? QVariant() : QVariant(architekt));
            p.binden(nr++, ortOhnePlz.left(20));
            p.binden(nr++, strasse.left(20));
            p.binden(nr++, QStringLiteral("07131 %1").arg(z.bounded(100000, 999999)));
            p.binden(nr++, architekt.isEmpty() ? QVariant() : QVariant(QStringLiteral("07131 %1").arg(z.bounded(100000, 999999))));
            p.binden(nr++, QStringLiteral("0171 %1").arg(z.bounded(1000000, 9999999)));
            p.binden(nr++, zeitpunkt(auftrag.isValid() ? auftrag.addDays(14) : QDate(), 7));
            p.binden(nr++, i % 4 == 1 ? zeitpunkt(stichtag.addDays(z.bounded(1, 30)), 9) : QVariant());
            p.binden(nr++, zeitpunkt(rechnung.isValid() ? rechnung.addDays(30) : QDate()));
            const QString bemerkung = s(waehle(z, bemerkungen));
            p.binden(nr++, bemerkung.isEmpty() ? QVariant() : QVariant(bemerkung));
            p.binden(nr++, s(kunde.schluessel));
            p.binden(nr++, 100 * (1 + i % 3));
            p.binden(nr++, datum(rechnung));
            p.binden(nr++, datum(beginn));
            p.binden(nr++, datum(auftrag));
            p.binden(nr++, art == Art::Fertig || i % 4 == 2 ? datum(lieferung) : QVariant());
            // Some projects are hidden from the office list, more from the wall screen.
            p.binden(nr++, i % 9 == 4 ? 0 : 1);
            p.binden(nr++, i % 6 == 5 || art == Art::Fertig ? 0 : 1);
            p.ausfuehren();
            const qint64 projektId = v.letzteId();

            if (art == Art::OhneAufgaben)
                continue;
            // Six to fourteen catalogue tasks in catalogue order, about ten on average.
            const int anzahl = int(z.bounded(6, 15));
            QList<int> auswahl;
            for (int k = 0; k < int(std::size(katalog)); ++k)
                auswahl << k;
            while (auswahl.size() > anzahl)
                auswahl.removeAt(z.bounded(int(auswahl.size())));
            const int erledigt = art == Art::Fertig ? anzahl : art == Art::Neu ? 0 : int(z.bounded(1, anzahl));
            const bool ohneTermine = art == Art::Neu && i % 2 == 0;
            QDate von = beginn;
            for (int k = 0; k < auswahl.size(); ++k) {
                const Katalogaufgabe& kat = katalog[auswahl[k]];
                int rang = 0;
                if (k < erledigt)
                    rang = 4;
                else if (k == erledigt)
                    rang = art == Art::Neu ? 0 : 1 + (i + k) % 3;  // in Arbeit, Rückfrage, zeitkritisch
                else if (k == erledigt + 1 && i % 5 == 1)
                    rang = 1;
                const int dauer = int(z.bounded(2, 11));
                const QDate bis = von.addDays(dauer);
                const bool mitTermin = !ohneTermine && k <= erledigt + 2;
                int n = 1;
                auto& a = aufgabeEinfuegen;
                a.binden(n++, projektId);
                a.binden(n++, katalogIds[auswahl[k]]);
                a.binden(n++, s(kat.text));
                a.binden(n++, mitTermin ? zeitpunkt(von) : QVariant());
                a.binden(n++, mitTermin ? zeitpunkt(bis) : QVariant());
                a.binden(n++, personalIds[(kat.mitarbeiter + (i % 4 == 3 ? 1 : 0)) % int(std::size(personal))]);
                a.binden(n++, statusIds[rang]);
                a.binden(n++, kat.prioritaet);
                QVariant bemerkung;
                if (rang == 2)
                    bemerkung = QStringLiteral("Rückfrage beim Architekten wegen der Maße");
                else if (rang == 3)
                    bemerkung = QStringLiteral("Termin mit dem Bauherrn dringend abstimmen");
                a.binden(n++, bemerkung);
                a.ausfuehren();
                von = bis.addDays(z.bounded(0, 4));
            }
        }

        // The summary of each project's current task, as the program keeps it.
        v.ausfuehren(QStringLiteral(
            "UPDATE Projekt SET "
            "Last_Aufgabe = (SELECT a.Aufgabe_ID FROM Aufgaben_Aktuell a WHERE a.Projekt_ID = Projekt.ID ORDER BY a.Prioritaet LIMIT 1), "
            "Last_Datum = (SELECT substr(a.Datum_bis, 1, 10) FROM Aufgaben_Aktuell a WHERE a.Projekt_ID = Projekt.ID ORDER BY a.Prioritaet LIMIT 1), "
            "Last_Personal = (SELECT a.Mitarbeiter FROM Aufgaben_Aktuell a WHERE a.Projekt_ID = Projekt.ID ORDER BY a.Prioritaet LIMIT 1), "
            "Last_Rang = (SELECT a.Stat_Rang FROM Aufgaben_Aktuell a WHERE a.Projekt_ID = Projekt.ID ORDER BY a.Prioritaet LIMIT 1) "
            "WHERE EXISTS (SELECT 1 FROM Aufgaben_Aktuell a WHERE a.Projekt_ID = Projekt.ID)"));
        // Finished projects keep the summary of their last task.
        v.ausfuehren(QStringLiteral(
            "UPDATE Projekt SET "
            "Last_Aufgabe = (SELECT p.Aufgabe_ID FROM ProjektAufgaben p WHERE p.Projekt_ID = Projekt.ID ORDER BY p.Prioritaet DESC LIMIT 1), "
            "Last_Datum = (SELECT substr(p.Datum_bis, 1, 10) FROM ProjektAufgaben p WHERE p.Projekt_ID = Projekt.ID ORDER BY p.Prioritaet DESC LIMIT 1), "
            "Last_Personal = (SELECT p.Mitarbeiter FROM ProjektAufgaben p WHERE p.Projekt_ID = Projekt.ID ORDER BY p.Prioritaet DESC LIMIT 1), "
            "Last_Rang = (SELECT s.Stat_Rang FROM ProjektAufgaben p JOIN Status s ON s.ID = p.Status_ID WHERE p.Projekt_ID = Projekt.ID ORDER BY p.Prioritaet DESC LIMIT 1) "
            "WHERE Last_Aufgabe IS NULL AND EXISTS (SELECT 1 FROM ProjektAufgaben p WHERE p.Projekt_ID = Projekt.ID)"));
    });
}

} // namespace DatenbankWerkzeug
