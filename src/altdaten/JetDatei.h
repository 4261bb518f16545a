#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

namespace Altdaten {

/// A column of an Access table: its name, the engine's type code and, for text, the width in
/// characters.
struct JetSpalte
{
    QString name;
    int typ = 0;
    int laenge = 0;
};

/// The German name of an Access column type ("Text", "Datum/Uhrzeit", ...).
QString typName(int typ);

/// One table being read, row by row in stored order. Values: null as an invalid QVariant; Text
/// and Memo as QString (an empty text stays an empty, non-null string); Yes/No as bool; Byte,
/// Integer and Long as int; Single, Double, Currency and Decimal as double; Date/Time as
/// QDateTime (a day number outside the years 100 to 9999 comes as its double); other kinds as
/// the raw bytes of their field.
class JetTabelle
{
public:
    ~JetTabelle();
    JetTabelle(const JetTabelle&) = delete;
    JetTabelle& operator=(const JetTabelle&) = delete;

    const QString& name() const { return m_name; }
    const std::vector<JetSpalte>& spalten() const { return m_spalten; }
    /// The number of rows the table's definition counts.
    qint64 zeilenErwartet() const { return m_erwartet; }

    /// The next row into `werte`; false at the end. Throws Fehler when the file ends before
    /// every counted row was read (a cut or damaged file), so no row goes missing unnoticed.
    bool naechsteZeile(QVariantList& werte);

private:
    friend class JetDatei;
    struct Lesestand;
    JetTabelle(std::unique_ptr<Lesestand> stand, const QString& datei);

    std::unique_ptr<Lesestand> m_stand;
    QString m_datei;
    QString m_name;
    std::vector<JetSpalte> m_spalten;
    qint64 m_erwartet = 0;
    qint64 m_gelesen = 0;
};

/// An Access database file of the old Windows program, opened read-only. Every failure is a
/// Fehler with a German message naming the file.
class JetDatei
{
public:
    /// True when the file begins like a Jet or ACE database (checks the head only).
    static bool istJetDatei(const QString& pfad);

    explicit JetDatei(const QString& pfad);
    ~JetDatei();
    JetDatei(const JetDatei&) = delete;
    JetDatei& operator=(const JetDatei&) = delete;

    /// "Access 97 (Jet 3)", "Access 2000–2003 (Jet 4)" or the later format's name.
    QString format() const;
    /// The user tables, in the order of the file's catalogue.
    const QStringList& tabellen() const { return m_tabellen; }
    /// Opens a table for reading (name without regard to case); nullptr when there is none.
    /// Tables share the file's page buffer: read one to its end before reading the next.
    std::unique_ptr<JetTabelle> tabelle(const QString& name) const;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    QString m_anzeige;
    QStringList m_tabellen;
};

} // namespace Altdaten
