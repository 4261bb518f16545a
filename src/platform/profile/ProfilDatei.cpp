#include "ProfilDatei.h"

#include <cstring>

namespace {

bool istLeerzeichen(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// Names match without regard to case, as QString::compare with Qt::CaseInsensitive does.
QString gefaltet(QString name)
{
    return std::move(name).toCaseFolded();
}

} // namespace

ProfilDatei::ProfilDatei(const QByteArray& dateiInhalt, std::optional<ProfilKodierung> bisher)
    : m_kodierung(Kodierung::erkennen(dateiInhalt))
{
    if (Kodierung::istUtf16(m_kodierung)) {
        m_kopf = dateiInhalt.first(2);
        const qsizetype laenge = (dateiInhalt.size() - 2) & ~qsizetype(1);
        m_rest = dateiInhalt.sliced(2 + laenge);
        m_text = Kodierung::utf16NachUtf8(dateiInhalt.constData() + 2, laenge,
                                          m_kodierung == ProfilKodierung::Utf16BE);
    } else {
        m_text = dateiInhalt;
        if (m_kodierung == ProfilKodierung::Utf8 && bisher == ProfilKodierung::Windows1252
            && !m_text.startsWith("\xEF\xBB\xBF"))
            m_kodierung = ProfilKodierung::Windows1252;
    }
    zerlegen();
}

QByteArray ProfilDatei::dateiInhalt() const
{
    if (!Kodierung::istUtf16(m_kodierung))
        return m_text;
    return m_kopf + Kodierung::utf8NachUtf16(m_text, m_kodierung == ProfilKodierung::Utf16BE) + m_rest;
}

std::optional<ProfilKodierung> ProfilDatei::festeKodierung() const
{
    if (m_kodierung == ProfilKodierung::Windows1252 && m_nurAscii)
        return std::nullopt;
    return m_kodierung;
}

void ProfilDatei::zerlegen()
{
    m_zeilen.clear();
    m_abschnitte.clear();
    m_schluessel.clear();
    m_nurAscii = Kodierung::istAscii(m_text);
    const ProfilKodierung innere = Kodierung::innere(m_kodierung);

    const char* d = m_text.constData();
    const qsizetype n = m_text.size();
    qsizetype pos = 0;
    if (innere == ProfilKodierung::Utf8 && m_text.startsWith("\xEF\xBB\xBF"))
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
        const auto* lf = static_cast<const char*>(std::memchr(d + pos, '\n', size_t(n - pos)));
        z.inhaltEnde = lf ? lf - d : n;
        z.ende = lf ? z.inhaltEnde + 1 : n;
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
                z.nameAnfang = a + 1;
                z.nameEnde = klammerZu;
                trimmen(z.nameAnfang, z.nameEnde);
                z.art = Art::Abschnitt;
                if (const QString gesucht = gefaltet(name(z)); !m_abschnitte.contains(gesucht))
                    m_abschnitte.insert(gesucht, int(m_zeilen.size()));
            } else if (const auto* gleich = static_cast<const char*>(std::memchr(d + a, '=', size_t(e - a)))) {
                // A key ends at the first '=', so values may hold further ones.
                z.art = Art::Schluessel;
                z.gleich = gleich - d;
                z.nameAnfang = a;
                z.nameEnde = z.gleich;
                trimmen(z.nameAnfang, z.nameEnde);
            }
        }
        m_zeilen.append(z);
        pos = z.ende;
    }
}

QString ProfilDatei::name(const Zeile& zeile) const
{
    return Kodierung::dekodieren(m_text.constData() + zeile.nameAnfang, zeile.nameEnde - zeile.nameAnfang,
                                 Kodierung::innere(m_kodierung));
}

int ProfilDatei::abschnittFinden(const QString& name) const
{
    return m_abschnitte.value(gefaltet(name.trimmed()), -1);
}

int ProfilDatei::abschnittEnde(int kopfZeile) const
{
    int i = kopfZeile + 1;
    while (i < m_zeilen.size() && m_zeilen[i].art != Art::Abschnitt)
        ++i;
    return i;
}

int ProfilDatei::schluesselFinden(int kopfZeile, const QString& name) const
{
    auto index = m_schluessel.find(kopfZeile);
    if (index == m_schluessel.end()) {
        // Built when the section is first asked for: most sections of a large file never are.
        QHash<QString, int> schluessel;
        const int ende = abschnittEnde(kopfZeile);
        schluessel.reserve(ende - kopfZeile);
        for (int i = kopfZeile + 1; i < ende; ++i) {
            if (m_zeilen[i].art != Art::Schluessel)
                continue;
            if (const QString gesucht = gefaltet(this->name(m_zeilen[i])); !schluessel.contains(gesucht))
                schluessel.insert(gesucht, i);
        }
        index = m_schluessel.insert(kopfZeile, schluessel);
    }
    return index->value(gefaltet(name.trimmed()), -1);
}

QString ProfilDatei::wertText(const Zeile& zeile) const
{
    const char* d = m_text.constData();
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
    return Kodierung::dekodieren(d + a, e - a, Kodierung::innere(m_kodierung));
}

std::optional<QString> ProfilDatei::wert(const QString& abschnitt, const QString& schluessel) const
{
    const int kopf = abschnittFinden(abschnitt);
    if (kopf < 0)
        return std::nullopt;
    const int zeile = schluesselFinden(kopf, schluessel);
    if (zeile < 0)
        return std::nullopt;
    return wertText(m_zeilen[zeile]);
}

qsizetype ProfilDatei::wertAnfang(const Zeile& zeile) const
{
    qsizetype a = zeile.gleich + 1;
    while (a < zeile.inhaltEnde && istLeerzeichen(m_text.at(a)))
        ++a;
    return a;
}

bool ProfilDatei::enthaelt(const QString& abschnitt, const QString& schluessel, const QString& wert) const
{
    const int kopf = abschnittFinden(abschnitt);
    const int zeile = kopf < 0 ? -1 : schluesselFinden(kopf, schluessel);
    if (zeile < 0)
        return false;
    const Zeile& z = m_zeilen[zeile];
    const auto neu = Kodierung::kodieren(wert, Kodierung::innere(m_kodierung));
    const qsizetype a = wertAnfang(z);
    // A last line without line end changes when written: it gets one.
    return neu && m_text.at(z.ende - 1) == '\n' && QByteArrayView(m_text).sliced(a, z.inhaltEnde - a) == *neu;
}

bool ProfilDatei::kodierungFuer(const QStringList& texte)
{
    const auto passen = [&texte](ProfilKodierung kodierung) {
        for (const QString& text : texte) {
            if (!Kodierung::kodieren(text, Kodierung::innere(kodierung)))
                return false;
        }
        return true;
    };
    if (passen(m_kodierung))
        return true;
    if (m_kodierung == ProfilKodierung::Windows1252 && m_nurAscii && passen(ProfilKodierung::Utf8)) {
        m_kodierung = ProfilKodierung::Utf8;
        return true;
    }
    return false;
}

QByteArray ProfilDatei::zeilenEnde() const
{
    // New lines follow the file's own line ends; new files get those of Windows.
    const qsizetype lf = m_text.indexOf('\n');
    if (lf < 0 || (lf > 0 && m_text.at(lf - 1) == '\r'))
        return QByteArrayLiteral("\r\n");
    return QByteArrayLiteral("\n");
}

QByteArray ProfilDatei::kodiert(const QString& text) const
{
    // The caller has made sure the text fits the encoding.
    return Kodierung::kodieren(text, Kodierung::innere(m_kodierung)).value_or(QByteArray());
}

bool ProfilDatei::setzen(const QString& abschnitt, const QString& schluessel, const QString& wert)
{
    if (enthaelt(abschnitt, schluessel, wert))
        return false;
    const QString name = schluessel.trimmed();
    const QByteArray le = zeilenEnde();

    const int kopf = abschnittFinden(abschnitt);
    if (kopf < 0) {
        if (!m_text.isEmpty() && !m_text.endsWith('\n'))
            m_text += le;
        m_text += '[' + kodiert(abschnitt.trimmed()) + ']' + le + kodiert(name) + '=' + kodiert(wert) + le;
        zerlegen();
        return true;
    }

    if (const int vorhanden = schluesselFinden(kopf, name); vorhanden >= 0) {
        // The key keeps its spelling, its blanks and its line end; only the value changes. The
        // last line of a file without a final line end gets one, as Windows writes it.
        const Zeile& z = m_zeilen[vorhanden];
        const qsizetype a = wertAnfang(z);
        const QByteArray neu = kodiert(wert);
        if (m_text.at(z.ende - 1) == '\n')
            m_text.replace(a, z.inhaltEnde - a, neu);
        else
            m_text.replace(a, z.ende - a, neu + le);
        zerlegen();
        return true;
    }

    int letzte = kopf;
    const int ende = abschnittEnde(kopf);
    for (int i = kopf + 1; i < ende; ++i) {
        if (m_zeilen[i].art == Art::Schluessel)
            letzte = i;
    }
    const Zeile& nach = m_zeilen[letzte];
    QByteArray einfuegen;
    if (m_text.at(nach.ende - 1) != '\n')   // the last line of a file without final line end
        einfuegen += le;
    einfuegen += kodiert(name) + '=' + kodiert(wert) + le;
    m_text.insert(nach.ende, einfuegen);
    zerlegen();
    return true;
}
