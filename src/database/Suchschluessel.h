#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

/// A value as the key of a search: integral numbers as numbers whatever their type (1, 1.0 and
/// true meet), everything else as text in the form the engine stores it (a date as 2024-03-01).
/// An empty value is no key; it finds nothing.
class Suchschluessel
{
public:
    explicit Suchschluessel(const QVariant& wert);

    bool gueltig() const { return m_gueltig; }

    /// Two empty values are equal here; a search skips them before it compares.
    friend bool operator==(const Suchschluessel&, const Suchschluessel&) = default;

    /// Whether two lists of values are the same keys, place by place.
    static bool gleich(const QVariantList& a, const QVariantList& b);

private:
    friend class Suchindex;

    bool m_gueltig = false;
    bool m_zahl = false;
    qint64 m_zahlwert = 0;
    QString m_text;
};

/// The rows of one field by value: the first row holding a key, found in O(1). Built anew when
/// the rows it was built from have changed (`stand` names the state it was built for).
class Suchindex
{
public:
    quint64 stand = 0;

    void leeren();
    /// Enters `zeile` under `wert`, unless an earlier row holds that key already; an empty value
    /// is not entered.
    void eintragen(const QVariant& wert, int zeile);
    /// The first row entered under `schluessel`; -1 if none.
    int zeile(const Suchschluessel& schluessel) const;
    /// True while no key was entered for two rows: the row found is then the only one.
    bool eindeutig() const { return !m_mehrfach; }

private:
    void zahlenStreuen();

    bool m_mehrfach = false;
    // Numbers entered in ascending order (a key, a list ordered by it) stand in a sorted list,
    // at a third of what a hash takes; the first number out of order moves them to the hash.
    std::vector<qint64> m_folge;
    std::vector<int> m_folgeZeilen;
    QHash<qint64, int> m_zahlen;
    QHash<QString, int> m_texte;
};
