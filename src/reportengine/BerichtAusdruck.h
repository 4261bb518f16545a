#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

/// The expression text of a report text object, parsed once: plain text with parts in square
/// brackets: `[Datenmenge."Feld"]` (quotes optional), `[DATE]`, `[PAGE#]`, `[TOTALPAGES#]`.
/// Field values and the date are worked out when a band is placed; page number and page count
/// only when the page is drawn, since the count is known at the end of the run.
class TBerichtAusdruck
{
public:
    enum class Art { Text, Feld, Datum, Seite, Seiten };
    struct Teil
    {
        Art art = Art::Text;
        QString text;        // Text: the text itself
        QString datenmenge;  // Feld: the report dataset's name
        QString feld;        // Feld: the field's name
    };

    TBerichtAusdruck() = default;
    /// Throws Fehler for an unclosed bracket or a bracket that names nothing known.
    explicit TBerichtAusdruck(const QString& text);

    const QString& Quelltext() const { return m_quelltext; }
    const std::vector<Teil>& Teile() const { return m_teile; }
    /// True when page number or page count occur: such texts are finished while drawing.
    bool Seitenabhaengig() const { return m_seitenabhaengig; }

    /// The value of a field part; throws Fehler for an unknown dataset or field.
    using FeldWert = std::function<QVariant(const QString& datenmenge, const QString& feld)>;

    /// The text of every part that does not depend on the page, in order (page parts give
    /// empty entries); `datum` is the date of the run.
    QStringList Vorbereiten(const FeldWert& wert, const QDate& datum) const;
    /// The text of an expression that does not depend on the page.
    QString Text(const FeldWert& wert, const QDate& datum) const;
    /// The finished text from the prepared parts and the page.
    QString Zusammensetzen(const QStringList& vorbereitet, int seite, int seiten) const;

    /// A value as the report prints it: dates as dd.MM.yyyy, followed by the time only when
    /// the value has a time of day; numbers with a decimal comma; empty values as nothing.
    static QString WertText(const QVariant& wert);

private:
    QString m_quelltext;
    std::vector<Teil> m_teile;
    bool m_seitenabhaengig = false;
};
