#pragma once

#include <QList>
#include <QString>
#include <optional>

/// The link of a detail dataset to its master, "DetailFeld -> MasterFeld", several pairs
/// separated by ';'. Read once when it is set; the dataset then uses the pairs.
class MasterVerknuepfung
{
public:
    struct Paar
    {
        QString detail;
        QString master;
        friend bool operator==(const Paar&, const Paar&) = default;
    };

    /// No link: an empty or blank text.
    MasterVerknuepfung() = default;
    /// The pairs of `text`; none when a pair lacks one of its sides. A pair without arrow links
    /// two fields of the same name.
    static std::optional<MasterVerknuepfung> lesen(const QString& text);

    const QString& text() const { return m_text; }
    const QList<Paar>& paare() const { return m_paare; }
    bool leer() const { return m_paare.isEmpty(); }

    /// The detail's condition, one bound parameter per pair in order: "[Projekt_ID] = ?".
    QString bedingung() const;

private:
    QString m_text;
    QList<Paar> m_paare;
};
