#include "ZeilenAnweisungen.h"

#include "SqlText.h"

#include <QStringList>

ZeilenAnweisungen::ZeilenAnweisungen(QString tabelle, QString schluesselSpalte, bool fuerServer)
    : m_tabelle(SqlText::klammern(tabelle))
    , m_schluessel(SqlText::klammern(schluesselSpalte))
    , m_fuerServer(fuerServer)
{
}

ZeilenAnweisungen::Anweisung ZeilenAnweisungen::einfuegen(const QList<Spalte>& werte) const
{
    Anweisung a;
    if (werte.isEmpty()) {
        a.sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tabelle);
        return a;
    }
    QStringList spalten;
    for (const Spalte& s : werte) {
        spalten << SqlText::klammern(s.name);
        a.parameter << s.wert;
    }
    a.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(m_tabelle, spalten.join(QStringLiteral(", ")),
                     QStringList(spalten.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    return a;
}

ZeilenAnweisungen::Anweisung ZeilenAnweisungen::aendern(const QVariant& schluessel, const QList<Spalte>& neu,
                                                        const QList<Spalte>& gelesen) const
{
    Anweisung a;
    QStringList zuweisungen;
    for (const Spalte& s : neu) {
        zuweisungen << SqlText::klammern(s.name) + QStringLiteral(" = ?");
        a.parameter << s.wert;
    }
    const QString wo = bedingung(schluessel, gelesen, a.parameter);
    a.sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m_tabelle, zuweisungen.join(QStringLiteral(", ")), wo);
    return a;
}

ZeilenAnweisungen::Anweisung ZeilenAnweisungen::loeschen(const QVariant& schluessel, const QList<Spalte>& gelesen) const
{
    Anweisung a;
    const QString wo = bedingung(schluessel, gelesen, a.parameter);
    a.sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_tabelle, wo);
    return a;
}

QString ZeilenAnweisungen::bedingung(const QVariant& schluessel, const QList<Spalte>& gelesen,
                                     QVariantList& parameter) const
{
    QStringList teile;
    teile << m_schluessel + QStringLiteral(" = ?");
    parameter << schluessel;
    // IS treats two empty values as equal; BINARY, so that a column collated without regard to
    // case still sees "meier" replaced by "Meier".
    for (const Spalte& s : gelesen) {
        if (!m_fuerServer) {
            teile << SqlText::klammern(s.name) + QStringLiteral(" IS ? COLLATE BINARY");
            parameter << s.wert;
        } else if (s.wert.isNull()) {
            teile << SqlText::klammern(s.name) + QStringLiteral(" IS NULL");
        } else if (s.wert.metaType().id() == QMetaType::QString) {
            // As text, so that a column compared without regard to case still sees the change.
            teile << SqlText::klammern(s.name) + QStringLiteral("::text = ?");
            parameter << s.wert;
        } else {
            teile << SqlText::klammern(s.name) + QStringLiteral(" = ?");
            parameter << s.wert;
        }
    }
    return teile.join(QStringLiteral(" AND "));
}
