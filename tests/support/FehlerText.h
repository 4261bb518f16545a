#pragma once

#include "Fehler.h"

#include <QString>

/// The text of the Fehler that `f` throws; empty when it throws none.
template<typename F>
QString fehlerText(F&& f)
{
    try {
        f();
    } catch (const Fehler& fehler) {
        return fehler.text();
    }
    return QString();
}
