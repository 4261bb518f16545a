#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Replacing a profile file as a whole: the new content goes into a temporary file beside it,
// named after the file with ".~" and six random letters or digits, which is renamed over the
// file once it is on disk. The file is never half-written; a write killed before its rename
// leaves the temporary, which the next start removes.
namespace ProfilZwischendatei {

// The file a path refers to, through any symbolic links; the path itself when there is none.
QString echterPfad(const QString& pfad);

// Keeps the file's permissions; a symbolic link stays one and the file it points to is replaced. `vorDemErsetzen` runs after the temporary is on disk and before
// the rename; returning false abandons the write there (for tests).
bool ersetzen(const QString& pfad, const QByteArray& inhalt, const std::function<bool()>& vorDemErsetzen);

// Whether a name beside the file is one of its temporaries: ours ("PROJEKT.INI.~a1B2c3"), or one
// of earlier versions, six random letters in mixed case ("PROJEKT.INI.QwErTz"). Names a person
// gives a copy (backup, BACKUP, Sicher) are in one case or capitalised and are not taken.
bool istZwischendatei(const QString& dateiname, const QString& name);

// Removes the file's temporaries that belong to this user. Only under the file's lock, when no
// other program can be between writing a temporary and renaming it; without the file, nothing.
void verwaisteEntfernen(const QString& pfad);

} // namespace ProfilZwischendatei
