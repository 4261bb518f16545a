#pragma once

#include <QString>

// The state routines of the task window; they act on the one open window (FormAufgabenZuordnen)
// and do nothing without one.

// Buttons of the active page: on the assign page "Zuordnen" (moved to the left) enabled unless
// Bearbeitung; on the edit page Bearbeiten/Löschen/Beenden in browse state, Speichern/Abbrechen
// in edit state.
void AufgabenButtonsSetzen(bool Bearbeitung);
// Inputs of the active page: on the assign page the catalogue grid enabled and focused; on the
// edit page the input panel open and the grid locked in edit state, the reverse in browse state.
void AufgabenEingabeSetzen(bool Bearbeitung);
// One record command ("edit", "append", "post", "delete", "cancel", compared exactly) on the
// project's tasks; only on the edit page, any other word does nothing. "edit" on a project
// without tasks starts a new task of this project.
void AufgabenDatensatzBefehl(const QString& Befehl);
