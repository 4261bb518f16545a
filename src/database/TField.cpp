#include "TField.h"

#include "Fehler.h"
#include "SqliteAnweisung.h"
#include "TKADaoTable.h"
#include "Textform.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <limits>

namespace {

// Access and converted files may hold dates as day numbers counted from 30.12.1899.
const QDate oleNullpunkt(1899, 12, 30);

bool istZahl(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QDateTime ausOleDatum(double tage)
{
    const double ganz = std::floor(tage);
    const qint64 ms = qint64(std::llround((tage - ganz) * 86400000.0));
    return QDateTime(oleNullpunkt.addDays(qint64(ganz)), QTime(0, 0)).addMSecs(ms);
}

// Stored dates are ISO text; what users type is German. Both are taken.
QDateTime datumLesen(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ](\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?)?$"));
    static const QRegularExpression deutsch(
        QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    QDate datum;
    QTime zeit(0, 0);
    auto zeitAus = [&zeit](const QRegularExpressionMatch& m, int erste) {
        if (m.captured(erste).isEmpty())
            return true;
        const QString ms = m.captured(erste + 3);
        zeit = QTime(m.captured(erste).toInt(), m.captured(erste + 1).toInt(), m.captured(erste + 2).toInt(),
                     ms.isEmpty() ? 0 : ms.leftJustified(3, QLatin1Char('0')).toInt());
        return zeit.isValid();
    };
    if (const auto m = iso.match(t); m.hasMatch()) {
        datum = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!zeitAus(m, 4))
            return QDateTime();
    } else if (const auto m = deutsch.match(t); m.hasMatch()) {
        datum = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        if (!zeitAus(m, 4))
            return QDateTime();
    }
    if (!datum.isValid())
        return QDateTime();
    return QDateTime(datum, zeit);
}

QString zahlText(double wert, int stellen)
{
    QString text = QString::number(wert, 'g', stellen > 0 ? stellen : 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace

TFieldType feldTypAusDeklaration(const QString& deklaration, int& size)
{
    size = 0;
    const QString d = deklaration.trimmed().toUpper();
    if (d.isEmpty())
        return TFieldType::ftUnknown;
    static const QRegularExpression breite(QStringLiteral("\\(\\s*(\\d+)"));
    if (d.contains(QLatin1String("CHAR")) || d.startsWith(QLatin1String("TEXT(")) || d.startsWith(QLatin1String("TEXT ("))) {
        if (const auto m = breite.match(d); m.hasMatch()) {
            size = m.captured(1).toInt();
            return TFieldType::ftString;
        }
        return TFieldType::ftMemo;
    }
    if (d.contains(QLatin1String("TEXT")) || d.contains(QLatin1String("MEMO")) || d.contains(QLatin1String("CLOB")))
        return TFieldType::ftMemo;
    if (d.contains(QLatin1String("BOOL")) || d == QLatin1String("BIT") || d.contains(QLatin1String("YESNO")))
        return TFieldType::ftBoolean;
    if (d.contains(QLatin1String("DATETIME")) || d.contains(QLatin1String("TIMESTAMP")))
        return TFieldType::ftDateTime;
    if (d.contains(QLatin1String("DATE")))
        return TFieldType::ftDate;
    if (d.contains(QLatin1String("SMALLINT")) || d.contains(QLatin1String("TINYINT")) || d.contains(QLatin1String("SHORT")))
        return TFieldType::ftSmallint;
    if (d.contains(QLatin1String("INT")) || d.contains(QLatin1String("LONG")) || d.contains(QLatin1String("COUNTER")))
        return TFieldType::ftInteger;
    if (d.contains(QLatin1String("DOUBLE")) || d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA"))
        || d.contains(QLatin1String("NUMERIC")) || d.contains(QLatin1String("DECIMAL")) || d.contains(QLatin1String("CURRENCY")))
        return TFieldType::ftFloat;
    if (d.contains(QLatin1String("BLOB")) || d.contains(QLatin1String("BINARY")))
        return TFieldType::ftBlob;
    return TFieldType::ftUnknown;
}

TField::TField(TKADaoTable* dataSet, QString name, TFieldType typ, int size, TFieldKind kind)
    : m_dataSet(dataSet)
    , m_name(std::move(name))
    , m_typ(typ)
    , m_size(typ == TFieldType::ftString ? size : 0)
    , m_kind(kind)
{
}

TKADaoTable* TField::LookupDataSet() const
{
    return m_lookupDataSet;
}

QVariant TField::Value() const
{
    return m_dataSet->feldWert(m_index);
}

void TField::setValue(const QVariant& wert)
{
    m_dataSet->feldSetzen(this, wert);
}

int TField::AsInteger() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    if (v.metaType().id() == QMetaType::Double)
        return int(std::llround(v.toDouble()));
    return v.toInt();
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0.0;
    if (v.metaType().id() == QMetaType::QString)
        return QString(v.toString()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    return v.toDouble();
}

bool TField::AsBoolean() const
{
    return Textform::istJa(Value());
}

QString TField::AsString() const
{
    const QVariant v = Value();
    if (v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::Double:
    case QMetaType::Bool:
        return Text(v);
    default:
        return v.toString();
    }
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QString:
        return datumLesen(v.toString());
    default:
        return istZahl(v) ? ausOleDatum(v.toDouble()) : QDateTime();
    }
}

QVariant TField::Wert(const QVariant& g) const
{
    // Derived fields hold their values typed already.
    if (m_kind != TFieldKind::fkData)
        return g;
    return typisiert(g);
}

QVariant TField::typisiert(const QVariant& g) const
{
    if (g.isNull())
        return g;
    const int typ = g.metaType().id();
    switch (m_typ) {
    case TFieldType::ftAutoInc:
    case TFieldType::ftInteger:
    case TFieldType::ftSmallint:
        if (typ == QMetaType::LongLong) {
            const qlonglong z = g.toLongLong();
            if (z >= std::numeric_limits<int>::min() && z <= std::numeric_limits<int>::max())
                return QVariant(int(z));
            return g;
        }
        if (typ == QMetaType::Double && std::isfinite(g.toDouble()))
            return QVariant(int(std::llround(g.toDouble())));
        if (typ == QMetaType::QString) {
            bool ok = false;
            const int z = g.toString().trimmed().toInt(&ok);
            return ok ? QVariant(z) : g;
        }
        return g;
    case TFieldType::ftFloat:
        if (istZahl(g))
            return QVariant(g.toDouble());
        if (typ == QMetaType::QString) {
            bool ok = false;
            const double z = g.toString().trimmed().toDouble(&ok);
            return ok ? QVariant(z) : g;
        }
        return g;
    case TFieldType::ftBoolean:
        if (istZahl(g))
            return QVariant(g.toDouble() != 0.0);
        if (typ == QMetaType::QString) {
            const auto w = Textform::jaNein(g.toString());
            return w ? QVariant(*w) : g;
        }
        return g;
    case TFieldType::ftString:
    case TFieldType::ftMemo:
        if (typ == QMetaType::QString)
            return g;
        if (g.metaType() == QMetaType::fromType<RohText>())
            return QVariant(QString::fromUtf8(g.value<RohText>().bytes));
        if (typ == QMetaType::QByteArray)
            return QVariant(QString::fromUtf8(g.toByteArray()));
        if (typ == QMetaType::Double)
            return QVariant(QString::number(g.toDouble(), 'g', 15));
        return QVariant(g.toString());
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: {
        QDateTime dt;
        if (typ == QMetaType::QString)
            dt = datumLesen(g.toString());
        else if (istZahl(g))
            dt = ausOleDatum(g.toDouble());
        if (!dt.isValid())
            return g;
        return m_typ == TFieldType::ftDate ? QVariant(dt.date()) : QVariant(dt);
    }
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown:
        break;
    }
    return g;
}

QString TField::Text(const QVariant& wert) const
{
    if (wert.isNull())
        return QString();
    switch (wert.metaType().id()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Textform::datum(wert);
    case QMetaType::Double:
    case QMetaType::Float:
        return zahlText(wert.toDouble(), m_precision);
    case QMetaType::Bool:
        return wert.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    default:
        return wert.toString();
    }
}

QVariant TField::Speicherwert(const QVariant& wert) const
{
    if (wert.isNull())
        return QVariant();
    const int typ = wert.metaType().id();
    const bool istText = typ == QMetaType::QString;
    if (istText && wert.toString().trimmed().isEmpty() && m_typ != TFieldType::ftString && m_typ != TFieldType::ftMemo)
        return QVariant();

    auto ungueltig = [&]() -> Fehler {
        const QString eingabe = typ == QMetaType::QDate || typ == QMetaType::QDateTime ? Text(wert) : wert.toString();
        return Fehler(QStringLiteral("'%1' ist kein gültiger Wert für das Feld '%2'.").arg(eingabe, m_name));
    };

    switch (m_typ) {
    case TFieldType::ftAutoInc:
    case TFieldType::ftInteger:
    case TFieldType::ftSmallint: {
        qlonglong z = 0;
        if (istText) {
            bool ok = false;
            z = wert.toString().trimmed().toLongLong(&ok);
            if (!ok)
                throw ungueltig();
        } else if (typ == QMetaType::Double || typ == QMetaType::Float) {
            const double d = wert.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9.0e18)
                throw ungueltig();
            z = std::llround(d);
        } else if (istZahl(wert)) {
            z = wert.toLongLong();
        } else {
            throw ungueltig();
        }
        const qlonglong min = m_typ == TFieldType::ftSmallint ? -32768 : std::numeric_limits<int>::min();
        const qlonglong max = m_typ == TFieldType::ftSmallint ? 32767 : std::numeric_limits<int>::max();
        if (z < min || z > max)
            throw Fehler(QStringLiteral("Der Wert %1 liegt außerhalb des erlaubten Bereichs für das Feld '%2' (%3 bis %4).")
                             .arg(z).arg(m_name).arg(min).arg(max));
        return QVariant(z);
    }
    case TFieldType::ftFloat: {
        bool ok = istZahl(wert);
        double d = 0.0;
        if (ok)
            d = wert.toDouble();
        else if (istText)
            d = QString(wert.toString()).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw ungueltig();
        return QVariant(d);
    }
    case TFieldType::ftBoolean: {
        if (istZahl(wert))
            return QVariant(qlonglong(wert.toDouble() != 0.0 ? 1 : 0));
        if (istText) {
            if (const auto w = Textform::jaNein(wert.toString()))
                return QVariant(qlonglong(*w ? 1 : 0));
        }
        throw ungueltig();
    }
    case TFieldType::ftString:
    case TFieldType::ftMemo:
        if (typ == QMetaType::QDate || typ == QMetaType::QDateTime || typ == QMetaType::Double)
            return QVariant(Text(wert));
        return QVariant(wert.toString());
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: {
        QDateTime dt;
        if (typ == QMetaType::QDate)
            dt = QDateTime(wert.toDate(), QTime(0, 0));
        else if (typ == QMetaType::QDateTime)
            dt = wert.toDateTime();
        else if (istText)
            dt = datumLesen(wert.toString());
        // The stored form has four-digit years; another year would be stored as an empty text.
        if (!dt.isValid() || dt.date().year() < 1 || dt.date().year() > 9999)
            throw ungueltig();
        if (m_typ == TFieldType::ftDate)
            return QVariant(dt.date().toString(Qt::ISODate));
        const QString format = dt.time().msec() != 0 ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                                     : QStringLiteral("yyyy-MM-dd HH:mm:ss");
        return QVariant(dt.toString(format));
    }
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown:
        break;
    }
    return wert;
}
