#include "Inhaltsverzeichnis.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

QHash<QString, QString> attribute(const QString& text)
{
    static const QRegularExpression muster(
        QStringLiteral("([A-Za-z_:-]+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"));
    QHash<QString, QString> ergebnis;
    for (auto it = muster.globalMatch(text); it.hasNext();) {
        const auto t = it.next();
        QString wert = t.captured(2);
        if (wert.isNull())
            wert = t.captured(3);
        if (wert.isNull())
            wert = t.captured(4);
        ergebnis.insert(t.captured(1).toLower(), wert);
    }
    return ergebnis;
}

QString entitaetenAufloesen(const QString& wert)
{
    if (!wert.contains(QLatin1Char('&')))
        return wert;
    return QTextDocumentFragment::fromHtml(wert).toPlainText();
}

} // namespace

QList<HilfeEintrag> InhaltsverzeichnisLesen(const QString& html)
{
    static const QRegularExpression kommentar(QStringLiteral("<!--.*?-->"),
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression marke(QStringLiteral("<\\s*(/?)\\s*([A-Za-z]+)([^>]*)>"));
    QString text = html;
    text.remove(kommentar);

    QList<HilfeEintrag> wurzel;
    // The lists new entries go into: the root first, then the children of the entry a nested
    // list belongs to.
    QList<QList<HilfeEintrag>*> ebenen{&wurzel};
    HilfeEintrag eintrag;
    bool imObjekt = false;
    for (auto it = marke.globalMatch(text); it.hasNext();) {
        const auto t = it.next();
        const bool ende = !t.captured(1).isEmpty();
        const QString tag = t.captured(2).toLower();
        if (tag == QLatin1String("ul")) {
            if (ende) {
                if (ebenen.size() > 1)
                    ebenen.removeLast();
            } else {
                QList<HilfeEintrag>* oben = ebenen.last();
                // A list right after an entry holds that entry's children; the outermost list
                // (or a stray one) adds to the level it stands in.
                ebenen.append(oben->isEmpty() ? oben : &oben->last().kinder);
            }
        } else if (tag == QLatin1String("object")) {
            if (!ende) {
                const auto a = attribute(t.captured(3));
                imObjekt = a.value(QStringLiteral("type")).compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
                eintrag = HilfeEintrag();
            } else if (imObjekt) {
                imObjekt = false;
                if (!eintrag.name.isEmpty() || !eintrag.ziele.isEmpty())
                    ebenen.last()->append(eintrag);
            }
        } else if (tag == QLatin1String("param") && imObjekt) {
            const auto a = attribute(t.captured(3));
            const QString name = a.value(QStringLiteral("name")).toLower();
            const QString wert = entitaetenAufloesen(a.value(QStringLiteral("value")));
            // An index keyword lists its topics as "Name"/"Local" pairs; the first name is the
            // keyword's own.
            if (name == QLatin1String("name") && eintrag.name.isEmpty())
                eintrag.name = wert;
            else if (name == QLatin1String("local") && !wert.isEmpty())
                eintrag.ziele.append(wert);
        }
    }
    return wurzel;
}
