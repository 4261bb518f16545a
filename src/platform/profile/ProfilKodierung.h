#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The encodings a profile file can have. Files from Windows are Windows-1252, or UTF-16 when
// saved as "Unicode" (with byte-order mark); UTF-8 files come from other editors and from
// earlier versions of this program.
enum class ProfilKodierung { Utf8, Windows1252, Utf16LE, Utf16BE };

namespace Kodierung {

bool istGueltigesUtf8(const QByteArray& bytes);
bool istAscii(const QByteArray& bytes);

// A byte-order mark decides; else bytes that are valid UTF-8 and not plain ASCII are UTF-8, and
// everything else is Windows-1252. A plain ASCII file is a Windows file: an umlaut written into
// it goes in as Windows-1252, as the Windows profile functions write it.
ProfilKodierung erkennen(const QByteArray& dateiInhalt);

bool istUtf16(ProfilKodierung kodierung);

// The encoding a file's lines are parsed and spliced in: UTF-16 files are handled as UTF-8.
ProfilKodierung innere(ProfilKodierung kodierung);

// Decoding and encoding in one of the two inner encodings (UTF-8 or Windows-1252).
QString dekodieren(const char* bytes, qsizetype laenge, ProfilKodierung kodierung);
// nullopt when the text holds a character the encoding cannot store.
std::optional<QByteArray> kodieren(const QString& text, ProfilKodierung kodierung);

// UTF-16 code units to UTF-8 and back, losing nothing: a lone surrogate becomes a three-byte
// sequence of its own and comes back as it was.
QByteArray utf16NachUtf8(const char* bytes, qsizetype laenge, bool bigEndian);
QByteArray utf8NachUtf16(const QByteArray& utf8, bool bigEndian);

QString name(ProfilKodierung kodierung);

} // namespace Kodierung
