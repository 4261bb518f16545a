#include "DBBedienelemente.h"

#include "FeldVerbindung.h"
#include "GitterSpalte.h"
#include "ListenVerbindung.h"

#include "TField.h"
#include "Textform.h"

#include <QDate>
#include <QDateTime>

// --- TDBEdit ---------------------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBEdit::anzeigen);
    connect(this, &QLineEdit::textEdited, this, [this] {
        m_geaendert = true;
        m_verbindung->bearbeitenBeginnen();
    });
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (m_geaendert) {
            m_geaendert = false;
            m_verbindung->schreibenAusEreignis(text());
        }
    });
    connect(m_verbindung, &TFeldVerbindung::uebernehmen, this, [this] {
        if (m_geaendert) {
            m_geaendert = false;
            m_verbindung->schreiben(text());
        }
    });
}

void TDBEdit::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBEdit::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBEdit::anzeigen()
{
    m_geaendert = false;
    const int breite = m_verbindung->feldbreite();
    setMaxLength(breite > 0 ? breite : 32767);
    const TField* feld = m_verbindung->feldObjekt();
    setText(feld ? feld->Text(m_verbindung->wert()) : QString());
    setCursorPosition(0);
}

// --- TDBMemo ---------------------------------------------------------------------------------

TDBMemo::TDBMemo(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    setTabChangesFocus(true);
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBMemo::anzeigen);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_zeigt)
            return;
        m_geaendert = true;
        m_verbindung->bearbeitenBeginnen();
    });
    connect(m_verbindung, &TFeldVerbindung::uebernehmen, this, [this] {
        if (m_geaendert) {
            m_geaendert = false;
            m_verbindung->schreiben(toPlainText());
        }
    });
}

void TDBMemo::focusOutEvent(QFocusEvent* ereignis)
{
    QPlainTextEdit::focusOutEvent(ereignis);
    if (m_geaendert) {
        m_geaendert = false;
        m_verbindung->schreibenAusEreignis(toPlainText());
    }
}

void TDBMemo::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBMemo::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBMemo::anzeigen()
{
    m_geaendert = false;
    m_zeigt = true;
    setPlainText(m_verbindung->wert().toString());
    m_zeigt = false;
}

// --- TDBLookupBox ----------------------------------------------------------------------------

TDBLookupBox::TDBLookupBox(QWidget* parent)
    : QComboBox(parent)
    , m_verbindung(new TFeldVerbindung(this))
    , m_liste(new TListenVerbindung(this))
{
    setMaxVisibleItems(8);
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBLookupBox::anzeigen);
    connect(m_liste, &TListenVerbindung::geaendert, this, &TDBLookupBox::listeFuellen);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!m_zeigt && index >= 0)
            m_verbindung->schreibenAusEreignis(itemData(index));
    });
}

void TDBLookupBox::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBLookupBox::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBLookupBox::setListe(TDataSource* liste, const QString& schluessel, const QString& anzeige)
{
    m_liste->setListe(liste, schluessel, anzeige);
    listeFuellen();
}

void TDBLookupBox::listeFuellen()
{
    m_zeigt = true;
    clear();
    for (const TListenEintrag& eintrag : m_liste->eintraege())
        addItem(eintrag.text, eintrag.schluessel);
    m_zeigt = false;
    anzeigen();
}

void TDBLookupBox::anzeigen()
{
    m_zeigt = true;
    const QVariant schluessel = m_verbindung->wert();
    int index = -1;
    if (schluessel.isValid() && !schluessel.isNull())
        for (int i = 0; i < count() && index < 0; ++i)
            if (itemData(i).toString() == schluessel.toString())
                index = i;
    setCurrentIndex(index);
    m_zeigt = false;
}

// --- TDBDatumEdit ----------------------------------------------------------------------------

TDBDatumEdit::TDBDatumEdit(QWidget* parent)
    : TDatumEdit(parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBDatumEdit::anzeigen);
    connect(m_verbindung, &TFeldVerbindung::uebernehmen, this, &TDatumEdit::eingabeUebernehmen);
    connect(this, &TDatumEdit::datumBearbeitet, this, [this](const QDate& datum) {
        m_verbindung->schreibenAusEreignis(datum.isValid() ? QVariant(datum) : QVariant());
    });
}

void TDBDatumEdit::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBDatumEdit::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBDatumEdit::anzeigen()
{
    const QVariant wert = m_verbindung->wert();
    setDatum(wert.isNull() ? QDate() : wert.toDate());
}

// --- TDBSpinEdit -----------------------------------------------------------------------------

TDBSpinEdit::TDBSpinEdit(QWidget* parent)
    : TSpinEdit(parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBSpinEdit::anzeigen);
    connect(m_verbindung, &TFeldVerbindung::uebernehmen, this, &QAbstractSpinBox::interpretText);
    connect(m_verbindung, &TFeldVerbindung::zustandGeaendert, this, [this] {
        anzeigen();
        angezeigtenWertSichern();
    });
    connect(this, &QSpinBox::valueChanged, this, [this](int wert) {
        if (!m_zeigt)
            m_verbindung->schreibenAusEreignis(wert);
    });
}

void TDBSpinEdit::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBSpinEdit::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBSpinEdit::anzeigen()
{
    m_zeigt = true;
    const QVariant wert = m_verbindung->wert();
    setValue(begrenzt(wert.isNull() ? 0 : wert.toLongLong()));
    m_zeigt = false;
}

void TDBSpinEdit::angezeigtenWertSichern()
{
    // What the edit shows is what a post stores: a value beyond a bound (or none) becomes the
    // bound once the row is being edited.
    if (!m_verbindung->bearbeitet())
        return;
    const QVariant wert = m_verbindung->wert();
    if (wert.isNull() || wert.toLongLong() != value())
        m_verbindung->schreibenAusEreignis(value());
}

// --- TDBCheckBox -----------------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(QWidget* parent)
    : TDBCheckBox(QString(), parent)
{
}

TDBCheckBox::TDBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBCheckBox::anzeigen);
    connect(this, &QCheckBox::clicked, this, [this](bool an) { m_verbindung->schreibenAusEreignis(an); });
}

void TDBCheckBox::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBCheckBox::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

void TDBCheckBox::anzeigen()
{
    setChecked(Textform::istJa(m_verbindung->wert()));
}

// --- TDBText ---------------------------------------------------------------------------------

TDBText::TDBText(QWidget* parent)
    : QLabel(parent)
    , m_verbindung(new TFeldVerbindung(this))
{
    setTextFormat(Qt::PlainText);
    connect(m_verbindung, &TFeldVerbindung::anzeigen, this, &TDBText::anzeigen);
}

void TDBText::setDatenquelle(TDataSource* quelle)
{
    m_verbindung->setDatenquelle(quelle);
}

void TDBText::setFeld(const QString& feld)
{
    m_verbindung->setFeld(feld);
}

QString TDBText::anzeigeText(const QVariant& wert)
{
    if (!wert.isValid() || wert.isNull())
        return {};
    switch (wert.typeId()) {
    case QMetaType::QDate:
        return Textform::datum(wert.toDate());
    case QMetaType::QDateTime:
        return Textform::datum(wert.toDateTime().date());
    default:
        return wert.toString();
    }
}

void TDBText::anzeigen()
{
    const TField* feld = m_verbindung->feldObjekt();
    setText(feld ? feld->Text(m_verbindung->wert()) : QString());
}
