#include "UnitEinstellungen.h"

#include "BefehlsKnopf.h"
#include "EigenschaftenEditor.h"
#include "Farben.h"
#include "GitterSpalte.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QFont schrift(int punkt, bool fett = false)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(punkt);
    f.setBold(fett);
    return f;
}

// A caption left of its control: bold, right-aligned, ending `abstand` pixels before it.
QLabel* beschriftung(QWidget* eltern, const QString& text, const QRect& steuerelement, int breite, int abstand = 9)
{
    auto* l = new QLabel(text, eltern);
    l->setFont(schrift(8, true));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wider than planned where the font is: the caption grows to the left, never cut.
    breite = std::max(breite, l->fontMetrics().horizontalAdvance(text) + 2);
    l->setGeometry(steuerelement.left() - abstand - breite, steuerelement.top(), breite, steuerelement.height());
    return l;
}

TSpinEdit* spinEdit(QWidget* eltern, const QString& name, const QRect& lage, int minimum, int maximum)
{
    auto* s = new TSpinEdit(eltern);
    s->setObjectName(name);
    s->setBereich(minimum, maximum);
    s->setGeometry(lage);
    return s;
}

// The title strip at the top of a page: a coloured strip along the page's width with the title
// in bold on white at its left.
void titelLeiste(QWidget* seite, const QString& titel)
{
    auto* leiste = new QWidget(seite);
    leiste->setObjectName(QStringLiteral("TitelLeiste"));
    leiste->setAutoFillBackground(true);
    QPalette p = leiste->palette();
    p.setColor(QPalette::Window, FarbeAusCode(10010070));
    leiste->setPalette(p);
    leiste->setGeometry(5, 8, 443, 16);
    auto* text = new QLabel(titel, leiste);
    text->setFont(schrift(10, true));
    text->setAutoFillBackground(true);
    QPalette w = text->palette();
    w.setColor(QPalette::Window, Qt::white);
    text->setPalette(w);
    text->move(8, 0);
    text->adjustSize();
    text->setFixedHeight(16);
    // Anchored right: the strip follows the page's width.
    struct Anker : QObject
    {
        QWidget* leiste;
        explicit Anker(QWidget* l) : QObject(l), leiste(l) {}
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Resize) {
                auto* seite = static_cast<QWidget*>(o);
                leiste->setFixedWidth(std::max(0, seite->width() - 10));
            }
            return false;
        }
    };
    seite->installEventFilter(new Anker(leiste));
}

QWidget* weisseSeite(const QString& name)
{
    auto* seite = new QWidget;
    seite->setObjectName(name);
    seite->setAutoFillBackground(true);
    QPalette p = seite->palette();
    p.setColor(QPalette::Window, Qt::white);
    seite->setPalette(p);
    return seite;
}

} // namespace

TFormEinstellungen::TFormEinstellungen(const QList<TGitterSpalte*>& spalten, QAction* speichern, QAction* beenden,
                                       QWidget* eltern)
    : QDialog(eltern), m_spalten(spalten)
{
    setObjectName(QStringLiteral("FormEinstellungen"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setFont(schrift(8));
    resize(657, 565);
    verzeichnisWahl = [](QWidget* w, const QString& start) {
        return QFileDialog::getExistingDirectory(w, QStringLiteral("Verzeichnis wählen"), start);
    };

    auto* links = new QWidget;
    links->setFixedWidth(185);
    auto* linksLayout = new QVBoxLayout(links);
    linksLayout->setContentsMargins(4, 4, 4, 4);
    TreeView1 = new QTreeWidget;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setFont(schrift(9));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setItemsExpandable(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setMouseTracking(true);   // hot tracking
    // The selection stays visible when the tree loses the focus.
    QPalette tp = TreeView1->palette();
    tp.setColor(QPalette::Inactive, QPalette::Highlight, tp.color(QPalette::Active, QPalette::Highlight));
    tp.setColor(QPalette::Inactive, QPalette::HighlightedText, tp.color(QPalette::Active, QPalette::HighlightedText));
    TreeView1->setPalette(tp);
    auto* knotenProgramm = new QTreeWidgetItem(TreeView1, {QStringLiteral("Programm")});
    new QTreeWidgetItem(TreeView1, {QStringLiteral("Verzeichnisse")});
    auto* knotenFenster = new QTreeWidgetItem(TreeView1, {QStringLiteral("Fenster")});
    new QTreeWidgetItem(knotenFenster, {QStringLiteral("Spalten Public View")});
    Q_UNUSED(knotenProgramm);
    linksLayout->addWidget(TreeView1);

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QWidget* seiten[] = {weisseSeite(QStringLiteral("TabSheetProgramm")), weisseSeite(QStringLiteral("TabSheetGrund")),
                         weisseSeite(QStringLiteral("TabSheetFenster")), weisseSeite(QStringLiteral("TabSheetSpaltenPublic"))};
    for (QWidget* s : seiten)
        PageControl1->addTab(s, s->objectName());
    seiteProgramm(seiten[0]);
    seiteVerzeichnisse(seiten[1]);
    seiteFenster(seiten[2]);
    seiteSpalten(seiten[3]);

    auto* unten = new QWidget;
    unten->setObjectName(QStringLiteral("PanelUnten"));
    unten->setFixedHeight(41);
    JvXPButton1 = new TBefehlsKnopf(speichern, unten);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    JvXPButton1->setGeometry(16, 5, 89, 30);
    BtnEnde = new TBefehlsKnopf(beenden, unten);
    BtnEnde->setObjectName(QStringLiteral("BtnEnde"));
    BtnEnde->setGeometry(520, 5, 113, 30);

    auto* mitte = new QHBoxLayout;
    mitte->setContentsMargins(0, 0, 0, 0);
    mitte->setSpacing(0);
    mitte->addWidget(links);
    mitte->addWidget(PageControl1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(mitte, 1);
    layout->addWidget(unten);

    // Each node shows the page at its place in the expanded tree.
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* knoten) {
        if (!knoten)
            return;
        int stelle = 0;
        for (QTreeWidgetItemIterator it(TreeView1); *it && *it != knoten; ++it)
            ++stelle;
        if (stelle < PageControl1->count())
            PageControl1->setCurrentIndex(stelle);
    });
}

void TFormEinstellungen::seiteProgramm(QWidget* seite)
{
    titelLeiste(seite, QStringLiteral(" Allgemeine Programmeinstellungen "));
    EditStatusAnzahl = spinEdit(seite, QStringLiteral("EditStatusAnzahl"), QRect(160, 64, 81, 21),
                                std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    ComboBoxStartAnsicht = new QComboBox(seite);
    ComboBoxStartAnsicht->setObjectName(QStringLiteral("ComboBoxStartAnsicht"));
    ComboBoxStartAnsicht->addItems({QStringLiteral("Edit View"), QStringLiteral("Public View")});
    ComboBoxStartAnsicht->setGeometry(160, 104, 169, 21);
    JvSpinEditHighValueBound = spinEdit(seite, QStringLiteral("JvSpinEditHighValueBound"), QRect(160, 160, 81, 21), 50, 100);
    // The lower bound may lie anywhere from 0 up to the upper bound; saving keeps it there.
    JvSpinEditLowValueBound = spinEdit(seite, QStringLiteral("JvSpinEditLowValueBound"), QRect(160, 184, 81, 21), 0, 100);
    ComboBoxAufgabenAutomatik = new QComboBox(seite);
    ComboBoxAufgabenAutomatik->setObjectName(QStringLiteral("ComboBoxAufgabenAutomatik"));
    ComboBoxAufgabenAutomatik->addItems({QStringLiteral("Manuell zuordnen"), QStringLiteral("Zuordnen nach Projektanlage"),
                                         QStringLiteral("Automatisch alle zuordnen")});
    ComboBoxAufgabenAutomatik->setGeometry(160, 232, 169, 21);
    beschriftung(seite, QStringLiteral("STATUS-ANZAHL"), EditStatusAnzahl->geometry(), 135);
    beschriftung(seite, QStringLiteral("STARTANSICHT"), ComboBoxStartAnsicht->geometry(), 135);
    beschriftung(seite, QStringLiteral("PROZENT OBERGRENZE"), JvSpinEditHighValueBound->geometry(), 135);
    beschriftung(seite, QStringLiteral("PROZENT UNTERGRENZE"), JvSpinEditLowValueBound->geometry(), 135);
    beschriftung(seite, QStringLiteral("AUFGABENAUTOMATIK"), ComboBoxAufgabenAutomatik->geometry(), 135);
}

void TFormEinstellungen::seiteVerzeichnisse(QWidget* seite)
{
    titelLeiste(seite, QStringLiteral(" Verzeichnisse "));
    struct Zeile
    {
        const char* titel;
        QLineEdit** edit;
        const char* editName;
        const char* knopfName;
        int y;
    };
    const Zeile zeilen[] = {
        {"PROGRAMM", &editProgverzeichnis, "editProgverzeichnis", "btnSucheProgverzeichnis", 64},
        {"DATEN", &editDBVerzeichnis, "editDBVerzeichnis", "BitBtn1", 104},
        {"ZENTORA", &editMasterverzeichnis, "editMasterverzeichnis", "btnSucheMasterverzeichnis", 144},
    };
    for (const Zeile& z : zeilen) {
        auto* edit = new QLineEdit(seite);
        edit->setObjectName(QLatin1String(z.editName));
        edit->setGeometry(96, z.y, 305, 21);
        *z.edit = edit;
        beschriftung(seite, QLatin1String(z.titel), edit->geometry(), 80, 10);
        auto* knopf = new QToolButton(seite);
        knopf->setObjectName(QLatin1String(z.knopfName));
        knopf->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        knopf->setIconSize(QSize(20, 20));
        knopf->setToolTip(QStringLiteral("Suche nach Verzeichnis"));
        knopf->setGeometry(408, z.y - 4, 30, 30);
        connect(knopf, &QToolButton::clicked, this, [this, edit] { verzeichnisSuchen(edit); });
    }
}

void TFormEinstellungen::seiteFenster(QWidget* seite)
{
    titelLeiste(seite, QStringLiteral(" Fenstersteuerung "));
    auto gruppe = [&](const QString& titel, int x, TSpinEdit** felder, const QString& kuerzel, QCheckBox** symbol,
                      const QString& symbolName) {
        auto* box = new QGroupBox(titel, seite);
        box->setFont(schrift(8, true));
        box->setGeometry(x, 48, 209, 393);
        const char* namen[] = {"Top", "Left", "Width", "Height"};
        const char* titelTexte[] = {"OBEN", "LINKS", "BREITE", "HÖHE"};
        for (int i = 0; i < 4; ++i) {
            felder[i] = spinEdit(box, QStringLiteral("Edit") + kuerzel + QLatin1String(namen[i]), QRect(88, 28 + 24 * i, 81, 21), 0, 5000);
            felder[i]->setFont(schrift(8));
            beschriftung(box, QString::fromUtf8(titelTexte[i]), felder[i]->geometry(), 64)->setFont(schrift(8));
        }
        *symbol = new QCheckBox(QStringLiteral("SYMBOLLEISTE SICHTBAR"), box);
        (*symbol)->setObjectName(symbolName);
        (*symbol)->setFont(schrift(8));
        (*symbol)->setGeometry(16, 136, 185, 17);
        return box;
    };
    TSpinEdit* ev[4];
    TSpinEdit* pv[4];
    gruppe(QStringLiteral(" EDIT VIEW "), 16, ev, QStringLiteral("EV"), &CheckBoxSymbolEditView, QStringLiteral("CheckBoxSymbolEditView"));
    QGroupBox* pvBox = gruppe(QStringLiteral(" PUBLIC VIEW "), 232, pv, QStringLiteral("PV"), &CheckBoxSymbolPublicView,
                              QStringLiteral("CheckBoxSymbolPublicView"));
    EditEVTop = ev[0], EditEVLeft = ev[1], EditEVWidth = ev[2], EditEVHeight = ev[3];
    EditPVTop = pv[0], EditPVLeft = pv[1], EditPVWidth = pv[2], EditPVHeight = pv[3];
    CheckBoxRefreshPublicView = new QCheckBox(QStringLiteral("AUTO REFRESH"), pvBox);
    CheckBoxRefreshPublicView->setObjectName(QStringLiteral("CheckBoxRefreshPublicView"));
    CheckBoxRefreshPublicView->setFont(schrift(8));
    CheckBoxRefreshPublicView->setGeometry(16, 160, 185, 17);
    EditPVRefresh = spinEdit(pvBox, QStringLiteral("EditPVRefresh"), QRect(104, 180, 65, 21), 1, 1000);
    EditPVRefresh->setFont(schrift(8));
    beschriftung(pvBox, QStringLiteral("INTERVALL [s]"), EditPVRefresh->geometry(), 80)->setFont(schrift(8));
}

void TFormEinstellungen::seiteSpalten(QWidget* seite)
{
    titelLeiste(seite, QStringLiteral(" Spalten - Public View "));
    ListBoxSpaltenPublic = new QListWidget(seite);
    ListBoxSpaltenPublic->setObjectName(QStringLiteral("ListBoxSpaltenPublic"));
    ListBoxSpaltenPublic->setFont(schrift(9));
    ListBoxSpaltenPublic->setGeometry(16, 48, 121, 209);
    for (const char* name : {"PROJEKT", "BEZEICHNUNG", "BAUSTELLE", "BETREFF", "MITARBEITER", "AUFGABE", "DATUM",
                             "A-STATUS", "STATUS"}) {
        auto* zeile = new QListWidgetItem(QLatin1String(name), ListBoxSpaltenPublic);
        zeile->setSizeHint(QSize(0, 18));
    }
    NextInspectorSpaltenPublic = new TEigenschaftenEditor(seite);
    NextInspectorSpaltenPublic->setObjectName(QStringLiteral("NextInspectorSpaltenPublic"));
    NextInspectorSpaltenPublic->setGeometry(152, 48, 289, 209);
    connect(ListBoxSpaltenPublic, &QListWidget::currentRowChanged, this, [this](int zeile) {
        if (zeile >= 0)
            spalteZeigen(zeile);
    });
    spalteZeigen(0);
}

void TFormEinstellungen::spalteZeigen(int zeile)
{
    TGitterSpalte* spalte = m_spalten.value(zeile);
    m_gezeigt = spalte;
    TEigenschaftenEditor* e = NextInspectorSpaltenPublic;
    e->leeren();
    if (!spalte)
        return;
    // The rank column has a blank caption; the list's name says which one it is.
    const QString name = ListBoxSpaltenPublic->item(zeile)->text();
    QTreeWidgetItem* kopf = e->anzeige(QStringLiteral("Spalte"), [name] { return name; }, nullptr, true);
    e->text(QStringLiteral("Position"), [spalte] { return QString::number(spalte->position()); },
            [spalte](const QString& t) {
                bool ok = false;
                const int wert = t.trimmed().toInt(&ok);
                if (ok)
                    spalte->setPosition(wert);
            }, kopf);
    e->text(QStringLiteral("Spaltenbreite"), [spalte] { return QString::number(spalte->breite()); },
            [spalte](const QString& t) {
                bool ok = false;
                const int wert = t.trimmed().toInt(&ok);
                if (ok && wert >= 0)
                    spalte->setBreite(wert);
            }, kopf);
    e->janein(QStringLiteral("sichtbar"), [spalte] { return spalte->sichtbar(); }, [spalte](bool an) { spalte->setSichtbar(an); }, kopf);
    e->ausrichtung(QStringLiteral("Ausrichtung"), [spalte] { return spalte->ausrichtung(); },
                   [spalte](Qt::Alignment a) { spalte->setAusrichtung(a); }, kopf);
    QTreeWidgetItem* farben = e->gruppe(QStringLiteral("Farben"), kopf);
    e->farbe(QStringLiteral("Spalte"), [spalte] { return FarbeAusCode(spalte->farbe()); },
             [spalte](const QColor& f) { spalte->setFarbe(CodeAusFarbe(f)); }, farben);
    e->farbe(QStringLiteral("Text"), [spalte] { return FarbeAusCode(spalte->schriftfarbe()); },
             [spalte](const QColor& f) { spalte->setSchriftfarbe(CodeAusFarbe(f)); }, farben);
    QTreeWidgetItem* schriftGruppe = e->gruppe(QStringLiteral("Schrift"), kopf);
    e->schriftart(QStringLiteral("Schriftart"), [spalte] { return spalte->schrift().family(); },
                  [spalte](const QString& name) {
                      QFont f = spalte->schrift();
                      f.setFamily(name);
                      spalte->setSchrift(f);
                  }, schriftGruppe);
    e->schriftstil(QStringLiteral("Stil"), [spalte] { return spalte->schrift(); }, [spalte](const QFont& f) { spalte->setSchrift(f); },
                   schriftGruppe);
    e->expandAll();
}

void TFormEinstellungen::showEvent(QShowEvent* ereignis)
{
    if (!m_gezeigtEinmal) {
        m_gezeigtEinmal = true;
        FormShow();
    }
    QDialog::showEvent(ereignis);
}

void TFormEinstellungen::FormShow()
{
    FensterLesen(QStringLiteral("OptionFenster"));
    const QRect lage = FensterLage(QStringLiteral("OptionFenster"));
    // The stored place is the window's outer corner, its size the inner size; both are written
    // back the same way, so the window opens where it was closed.
    move(lage.topLeft());
    if (lage.width() > 0 && lage.height() > 0)
        resize(lage.size());
    PageControl1->tabBar()->hide();
    EinstellungenLaden();
    TreeView1->expandAll();
    TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
}

void TFormEinstellungen::EinstellungenLaden()
{
    IniLesen();
    EditStatusAnzahl->setValue(IniRecord.AnzahlStatus);
    m_startansicht = IniRecord.Startansicht;
    m_aufgabenAutomatik = IniRecord.AufgabenAutomatik;
    // A value outside the list leaves the box without a chosen entry.
    ComboBoxStartAnsicht->setCurrentIndex(m_startansicht >= 0 && m_startansicht < ComboBoxStartAnsicht->count() ? m_startansicht : -1);
    JvSpinEditHighValueBound->setValue(JvSpinEditHighValueBound->begrenzt(IniRecord.HighValueBound));
    JvSpinEditLowValueBound->setValue(JvSpinEditLowValueBound->begrenzt(IniRecord.LowValueBound));
    ComboBoxAufgabenAutomatik->setCurrentIndex(
        m_aufgabenAutomatik >= 0 && m_aufgabenAutomatik < ComboBoxAufgabenAutomatik->count() ? m_aufgabenAutomatik : -1);
    editProgverzeichnis->setText(IniRecord.ProgVerzeichnis);
    editDBVerzeichnis->setText(IniRecord.DBVerzeichnis);
    editMasterverzeichnis->setText(IniRecord.MasterVerzeichnis);
    m_verzeichnisse[0] = IniRecord.ProgVerzeichnis;
    m_verzeichnisse[1] = IniRecord.DBVerzeichnis;
    m_verzeichnisse[2] = IniRecord.MasterVerzeichnis;

    FensterLesen(QStringLiteral("HauptFensterEV"));
    FensterLesen(QStringLiteral("HauptFensterPV"));
    const auto zeigen = [](TSpinEdit* s, int32_t wert) { s->setValue(s->begrenzt(wert)); };
    zeigen(EditEVTop, IniRecord.HauptFensterEVTop);
    zeigen(EditEVLeft, IniRecord.HauptFensterEVLeft);
    zeigen(EditEVWidth, IniRecord.HauptFensterEVWidth);
    zeigen(EditEVHeight, IniRecord.HauptFensterEVHeight);
    CheckBoxSymbolEditView->setChecked(IniRecord.SymbolEditView);
    zeigen(EditPVTop, IniRecord.HauptFensterPVTop);
    zeigen(EditPVLeft, IniRecord.HauptFensterPVLeft);
    zeigen(EditPVWidth, IniRecord.HauptFensterPVWidth);
    zeigen(EditPVHeight, IniRecord.HauptFensterPVHeight);
    CheckBoxSymbolPublicView->setChecked(IniRecord.SymbolPublicView);
    CheckBoxRefreshPublicView->setChecked(IniRecord.RefreshPublicView);
    zeigen(EditPVRefresh, IniRecord.RefreshTimePublicView);
}

bool TFormEinstellungen::verzeichnisseGueltig()
{
    const QLineEdit* edits[] = {editProgverzeichnis, editDBVerzeichnis, editMasterverzeichnis};
    for (int i = 0; i < 3; ++i) {
        const QString text = edits[i]->text().trimmed();
        if (text == m_verzeichnisse[i])
            continue;   // what the file held passes as it is
        const QFileInfo info(text);
        if (text.isEmpty() || !info.isDir() || !info.isReadable()) {
            Meldung::fehler(QStringLiteral("Das Verzeichnis \"%1\" gibt es nicht oder es kann nicht gelesen werden. "
                                           "Die Einstellungen wurden nicht gespeichert.").arg(text));
            return false;
        }
    }
    return true;
}

void TFormEinstellungen::EinstellungenSpeichern()
{
    if (!verzeichnisseGueltig())
        return;
    IniRecord.AnzahlStatus = EditStatusAnzahl->value();
    // A combo box without a chosen entry keeps the stored value: -1 is neither a view nor an
    // automatic.
    IniRecord.Startansicht = ComboBoxStartAnsicht->currentIndex() >= 0 ? ComboBoxStartAnsicht->currentIndex() : m_startansicht;
    IniRecord.HighValueBound = JvSpinEditHighValueBound->value();
    // The lower bound never lies above the upper one: the spin edit is set to the upper bound.
    if (JvSpinEditLowValueBound->value() > JvSpinEditHighValueBound->value())
        JvSpinEditLowValueBound->setValue(JvSpinEditHighValueBound->value());
    IniRecord.LowValueBound = JvSpinEditLowValueBound->value();
    IniRecord.AufgabenAutomatik =
        ComboBoxAufgabenAutomatik->currentIndex() >= 0 ? ComboBoxAufgabenAutomatik->currentIndex() : m_aufgabenAutomatik;
    IniRecord.ProgVerzeichnis = editProgverzeichnis->text().trimmed();
    IniRecord.DBVerzeichnis = editDBVerzeichnis->text().trimmed();
    IniRecord.MasterVerzeichnis = editMasterverzeichnis->text().trimmed();
    IniRecord.HauptFensterEVTop = EditEVTop->value();
    IniRecord.HauptFensterEVLeft = EditEVLeft->value();
    IniRecord.HauptFensterEVWidth = EditEVWidth->value();
    IniRecord.HauptFensterEVHeight = EditEVHeight->value();
    IniRecord.SymbolEditView = CheckBoxSymbolEditView->isChecked();
    IniRecord.HauptFensterPVTop = EditPVTop->value();
    IniRecord.HauptFensterPVLeft = EditPVLeft->value();
    IniRecord.HauptFensterPVWidth = EditPVWidth->value();
    IniRecord.HauptFensterPVHeight = EditPVHeight->value();
    IniRecord.SymbolPublicView = CheckBoxSymbolPublicView->isChecked();
    IniRecord.RefreshPublicView = CheckBoxRefreshPublicView->isChecked();
    IniRecord.RefreshTimePublicView = EditPVRefresh->value();
    FensterSchreiben(QStringLiteral("HauptFensterEV"));
    FensterSchreiben(QStringLiteral("HauptFensterPV"));
    IniSchreiben();
    for (int i = 0; i < 3; ++i)
        m_verzeichnisse[i] = i == 0 ? IniRecord.ProgVerzeichnis : i == 1 ? IniRecord.DBVerzeichnis : IniRecord.MasterVerzeichnis;
    m_startansicht = IniRecord.Startansicht;
    m_aufgabenAutomatik = IniRecord.AufgabenAutomatik;
}

void TFormEinstellungen::verzeichnisSuchen(QLineEdit* edit)
{
    const QString gewaehlt = verzeichnisWahl(this, ProgrammVerzeichnis());
    if (!gewaehlt.isEmpty())
        edit->setText(QDir::toNativeSeparators(gewaehlt));
}

void TFormEinstellungen::done(int ergebnis)
{
    FormClose();
    QDialog::done(ergebnis);
}

void TFormEinstellungen::FormClose()
{
    FensterLageSetzen(QStringLiteral("OptionFenster"), QRect(pos(), size()));
    FensterSchreiben(QStringLiteral("OptionFenster"));
}
