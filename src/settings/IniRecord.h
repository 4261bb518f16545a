#pragma once

#include <QString>
#include <cstdint>

// Stored layout of one public-view column.
struct TSpaltenLayout
{
    int32_t Position = 0;   // place from 0 at the left
    int32_t Width = 0;      // pixels
    bool Visible = false;
    int32_t Color = 0;      // colour code 0x00BBGGRR or 0xFF0000nn (system colour nn)
    int32_t Fontcolor = 0;
};

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

    int32_t HauptFensterEVTop = 0, HauptFensterEVLeft = 0, HauptFensterEVWidth = 0, HauptFensterEVHeight = 0;
    int32_t HauptFensterPVTop = 0, HauptFensterPVLeft = 0, HauptFensterPVWidth = 0, HauptFensterPVHeight = 0;
    int32_t StammFensterTop = 0, StammFensterLeft = 0, StammFensterWidth = 0, StammFensterHeight = 0;
    int32_t OptionFensterTop = 0, OptionFensterLeft = 0, OptionFensterWidth = 0, OptionFensterHeight = 0;
    int32_t AufgabeFensterTop = 0, AufgabeFensterLeft = 0, AufgabeFensterWidth = 0, AufgabeFensterHeight = 0;
    int32_t SucheFensterTop = 0, SucheFensterLeft = 0, SucheFensterWidth = 0, SucheFensterHeight = 0;
    int32_t DruckVorschauTop = 0, DruckVorschauLeft = 0, DruckVorschauWidth = 0, DruckVorschauHeight = 0;

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
