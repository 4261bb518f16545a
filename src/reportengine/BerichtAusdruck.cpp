#include "BerichtAusdruck.h"

#include "Fehler.h"
#include "Textform.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace {

QString ohneAnfuehrung(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

const QLocale& deutsch()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

} // namespace

TBerichtAusdruck::TBerichtAusdruck(const QString& text) : m_quelltext(text)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype auf = text.indexOf(QLatin1Char('['), pos);
        if (auf < 0) {
            m_teile.push_back({Art::Text, text.mid(pos), {}, {}});
            break;
        }
        if (auf > pos)
            m_teile.push_back({Art::Text, text.mid(pos, auf - pos), {}, {}});
        const qsizetype zu = text.indexOf(QLatin1Char(']'), auf);
        if (zu < 0)
            throw Fehler(QStringLiteral("Im Ausdruck \"%1\" fehlt die schließende Klammer.").arg(text));
        const QString innen = text.mid(auf + 1, zu - auf - 1).trimmed();
        const QString gross = innen.toUpper();
        if (gross == QLatin1String("DATE")) {
            m_teile.push_back({Art::Datum, {}, {}, {}});
        } else if (gross == QLatin1String("PAGE#")) {
            m_teile.push_back({Art::Seite, {}, {}, {}});
            m_seitenabhaengig = true;
        } else if (gross == QLatin1String("TOTALPAGES#")) {
            m_teile.push_back({Art::Seiten, {}, {}, {}});
            m_seitenabhaengig = true;
        } else {
            const qsizetype punkt = innen.indexOf(QLatin1Char('.'));
            const QString datenmenge = punkt < 0 ? QString() : ohneAnfuehrung(innen.left(punkt));
            const QString feld = punkt < 0 ? QString() : ohneAnfuehrung(innen.mid(punkt + 1));
            if (datenmenge.isEmpty() || feld.isEmpty())
                throw Fehler(QStringLiteral("Der Ausdruck \"[%1]\" ist unbekannt.").arg(innen));
            m_teile.push_back({Art::Feld, {}, datenmenge, feld});
        }
        pos = zu + 1;
    }
}

QStringList TBerichtAusdruck::Vorbereiten(const FeldWert& wert, const QDate& datum) const
{
    QStringList texte;
    texte.reserve(qsizetype(m_teile.size()));
    for (const Teil& t : m_teile) {
        switch (t.art) {
        case Art::Text: texte << t.text; break;
        case Art::Feld: texte << WertText(wert(t.datenmenge, t.feld)); break;
        case Art::Datum: texte << WertText(datum); break;
        case Art::Seite:
        case Art::Seiten: texte << QString(); break;
        }
    }
    return texte;
}

QString TBerichtAusdruck::Text(const FeldWert& wert, const QDate& datum) const
{
    // Most objects print one field: no list in between.
    if (m_teile.size() == 1 && m_teile.front().art == Art::Feld)
        return WertText(wert(m_teile.front().datenmenge, m_teile.front().feld));
    return Vorbereiten(wert, datum).join(QString());
}

QString TBerichtAusdruck::Zusammensetzen(const QStringList& vorbereitet, int seite, int seiten) const
{
    QString text;
    for (size_t i = 0; i < m_teile.size(); ++i) {
        switch (m_teile[i].art) {
        case Art::Seite: text += QString::number(seite); break;
        case Art::Seiten: text += QString::number(seiten); break;
        default:
            if (qsizetype(i) < vorbereitet.size())
                text += vorbereitet[qsizetype(i)];
            break;
        }
    }
    return text;
}

QString TBerichtAusdruck::WertText(const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return QString();
    switch (wert.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Textform::datum(wert);
    case QMetaType::Double:
    case QMetaType::Float:
        return deutsch().toString(wert.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return wert.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    default:
        return wert.toString();
    }
}
