#pragma once

#include "SpaltenLayout.h"

#include <QRect>
#include <QString>
#include <cstdint>

// All settings of PROJEKT.INI in memory; the fields are named after the keys of the file.
struct TIniRecord
{
    QString ProgVerzeichnis;
    QString DBVerzeichnis;
    QString DBName;
    QString MasterVerzeichnis;
    QString MasterDatei;
    QString Version;
    QString Datum;
    bool Entwicklerversion = false;
    int32_t AnzahlStatus = 0;
    int32_t Startansicht = 0;
    int32_t HighValueBound = 0;
    int32_t LowValueBound = 0;
    bool SymbolEditView = false;
    bool SymbolPublicView = false;
    bool RefreshPublicView = false;
    int32_t RefreshTimePublicView = 0;
    int32_t AufgabenAutomatik = 0;
    // The wall screen's display board: seconds per page (0 no paging), full screen, columns
    // fitted to the screen's width.
    int32_t SeitenwechselSekunden = 0;
    bool VollbildPublicView = false;
    bool SpaltenAnpassenPublicView = false;
    // [Datenbank]: the database on a server instead of the file PROJEKT.MDB (Server=postgresql).
    // Written by whoever sets up the office's PCs; the program only reads them.
    QString DatenbankServer;
    QString DatenbankHost;
    int32_t DatenbankPort = 5432;
    QString DatenbankName;
    QString DatenbankBenutzer;

    int32_t HauptFensterEVTop = 0, HauptFensterEVLeft = 0, HauptFensterEVWidth = 0, HauptFensterEVHeight = 0;
    int32_t HauptFensterPVTop = 0, HauptFensterPVLeft = 0, HauptFensterPVWidth = 0, HauptFensterPVHeight = 0;
    int32_t StammFensterTop = 0, StammFensterLeft = 0, StammFensterWidth = 0, StammFensterHeight = 0;
    int32_t OptionFensterTop = 0, OptionFensterLeft = 0, OptionFensterWidth = 0, OptionFensterHeight = 0;
    int32_t AufgabeFensterTop = 0, AufgabeFensterLeft = 0, AufgabeFensterWidth = 0, AufgabeFensterHeight = 0;
    // Not in the old program: the help window keeps its place as the other windows do.
    int32_t HilfeFensterTop = 0, HilfeFensterLeft = 0, HilfeFensterWidth = 0, HilfeFensterHeight = 0;
    int32_t SucheFensterTop = 0, SucheFensterLeft = 0, SucheFensterWidth = 0, SucheFensterHeight = 0;
    int32_t DruckVorschauTop = 0, DruckVorschauLeft = 0, DruckVorschauWidth = 0, DruckVorschauHeight = 0;
    int32_t WochenplanFensterTop = 0, WochenplanFensterLeft = 0, WochenplanFensterWidth = 0, WochenplanFensterHeight = 0;

    TSpaltenLayout PublicKommNr;
    TSpaltenLayout PublicBezeichn;
    TSpaltenLayout PublicBaustelle;
    TSpaltenLayout PublicBetreff;
    TSpaltenLayout PublicPersonal;
    TSpaltenLayout PublicAufgabe;
    TSpaltenLayout PublicDatum;
    TSpaltenLayout PublicStatus;
    TSpaltenLayout PublicAufgStatus;
};

// The one settings record of the process.
extern TIniRecord IniRecord;

// The address of the database server named in [Datenbank] (postgresql://benutzer@host:port/name,
// see Serveradresse); empty when the section names none and the file PROJEKT.MDB is used.
// Throws Fehler, naming the keys, when the section names an unknown server or no database.
QString ServerDatenbank();

// ---- Routines over PROJEKT.INI in the program directory. Each opens the file, reads or writes
// what it is asked for and closes it again; a value that cannot be written raises Fehler
// "In <Pfad> kann nicht geschrieben werden", keys written before it stay written.

// The current working directory of the process, whole, with the platform's separators.
QString ProgrammVerzeichnis();

// Joins a directory and a file name with the platform separator (no doubled separator at a
// root; an empty directory leaves the name alone).
QString PfadVerbinden(const QString& verzeichnis, const QString& name);

// Full path of PROJEKT.INI in the program directory.
QString IniDateiPfad();

// Name of the program file start-up reads the version of (our executable).
QString ProgrammDateiName();

// Presets the "Programm" and "Control" fields, Version and Datum; does not touch the file.
void IniVorbelegen();

// Creates PROJEKT.INI empty (an existing file is emptied), then presets and writes the record.
// When the file cannot be created it shows "Ini-Datei konnte nicht angelegt werden" and does
// nothing more.
void IniAnlegen();

// Reads / writes the keys of "Programm" and "Control". Reading first removes the
// temporaries that writes killed before their rename left beside the file.
void IniLesen();
void IniSchreiben();

// Window geometry by window name ("HauptFensterEV", ...); other names read or write nothing.
void FensterLesen(const QString& FensterName);
void FensterSchreiben(const QString& FensterName);
// Whether the name is one of the seven window names (compared exactly).
bool FensterNameBekannt(const QString& FensterName);
// The record's four fields of a window name as a rectangle (Left, Top, Width, Height), and
// setting them from one; other names give an empty rectangle and set nothing.
QRect FensterLage(const QString& FensterName);
void FensterLageSetzen(const QString& FensterName, const QRect& lage);

// Public-view column layout by column id ("PROJEKT", ...); other ids read or write nothing.
void SpalteLesen(const QString& SpaltenId);
void SpalteSchreiben(const QString& SpaltenId);

// The product version from the version record of a program file, "%u.%u.%u.%u". Raises Fehler
// "File contains no version information" when the file is missing or has no such record.
QString DateiVersion(const QString& Dateiname);
