#pragma once

#include <QString>

namespace DatenbankWerkzeug {

// Runs `arbeit` as one transaction on a connection of the tool, begun with `beginn`: all or
// nothing.
template<typename Verbindung, typename F>
void inTransaktion(Verbindung& v, const QString& beginn, F&& arbeit)
{
    v.ausfuehren(beginn);
    try {
        arbeit();
        v.ausfuehren(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            v.ausfuehren(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        throw;
    }
}

} // namespace DatenbankWerkzeug
