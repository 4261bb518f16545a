#pragma once

#include <QString>

// The folder start-up opens PROJEKT.MDB in. Settings files brought from the Windows program
// hold a Windows path there ("C:\PROGRAMME\PROJEKT", "\\SERVER\Daten"), which names nothing
// on this computer.
namespace Datenbankverzeichnis {

// True for a path with a drive letter or a Windows share (UNC) path.
bool istWindowsPfad(const QString& pfad);

// The folder of the database for IniRecord.DBVerzeichnis. A Windows path is replaced by the
// program folder when PROJEKT.MDB lies there: the user is told once and the setting is stored
// that way. Otherwise a Windows path raises Fehler saying what to set.
QString ermitteln();

} // namespace Datenbankverzeichnis
