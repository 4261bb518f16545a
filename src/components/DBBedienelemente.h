#pragma once

#include "DatumEdit.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

class TDataSource;
class TFeldVerbindung;
class TListenVerbindung;

// Data-bound controls. Each shows the current row's value of its field, follows the dataset
// when it moves, and writes the user's change into the dataset's edit buffer, so that the next
// post stores it. Their enabled state is the window's.

// Text edit that takes at most as many characters as the field holds. Typing puts the dataset
// into edit state; the text goes into the field when the user leaves the edit or a post starts,
// so that a half-typed value never meets the field's checks.
class TDBEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

private:
    void anzeigen();
    TFeldVerbindung* m_verbindung;
    bool m_geaendert = false;
};

// Multi-line text; written like the text edit.
class TDBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

protected:
    void focusOutEvent(QFocusEvent* ereignis) override;

private:
    void anzeigen();
    TFeldVerbindung* m_verbindung;
    bool m_zeigt = false;
    bool m_geaendert = false;
};

// Drop-down list of a list dataset: the field holds the key, the list shows another column.
class TDBLookupBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDBLookupBox(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    void setListe(TDataSource* liste, const QString& schluessel, const QString& anzeige);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

private:
    void listeFuellen();
    void anzeigen();
    TFeldVerbindung* m_verbindung;
    TListenVerbindung* m_liste;
    bool m_zeigt = false;
};

// Date edit with the drop-down calendar; an empty date is allowed and stored as no date.
class TDBDatumEdit : public TDatumEdit
{
    Q_OBJECT
public:
    explicit TDBDatumEdit(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

private:
    void anzeigen();
    TFeldVerbindung* m_verbindung;
};

// Spin edit: a value beyond its range is shown as the nearest bound, and that bound is what the
// dataset gets as soon as the row is being edited.
class TDBSpinEdit : public TSpinEdit
{
    Q_OBJECT
public:
    explicit TDBSpinEdit(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

private:
    void anzeigen();
    void angezeigtenWertSichern();
    TFeldVerbindung* m_verbindung;
    bool m_zeigt = false;
};

// Check box over a yes/no field.
class TDBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);
    explicit TDBCheckBox(const QString& text, QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

private:
    void anzeigen();
    TFeldVerbindung* m_verbindung;
};

// Read-only text of the field (dates as dd.MM.yyyy).
class TDBText : public QLabel
{
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);
    void setDatenquelle(TDataSource* quelle);
    void setFeld(const QString& feld);
    TFeldVerbindung* verbindung() const { return m_verbindung; }

    // The text a field value is shown as.
    static QString anzeigeText(const QVariant& wert);

private:
    void anzeigen();
    TFeldVerbindung* m_verbindung;
};
