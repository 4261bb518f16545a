#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error whose text is meant for the user. Commands throw it; the application's event guard
// shows the text in the default error box and the program goes on.
class Fehler : public std::exception
{
public:
    explicit Fehler(QString text);

    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
