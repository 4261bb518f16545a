#include "HilfeBrowser.h"

#include "ChmDatei.h"
#include "Zeichensatz.h"

#include <QDesktopServices>

HilfeBrowser::HilfeBrowser(const ChmDatei& datei, QWidget* eltern)
    : QTextBrowser(eltern), m_datei(datei)
{
    // Links are followed here; only web addresses leave the help (doSetSource).
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QUrl HilfeBrowser::adresse(const QString& name)
{
    QUrl url;
    url.setScheme(QStringLiteral("chm"));
    const qsizetype anker = name.indexOf(QLatin1Char('#'));
    url.setPath(anker < 0 ? name : name.left(anker));
    if (anker >= 0)
        url.setFragment(name.mid(anker + 1));
    return url;
}

QString HilfeBrowser::seitenText(const QString& name) const
{
    const QByteArray bytes = m_datei.lesen(name);
    QByteArray zeichensatz = Zeichensatz::ausSeite(bytes);
    if (zeichensatz.isEmpty())
        zeichensatz = m_datei.zeichensatz();
    return Zeichensatz::dekodieren(bytes, zeichensatz);
}

QString HilfeBrowser::gespeicherterName(const QUrl& url) const
{
    QUrl ziel = url;
    if (ziel.isRelative())
        ziel = source().resolved(ziel);
    QString name = ziel.scheme() == QLatin1String("chm") ? ziel.path() : ziel.toString(QUrl::RemoveFragment);
    return m_datei.namensAufloesung(name);
}

QVariant HilfeBrowser::loadResource(int typ, const QUrl& url)
{
    const QString name = gespeicherterName(url);
    if (name.isEmpty())
        return {};
    if (typ == QTextDocument::HtmlResource || typ == QTextDocument::StyleSheetResource)
        return seitenText(name);
    return m_datei.lesen(name);
}

void HilfeBrowser::doSetSource(const QUrl& verweis, QTextDocument::ResourceType typ)
{
    // A relative link is relative to the page shown.
    const QUrl url = verweis.isRelative() && source().isValid() ? source().resolved(verweis) : verweis;
    const QString schema = url.scheme().toLower();
    if (schema == QLatin1String("http") || schema == QLatin1String("https")
        || schema == QLatin1String("mailto") || schema == QLatin1String("ftp")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (schema == QLatin1String("javascript"))
        return;
    if (schema == QLatin1String("chm") || schema.isEmpty()) {
        QTextBrowser::doSetSource(url, typ);
        return;
    }
    // "ms-its:Datei.chm::/seite.htm" and "mk:@MSITStore:…::/seite.htm" point into a help file;
    // ours is the only one there is.
    const QString text = url.toString();
    const qsizetype trenner = text.indexOf(QLatin1String("::"));
    if (trenner >= 0) {
        const QString name = m_datei.namensAufloesung(text.mid(trenner + 2));
        if (!name.isEmpty()) {
            QUrl ziel = adresse(name);
            const qsizetype anker = text.indexOf(QLatin1Char('#'), trenner);
            if (anker >= 0)
                ziel.setFragment(text.mid(anker + 1));
            QTextBrowser::doSetSource(ziel, typ);
        }
    }
}
