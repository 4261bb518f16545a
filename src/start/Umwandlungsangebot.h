#pragma once

#include <QString>

class QWidget;

/// When `datenbank` is an Access file of the old Windows program, asks whether to convert it now
/// ("Jetzt umwandeln?"). On "Ja" the file is converted in place behind a progress dialog (the
/// Access file stays beside it under a new name) and the report is shown; on "Nein" nothing
/// happens and opening the file then says that it must be converted first. A failed or
/// cancelled conversion leaves the Access file as it was and raises its message.
void UmwandlungAnbieten(const QString& datenbank, QWidget* fenster);
