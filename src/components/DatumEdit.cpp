#include "DatumEdit.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString Datumsformat = QStringLiteral("dd.MM.yyyy");
}

TDatumAuswahl::TDatumAuswahl(QWidget* parent)
    : QFrame(parent, Qt::Popup)
    , m_kalender(new QCalendarWidget(this))
    , m_heute(new QPushButton(QStringLiteral("Heute"), this))
    , m_ohne(new QPushButton(QStringLiteral("Ohne"), this))
{
    setObjectName(QStringLiteral("DatumAuswahl"));
    setFrameShape(QFrame::Box);
    m_kalender->setObjectName(QStringLiteral("Kalender"));
    m_kalender->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_kalender->setFirstDayOfWeek(Qt::Monday);
    m_kalender->setGridVisible(true);
    m_kalender->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_heute->setObjectName(QStringLiteral("btnHeute"));
    m_ohne->setObjectName(QStringLiteral("btnOhne"));
    for (QPushButton* knopf : {m_heute, m_ohne})
        knopf->setAutoDefault(false);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_heute);
    knoepfe->addWidget(m_ohne);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_kalender);
    layout->addLayout(knoepfe);

    connect(m_kalender, &QCalendarWidget::clicked, this, &TDatumAuswahl::waehlen);
    connect(m_kalender, &QCalendarWidget::activated, this, &TDatumAuswahl::waehlen);
    connect(m_heute, &QPushButton::clicked, this, [this] { waehlen(QDate::currentDate()); });
    connect(m_ohne, &QPushButton::clicked, this, [this] { waehlen(QDate()); });
}

void TDatumAuswahl::zeigen(const QDate& datum, const QPoint& linksOben)
{
    const QDate anzeigen = datum.isValid() ? datum : QDate::currentDate();
    m_kalender->setSelectedDate(anzeigen);
    m_kalender->setCurrentPage(anzeigen.year(), anzeigen.month());
    tageBreitGenug();
    adjustSize();
    move(linksOben);
    show();
    m_kalender->setFocus();
}

void TDatumAuswahl::tageBreitGenug()
{
    // The calendar measures its columns for the day numbers; a week-day name that is wider would
    // be cut to "…" by the cell's margins. The columns share the calendar's width.
    auto* tage = m_kalender->findChild<QTableView*>();
    if (!tage)
        return;
    const QFontMetrics fm(tage->font());
    const QLocale sprache = m_kalender->locale();
    int breiteste = fm.horizontalAdvance(QStringLiteral("00"));
    for (int tag = Qt::Monday; tag <= Qt::Sunday; ++tag)
        breiteste = qMax(breiteste, fm.horizontalAdvance(sprache.dayName(tag, QLocale::ShortFormat)));
    // Text margin of an item view cell on either side, and the grid line.
    const int rand = 2 * (tage->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tage) + 1) + 1;
    m_kalender->setMinimumWidth(0);
    m_kalender->adjustSize();
    const int fehlt = 7 * (breiteste + rand) - tage->viewport()->width();
    if (fehlt > 0)
        m_kalender->setMinimumWidth(m_kalender->width() + fehlt);
}

void TDatumAuswahl::waehlen(const QDate& datum)
{
    hide();
    emit gewaehlt(datum);
}

TDatumEdit::TDatumEdit(QWidget* parent)
    : QWidget(parent)
    , m_eingabe(new QLineEdit(this))
    , m_knopf(new QToolButton(this))
{
    m_eingabe->setObjectName(QStringLiteral("Eingabe"));
    m_knopf->setObjectName(QStringLiteral("Aufklappen"));
    m_knopf->setArrowType(Qt::DownArrow);
    m_knopf->setFocusPolicy(Qt::NoFocus);
    m_eingabe->setPlaceholderText(QString());
    setFocusProxy(m_eingabe);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_eingabe, 1);
    layout->addWidget(m_knopf);

    connect(m_knopf, &QToolButton::clicked, this, &TDatumEdit::aufklappen);
    connect(m_eingabe, &QLineEdit::editingFinished, this, &TDatumEdit::eingabeUebernehmen);
}

TDatumAuswahl* TDatumEdit::auswahl()
{
    if (!m_auswahl) {
        m_auswahl = new TDatumAuswahl(this);
        connect(m_auswahl, &TDatumAuswahl::gewaehlt, this, [this](const QDate& datum) {
            benutzerSetzt(datum);
            m_eingabe->setFocus();
            emit auswahlBeendet();
        });
    }
    return m_auswahl;
}

TDatumEdit::~TDatumEdit()
{
    // The line edit loses the focus while the base class tears the children down; its
    // "editing finished" must not reach this half-destroyed edit.
    disconnect(m_eingabe, nullptr, this, nullptr);
}

void TDatumEdit::setDatum(const QDate& datum)
{
    m_datum = datum.isValid() ? datum : QDate();
    anzeigen();
}

void TDatumEdit::setNurLesen(bool nurLesen)
{
    m_nurLesen = nurLesen;
    m_eingabe->setReadOnly(nurLesen);
    m_knopf->setEnabled(!nurLesen);
}

void TDatumEdit::aufklappen()
{
    if (m_nurLesen || !isEnabled())
        return;
    eingabeUebernehmen();
    // The calendar is a window of its own and would take the application's font.
    auswahl()->setFont(font());
    auswahl()->zeigen(m_datum, mapToGlobal(QPoint(0, height())));
}

QDate TDatumEdit::textLesen(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return {};
    static const QRegularExpression muster(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto treffer = muster.match(t);
    QDate datum;
    if (treffer.hasMatch())
        datum = QDate(treffer.captured(3).toInt(), treffer.captured(2).toInt(), treffer.captured(1).toInt());
    if (!datum.isValid() && ok)
        *ok = false;
    return datum;
}

void TDatumEdit::eingabeUebernehmen()
{
    bool ok = false;
    const QDate gelesen = textLesen(m_eingabe->text(), &ok);
    if (!ok) {
        // Text that is no date falls back to what was there, so nothing wrong reaches the field.
        anzeigen();
        return;
    }
    if (gelesen != m_datum)
        benutzerSetzt(gelesen);
    else
        anzeigen();
}

QSize TDatumEdit::sizeHint() const
{
    // As QLineEdit measures itself, but for the widest date instead of a fixed count of letters.
    constexpr int RandWaagrecht = 2;
    constexpr int RandSenkrecht = 1;
    const QFontMetrics fm = m_eingabe->fontMetrics();
    const QMargins text = m_eingabe->textMargins();
    const QMargins inhalt = m_eingabe->contentsMargins();
    const int textBreite = qMax(fm.horizontalAdvance(QStringLiteral("00.00.0000")), fm.horizontalAdvance(m_eingabe->text()));
    const QSize innen(textBreite + 2 * RandWaagrecht + text.left() + text.right() + inhalt.left() + inhalt.right(),
                      fm.height() + 2 * RandSenkrecht + text.top() + text.bottom() + inhalt.top() + inhalt.bottom());
    QStyleOptionFrame rahmen;
    rahmen.initFrom(m_eingabe);
    rahmen.lineWidth = m_eingabe->hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &rahmen, m_eingabe) : 0;
    const QSize eingabe = m_eingabe->style()->sizeFromContents(QStyle::CT_LineEdit, &rahmen, innen, m_eingabe);
    const QSize knopf = m_knopf->sizeHint();
    return QSize(eingabe.width() + knopf.width(), qMax(eingabe.height(), knopf.height()));
}

void TDatumEdit::benutzerSetzt(const QDate& datum)
{
    if (m_nurLesen)
        return;
    const bool anders = datum != m_datum;
    m_datum = datum;
    anzeigen();
    if (anders)
        emit datumBearbeitet(m_datum);
}

void TDatumEdit::anzeigen()
{
    m_eingabe->setText(m_datum.isValid() ? QLocale().toString(m_datum, Datumsformat) : QString());
}

void TDatumEdit::changeEvent(QEvent* ereignis)
{
    if (ereignis->type() == QEvent::EnabledChange && !isEnabled() && m_auswahl)
        m_auswahl->hide();
    QWidget::changeEvent(ereignis);
}
