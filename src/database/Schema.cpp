#include "Schema.h"

#include <QHash>

namespace Schema {

namespace {

using T = TFieldType;

std::vector<Tabelle> tabellenAnlegen()
{
    return {
        {QStringLiteral("Projekt"),
         {
             {QStringLiteral("ID"), T::ftAutoInc},
             {QStringLiteral("Konto"), T::ftString, 15},
             {QStringLiteral("Kommnr"), T::ftString, 10},
             {QStringLiteral("RechnNr"), T::ftString, 10},
             {QStringLiteral("AngebotsNr"), T::ftString, 10},
             {QStringLiteral("AuftragsNr"), T::ftString, 10},
             {QStringLiteral("DelDatum"), T::ftDate},
             {QStringLiteral("Bezeichn"), T::ftString, 30},
             {QStringLiteral("Datum"), T::ftDate},
             {QStringLiteral("Anrede"), T::ftString, 30},
             {QStringLiteral("Branche"), T::ftString, 30},
             {QStringLiteral("Postfach"), T::ftString, 30},
             {QStringLiteral("Strasse"), T::ftString, 30},
             {QStringLiteral("Ort"), T::ftString, 30},
             {QStringLiteral("U_Zchn"), T::ftString, 15},
             {QStringLiteral("I_Zchn"), T::ftString, 15},
             {QStringLiteral("Betreff1"), T::ftString, 50},
             {QStringLiteral("Betreff2"), T::ftString, 50},
             {QStringLiteral("Betreff3"), T::ftString, 50},
             {QStringLiteral("Betreff4"), T::ftString, 50},
             {QStringLiteral("Betreff5"), T::ftString, 50},
             {QStringLiteral("Betreff_ges"), T::ftString, 255},
             {QStringLiteral("TRechNr"), T::ftSmallint},
             {QStringLiteral("LiefTermin"), T::ftDate},
             {QStringLiteral("Baustelle"), T::ftString, 20},
             {QStringLiteral("Bauherr"), T::ftString, 20},
             {QStringLiteral("Architekt"), T::ftString, 20},
             {QStringLiteral("BOrt"), T::ftString, 20},
             {QStringLiteral("BStrasse"), T::ftString, 20},
             {QStringLiteral("BTel"), T::ftString, 15},
             {QStringLiteral("ATel"), T::ftString, 15},
             {QStringLiteral("UTel"), T::ftString, 15},
             {QStringLiteral("Baubegin"), T::ftDateTime},
             {QStringLiteral("Termin"), T::ftDateTime},
             {QStringLiteral("Faellig"), T::ftDateTime},
             {QStringLiteral("Bemerkung"), T::ftString, 50},
             {QStringLiteral("KundenKey"), T::ftString, 30},
             {QStringLiteral("GutSchrNr"), T::ftString, 10},
             {QStringLiteral("Kostenstelle"), T::ftSmallint},
             {QStringLiteral("RechDate"), T::ftDate},
             {QStringLiteral("AngDate"), T::ftDate},
             {QStringLiteral("AuftrDate"), T::ftDate},
             {QStringLiteral("GutschrDate"), T::ftDate},
             {QStringLiteral("MontageDate"), T::ftDate},
             {QStringLiteral("Last_Aufgabe"), T::ftInteger},
             {QStringLiteral("Last_Datum"), T::ftDate},
             {QStringLiteral("Last_Personal"), T::ftInteger},
             {QStringLiteral("Last_Rang"), T::ftSmallint},
             {QStringLiteral("EV_Sichtbar"), T::ftBoolean},
             {QStringLiteral("PV_Sichtbar"), T::ftBoolean},
             {QStringLiteral("V_Bemerkung"), T::ftMemo},
         }},
        {QStringLiteral("ProjektAufgaben"),
         {
             {QStringLiteral("ID"), T::ftAutoInc},
             {QStringLiteral("Projekt_ID"), T::ftInteger},
             {QStringLiteral("Aufgabe_ID"), T::ftInteger},
             {QStringLiteral("Bezeichnung"), T::ftString, 150},
             {QStringLiteral("Datum_von"), T::ftDateTime},
             {QStringLiteral("Datum_bis"), T::ftDateTime},
             {QStringLiteral("Mitarbeiter"), T::ftInteger},
             {QStringLiteral("Status_ID"), T::ftInteger},
             {QStringLiteral("Prioritaet"), T::ftSmallint},
             {QStringLiteral("Bemerkung"), T::ftMemo},
         }},
        {QStringLiteral("Aufgaben"),
         {
             {QStringLiteral("ID"), T::ftAutoInc},
             {QStringLiteral("Aufg_Bezeichnung"), T::ftString, 150},
             {QStringLiteral("Aufg_Mitarbeiter"), T::ftInteger},
             {QStringLiteral("Aufg_Status"), T::ftInteger},
             {QStringLiteral("Aufg_Bemerkung"), T::ftMemo},
             {QStringLiteral("Aufg_Prioritaet"), T::ftSmallint},
             {QStringLiteral("Select"), T::ftBoolean},
         }},
        {QStringLiteral("Personal"),
         {
             {QStringLiteral("ID"), T::ftAutoInc},
             {QStringLiteral("Nummer"), T::ftString, 15},
             {QStringLiteral("Name"), T::ftString, 30},
             {QStringLiteral("Lohnart"), T::ftString, 15},
             {QStringLiteral("StdLohn"), T::ftFloat},
         }},
        {QStringLiteral("Status"),
         {
             {QStringLiteral("ID"), T::ftAutoInc},
             {QStringLiteral("Stat_Bezeichnung"), T::ftString, 150},
             {QStringLiteral("Stat_Rang"), T::ftSmallint},
             {QStringLiteral("Stat_Bemerkung"), T::ftMemo},
         }},
    };
}

// A task counts as finished when its status has the highest rank of all statuses; every other
// task, and every task without a valid status, is still current. So when a project's first task
// is done, the next one becomes its current task.
const char* const aufgabenAktuellSql =
    "SELECT p.Projekt_ID, p.Aufgabe_ID, p.Bezeichnung, p.Datum_von, p.Datum_bis, p.Mitarbeiter,\n"
    "       p.Prioritaet, s.Stat_Rang\n"
    "FROM ProjektAufgaben p LEFT JOIN Status s ON s.ID = p.Status_ID\n"
    "WHERE s.ID IS NULL OR s.Stat_Rang IS NULL\n"
    "   OR s.Stat_Rang < (SELECT max(Stat_Rang) FROM Status)";

// The sums are kept in a table of their own (summenAnweisungen), which the stored query reads:
// 20,000 short rows instead of adding up 200,000 tasks at every read.
const char* const projektAufgabenSummeSql = "SELECT Projekt_ID, AnzahlAufgaben, SummeRang FROM ProjektSumme";

std::vector<Abfrage> abfragenAnlegen()
{
    return {
        {QStringLiteral("ProjektAufgabenSumme"),
         {
             {QStringLiteral("Projekt_ID"), T::ftInteger},
             {QStringLiteral("AnzahlAufgaben"), T::ftInteger},
             {QStringLiteral("SummeRang"), T::ftFloat},
         },
         QString::fromLatin1(projektAufgabenSummeSql)},
        {QStringLiteral("Aufgaben_Aktuell"),
         {
             {QStringLiteral("Projekt_ID"), T::ftInteger},
             {QStringLiteral("Aufgabe_ID"), T::ftInteger},
             {QStringLiteral("Bezeichnung"), T::ftString, 150},
             {QStringLiteral("Datum_von"), T::ftDateTime},
             {QStringLiteral("Datum_bis"), T::ftDateTime},
             {QStringLiteral("Mitarbeiter"), T::ftInteger},
             {QStringLiteral("Prioritaet"), T::ftSmallint},
             {QStringLiteral("Stat_Rang"), T::ftSmallint},
         },
         QString::fromLatin1(aufgabenAktuellSql)},
    };
}

} // namespace

const std::vector<Tabelle>& tabellen()
{
    static const std::vector<Tabelle> liste = tabellenAnlegen();
    return liste;
}

const std::vector<Abfrage>& abfragen()
{
    static const std::vector<Abfrage> liste = abfragenAnlegen();
    return liste;
}

QString spaltenDeklaration(const Spalte& spalte)
{
    // The declared types are read back by the access layer (TField), so each kind has a name
    // of its own; text columns compare without regard to case, as the users are used to.
    switch (spalte.typ) {
    case T::ftAutoInc: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case T::ftString: return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(spalte.breite);
    case T::ftInteger: return QStringLiteral("INT");
    case T::ftSmallint: return QStringLiteral("SMALLINT");
    case T::ftFloat: return QStringLiteral("DOUBLE");
    case T::ftBoolean: return QStringLiteral("BOOLEAN");
    case T::ftMemo: return QStringLiteral("TEXT");
    case T::ftDate: return QStringLiteral("DATE");
    case T::ftDateTime: return QStringLiteral("DATETIME");
    case T::ftBlob: return QStringLiteral("BLOB");
    case T::ftUnknown: break;
    }
    return QString();
}

namespace {

QString abfrageAnweisung(const Abfrage& abfrage)
{
    QStringList namen;
    for (const Spalte& spalte : abfrage.spalten)
        namen << QLatin1Char('[') + spalte.name + QLatin1Char(']');
    return QStringLiteral("CREATE VIEW [%1] (%2) AS\n%3").arg(abfrage.name, namen.join(QStringLiteral(", ")), abfrage.sql);
}

// The stored query that reads the summary table.
const Abfrage& summenAbfrage()
{
    for (const Abfrage& abfrage : abfragen())
        if (abfrage.name == QLatin1String("ProjektAufgabenSumme"))
            return abfrage;
    Q_UNREACHABLE();
}

QString ausloeser(const QString& name, const QString& ereignis, const QString& tabelle, const QString& rumpf)
{
    return QStringLiteral("CREATE TRIGGER [%1] AFTER %2 ON [%3]\nBEGIN\n    %4\nEND").arg(name, ereignis, tabelle, rumpf);
}

} // namespace

QStringList anweisungen()
{
    return grundAnweisungen() + stuetzAnweisungen();
}

QStringList stuetzAnweisungen()
{
    return summenAnweisungen() + aenderungsAnweisungen() << wandlistenIndexAnweisung();
}

const QStringList& wandlistenSpalten()
{
    static const QStringList spalten = {
        QStringLiteral("Last_Datum"),   QStringLiteral("Kommnr"),        QStringLiteral("Bezeichn"),
        QStringLiteral("Baustelle"),    QStringLiteral("Betreff_ges"),   QStringLiteral("Last_Aufgabe"),
        QStringLiteral("Last_Personal"), QStringLiteral("Last_Rang"),    QStringLiteral("PV_Sichtbar")};
    return spalten;
}

QString wandlistenIndex()
{
    return QStringLiteral("Projekt_Wandliste");
}

QString wandlistenIndexAnweisung()
{
    QStringList spalten;
    for (const QString& spalte : wandlistenSpalten())
        spalten << QLatin1Char('[') + spalte + QLatin1Char(']');
    return QStringLiteral("CREATE INDEX [%1] ON [Projekt] (%2)").arg(wandlistenIndex(), spalten.join(QStringLiteral(", ")));
}

QStringList grundAnweisungen()
{
    QStringList ergebnis;
    for (const Tabelle& tabelle : tabellen()) {
        QStringList spalten;
        for (const Spalte& spalte : tabelle.spalten)
            spalten << QStringLiteral("    [%1] %2").arg(spalte.name, spaltenDeklaration(spalte));
        ergebnis << QStringLiteral("CREATE TABLE [%1] (\n%2\n)").arg(tabelle.name, spalten.join(QStringLiteral(",\n")));
    }
    for (const Abfrage& abfrage : abfragen())
        ergebnis << abfrageAnweisung(abfrage);
    // The joins and orders the program uses: tasks by project, projects by number and by the
    // end date of their current task.
    ergebnis << QStringLiteral("CREATE INDEX [ProjektAufgaben_Projekt_ID] ON [ProjektAufgaben] ([Projekt_ID])")
             << QStringLiteral("CREATE INDEX [Projekt_Kommnr] ON [Projekt] ([Kommnr])")
             << QStringLiteral("CREATE INDEX [Projekt_Last_Datum] ON [Projekt] ([Last_Datum])");
    return ergebnis;
}

QString summenTabelle()
{
    return QStringLiteral("ProjektSumme");
}

QString summenBerechnung(const QString& bedingung)
{
    // Every task row counts; a row without a valid status adds rank 0 (total() sums nulls as 0
    // and always yields a floating value).
    return QStringLiteral("SELECT p.[Projekt_ID], count(*), total(s.[Stat_Rang])\n"
                          "FROM [ProjektAufgaben] p LEFT JOIN [Status] s ON s.[ID] = p.[Status_ID]\n"
                          "WHERE %1\n"
                          "GROUP BY p.[Projekt_ID]")
        .arg(bedingung);
}

QStringList summenAnweisungen()
{
    // A project's row is worked out afresh from its tasks whenever one of them, or a status
    // they name, changes: the stored sums cannot drift from what the tasks say. `projekte` is
    // the condition on a project's ID; an empty ID matches nothing.
    const auto neuBerechnen = [](const QString& projekte) {
        return QStringLiteral("DELETE FROM [ProjektSumme] WHERE [Projekt_ID] %1;\n    INSERT INTO [ProjektSumme] %2;")
            .arg(projekte, summenBerechnung(QStringLiteral("p.[Projekt_ID] ") + projekte));
    };
    const QString mitStatus = QStringLiteral("IN (SELECT [Projekt_ID] FROM [ProjektAufgaben] WHERE [Status_ID] IN (%1))");
    return {
        QStringLiteral("CREATE TABLE [ProjektSumme] (\n    [Projekt_ID] INTEGER PRIMARY KEY,\n"
                       "    [AnzahlAufgaben] INT NOT NULL,\n    [SummeRang] DOUBLE NOT NULL\n)"),
        QStringLiteral("INSERT INTO [ProjektSumme] ") + summenBerechnung(QStringLiteral("p.[Projekt_ID] IS NOT NULL")),
        ausloeser(QStringLiteral("ProjektSumme_Aufgabe_Neu"), QStringLiteral("INSERT"), QStringLiteral("ProjektAufgaben"),
                  neuBerechnen(QStringLiteral("= NEW.[Projekt_ID]"))),
        ausloeser(QStringLiteral("ProjektSumme_Aufgabe_Geaendert"), QStringLiteral("UPDATE OF [Projekt_ID], [Status_ID]"),
                  QStringLiteral("ProjektAufgaben"),
                  neuBerechnen(QStringLiteral("= OLD.[Projekt_ID]")) + QStringLiteral("\n    ")
                      + neuBerechnen(QStringLiteral("= NEW.[Projekt_ID]"))),
        ausloeser(QStringLiteral("ProjektSumme_Aufgabe_Geloescht"), QStringLiteral("DELETE"), QStringLiteral("ProjektAufgaben"),
                  neuBerechnen(QStringLiteral("= OLD.[Projekt_ID]"))),
        ausloeser(QStringLiteral("ProjektSumme_Status_Neu"), QStringLiteral("INSERT"), QStringLiteral("Status"),
                  neuBerechnen(mitStatus.arg(QStringLiteral("NEW.[ID]")))),
        ausloeser(QStringLiteral("ProjektSumme_Status_Geaendert"), QStringLiteral("UPDATE OF [ID], [Stat_Rang]"),
                  QStringLiteral("Status"), neuBerechnen(mitStatus.arg(QStringLiteral("OLD.[ID], NEW.[ID]")))),
        ausloeser(QStringLiteral("ProjektSumme_Status_Geloescht"), QStringLiteral("DELETE"), QStringLiteral("Status"),
                  neuBerechnen(mitStatus.arg(QStringLiteral("OLD.[ID]")))),
    };
}

QStringList summenNachruestung()
{
    QStringList ergebnis = summenAnweisungen();
    ergebnis << QStringLiteral("DROP VIEW IF EXISTS [ProjektAufgabenSumme]") << abfrageAnweisung(summenAbfrage());
    return ergebnis;
}

QString aenderungsTabelle()
{
    return QStringLiteral("ProjektAenderung");
}

QStringList aenderungsAnweisungen()
{
    // One trigger per table and kind of change; a task moved to another project names both.
    const auto notiz = [](const QString& wert) {
        return QStringLiteral("INSERT INTO [ProjektAenderung] ([Projekt_ID]) ") + wert + QLatin1Char(';');
    };
    const QString projektWenn = QStringLiteral("SELECT %1.[Projekt_ID] WHERE %1.[Projekt_ID] IS NOT NULL");
    return {
        QStringLiteral("CREATE TABLE [ProjektAenderung] (\n    [Nr] INTEGER PRIMARY KEY AUTOINCREMENT,\n"
                       "    [Projekt_ID] INT\n)"),
        // Keeps the table small: a reader that has missed more reads everything anyway.
        ausloeser(QStringLiteral("ProjektAenderung_Kuerzen"), QStringLiteral("INSERT"), QStringLiteral("ProjektAenderung"),
                  QStringLiteral("DELETE FROM [ProjektAenderung] WHERE [Nr] <= NEW.[Nr] - %1;").arg(AenderungenBehalten)),
        ausloeser(QStringLiteral("ProjektAenderung_Projekt_Neu"), QStringLiteral("INSERT"), QStringLiteral("Projekt"),
                  notiz(QStringLiteral("VALUES (NEW.[ID])"))),
        ausloeser(QStringLiteral("ProjektAenderung_Projekt_Geaendert"), QStringLiteral("UPDATE"), QStringLiteral("Projekt"),
                  notiz(QStringLiteral("SELECT OLD.[ID] WHERE OLD.[ID] IS NOT NEW.[ID]")) + QStringLiteral("\n    ")
                      + notiz(QStringLiteral("VALUES (NEW.[ID])"))),
        ausloeser(QStringLiteral("ProjektAenderung_Projekt_Geloescht"), QStringLiteral("DELETE"), QStringLiteral("Projekt"),
                  notiz(QStringLiteral("VALUES (OLD.[ID])"))),
        ausloeser(QStringLiteral("ProjektAenderung_Aufgabe_Neu"), QStringLiteral("INSERT"), QStringLiteral("ProjektAufgaben"),
                  notiz(projektWenn.arg(QStringLiteral("NEW")))),
        ausloeser(QStringLiteral("ProjektAenderung_Aufgabe_Geaendert"), QStringLiteral("UPDATE"),
                  QStringLiteral("ProjektAufgaben"),
                  notiz(projektWenn.arg(QStringLiteral("OLD")) + QStringLiteral(" AND OLD.[Projekt_ID] IS NOT NEW.[Projekt_ID]"))
                      + QStringLiteral("\n    ") + notiz(projektWenn.arg(QStringLiteral("NEW")))),
        ausloeser(QStringLiteral("ProjektAenderung_Aufgabe_Geloescht"), QStringLiteral("DELETE"),
                  QStringLiteral("ProjektAufgaben"), notiz(projektWenn.arg(QStringLiteral("OLD")))),
        ausloeser(QStringLiteral("ProjektAenderung_Status_Neu"), QStringLiteral("INSERT"), QStringLiteral("Status"),
                  notiz(QStringLiteral("VALUES (NULL)"))),
        ausloeser(QStringLiteral("ProjektAenderung_Status_Geaendert"), QStringLiteral("UPDATE"), QStringLiteral("Status"),
                  notiz(QStringLiteral("VALUES (NULL)"))),
        ausloeser(QStringLiteral("ProjektAenderung_Status_Geloescht"), QStringLiteral("DELETE"), QStringLiteral("Status"),
                  notiz(QStringLiteral("VALUES (NULL)"))),
    };
}

namespace {

QString serverName(const QString& name)
{
    return QLatin1Char('"') + name.toLower() + QLatin1Char('"');
}

QString serverDeklaration(const Spalte& spalte)
{
    switch (spalte.typ) {
    case T::ftAutoInc: return QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case T::ftString:
        // Ordered by the characters' code points, as in the file; case is folded (citext), and
        // unlike the file also for letters beyond ASCII.
        return QStringLiteral("citext COLLATE ucs_basic CHECK (char_length(%1) <= %2)").arg(serverName(spalte.name)).arg(spalte.breite);
    case T::ftInteger: return QStringLiteral("integer");
    case T::ftSmallint: return QStringLiteral("smallint");
    case T::ftFloat: return QStringLiteral("double precision");
    // Yes/no as a number, as the file holds it (0, 1, or -1 from the old program).
    case T::ftBoolean: return QStringLiteral("smallint");
    case T::ftMemo: return QStringLiteral("text COLLATE ucs_basic");
    case T::ftDate: return QStringLiteral("date");
    case T::ftDateTime: return QStringLiteral("timestamp");
    case T::ftBlob: return QStringLiteral("bytea");
    case T::ftUnknown: break;
    }
    return QString();
}

// The stored queries in the server's words.
QString serverAbfrage(const Abfrage& abfrage)
{
    if (abfrage.name == QLatin1String("ProjektAufgabenSumme"))
        return QStringLiteral("SELECT projekt_id, anzahlaufgaben, summerang FROM projektsumme ORDER BY projekt_id NULLS FIRST");
    return abfrage.sql;
}

QString serverAbfrageAnweisung(const Abfrage& abfrage, const char* anlegen)
{
    QStringList namen;
    for (const Spalte& spalte : abfrage.spalten)
        namen << serverName(spalte.name);
    return QStringLiteral("%1 %2 (%3) AS\n%4")
        .arg(QLatin1String(anlegen), serverName(abfrage.name), namen.join(QStringLiteral(", ")), serverAbfrage(abfrage));
}

// The file's summenBerechnung; total() there is a floating sum that counts nulls as 0.
QString serverSummenBerechnung(const QString& bedingung)
{
    return QStringLiteral("SELECT p.projekt_id, count(*), coalesce(sum(s.stat_rang), 0)::double precision\n"
                          "FROM projektaufgaben p LEFT JOIN status s ON s.id = p.status_id\n"
                          "WHERE %1\n"
                          "GROUP BY p.projekt_id")
        .arg(bedingung);
}

// The summary table as in the file, kept by the same rule.
QStringList serverSummenAnweisungen()
{
    return {
        QStringLiteral("CREATE TABLE \"projektsumme\" (\n    \"projekt_id\" integer PRIMARY KEY,\n"
                       "    \"anzahlaufgaben\" integer NOT NULL,\n    \"summerang\" double precision NOT NULL\n)"),
        // Two PCs changing tasks of one project take turns at its row (a lock of the transaction
        // on the project's number), so the second one adds up the first one's tasks as well.
        QStringLiteral("CREATE FUNCTION pv_summe_berechnen(pid integer) RETURNS void LANGUAGE plpgsql AS $$\n"
                       "BEGIN\n"
                       "    IF pid IS NULL THEN RETURN; END IF;\n"
                       "    PERFORM pg_advisory_xact_lock(%1, pid);\n"
                       "    DELETE FROM projektsumme WHERE projekt_id = pid;\n"
                       "    INSERT INTO projektsumme %2;\n"
                       "END $$")
            .arg(SummenSperre)
            .arg(serverSummenBerechnung(QStringLiteral("p.projekt_id = pid"))),
        QStringLiteral("CREATE FUNCTION pv_summe_aufgabe() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                       "BEGIN\n"
                       "    IF TG_OP <> 'INSERT' THEN PERFORM pv_summe_berechnen(OLD.projekt_id); END IF;\n"
                       "    IF TG_OP = 'INSERT' OR (TG_OP = 'UPDATE' AND NEW.projekt_id IS DISTINCT FROM OLD.projekt_id) THEN\n"
                       "        PERFORM pv_summe_berechnen(NEW.projekt_id);\n"
                       "    END IF;\n"
                       "    RETURN NULL;\n"
                       "END $$"),
        // In the order of their numbers, so that two such changes cannot wait for each other.
        QStringLiteral("CREATE FUNCTION pv_summe_status() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                       "DECLARE pid integer;\n"
                       "BEGIN\n"
                       "    FOR pid IN SELECT DISTINCT projekt_id FROM projektaufgaben\n"
                       "               WHERE status_id = OLD.id OR status_id = NEW.id ORDER BY projekt_id NULLS FIRST LOOP\n"
                       "        PERFORM pv_summe_berechnen(pid);\n"
                       "    END LOOP;\n"
                       "    RETURN NULL;\n"
                       "END $$"),
        QStringLiteral("CREATE TRIGGER projektsumme_aufgabe AFTER INSERT OR UPDATE OF projekt_id, status_id OR DELETE "
                       "ON projektaufgaben FOR EACH ROW EXECUTE FUNCTION pv_summe_aufgabe()"),
        QStringLiteral("CREATE TRIGGER projektsumme_status AFTER INSERT OR UPDATE OF id, stat_rang OR DELETE "
                       "ON status FOR EACH ROW EXECUTE FUNCTION pv_summe_status()"),
        serverSummenFuellung(),
    };
}

} // namespace

QString serverSummenFuellung()
{
    return QStringLiteral("INSERT INTO projektsumme ") + serverSummenBerechnung(QStringLiteral("p.projekt_id IS NOT NULL"));
}

QString serverWandlistenIndexAnweisung()
{
    QStringList spalten;
    for (const QString& spalte : wandlistenSpalten())
        spalten << serverName(spalte);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON projekt (%2)")
        .arg(serverName(wandlistenIndex()), spalten.join(QStringLiteral(", ")));
}

QStringList serverSummenNachruestung()
{
    return serverSummenAnweisungen() << QStringLiteral("DROP VIEW IF EXISTS projektaufgabensumme")
                                     << serverAbfrageAnweisung(summenAbfrage(), "CREATE VIEW");
}

QString serverStandTabelle()
{
    return QStringLiteral("AenderungsStand");
}

QStringList serverAnweisungen()
{
    QStringList ergebnis;
    ergebnis << QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext");
    for (const Tabelle& tabelle : tabellen()) {
        QStringList spalten;
        for (const Spalte& spalte : tabelle.spalten)
            spalten << QStringLiteral("    %1 %2").arg(serverName(spalte.name), serverDeklaration(spalte));
        ergebnis << QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(serverName(tabelle.name), spalten.join(QStringLiteral(",\n")));
    }
    // The views read the summary table, which comes first.
    ergebnis << serverSummenAnweisungen();
    for (const Abfrage& abfrage : abfragen())
        ergebnis << serverAbfrageAnweisung(abfrage, "CREATE VIEW");
    ergebnis << QStringLiteral("CREATE INDEX projektaufgaben_projekt_id ON projektaufgaben (projekt_id)")
             << QStringLiteral("CREATE INDEX projekt_kommnr ON projekt (kommnr)")
             << QStringLiteral("CREATE INDEX projekt_last_datum ON projekt (last_datum)")
             << serverWandlistenIndexAnweisung();

    // The change table as in the file; its numbers come from the one counter row, whose lock
    // is held to the commit, so they grow in the order the changes become visible.
    const QString stand = serverName(serverStandTabelle());
    ergebnis << QStringLiteral("CREATE TABLE %1 (\n    \"nr\" bigint NOT NULL,\n    \"stand\" bigint NOT NULL\n)").arg(stand)
             << QStringLiteral("INSERT INTO %1 (\"nr\", \"stand\") VALUES (0, 0)").arg(stand)
             << QStringLiteral("CREATE TABLE \"projektaenderung\" (\n    \"nr\" bigint PRIMARY KEY,\n    \"projekt_id\" integer\n)")
             << QStringLiteral("CREATE FUNCTION pv_aenderung_notieren(pid integer) RETURNS void LANGUAGE plpgsql AS $$\n"
                               "DECLARE n bigint;\n"
                               "BEGIN\n"
                               "    UPDATE %1 SET nr = nr + 1, stand = stand + 1 RETURNING nr INTO n;\n"
                               "    INSERT INTO projektaenderung (nr, projekt_id) VALUES (n, pid);\n"
                               "    DELETE FROM projektaenderung WHERE nr <= n - %2;\n"
                               "END $$")
                    .arg(stand)
                    .arg(AenderungenBehalten)
             << QStringLiteral("CREATE FUNCTION pv_stand_erhoehen() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                               "BEGIN\n"
                               "    UPDATE %1 SET stand = stand + 1;\n"
                               "    RETURN NULL;\n"
                               "END $$")
                    .arg(stand)
             << QStringLiteral("CREATE FUNCTION pv_projekt_notieren() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                               "BEGIN\n"
                               "    IF TG_OP <> 'INSERT' THEN PERFORM pv_aenderung_notieren(OLD.id); END IF;\n"
                               "    IF TG_OP = 'INSERT' OR (TG_OP = 'UPDATE' AND NEW.id IS DISTINCT FROM OLD.id) THEN\n"
                               "        PERFORM pv_aenderung_notieren(NEW.id);\n"
                               "    END IF;\n"
                               "    RETURN NULL;\n"
                               "END $$")
             << QStringLiteral("CREATE FUNCTION pv_aufgabe_notieren() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                               "BEGIN\n"
                               "    IF TG_OP <> 'INSERT' AND OLD.projekt_id IS NOT NULL THEN\n"
                               "        PERFORM pv_aenderung_notieren(OLD.projekt_id);\n"
                               "    END IF;\n"
                               "    IF TG_OP <> 'DELETE' AND NEW.projekt_id IS NOT NULL\n"
                               "       AND (TG_OP = 'INSERT' OR NEW.projekt_id IS DISTINCT FROM OLD.projekt_id) THEN\n"
                               "        PERFORM pv_aenderung_notieren(NEW.projekt_id);\n"
                               "    END IF;\n"
                               "    RETURN NULL;\n"
                               "END $$")
             << QStringLiteral("CREATE FUNCTION pv_status_notieren() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                               "BEGIN\n"
                               "    PERFORM pv_aenderung_notieren(NULL);\n"
                               "    RETURN NULL;\n"
                               "END $$")
             << QStringLiteral("CREATE TRIGGER projektaenderung_projekt AFTER INSERT OR UPDATE OR DELETE ON projekt "
                               "FOR EACH ROW EXECUTE FUNCTION pv_projekt_notieren()")
             << QStringLiteral("CREATE TRIGGER projektaenderung_aufgabe AFTER INSERT OR UPDATE OR DELETE ON projektaufgaben "
                               "FOR EACH ROW EXECUTE FUNCTION pv_aufgabe_notieren()")
             << QStringLiteral("CREATE TRIGGER projektaenderung_status AFTER INSERT OR UPDATE OR DELETE ON status "
                               "FOR EACH ROW EXECUTE FUNCTION pv_status_notieren()");
    // The catalogues change nothing a project shows, but a reader of them must see it too.
    for (const char* tabelle : {"aufgaben", "personal"})
        ergebnis << QStringLiteral("CREATE TRIGGER aenderungsstand_%1 AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                                   "FOR EACH STATEMENT EXECUTE FUNCTION pv_stand_erhoehen()")
                        .arg(QLatin1String(tabelle));
    return ergebnis;
}

const Spalte* abfrageSpalte(const QString& name)
{
    for (const Abfrage& abfrage : abfragen())
        for (const Spalte& spalte : abfrage.spalten)
            if (spalte.name.compare(name, Qt::CaseInsensitive) == 0)
                return &spalte;
    return nullptr;
}

const Spalte* tabellenSpalte(const QString& tabelle, const QString& spalte)
{
    for (const Tabelle& t : tabellen())
        if (t.name.compare(tabelle, Qt::CaseInsensitive) == 0)
            for (const Spalte& s : t.spalten)
                if (s.name.compare(spalte, Qt::CaseInsensitive) == 0)
                    return &s;
    return nullptr;
}

QString schreibweise(const QString& name)
{
    static const QHash<QString, QString> namen = [] {
        QHash<QString, QString> h;
        const auto eintragen = [&h](const QString& n) { h.insert(n.toLower(), n); };
        for (const Tabelle& t : tabellen()) {
            eintragen(t.name);
            for (const Spalte& s : t.spalten)
                eintragen(s.name);
        }
        for (const Abfrage& a : abfragen()) {
            eintragen(a.name);
            for (const Spalte& s : a.spalten)
                eintragen(s.name);
        }
        eintragen(aenderungsTabelle());
        eintragen(summenTabelle());
        eintragen(QStringLiteral("Nr"));
        return h;
    }();
    return namen.value(name.toLower(), name);
}

} // namespace Schema
