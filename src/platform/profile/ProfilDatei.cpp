#include "ProfilDatei.h"

namespace {

bool istLeerzeichen(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool gleicherName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

ProfilDatei::ProfilDatei(QByteArray inhalt)
    : m_inhalt(std::move(inhalt))
    , m_kodierung(Kodierung::erkennen(m_inhalt))
{
    zerlegen();
}

void ProfilDatei::zerlegen()
{
    const char* d = m_inhalt.constData();
    const qsizetype n = m_inhalt.size();
    qsizetype pos = 0;
    if (m_kodierung == ProfilKodierung::Utf8 && m_inhalt.startsWith("\xEF\xBB\xBF"))
        pos = 3;

    // Trims blanks at both ends of [a, e) in place.
    const auto trimmen = [d](qsizetype& a, qsizetype& e) {
        while (a < e && istLeerzeichen(d[a]))
            ++a;
        while (e > a && istLeerzeichen(d[e - 1]))
            --e;
    };

    while (pos < n) {
        Zeile z;
        z.anfang = pos;
        const qsizetype lf = m_inhalt.indexOf('\n', pos);
        z.ende = lf < 0 ? n : lf + 1;
        z.inhaltEnde = lf < 0 ? n : lf;
        if (z.inhaltEnde > z.anfang && d[z.inhaltEnde - 1] == '\r')
            --z.inhaltEnde;

        qsizetype a = z.anfang, e = z.inhaltEnde;
        trimmen(a, e);
        if (a < e && d[a] == ';') {
            z.art = Art::Kommentar;
        } else {
            qsizetype klammerZu = -1;
            if (a < e && d[a] == '[') {
                for (qsizetype i = e - 1; i > a; --i) {
                    if (d[i] == ']') {
                        klammerZu = i;
                        break;
                    }
                }
            }
            if (klammerZu > 0) {
                qsizetype na = a + 1, ne = klammerZu;
                trimmen(na, ne);
                z.art = Art::Abschnitt;
                z.name = Kodierung::dekodieren(d + na, ne - na, m_kodierung);
            } else {
                // A key ends at the first '=', so values may hold further ones.
                const qsizetype gleich = m_inhalt.indexOf('=', a);
                if (gleich >= 0 && gleich < e) {
                    qsizetype na = a, ne = gleich;
                    trimmen(na, ne);
                    z.art = Art::Schluessel;
                    z.gleich = gleich;
                    z.name = Kodierung::dekodieren(d + na, ne - na, m_kodierung);
                }
            }
        }
        m_zeilen.append(z);
        pos = z.ende;
    }
}

int ProfilDatei::abschnittFinden(const QString& name) const
{
    const QString gesucht = name.trimmed();
    for (int i = 0; i < m_zeilen.size(); ++i) {
        if (m_zeilen[i].art == Art::Abschnitt && gleicherName(m_zeilen[i].name, gesucht))
            return i;
    }
    return -1;
}

int ProfilDatei::abschnittEnde(int kopfZeile) const
{
    int i = kopfZeile + 1;
    while (i < m_zeilen.size() && m_zeilen[i].art != Art::Abschnitt)
        ++i;
    return i;
}

QString ProfilDatei::wertText(const Zeile& zeile) const
{
    const char* d = m_inhalt.constData();
    qsizetype a = zeile.gleich + 1, e = zeile.inhaltEnde;
    while (a < e && istLeerzeichen(d[a]))
        ++a;
    while (e > a && istLeerzeichen(d[e - 1]))
        --e;
    // One pair of matching outer quotes is dropped, as Windows does for "..." and '...'.
    if (e - a >= 2 && (d[a] == '"' || d[a] == '\'') && d[e - 1] == d[a]) {
        ++a;
        --e;
    }
    return Kodierung::dekodieren(d + a, e - a, m_kodierung);
}

std::optional<QString> ProfilDatei::wert(const QString& abschnitt, const QString& schluessel) const
{
    const int kopf = abschnittFinden(abschnitt);
    if (kopf < 0)
        return std::nullopt;
    const QString gesucht = schluessel.trimmed();
    const int ende = abschnittEnde(kopf);
    for (int i = kopf + 1; i < ende; ++i) {
        if (m_zeilen[i].art == Art::Schluessel && gleicherName(m_zeilen[i].name, gesucht))
            return wertText(m_zeilen[i]);
    }
    return std::nullopt;
}

QByteArray ProfilDatei::zeilenEnde() const
{
    // New lines follow the file's own line ends; new files get those of Windows.
    const qsizetype lf = m_inhalt.indexOf('\n');
    if (lf < 0 || (lf > 0 && m_inhalt.at(lf - 1) == '\r'))
        return QByteArrayLiteral("\r\n");
    return QByteArrayLiteral("\n");
}

QByteArray ProfilDatei::kodiert(const QString& text) const
{
    // The caller has made sure the text fits the encoding.
    return Kodierung::kodieren(text, m_kodierung).value_or(QByteArray());
}

void ProfilDatei::setzen(const QString& abschnitt, const QString& schluessel, const QString& wert)
{
    const QString name = schluessel.trimmed();
    const QByteArray le = zeilenEnde();
    const QByteArray neueZeile = kodiert(name) + '=' + kodiert(wert) + le;

    const int kopf = abschnittFinden(abschnitt);
    if (kopf < 0) {
        QByteArray anhang;
        if (!m_inhalt.isEmpty() && !m_inhalt.endsWith('\n'))
            anhang += le;
        anhang += '[' + kodiert(abschnitt.trimmed()) + ']' + le + neueZeile;
        m_inhalt += anhang;
    } else {
        const int ende = abschnittEnde(kopf);
        int letzte = kopf;
        for (int i = kopf + 1; i < ende; ++i) {
            const Zeile& z = m_zeilen[i];
            if (z.art != Art::Schluessel)
                continue;
            if (gleicherName(z.name, name)) {
                // The key keeps its spelling, its blanks and its line end; only the value changes.
                qsizetype a = z.gleich + 1;
                while (a < z.inhaltEnde && istLeerzeichen(m_inhalt.at(a)))
                    ++a;
                m_inhalt.replace(a, z.inhaltEnde - a, kodiert(wert));
                m_zeilen.clear();
                zerlegen();
                return;
            }
            letzte = i;
        }
        const Zeile& nach = m_zeilen[letzte];
        QByteArray einfuegen;
        if (m_inhalt.at(nach.ende - 1) != '\n')   // the last line of a file without final line end
            einfuegen += le;
        einfuegen += neueZeile;
        m_inhalt.insert(nach.ende, einfuegen);
    }
    m_zeilen.clear();
    zerlegen();
}
