#pragma once

#include "ProfilDatei.h"

#include <QString>
#include <memory>

// What the profile functions keep of the files they read in this run: the parsed file while it
// is unchanged (start-up asks for well over a hundred keys one by one), and the encoding each
// file was found in. A file is taken as unchanged while its identity, size and times are; a
// file changed within the last two seconds is compared byte for byte, since a change in the
// same tick of the file system's clock leaves the times as they were. Callers hold the profile
// functions' mutex.
namespace ProfilZwischenspeicher {

// Files larger than this are no settings files (a real one holds a few KB; even every key at
// the longest value Windows reads stays under 300 KB), and are refused rather than read.
constexpr qint64 GroessteDatei = 8 * 1024 * 1024;

struct Stand
{
    std::shared_ptr<const ProfilDatei> datei;   // an empty file when the file is missing
    bool vorhanden = false;
    bool lesbar = false;   // false: exists but cannot be read; then it must not be replaced either
};

// Throws Fehler for a file larger than GroessteDatei.
Stand lesen(const QString& pfad);

// After this run has written the file: its new content, so the next read need not parse it.
void geschrieben(const QString& pfad, const ProfilDatei& datei);

} // namespace ProfilZwischenspeicher
