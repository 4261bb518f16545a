#pragma once

#include "MasterProjekt.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Read-only access to the ERP system's project file ZT_FKT_1.DAT in MasterVerzeichnis, through
// the Btrieve engine. One process-wide set of state: at most one ERP file is open at a time.
// Calling order: MasterDateiOeffnen, MasterErsterSatz, any number of MasterNaechsterSatz and
// MasterSatzSuchen, MasterDateiSchliessen, BtrieveBeenden. No routine throws.

// Status of the last Btrieve operation; 0 is success.
extern int16_t BtrieveStatus;
// Key by which the file is walked: the project number.
extern int32_t MasterSchluessel;
// Record buffer of every Get: the last record read, also after the file is closed.
extern TMasterProjekt MasterSatz;
// Identifies this program to the engine; rebuilt before every operation.
extern std::array<uint8_t, 16> BtrieveClientId;

// Each operation stores its status in BtrieveStatus and returns it.
int16_t MasterDateiOeffnen();
int16_t MasterErsterSatz(int32_t schluessel);
int16_t MasterNaechsterSatz();
// The record whose key value is this project number, given in the record's own bytes.
int16_t MasterSatzSuchen(const QByteArray& nummer, int32_t schluessel);
// The same for a number as the search list shows it (after OemNachAnsi).
int16_t MasterSatzSuchen(const QString& nummer, int32_t schluessel);
int16_t MasterDateiSchliessen();
int16_t BtrieveBeenden();

// Shows "Btrieve-Fehler: " and the status when BtrieveStatus is above 0, and on a second line
// what the status means for the ERP file.
void BtrieveFehlerMelden();
// One German line saying what a Btrieve status means for the ERP file; empty for 0.
QString BtrieveStatusBedeutung(int16_t status);

// The file's path: MasterVerzeichnis followed directly by the separator and ZT_FKT_1.DAT.
QString MasterDateiPfad();
