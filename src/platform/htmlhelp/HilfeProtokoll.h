#pragma once

#include <QString>
#include <QStringList>

// The help layer's diagnostic file "HHDebug.txt" in the program's folder (in the temporary
// folder when the program's folder cannot be written). It is written only in debug mode: a
// file "debug.debug" beside the program or a parameter "/debug" or "-debug".
namespace HilfeProtokoll {

// At program start: removes an old file, decides on debug mode and, in debug mode, writes the
// header of system facts.
void Einrichten(const QString& programmVerzeichnis, const QStringList& argumente,
                const QString& programmVersion, const QString& hilfeVersion);
bool DebugModus();
QString Dateiname();
// One time-stamped line, in debug mode only.
void zeile(const QString& text);

} // namespace HilfeProtokoll
