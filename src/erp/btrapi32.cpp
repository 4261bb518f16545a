#include "btrapi32.h"

#include "Btrieve.h"

int16_t BtrieveAufruf(uint16_t operation, void* positionsblock, void* datenpuffer, uint16_t& datenlaenge,
                      void* schluesselpuffer, int8_t schluesselnummer, void* clientId)
{
    uint32_t laenge = datenlaenge;
    const int16_t status = BTRCALLID(operation, positionsblock, datenpuffer, &laenge, schluesselpuffer, 255,
                                     schluesselnummer, clientId);
    datenlaenge = uint16_t(laenge & 0xFFFFu);
    return status;
}
