#include "EigenschaftenEditor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

QWidget* leiste(QWidget* eltern)
{
    auto* w = new QWidget(eltern);
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    return w;
}

QToolButton* knopf(QWidget* leiste, const QString& text, const QString& hinweis, int breite = 22)
{
    auto* k = new QToolButton(leiste);
    k->setText(text);
    k->setToolTip(hinweis);
    k->setCheckable(true);
    k->setAutoRaise(true);
    k->setFixedSize(breite, 18);
    leiste->layout()->addWidget(k);
    return k;
}

QIcon farbfeld(const QColor& farbe)
{
    QPixmap bild(24, 12);
    bild.fill(farbe);
    QPainter p(&bild);
    p.setPen(Qt::darkGray);
    p.drawRect(bild.rect().adjusted(0, 0, -1, -1));
    return QIcon(bild);
}

} // namespace

TEigenschaftenEditor::TEigenschaftenEditor(QWidget* eltern)
    : QTreeWidget(eltern)
{
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setIndentation(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    setColumnWidth(0, 110);
    farbWahl = [](const QColor& vorher, QWidget* w) { return QColorDialog::getColor(vorher, w, QStringLiteral("Farbe wählen")); };
}

QTreeWidgetItem* TEigenschaftenEditor::eintrag(const QString& titel, QTreeWidgetItem* eltern, QWidget* editor,
                                                std::function<void()> anzeigen)
{
    auto* e = eltern ? new QTreeWidgetItem(eltern) : new QTreeWidgetItem(this);
    e->setText(0, titel);
    if (editor)
        setItemWidget(e, 1, editor);
    if (anzeigen) {
        anzeigen();
        m_anzeigen.append(std::move(anzeigen));
    }
    return e;
}

QTreeWidgetItem* TEigenschaftenEditor::gruppe(const QString& titel, QTreeWidgetItem* eltern, bool fett)
{
    QTreeWidgetItem* e = eintrag(titel, eltern, nullptr, {});
    if (fett) {
        QFont f = font();
        f.setBold(true);
        e->setFont(0, f);
    }
    e->setExpanded(true);
    return e;
}

QTreeWidgetItem* TEigenschaftenEditor::anzeige(const QString& titel, std::function<QString()> lesen,
                                                QTreeWidgetItem* eltern, bool fett)
{
    QTreeWidgetItem* e = gruppe(titel, eltern, fett);
    auto anzeigen = [e, lesen] { e->setText(1, lesen()); };
    anzeigen();
    m_anzeigen.append(anzeigen);
    if (fett)
        e->setFont(1, e->font(0));
    return e;
}

QTreeWidgetItem* TEigenschaftenEditor::text(const QString& titel, std::function<QString()> lesen,
                                             std::function<void(const QString&)> schreiben, QTreeWidgetItem* eltern)
{
    auto* edit = new QLineEdit;
    edit->setFrame(false);
    connect(edit, &QLineEdit::editingFinished, this, [edit, lesen, schreiben] {
        if (edit->text() != lesen())
            schreiben(edit->text());
        // The object may refuse or correct the value: show what it holds now.
        edit->setText(lesen());
    });
    return eintrag(titel, eltern, edit, [edit, lesen] { edit->setText(lesen()); });
}

QTreeWidgetItem* TEigenschaftenEditor::janein(const QString& titel, std::function<bool()> lesen,
                                               std::function<void(bool)> schreiben, QTreeWidgetItem* eltern)
{
    auto* box = new QCheckBox;
    auto anzeigen = [box, lesen] {
        const QSignalBlocker sperre(box);
        box->setChecked(lesen());
        box->setText(box->isChecked() ? QStringLiteral("ja") : QStringLiteral("nein"));
    };
    connect(box, &QCheckBox::toggled, this, [box, schreiben](bool an) {
        box->setText(an ? QStringLiteral("ja") : QStringLiteral("nein"));
        schreiben(an);
    });
    return eintrag(titel, eltern, box, anzeigen);
}

QTreeWidgetItem* TEigenschaftenEditor::ausrichtung(const QString& titel, std::function<Qt::Alignment()> lesen,
                                                    std::function<void(Qt::Alignment)> schreiben, QTreeWidgetItem* eltern)
{
    QWidget* w = leiste(nullptr);
    auto* gruppe = new QButtonGroup(w);
    const std::pair<Qt::AlignmentFlag, QString> arten[] = {
        {Qt::AlignLeft, QStringLiteral("Links")}, {Qt::AlignHCenter, QStringLiteral("Zentriert")}, {Qt::AlignRight, QStringLiteral("Rechts")}};
    for (int i = 0; i < 3; ++i) {
        QToolButton* k = knopf(w, arten[i].second.toLower(), arten[i].second, 54);
        k->setObjectName(arten[i].second);
        gruppe->addButton(k, int(arten[i].first));
    }
    qobject_cast<QHBoxLayout*>(w->layout())->addStretch();
    gruppe->setExclusive(true);
    auto anzeigen = [gruppe, lesen] {
        const Qt::Alignment a = lesen() & Qt::AlignHorizontal_Mask;
        const int id = a & Qt::AlignHCenter ? int(Qt::AlignHCenter) : a & Qt::AlignRight ? int(Qt::AlignRight) : int(Qt::AlignLeft);
        const QSignalBlocker sperre(gruppe);
        gruppe->button(id)->setChecked(true);
    };
    connect(gruppe, &QButtonGroup::idClicked, this, [lesen, schreiben](int id) {
        // The vertical part of the alignment stays as it was.
        schreiben((lesen() & Qt::AlignVertical_Mask) | Qt::Alignment(id));
    });
    return eintrag(titel, eltern, w, anzeigen);
}

QTreeWidgetItem* TEigenschaftenEditor::farbe(const QString& titel, std::function<QColor()> lesen,
                                              std::function<void(const QColor&)> schreiben, QTreeWidgetItem* eltern)
{
    auto* k = new QToolButton;
    k->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    k->setAutoRaise(true);
    auto anzeigen = [k, lesen] {
        const QColor f = lesen();
        k->setIcon(farbfeld(f));
        k->setText(f.name().toUpper());
    };
    connect(k, &QToolButton::clicked, this, [this, lesen, schreiben, anzeigen] {
        const QColor neu = farbWahl(lesen(), this);
        if (!neu.isValid())
            return;
        schreiben(neu);
        anzeigen();
    });
    return eintrag(titel, eltern, k, anzeigen);
}

QTreeWidgetItem* TEigenschaftenEditor::schriftart(const QString& titel, std::function<QString()> lesen,
                                                   std::function<void(const QString&)> schreiben, QTreeWidgetItem* eltern)
{
    auto* auswahl = new QFontComboBox;
    auswahl->setEditable(false);
    auto anzeigen = [auswahl, lesen] {
        const QSignalBlocker sperre(auswahl);
        auswahl->setCurrentFont(QFont(lesen()));
    };
    connect(auswahl, &QFontComboBox::currentFontChanged, this, [schreiben](const QFont& f) { schreiben(f.family()); });
    return eintrag(titel, eltern, auswahl, anzeigen);
}

QTreeWidgetItem* TEigenschaftenEditor::schriftstil(const QString& titel, std::function<QFont()> lesen,
                                                    std::function<void(const QFont&)> schreiben, QTreeWidgetItem* eltern)
{
    QWidget* w = leiste(nullptr);
    QToolButton* fett = knopf(w, QStringLiteral("F"), QStringLiteral("Fett"));
    QToolButton* kursiv = knopf(w, QStringLiteral("K"), QStringLiteral("Kursiv"));
    QToolButton* unter = knopf(w, QStringLiteral("U"), QStringLiteral("Unterstrichen"));
    fett->setObjectName(QStringLiteral("Fett"));
    kursiv->setObjectName(QStringLiteral("Kursiv"));
    unter->setObjectName(QStringLiteral("Unterstrichen"));
    QFont f = fett->font();
    f.setBold(true);
    fett->setFont(f);
    f = kursiv->font();
    f.setItalic(true);
    kursiv->setFont(f);
    f = unter->font();
    f.setUnderline(true);
    unter->setFont(f);
    qobject_cast<QHBoxLayout*>(w->layout())->addStretch();
    auto anzeigen = [=] {
        const QFont s = lesen();
        fett->setChecked(s.bold());
        kursiv->setChecked(s.italic());
        unter->setChecked(s.underline());
    };
    auto uebernehmen = [=] {
        QFont s = lesen();
        s.setBold(fett->isChecked());
        s.setItalic(kursiv->isChecked());
        s.setUnderline(unter->isChecked());
        schreiben(s);
    };
    for (QToolButton* k : {fett, kursiv, unter})
        connect(k, &QToolButton::clicked, this, uebernehmen);
    return eintrag(titel, eltern, w, anzeigen);
}

void TEigenschaftenEditor::leeren()
{
    m_anzeigen.clear();
    clear();
}

void TEigenschaftenEditor::aktualisieren()
{
    for (const auto& anzeigen : std::as_const(m_anzeigen))
        anzeigen();
}

QWidget* TEigenschaftenEditor::editorVon(const QTreeWidgetItem* eintrag) const
{
    return itemWidget(const_cast<QTreeWidgetItem*>(eintrag), 1);
}
