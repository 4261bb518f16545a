#include "SqlText.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace SqlText {

namespace {

struct Wort
{
    QString text;   // upper case
    qsizetype anfang;
    qsizetype ende;
};

bool istWortZeichen(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The words and bracketed names of the statement outside strings, comments and parentheses,
// in order. Bracketed names keep their brackets so they are never taken for keywords.
QList<Wort> obersteWoerter(const QString& sql)
{
    QList<Wort> woerter;
    int tiefe = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }  // doubled quote
                    break;
                }
                ++j;
            }
            if (tiefe == 0 && c != QLatin1Char('\''))
                woerter.append({sql.mid(i, j + 1 - i), i, qMin(j + 1, n)});
            i = j + 1;
        } else if (c == QLatin1Char('[')) {
            qsizetype j = sql.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) j = n - 1;
            if (tiefe == 0)
                woerter.append({sql.mid(i, j + 1 - i), i, j + 1});
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            const qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            i = j < 0 ? n : j + 1;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            i = j < 0 ? n : j + 2;
        } else if (c == QLatin1Char('(')) {
            ++tiefe; ++i;
        } else if (c == QLatin1Char(')')) {
            --tiefe; ++i;
        } else if (istWortZeichen(c)) {
            qsizetype j = i;
            while (j < n && istWortZeichen(sql[j])) ++j;
            if (tiefe == 0)
                woerter.append({sql.mid(i, j - i).toUpper(), i, j});
            i = j;
        } else {
            ++i;
        }
    }
    return woerter;
}

QString ohneSchluss(const QString& sql)
{
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text = text.left(text.size() - 1).trimmed();
    return text;
}

bool istSchluesselwort(const QString& wort)
{
    static const QStringList liste = {
        QStringLiteral("WHERE"), QStringLiteral("ON"), QStringLiteral("JOIN"), QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"), QStringLiteral("INNER"), QStringLiteral("OUTER"), QStringLiteral("CROSS"),
        QStringLiteral("NATURAL"), QStringLiteral("GROUP"), QStringLiteral("ORDER"), QStringLiteral("LIMIT"),
        QStringLiteral("HAVING"), QStringLiteral("UNION"), QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
        QStringLiteral("USING"), QStringLiteral("WINDOW"), QStringLiteral("INDEXED"), QStringLiteral("NOT"),
        QStringLiteral("FULL")};
    return liste.contains(wort.toUpper());
}

} // namespace

QString bedingungEinfuegen(const QString& sql, const QString& bedingung)
{
    const QString text = ohneSchluss(sql);
    const QList<Wort> woerter = obersteWoerter(text);

    qsizetype where = -1;
    qsizetype ende = text.size();
    // Every insertion starts on a new line, so that a line comment in the text ends before it.
    for (const Wort& w : woerter) {
        if (w.text == QLatin1String("UNION") || w.text == QLatin1String("EXCEPT") || w.text == QLatin1String("INTERSECT"))
            return QStringLiteral("SELECT * FROM (%1\n) WHERE %2").arg(text, bedingung);
    }
    for (const Wort& w : woerter) {
        if (w.text == QLatin1String("WHERE") && where < 0) {
            where = w.anfang;
        } else if (w.text == QLatin1String("GROUP") || w.text == QLatin1String("HAVING") || w.text == QLatin1String("WINDOW")
                   || w.text == QLatin1String("ORDER") || w.text == QLatin1String("LIMIT")) {
            ende = w.anfang;
            break;
        }
    }
    const QString rest = text.mid(ende).trimmed();
    const QString schluss = rest.isEmpty() ? QString() : QLatin1Char('\n') + rest;
    if (where >= 0) {
        const QString alt = text.mid(where + 5, ende - where - 5).trimmed();
        return QStringLiteral("%1WHERE (%2) AND (%3\n)%4").arg(text.left(where), bedingung, alt, schluss);
    }
    return QStringLiteral("%1\nWHERE %2%3").arg(text.left(ende).trimmed(), bedingung, schluss);
}

QString aliasVon(const QString& sql, const QString& tabelle)
{
    const QList<Wort> woerter = obersteWoerter(sql);
    auto entklammert = [](const QString& wort) {
        if (wort.size() >= 2 && (wort.startsWith(QLatin1Char('[')) || wort.startsWith(QLatin1Char('"')) || wort.startsWith(QLatin1Char('`'))))
            return wort.mid(1, wort.size() - 2);
        return wort;
    };
    bool imFrom = false;
    for (qsizetype i = 0; i < woerter.size(); ++i) {
        const QString& w = woerter[i].text;
        if (w == QLatin1String("FROM")) { imFrom = true; continue; }
        if (!imFrom) continue;
        if (w == QLatin1String("WHERE") || w == QLatin1String("GROUP") || w == QLatin1String("ORDER"))
            break;
        if (entklammert(w).compare(tabelle, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype k = i + 1;
        if (k < woerter.size() && woerter[k].text == QLatin1String("AS"))
            ++k;
        // Only a name that follows the table directly (blanks between) is its alias.
        if (k < woerter.size() && !istSchluesselwort(woerter[k].text)
            && sql.mid(woerter[k - 1].ende, woerter[k].anfang - woerter[k - 1].ende).trimmed().isEmpty())
            return entklammert(sql.mid(woerter[k].anfang, woerter[k].ende - woerter[k].anfang));
        return QString();
    }
    return QString();
}

namespace {

// The place of the top-level "ORDER" of an ORDER BY among `woerter`: -1 when there is none,
// nothing when the statement is compound.
std::optional<qsizetype> orderStelle(const QList<Wort>& woerter)
{
    qsizetype order = -1;
    for (qsizetype i = 0; i < woerter.size(); ++i) {
        const QString& w = woerter[i].text;
        if (w == QLatin1String("UNION") || w == QLatin1String("EXCEPT") || w == QLatin1String("INTERSECT"))
            return std::nullopt;
        if (w == QLatin1String("ORDER") && i + 1 < woerter.size() && woerter[i + 1].text == QLatin1String("BY"))
            order = i;
    }
    return order;
}

} // namespace

std::optional<QList<Sortierspalte>> sortierung(const QString& sql)
{
    const QString text = ohneSchluss(sql);
    const QList<Wort> woerter = obersteWoerter(text);
    const std::optional<qsizetype> stelle = orderStelle(woerter);
    if (!stelle)
        return std::nullopt;
    QList<Sortierspalte> ergebnis;
    if (*stelle < 0)
        return ergebnis;
    const qsizetype order = *stelle + 2;
    qsizetype ende = text.size();
    for (qsizetype i = order; i < woerter.size(); ++i) {
        if (woerter[i].text == QLatin1String("LIMIT")) {
            ende = woerter[i].anfang;
            break;
        }
    }
    // Each term, between commas: a name, optionally "alias." before it, then ASC or DESC.
    const QStringList terme = text.mid(woerter[order - 1].ende, ende - woerter[order - 1].ende).split(QLatin1Char(','));
    static const QRegularExpression muster(QStringLiteral(
        R"(^\s*(?:(?:\w+|\[[^\]]+\])\s*\.\s*)?(\w+|\[[^\]]+\]|"[^"]+")\s*(ASC|DESC)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& term : terme) {
        const QRegularExpressionMatch treffer = muster.match(term);
        if (!treffer.hasMatch())
            return std::nullopt;
        QString name = treffer.captured(1);
        const bool geklammert = name.startsWith(QLatin1Char('[')) || name.startsWith(QLatin1Char('"'));
        if (geklammert)
            name = name.mid(1, name.size() - 2);
        else if (name.front().isDigit() || istSchluesselwort(name))
            return std::nullopt;  // "ORDER BY 2" names the second column, not a column "2"
        ergebnis.append({name, treffer.captured(2).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0});
    }
    return ergebnis;
}

std::optional<QString> ohneSortierung(const QString& sql)
{
    const QString text = ohneSchluss(sql);
    const QList<Wort> woerter = obersteWoerter(text);
    const std::optional<qsizetype> order = orderStelle(woerter);
    const bool mitLimit = std::any_of(woerter.begin(), woerter.end(), [](const Wort& w) { return w.text == QLatin1String("LIMIT"); });
    if (!order || *order < 0 || mitLimit)
        return std::nullopt;
    return text.left(woerter[*order].anfang).trimmed();
}

QString klammern(const QString& name)
{
    // Brackets, as the program's own statements write names; the engine knows no escape inside
    // them, so a name with a closing bracket goes in double quotes instead.
    if (!name.contains(QLatin1Char(']')))
        return QLatin1Char('[') + name + QLatin1Char(']');
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

namespace {

// Empty values sort first in the file engine and last on the server: every ORDER BY term gets
// the file's rule spelt out (NULLS FIRST ascending, NULLS LAST descending) unless it has one.
QString leereWieInDatei(const QString& sql)
{
    struct Klausel { int tiefe; qsizetype termAnfang; };
    QList<Klausel> offen;
    QList<QPair<qsizetype, QString>> einfuegen;
    const qsizetype n = sql.size();
    int tiefe = 0;
    const auto termSchliessen = [&](qsizetype ende) {
        const Klausel& k = offen.last();
        const QString term = sql.mid(k.termAnfang, ende - k.termAnfang).trimmed().toUpper();
        if (term.isEmpty() || term.contains(QLatin1String("NULLS")))
            return;
        qsizetype stelle = ende;
        while (stelle > k.termAnfang && sql[stelle - 1].isSpace())
            --stelle;
        einfuegen.append({stelle, term.endsWith(QLatin1String("DESC")) ? QStringLiteral(" NULLS LAST")
                                                                          : QStringLiteral(" NULLS FIRST")});
    };
    static const QStringList ende = {QStringLiteral("LIMIT"), QStringLiteral("OFFSET"), QStringLiteral("UNION"),
                                     QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"), QStringLiteral("FOR"),
                                     QStringLiteral("FETCH"), QStringLiteral("WINDOW"), QStringLiteral("ROWS"),
                                     QStringLiteral("RANGE")};
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            i = j + 1;
        } else if (c == QLatin1Char('(')) {
            ++tiefe;
            ++i;
        } else if (c == QLatin1Char(')') || c == QLatin1Char(';')) {
            while (!offen.isEmpty() && offen.last().tiefe >= tiefe) {
                termSchliessen(i);
                offen.removeLast();
            }
            if (c == QLatin1Char(')'))
                --tiefe;
            ++i;
        } else if (c == QLatin1Char(',') && !offen.isEmpty() && offen.last().tiefe == tiefe) {
            termSchliessen(i);
            offen.last().termAnfang = i + 1;
            ++i;
        } else if (istWortZeichen(c)) {
            qsizetype j = i;
            while (j < n && istWortZeichen(sql[j])) ++j;
            const QString wort = sql.mid(i, j - i).toUpper();
            if (!offen.isEmpty() && offen.last().tiefe == tiefe && ende.contains(wort)) {
                termSchliessen(i);
                offen.removeLast();
            } else if (wort == QLatin1String("ORDER")) {
                qsizetype k = j;
                while (k < n && sql[k].isSpace()) ++k;
                if (k + 1 < n && sql.mid(k, 2).compare(QLatin1String("BY"), Qt::CaseInsensitive) == 0
                    && (k + 2 >= n || !istWortZeichen(sql[k + 2]))) {
                    offen.append({tiefe, k + 2});
                    j = k + 2;
                }
            }
            i = j;
        } else {
            ++i;
        }
    }
    while (!offen.isEmpty()) {
        termSchliessen(n);
        offen.removeLast();
    }
    QString ergebnis = sql;
    for (qsizetype i = einfuegen.size() - 1; i >= 0; --i)
        ergebnis.insert(einfuegen[i].first, einfuegen[i].second);
    return ergebnis;
}

} // namespace

QString fuerServer(const QString& sql)
{
    QString ergebnis;
    ergebnis.reserve(sql.size() + 16);
    int parameter = 0;
    const qsizetype n = sql.size();
    const auto name = [&ergebnis](QStringView innen) {
        ergebnis += QLatin1Char('"') + innen.toString().toLower().replace(QLatin1Char('"'), QLatin1String("\"\""))
            + QLatin1Char('"');
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            const qsizetype ende = qMin(j + 1, n);
            if (c == QLatin1Char('\''))
                ergebnis += QStringView(sql).mid(i, ende - i);
            else
                name(QStringView(sql).mid(i + 1, qMax<qsizetype>(0, j - i - 1)));
            i = ende;
        } else if (c == QLatin1Char('[')) {
            qsizetype j = sql.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) j = n;
            name(QStringView(sql).mid(i + 1, j - i - 1));
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            j = j < 0 ? n : j + 1;
            ergebnis += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            ergebnis += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('?')) {
            ergebnis += QLatin1Char('$') + QString::number(++parameter);
            ++i;
        } else {
            ergebnis += c;
            ++i;
        }
    }
    return leereWieInDatei(ergebnis);
}

} // namespace SqlText
