#include "Suchbegriff.h"

namespace {

// Separates the texts of a row, so that no match runs from one into the next; and the two
// forms of the row.
constexpr QChar TextGrenze(0x1F);
constexpr QChar FormGrenze(0x1E);

bool istLeerraum(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

// Runs of blanks (and control characters) as one blank, none at either end.
QString leerraumEinfach(QStringView text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    bool leerraum = false;
    for (QChar c : text) {
        if (istLeerraum(c)) {
            leerraum = true;
            continue;
        }
        if (leerraum && !ergebnis.isEmpty())
            ergebnis += QLatin1Char(' ');
        leerraum = false;
        ergebnis += c;
    }
    return ergebnis;
}

// The spelling without umlauts and ß, from the base form: "ae", "oe", "ue" as a, o, u, and a run
// of s as one s (so "ss" from ß, "ss" and "s" meet).
QString umschrift(QStringView grundform)
{
    QString ergebnis;
    ergebnis.reserve(grundform.size());
    for (qsizetype i = 0; i < grundform.size(); ++i) {
        const QChar c = grundform[i];
        if (c == QLatin1Char('e') && i > 0
            && (grundform[i - 1] == QLatin1Char('a') || grundform[i - 1] == QLatin1Char('o')
                || grundform[i - 1] == QLatin1Char('u')))
            continue;
        if (c == QLatin1Char('s') && i > 0 && grundform[i - 1] == QLatin1Char('s'))
            continue;
        ergebnis += c;
    }
    return ergebnis;
}

} // namespace

QString Grundform(QStringView text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            ergebnis += (u >= 'A' && u <= 'Z') ? QChar(u + ('a' - 'A')) : c;
        } else if (u == 0x00DF || u == 0x1E9E) {   // ß, ẞ
            ergebnis += QLatin1String("ss");
        } else {
            QChar basis = c;
            while (basis.decompositionTag() == QChar::Canonical)
                basis = basis.decomposition().at(0);
            ergebnis += basis.toCaseFolded();
        }
    }
    return ergebnis;
}

Suchbegriff::Suchbegriff(QStringView eingabe)
    : m_grundform(leerraumEinfach(Grundform(eingabe))), m_umschrift(umschrift(m_grundform))
{
}

QString Suchbegriff::durchsuchbar(const QStringList& texte)
{
    QString grund;
    for (const QString& text : texte) {
        if (!grund.isEmpty())
            grund += TextGrenze;
        grund += leerraumEinfach(Grundform(text));
    }
    return grund + FormGrenze + umschrift(grund);
}

bool Suchbegriff::gefunden(QStringView durchsuchbar) const
{
    // Either spelling of the typed text in either form of the row: "eller" finds "Mueller" in
    // its own spelling, "muller" finds it through the spelling without umlauts.
    return leer() || durchsuchbar.contains(m_grundform) || durchsuchbar.contains(m_umschrift);
}
