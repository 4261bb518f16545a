#pragma once

#include <QMainWindow>

#include <memory>

class ChmDatei;
class HilfeBrowser;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class Volltextsuche;
struct HilfeEintrag;

// The help window for one compiled help file: contents, index and full-text search on the
// left, the topic on the right, back/forward/start page in the tool bar.
class HilfeFenster : public QMainWindow
{
    Q_OBJECT

public:
    // The file must be open (ChmDatei::offen()).
    explicit HilfeFenster(std::unique_ptr<ChmDatei> datei, QWidget* eltern = nullptr);
    ~HilfeFenster() override;

    const ChmDatei& datei() const { return *m_datei; }
    HilfeBrowser* browser() const { return m_browser; }

    // Shows the topic of a context number; an unmapped number shows the start page and says
    // so in the window's message line. Returns whether the number was mapped.
    bool kontextZeigen(quint32 kontext);
    // Shows a stored page (the start page for an empty name).
    void seiteZeigen(const QString& name);
    QString hinweis() const;

    QTreeWidget* inhalt() const { return m_inhalt; }
    QLineEdit* suchfeld() const { return m_suchfeld; }
    QListWidget* suchergebnis() const { return m_suchergebnis; }
    void suchen();

signals:
    void geschlossen(const QRect& lage);

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void inhaltAufbauen(const QList<HilfeEintrag>& eintraege, QTreeWidgetItem* eltern);
    void indexAufbauen();
    void indexFiltern(const QString& text);
    QString startseite() const;

    std::unique_ptr<ChmDatei> m_datei;
    std::unique_ptr<Volltextsuche> m_suche;
    HilfeBrowser* m_browser;
    QTabWidget* m_seiten;
    QTreeWidget* m_inhalt;
    QLineEdit* m_indexfeld;
    QListWidget* m_index;
    QLineEdit* m_suchfeld;
    QListWidget* m_suchergebnis;
    QLabel* m_hinweis;
};
