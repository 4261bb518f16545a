#pragma once

#include <QList>
#include <QString>
#include <QVariant>

/// The statements that write single rows of one table: insert, change and delete. A change and
/// a delete carry the optimistic check: they touch the row only while every compared column
/// still holds the value that was read (an empty value included), so a change stored meanwhile
/// by someone else is never overwritten or deleted unseen. Values always go in as parameters.
class ZeilenAnweisungen
{
public:
    /// A column and a value for it (a new value, or the value read for the check).
    struct Spalte
    {
        QString name;
        QVariant wert;
    };
    /// A statement text and its parameters in order.
    struct Anweisung
    {
        QString sql;
        QVariantList parameter;
    };

    /// `fuerServer`: the check in words a database server takes (it infers a parameter's type
    /// from the column it is compared with, so an empty value is asked for with IS NULL).
    ZeilenAnweisungen(QString tabelle, QString schluesselSpalte, bool fuerServer = false);

    /// INSERT of the given columns; with none, a row of default values.
    Anweisung einfuegen(const QList<Spalte>& werte) const;
    /// UPDATE of `neu` in the row with key `schluessel`, while the columns of `gelesen` still
    /// hold their values.
    Anweisung aendern(const QVariant& schluessel, const QList<Spalte>& neu, const QList<Spalte>& gelesen) const;
    /// DELETE of the row with key `schluessel`, while the columns of `gelesen` still hold their values.
    Anweisung loeschen(const QVariant& schluessel, const QList<Spalte>& gelesen) const;

private:
    QString bedingung(const QVariant& schluessel, const QList<Spalte>& gelesen, QVariantList& parameter) const;

    QString m_tabelle;
    QString m_schluessel;
    bool m_fuerServer;
};
