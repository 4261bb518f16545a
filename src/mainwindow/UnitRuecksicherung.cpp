#include "UnitRuecksicherung.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormRuecksicherung::TFormRuecksicherung(const QList<Datensicherung::Kopie>& kopien, QWidget* eltern)
    : QDialog(eltern)
{
    setObjectName(QStringLiteral("FormRuecksicherung"));
    setWindowTitle(QStringLiteral("Datensicherung zurückspielen"));
    resize(460, 360);
    auto* text = new QLabel(QStringLiteral("Welche Sicherung soll an die Stelle der Datenbank treten? "
                                           "Die jetzige Datenbank bleibt unter neuem Namen erhalten."));
    text->setWordWrap(true);
    m_liste = new QTreeWidget;
    m_liste->setObjectName(QStringLiteral("ListeSicherungen"));
    m_liste->setHeaderLabels({QStringLiteral("TAG"), QStringLiteral("GESICHERT UM"), QStringLiteral("GRÖSSE")});
    m_liste->setRootIsDecorated(false);
    m_liste->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    for (const auto& k : kopien) {
        auto* zeile = new QTreeWidgetItem(m_liste, {k.tag.toString(QStringLiteral("dd.MM.yyyy")),
                                                    k.geschrieben.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                                                    deutsch.formattedDataSize(k.groesse)});
        zeile->setData(0, Qt::UserRole, k.pfad);
        zeile->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* knoepfe = new QDialogButtonBox;
    QPushButton* zurueck = knoepfe->addButton(QStringLiteral("&Zurückspielen"), QDialogButtonBox::AcceptRole);
    knoepfe->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    zurueck->setEnabled(false);
    connect(m_liste, &QTreeWidget::currentItemChanged, zurueck, [zurueck](QTreeWidgetItem* z) { zurueck->setEnabled(z); });
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_liste, 1);
    layout->addWidget(knoepfe);
}

QString TFormRuecksicherung::gewaehlteKopie() const
{
    const QTreeWidgetItem* z = m_liste->currentItem();
    return z ? z->data(0, Qt::UserRole).toString() : QString();
}
