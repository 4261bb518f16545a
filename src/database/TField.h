#pragma once

#include "DatenbankTypen.h"

#include <QDate>
#include <QPointer>
#include <QDateTime>
#include <QString>
#include <QVariant>

class TKADaoTable;

/// One field of a dataset: a column of its query, a lookup field or a calculated field.
/// The value functions act on the dataset's current row (the edit buffer while editing, the
/// row being calculated inside OnCalcFields). Names compare without regard to case.
///
/// Values: Value() gives the typed value (int for the integer kinds, double, bool, QString,
/// QDate for Date, QDateTime for Date/Time) or an invalid QVariant when the field is empty.
/// Setting converts to the field's kind and refuses what does not fit with a German message.
class TField
{
public:
    TField(TKADaoTable* dataSet, QString name, TFieldType typ, int size, TFieldKind kind);

    TKADaoTable* DataSet() const { return m_dataSet; }
    const QString& FieldName() const { return m_name; }
    TFieldType DataType() const { return m_typ; }
    /// Width in characters of a Text field; 0 for every other kind.
    int Size() const { return m_size; }
    TFieldKind FieldKind() const { return m_kind; }
    /// Place of the field in its dataset (columns first, then the derived fields).
    int Index() const { return m_index; }
    /// AutoNumber and derived fields cannot be set by the user.
    bool ReadOnly() const { return m_readOnly || m_kind != TFieldKind::fkData || m_typ == TFieldType::ftAutoInc; }
    void setReadOnly(bool wert) { m_readOnly = wert; }
    /// Compared on every change of its row, even when this user has not changed it: a value the
    /// user's input depends on (a project's number). Other unchanged columns are not compared,
    /// so that changes of different fields by different users do not refuse one another.
    bool InWhere() const { return m_inWhere; }
    void setInWhere(bool wert) { m_inWhere = wert; }

    // How bound controls show and edit the value; stored here, applied by the controls.
    const QString& DisplayLabel() const { return m_displayLabel.isEmpty() ? m_name : m_displayLabel; }
    void setDisplayLabel(const QString& text) { m_displayLabel = text; }
    const QString& EditMask() const { return m_editMask; }
    void setEditMask(const QString& maske) { m_editMask = maske; }
    const QString& DisplayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    /// Significant digits of a floating value in DisplayText (0: as many as needed).
    int Precision() const { return m_precision; }
    void setPrecision(int stellen) { m_precision = stellen; }

    // Lookup definition (fkLookup only).
    const QString& KeyFields() const { return m_keyFields; }
    TKADaoTable* LookupDataSet() const;
    const QString& LookupKeyFields() const { return m_lookupKeyFields; }
    const QString& LookupResultField() const { return m_lookupResultField; }

    // Value of the current row.
    QVariant Value() const;
    void setValue(const QVariant& wert);
    bool IsNull() const { return Value().isNull(); }
    void Clear() { setValue(QVariant()); }

    int AsInteger() const;           ///< 0 when empty
    void setAsInteger(int wert) { setValue(wert); }
    double AsFloat() const;          ///< 0 when empty
    void setAsFloat(double wert) { setValue(wert); }
    bool AsBoolean() const;          ///< false when empty
    void setAsBoolean(bool wert) { setValue(wert); }
    QString AsString() const;        ///< "" when empty; dates as dd.MM.yyyy
    void setAsString(const QString& wert) { setValue(wert); }
    QDateTime AsDateTime() const;    ///< invalid when empty
    void setAsDateTime(const QDateTime& wert) { setValue(wert); }
    QDate AsDate() const { return AsDateTime().date(); }
    void setAsDate(const QDate& wert) { setValue(wert); }

    /// The value as a grid or edit shows it (German dates, Precision for floating values).
    QString DisplayText() const { return Text(Value()); }

    // Conversions for views that read rows without moving the dataset (see TKADaoTable::RowValue).
    /// The typed value of a value as the engine stores it.
    QVariant Wert(const QVariant& gespeichert) const;
    /// The display text of a typed value.
    QString Text(const QVariant& wert) const;
    /// The value as the engine stores it for a typed (or text) value; throws when it does not fit.
    QVariant Speicherwert(const QVariant& wert) const;

private:
    friend class TKADaoTable;
    friend class AbgeleiteteFelder;

    QVariant typisiert(const QVariant& gespeichert) const;

    TKADaoTable* m_dataSet;
    QString m_name;
    TFieldType m_typ;
    int m_size;
    TFieldKind m_kind;
    int m_index = -1;
    bool m_readOnly = false;
    bool m_inWhere = false;
    QString m_displayLabel;
    QString m_editMask;
    QString m_displayFormat;
    int m_precision = 0;

    // Where a column comes from (for writing and re-reading the row).
    QString m_herkunftTabelle;
    QString m_herkunftSpalte;

    QString m_keyFields;
    QPointer<TKADaoTable> m_lookupDataSet;   // empty once that dataset is gone
    QString m_lookupKeyFields;
    QString m_lookupResultField;
    int m_schluesselIndex = -1;   // own key field of a lookup
};

/// Field kind for a declared column type ("VARCHAR(10)", "INT", "DATE", ...); `size` gets the width.
TFieldType feldTypAusDeklaration(const QString& deklaration, int& size);
