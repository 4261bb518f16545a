#pragma once

#include "Btrieve.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <vector>

// One caller of the engine: its own position block, buffers and client identifier.
struct BtrieveAufrufer
{
    uint8_t positionsblock[128] = {};
    uint8_t client[16] = {};
    std::vector<uint8_t> daten = std::vector<uint8_t>(65535);
    uint32_t laenge = 0;
    uint8_t schluessel[255] = {};

    explicit BtrieveAufrufer(char kennung = 'T')
    {
        client[12] = uint8_t(kennung);
        client[13] = 'S';
    }

    int16_t oeffnen(const QString& pfad, int8_t modus = 0)
    {
        const QByteArray name = QFile::encodeName(pfad);
        std::memset(schluessel, 0, sizeof schluessel);
        std::memcpy(schluessel, name.constData(), std::min<size_t>(size_t(name.size()), 254));
        laenge = 0;
        return BTRCALLID(btrieve::Oeffnen, positionsblock, daten.data(), &laenge, schluessel, 255, modus, client);
    }
    int16_t rufen(uint16_t operation, int8_t schluesselnummer, uint32_t platz = 65535)
    {
        laenge = platz;
        return BTRCALLID(operation, positionsblock, daten.data(), &laenge, schluessel, 255, schluesselnummer, client);
    }
    int16_t erster(int8_t k) { return rufen(btrieve::ErsterLesen, k); }
    int16_t naechster(int8_t k) { return rufen(btrieve::NaechsterLesen, k); }
    int16_t gleich(int8_t k, const uint8_t* wert, size_t n)
    {
        std::memset(schluessel, 0, sizeof schluessel);
        std::memcpy(schluessel, wert, n);
        return rufen(btrieve::GleichLesen, k);
    }
    int16_t schliessen() { return rufen(btrieve::Schliessen, 0); }
    int16_t beenden() { return rufen(btrieve::Beenden, 0); }

    std::vector<uint8_t> satz() const { return {daten.begin(), daten.begin() + laenge}; }
};

inline QByteArray pruefsumme(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
