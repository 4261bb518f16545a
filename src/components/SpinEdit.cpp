#include "SpinEdit.h"

#include <QLocale>
#include <limits>

TSpinEdit::TSpinEdit(QWidget* parent)
    : QSpinBox(parent)
{
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
}

void TSpinEdit::setBereich(int minimum, int maximum, int schritt)
{
    setRange(minimum, maximum);
    setSingleStep(schritt);
}

int TSpinEdit::begrenzt(qint64 wert) const
{
    return static_cast<int>(qBound(static_cast<qint64>(minimum()), wert, static_cast<qint64>(maximum())));
}

QValidator::State TSpinEdit::validate(QString& text, int& pos) const
{
    Q_UNUSED(pos);
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+"))
        return QValidator::Intermediate;
    bool ok = false;
    const qint64 wert = t.toLongLong(&ok);
    if (!ok)
        return QValidator::Invalid;
    // A number beyond a bound may be typed; leaving the edit sets it to that bound.
    return (wert >= minimum() && wert <= maximum()) ? QValidator::Acceptable : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& text) const
{
    bool ok = false;
    const qint64 wert = text.trimmed().toLongLong(&ok);
    text = QString::number(ok ? begrenzt(wert) : value());
}
