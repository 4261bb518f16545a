#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The two encodings a profile file can have: files from Windows are Windows-1252, files the
// program creates are UTF-8. A file is taken as UTF-8 exactly when its bytes are valid UTF-8.
enum class ProfilKodierung { Utf8, Windows1252 };

namespace Kodierung {

bool istGueltigesUtf8(const QByteArray& bytes);

ProfilKodierung erkennen(const QByteArray& dateiInhalt);

QString dekodieren(const char* bytes, qsizetype laenge, ProfilKodierung kodierung);

// nullopt when the text holds a character the encoding cannot store.
std::optional<QByteArray> kodieren(const QString& text, ProfilKodierung kodierung);

QString name(ProfilKodierung kodierung);

} // namespace Kodierung
