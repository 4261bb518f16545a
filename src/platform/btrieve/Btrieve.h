#pragma once

#include <cstdint>

// The Btrieve interface as the ERP system's client library offers it: one entry, BTRCALLID.
// This engine reads genuine Btrieve data files (formats 5.x, 6.x and 7.x) and never writes them.
namespace btrieve {

// Operation codes this engine answers; every other code gets status UngueltigeOperation.
enum Operation : uint16_t {
    Oeffnen = 0,          // Open: key buffer = path with terminating zero, key number = open mode
    Schliessen = 1,       // Close
    GleichLesen = 5,      // Get Equal
    NaechsterLesen = 6,   // Get Next
    ErsterLesen = 12,     // Get First
    Beenden = 25,         // Stop: releases every file of the calling client
};

// Status codes with the values of the real engine.
namespace status {
constexpr int16_t Ok = 0;
constexpr int16_t UngueltigeOperation = 1;
constexpr int16_t EinAusgabeFehler = 2;          // also: the file's structure is damaged
constexpr int16_t DateiNichtOffen = 3;
constexpr int16_t SchluesselNichtGefunden = 4;
constexpr int16_t UngueltigeSchluesselnummer = 6;
constexpr int16_t AndereSchluesselnummer = 7;
constexpr int16_t UngueltigePositionierung = 8;
constexpr int16_t Dateiende = 9;
constexpr int16_t UngueltigerDateiname = 11;
constexpr int16_t DateiNichtGefunden = 12;
constexpr int16_t SchluesselpufferZuKurz = 21;
constexpr int16_t DatenpufferZuKurz = 22;
constexpr int16_t KeineBtrieveDatei = 30;        // also: a format this engine cannot read
constexpr int16_t UngueltigerEigentuemer = 51;   // records do not match their index: owner-encrypted
constexpr int16_t ZuWenigSpeicher = 101;
}

constexpr int PositionsblockLaenge = 128;
constexpr int ClientIdLaenge = 16;

} // namespace btrieve

// The engine's one entry. The position block (128 bytes) belongs to the engine between Open and
// Close. dataLength carries the buffer's room in and the returned length out. Files are always
// opened read-only, whatever the open mode asks for.
int16_t BTRCALLID(uint16_t operation, void* positionBlock, void* dataBuffer, uint32_t* dataLength,
                  void* keyBuffer, uint8_t keyLength, int8_t keyNumber, const void* clientId);
