#pragma once

#include <QSpinBox>

// A whole-number spin edit that keeps its value between its minimum and maximum: a value
// beyond a bound, set by the program or typed by the user, becomes that bound. Without a range
// it takes every 32-bit number.
class TSpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void setBereich(int minimum, int maximum, int schritt = 1);

    // The value a spin edit with this range shows for the given value.
    int begrenzt(qint64 wert) const;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
};
