#include "HilfeFenster.h"

#include "ChmDatei.h"
#include "HilfeBrowser.h"
#include "Inhaltsverzeichnis.h"
#include "Volltextsuche.h"
#include "Zeichensatz.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ZielRolle = Qt::UserRole;

QString textDerDatei(const ChmDatei& datei, const QString& name)
{
    const QByteArray bytes = datei.lesen(name);
    QByteArray zeichensatz = Zeichensatz::ausSeite(bytes);
    if (zeichensatz.isEmpty())
        zeichensatz = datei.zeichensatz();
    return Zeichensatz::dekodieren(bytes, zeichensatz);
}

QWidget* spalte(QWidget* oben, QWidget* unten, QWidget* dazu = nullptr)
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(oben);
    if (dazu)
        layout->addWidget(dazu);
    layout->addWidget(unten, 1);
    return w;
}

} // namespace

HilfeFenster::HilfeFenster(std::unique_ptr<ChmDatei> datei, QWidget* eltern)
    : QMainWindow(eltern), m_datei(std::move(datei)), m_suche(std::make_unique<Volltextsuche>(*m_datei))
{
    setObjectName(QStringLiteral("HilfeFenster"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_datei->titel().isEmpty() ? QStringLiteral("Hilfe") : m_datei->titel());
    resize(900, 650);

    m_browser = new HilfeBrowser(*m_datei);
    m_browser->setObjectName(QStringLiteral("HilfeBrowser"));

    m_inhalt = new QTreeWidget;
    m_inhalt->setObjectName(QStringLiteral("HilfeInhalt"));
    m_inhalt->setHeaderHidden(true);
    m_indexfeld = new QLineEdit;
    m_indexfeld->setObjectName(QStringLiteral("HilfeIndexFeld"));
    m_indexfeld->setPlaceholderText(QStringLiteral("Stichwort eingeben"));
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("HilfeIndex"));
    m_suchfeld = new QLineEdit;
    m_suchfeld->setObjectName(QStringLiteral("HilfeSuchfeld"));
    m_suchfeld->setPlaceholderText(QStringLiteral("Gesuchte Wörter"));
    auto* suchknopf = new QPushButton(QStringLiteral("Themen &auflisten"));
    m_suchergebnis = new QListWidget;
    m_suchergebnis->setObjectName(QStringLiteral("HilfeSuchergebnis"));

    m_seiten = new QTabWidget;
    m_seiten->addTab(m_inhalt, QStringLiteral("&Inhalt"));
    m_seiten->addTab(spalte(m_indexfeld, m_index), QStringLiteral("I&ndex"));
    m_seiten->addTab(spalte(m_suchfeld, m_suchergebnis, suchknopf), QStringLiteral("&Suchen"));

    auto* teiler = new QSplitter;
    teiler->addWidget(m_seiten);
    teiler->addWidget(m_browser);
    teiler->setStretchFactor(1, 1);
    teiler->setSizes({260, 640});
    setCentralWidget(teiler);

    auto* leiste = addToolBar(QStringLiteral("Hilfe"));
    leiste->setMovable(false);
    leiste->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto* zurueck = leiste->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zurück"));
    auto* vor = leiste->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vorwärts"));
    auto* start = leiste->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Startseite"));
    zurueck->setEnabled(false);
    vor->setEnabled(false);
    connect(zurueck, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(vor, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(start, &QAction::triggered, this, [this] { seiteZeigen({}); });
    connect(m_browser, &QTextBrowser::backwardAvailable, zurueck, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, vor, &QAction::setEnabled);

    m_hinweis = new QLabel;
    m_hinweis->setObjectName(QStringLiteral("HilfeHinweis"));
    statusBar()->addWidget(m_hinweis, 1);

    auto oeffnen = [this](const QVariant& ziel) {
        if (ziel.isValid() && !ziel.toString().isEmpty())
            seiteZeigen(ziel.toString());
    };
    connect(m_inhalt, &QTreeWidget::itemActivated, this, [=](QTreeWidgetItem* e) { oeffnen(e->data(0, ZielRolle)); });
    connect(m_inhalt, &QTreeWidget::itemClicked, this, [=](QTreeWidgetItem* e) { oeffnen(e->data(0, ZielRolle)); });
    connect(m_index, &QListWidget::itemActivated, this, [=](QListWidgetItem* e) { oeffnen(e->data(ZielRolle)); });
    connect(m_index, &QListWidget::itemClicked, this, [=](QListWidgetItem* e) { oeffnen(e->data(ZielRolle)); });
    connect(m_suchergebnis, &QListWidget::itemActivated, this, [=](QListWidgetItem* e) { oeffnen(e->data(ZielRolle)); });
    connect(m_suchergebnis, &QListWidget::itemClicked, this, [=](QListWidgetItem* e) { oeffnen(e->data(ZielRolle)); });
    connect(m_indexfeld, &QLineEdit::textChanged, this, &HilfeFenster::indexFiltern);
    connect(m_suchfeld, &QLineEdit::returnPressed, this, &HilfeFenster::suchen);
    connect(suchknopf, &QPushButton::clicked, this, &HilfeFenster::suchen);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString titel = m_browser->documentTitle();
        setWindowTitle(titel.isEmpty() ? m_datei->titel() : m_datei->titel() + QStringLiteral(" – ") + titel);
    });

    if (!m_datei->inhaltsdatei().isEmpty())
        inhaltAufbauen(InhaltsverzeichnisLesen(textDerDatei(*m_datei, m_datei->inhaltsdatei())), nullptr);
    m_inhalt->expandToDepth(0);
    indexAufbauen();
}

HilfeFenster::~HilfeFenster() = default;

void HilfeFenster::inhaltAufbauen(const QList<HilfeEintrag>& eintraege, QTreeWidgetItem* eltern)
{
    for (const HilfeEintrag& e : eintraege) {
        auto* knoten = eltern ? new QTreeWidgetItem(eltern) : new QTreeWidgetItem(m_inhalt);
        knoten->setText(0, e.name);
        if (!e.ziele.isEmpty())
            knoten->setData(0, ZielRolle, e.ziele.first());
        inhaltAufbauen(e.kinder, knoten);
    }
}

void HilfeFenster::indexAufbauen()
{
    if (m_datei->indexdatei().isEmpty())
        return;
    std::function<void(const QList<HilfeEintrag>&, const QString&)> eintragen =
        [&](const QList<HilfeEintrag>& eintraege, const QString& vorne) {
            for (const HilfeEintrag& e : eintraege) {
                const QString name = vorne.isEmpty() ? e.name : vorne + QStringLiteral(", ") + e.name;
                if (!e.ziele.isEmpty()) {
                    auto* zeile = new QListWidgetItem(name, m_index);
                    zeile->setData(ZielRolle, e.ziele.first());
                }
                eintragen(e.kinder, name);
            }
        };
    eintragen(InhaltsverzeichnisLesen(textDerDatei(*m_datei, m_datei->indexdatei())), {});
    m_index->sortItems();
}

void HilfeFenster::indexFiltern(const QString& text)
{
    // Jumps to the first keyword that begins with the text, as the index of a help viewer does.
    const QString gesucht = text.toCaseFolded();
    for (int i = 0; i < m_index->count(); ++i) {
        if (m_index->item(i)->text().toCaseFolded().startsWith(gesucht)) {
            m_index->setCurrentRow(i);
            m_index->scrollToItem(m_index->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HilfeFenster::suchen()
{
    m_suchergebnis->clear();
    const auto treffer = m_suche->suchen(m_suchfeld->text());
    for (const auto& t : treffer) {
        auto* zeile = new QListWidgetItem(t.titel, m_suchergebnis);
        zeile->setData(ZielRolle, t.name);
    }
    m_hinweis->setText(m_suchfeld->text().trimmed().isEmpty()
                           ? QString()
                           : QStringLiteral("%1 Themen gefunden").arg(treffer.size()));
}

QString HilfeFenster::startseite() const
{
    if (!m_datei->startseite().isEmpty())
        return m_datei->startseite();
    for (const QString& name : m_datei->dateien())
        if (name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) || name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            return name;
    return {};
}

void HilfeFenster::seiteZeigen(const QString& name)
{
    QString ziel = name.isEmpty() ? startseite() : name;
    const qsizetype anker = ziel.indexOf(QLatin1Char('#'));
    const QString stamm = m_datei->namensAufloesung(anker < 0 ? ziel : ziel.left(anker));
    if (stamm.isEmpty()) {
        m_hinweis->setText(QStringLiteral("Die Seite %1 ist in der Hilfedatei nicht enthalten.").arg(ziel));
        return;
    }
    m_browser->setSource(HilfeBrowser::adresse(anker < 0 ? stamm : stamm + ziel.mid(anker)));
}

bool HilfeFenster::kontextZeigen(quint32 kontext)
{
    const QString thema = m_datei->themaZuKontext(kontext);
    if (thema.isEmpty()) {
        seiteZeigen({});
        m_hinweis->setText(QStringLiteral("Zum Hilfethema %1 gibt es keine Seite; die Startseite wird gezeigt.").arg(kontext));
        return false;
    }
    m_hinweis->clear();
    seiteZeigen(thema);
    return true;
}

QString HilfeFenster::hinweis() const
{
    return m_hinweis->text();
}

void HilfeFenster::closeEvent(QCloseEvent* ereignis)
{
    emit geschlossen(geometry());
    QMainWindow::closeEvent(ereignis);
}
