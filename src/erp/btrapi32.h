#pragma once

#include <cstdint>

// The one road from the ERP file access to the Btrieve engine.
// Calls BTRCALLID with the data length widened to 32 bits and a key length of 255, then stores
// the low 16 bits of the length the engine returned into datenlaenge. Returns the engine's status.
int16_t BtrieveAufruf(uint16_t operation, void* positionsblock, void* datenpuffer, uint16_t& datenlaenge,
                      void* schluesselpuffer, int8_t schluesselnummer, void* clientId);
