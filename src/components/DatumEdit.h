#pragma once

#include <QDate>
#include <QFrame>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QPushButton;
class QToolButton;

// The drop-down of the date edit: a calendar whose week starts on Monday, with the buttons
// "Heute" (today) and "Ohne" (no date).
class TDatumAuswahl : public QFrame
{
    Q_OBJECT
public:
    explicit TDatumAuswahl(QWidget* parent = nullptr);

    void zeigen(const QDate& datum, const QPoint& links_oben);

    QCalendarWidget* kalender() const { return m_kalender; }
    QPushButton* knopfHeute() const { return m_heute; }
    QPushButton* knopfOhne() const { return m_ohne; }

signals:
    // The user's choice; an invalid date means "no date".
    void gewaehlt(const QDate& datum);

private:
    void waehlen(const QDate& datum);
    void tageBreitGenug();

    QCalendarWidget* m_kalender;
    QPushButton* m_heute;
    QPushButton* m_ohne;
};

// A date edit that may be empty: typed as dd.MM.yyyy or chosen from the drop-down calendar.
class TDatumEdit : public QWidget
{
    Q_OBJECT
public:
    explicit TDatumEdit(QWidget* parent = nullptr);
    ~TDatumEdit() override;

    // An invalid date is the empty date.
    QDate datum() const { return m_datum; }
    void setDatum(const QDate& datum);

    void setNurLesen(bool nurLesen);
    bool nurLesen() const { return m_nurLesen; }

    // Opens the calendar below the edit.
    void aufklappen();
    // The calendar drop-down, made when it is first needed (a window with many date edits
    // opens without making a calendar for each).
    TDatumAuswahl* auswahl();
    QLineEdit* eingabe() const { return m_eingabe; }

    // Takes what is typed (as leaving the edit does); text that is no date is dropped.
    void eingabeUebernehmen();

    // Wide enough for a whole date in the edit's font, with its frame and the drop-down button.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Reads a typed date: empty text is the empty date; otherwise dd.MM.yyyy or d.M.yyyy.
    // ok is false for text that is no date.
    static QDate textLesen(const QString& text, bool* ok);

signals:
    // Only changes the user made, not those set by the program.
    void datumBearbeitet(const QDate& datum);
    // The drop-down was closed, with or without a choice.
    void auswahlBeendet();

protected:
    void changeEvent(QEvent* ereignis) override;

private:
    void benutzerSetzt(const QDate& datum);
    void anzeigen();

    QDate m_datum;
    bool m_nurLesen = false;
    QLineEdit* m_eingabe;
    QToolButton* m_knopf;
    TDatumAuswahl* m_auswahl = nullptr;
};
