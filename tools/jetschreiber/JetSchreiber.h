#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

// Writes Access 2000 database files (Jet 4, pages of 4 KB) holding plain tables: Yes/No, Integer,
// Long, Double, Date/Time, Text, Memo and (always empty) OLE columns, no indexes, no queries. Enough to hand the
// take-over of the old Windows program's database real files; any Jet reader opens them.
//
// The file is laid out in one go when saved:
//   page 0       database definition page (engine version 4; the part of it that Jet keeps
//                scrambled is scrambled with the engine's fixed RC4 key)
//   page 1       left empty (the engine's global page map; readers do not need it)
//   page 2       definition of the catalogue table MSysObjects, which lists every table
//   then         one definition page per table, the data pages of the tables, the catalogue's
//                data pages and the page maps that tell a reader which pages belong to a table.
// A row holds its column count, the fixed-width values at their place, the variable-width values
// one after the other, then (read from its end) a null mask with one bit per column (a Yes/No
// value is that bit), the count and the start offsets of the variable values and the end of the
// variable data. Texts are stored as one byte per character behind the marker FF FE when every
// character fits into one byte, as UTF-16 otherwise; a Memo of a few KB is kept inside its row.
namespace JetSchreiber {

enum class Typ { JaNein, Integer, Long, Double, DatumZeit, Text, Memo, Ole };

struct Spalte
{
    QString name;
    Typ typ = Typ::Text;
    int laenge = 0;          // Text: width in characters (at most 255)
    bool autoWert = false;   // Long only: AutoNumber
};

class Jet4Datei
{
public:
    Jet4Datei();

    /// Adds a table; returns its number for zeileAnfuegen.
    int tabelleAnlegen(const QString& name, std::vector<Spalte> spalten);

    /// Appends one row: one value per column, an invalid QVariant for null. Date/Time takes
    /// QDate or QDateTime, Text and Memo take QString (a Text longer than its column is refused
    /// unless `ueberlang` is set, which stores it whole, as a damaged or altered file may hold).
    void zeileAnfuegen(int tabelle, const QVariantList& werte, bool ueberlang = false);

    /// Writes the file; refuses to overwrite one. Throws Fehler.
    void speichern(const QString& pfad) const;

    /// Number of pages the file will have (without the page maps).
    int seitenAnzahl() const { return int(m_seiten.size()); }

private:
    struct Tabelle
    {
        QString name;
        std::vector<Spalte> spalten;
        std::vector<int> position;   // fixed: offset in the fixed part; variable: index in the offset list
        int festLaenge = 0;
        int variabel = 0;
        int tdefSeite = 0;
        std::vector<int> datenSeiten;
        quint32 zeilen = 0;
        qint64 naechsteNummer = 1;
        bool system = false;
    };

    int tabelleEinrichten(const QString& name, std::vector<Spalte> spalten, bool system);
    QByteArray zeileKodieren(const Tabelle& t, const QVariantList& werte, bool ueberlang) const;
    void zeileAblegen(Tabelle& t, const QByteArray& zeile);
    int neueDatenseite(int tdefSeite);

    std::vector<QByteArray> m_seiten;
    std::vector<Tabelle> m_tabellen;
};

} // namespace JetSchreiber
