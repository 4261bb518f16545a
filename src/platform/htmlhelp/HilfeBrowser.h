#pragma once

#include <QTextBrowser>

class ChmDatei;

// Shows the topics of a compiled help file: pages, pictures and style sheets come straight out
// of the file under addresses "chm:/folder/page.htm"; texts are decoded by the page's charset,
// else by the file's language. Links to the web open in the desktop's browser.
class HilfeBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    HilfeBrowser(const ChmDatei& datei, QWidget* eltern = nullptr);

    // The address of a stored name.
    static QUrl adresse(const QString& name);
    // The text of a stored page, decoded.
    QString seitenText(const QString& name) const;

    QVariant loadResource(int typ, const QUrl& url) override;

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType typ) override;

private:
    QString gespeicherterName(const QUrl& url) const;

    const ChmDatei& m_datei;
};
