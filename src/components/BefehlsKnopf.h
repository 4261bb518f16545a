#pragma once

#include <QPointer>
#include <QPushButton>

class QAction;

// A button bound to a command: it shows the command's caption and picture and runs the command
// when clicked. Its own enabled and visible state belongs to the window that holds it, so the
// command's state is not mirrored onto it (the commands stay enabled all the time).
class TBefehlsKnopf : public QPushButton
{
    Q_OBJECT
public:
    explicit TBefehlsKnopf(QWidget* parent = nullptr);
    explicit TBefehlsKnopf(QAction* befehl, QWidget* parent = nullptr);

    void setBefehl(QAction* befehl);
    QAction* befehl() const { return m_befehl; }

    // Standard height of the command buttons at the bottom of the windows.
    static constexpr int Hoehe = 30;

private:
    void befehlUebernehmen();
    void ausfuehren();

    QPointer<QAction> m_befehl;
    QMetaObject::Connection m_verbindung;
};
