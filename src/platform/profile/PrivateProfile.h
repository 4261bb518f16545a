#pragma once

#include <QString>
#include <functional>

// The Windows profile-file functions over a text file, with Windows' reading rules: section and
// key names match without regard to case, blanks around names and values do not count, CR LF and
// LF lines read alike, ';' starts a comment line, the first '=' ends the key, the first of
// duplicate keys and sections wins, one pair of outer quotes is dropped. Files with a byte-order
// mark are UTF-16, files of valid UTF-8 beyond ASCII are UTF-8, all others Windows-1252; each is
// written back in its encoding, which it keeps for the run. A parsed file is kept while the file
// is unchanged. Files over 8 MB are refused with Fehler, for reading and writing alike.

// The value of the key, or the default (without trailing blanks) when the file, the section or
// the key is missing. "Key=" gives an empty text, not the default.
QString GetPrivateProfileString(const QString& abschnitt, const QString& schluessel, const QString& vorgabe,
                                const QString& dateiname);

// The value read as a number the way Windows does: leading digits count (also "0x" hex), a
// value without digits is 0, a missing or empty value gives the default.
int GetPrivateProfileInt(const QString& abschnitt, const QString& schluessel, int vorgabe,
                         const QString& dateiname);

// Sets the key in place: every other byte of the file stays as it was. The file is replaced as a
// whole through a temporary file beside it, so it is never left half-written, under a lock that
// other programs writing the same file respect. Returns false when the file cannot be read or
// written. Throws Fehler for names or values that would break the file (line breaks, '=' in a
// key) or that its encoding cannot hold.
bool WritePrivateProfileString(const QString& abschnitt, const QString& schluessel, const QString& wert,
                               const QString& dateiname);

// Removes temporary files that writes killed before their rename left beside the file.
void VerwaisteZwischendateienEntfernen(const QString& dateiname);

namespace ProfilTestHaken {
// Runs after the new content is in the temporary file and before that replaces the file.
// Returning false abandons the write there, as a failed rename would. For tests only.
using VorDemErsetzen = std::function<bool()>;
VorDemErsetzen setzen(VorDemErsetzen haken);
} // namespace ProfilTestHaken
