#pragma once

#include <QString>

class TDataModule1;

/// Edits that could not be stored when the program had to end (the system asked it to stop
/// while another program held the database). They are written to a note file beside the
/// settings and offered at the next start, so that what the user typed is not lost.
namespace Aenderungsnotiz {

/// Path of the note: "NICHT-GESPEICHERT.json" in the program folder.
QString Pfad();

/// Writes the pending changes of the project and task rows of `module` into the note and
/// returns a German description of them; empty when nothing is pending. Throws Fehler when
/// the note cannot be written.
QString Schreiben(TDataModule1& module);

/// When a note is there: asks whether its changes shall be entered now; "Ja" enters each in
/// its row (rows gone meanwhile are named), "Nein" drops them, "Abbrechen" keeps the note for
/// the next start. Once answered Ja or Nein the note is removed, except when entering fails
/// (Fehler passes on; the note stays).
void Anbieten(TDataModule1& module);

} // namespace Aenderungsnotiz
