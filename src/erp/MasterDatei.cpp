#include "MasterDatei.h"

#include "Btrieve.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "btrapi32.h"

#include <QDir>
#include <QFile>

#include <cstring>

int16_t BtrieveStatus = 0;
int32_t MasterSchluessel = 6;
TMasterProjekt MasterSatz;
std::array<uint8_t, 16> BtrieveClientId{};

namespace {

// The engine owns the position block between Open and Close; this layer never looks into it.
uint8_t Positionsblock[128];
uint8_t Schluesselpuffer[255];
uint16_t Datenlaenge = 0;
int8_t Schluesselnummer = 0;
uint8_t Oeffnungspuffer[9];   // owner name: none

// A second set that is never opened, for Stop only.
struct
{
    uint8_t Positionsblock[128];
    uint8_t Schluesselpuffer[255];
    uint16_t Datenlaenge;
    int16_t Schluesselnummer;
    uint8_t Datenpuffer[1500];
} Stoppblock;

void ClientIdSetzen()
{
    BtrieveClientId.fill(0);
    BtrieveClientId[12] = 'M';
    BtrieveClientId[13] = 'T';
    BtrieveClientId[14] = 50;   // thread identifier, 16 bit little-endian
    BtrieveClientId[15] = 0;
}

int16_t aufrufen(uint16_t operation, void* datenpuffer)
{
    ClientIdSetzen();
    BtrieveStatus = BtrieveAufruf(operation, Positionsblock, datenpuffer, Datenlaenge, Schluesselpuffer,
                                  Schluesselnummer, BtrieveClientId.data());
    return BtrieveStatus;
}

int16_t satzLesen(uint16_t operation)
{
    MasterSatz.Daten.fill(0);
    Datenlaenge = TMasterProjekt::Laenge;
    return aufrufen(operation, MasterSatz.Daten.data());
}

} // namespace

QString MasterDateiPfad()
{
    return IniRecord.MasterVerzeichnis + QDir::separator() + QStringLiteral("ZT_FKT_1.DAT");
}

int16_t MasterDateiOeffnen()
{
    // A path of 255 bytes or more leaves no room for the terminating zero: the engine refuses
    // the name (status 11) instead of opening a shortened one.
    const QByteArray pfad = QFile::encodeName(MasterDateiPfad());
    std::memset(Schluesselpuffer, 0, sizeof Schluesselpuffer);
    std::memcpy(Schluesselpuffer, pfad.constData(), std::min<size_t>(size_t(pfad.size()), sizeof Schluesselpuffer));
    std::memset(Oeffnungspuffer, 0, sizeof Oeffnungspuffer);
    Datenlaenge = sizeof Oeffnungspuffer;
    Schluesselnummer = 0;   // normal open mode
    return aufrufen(btrieve::Oeffnen, Oeffnungspuffer);
}

int16_t MasterErsterSatz(int32_t schluessel)
{
    Schluesselnummer = int8_t(schluessel);
    return satzLesen(btrieve::ErsterLesen);
}

int16_t MasterNaechsterSatz()
{
    // Key buffer and key number stay as the previous Get left them: the engine goes on from there.
    return satzLesen(btrieve::NaechsterLesen);
}

int16_t MasterSatzSuchen(const QByteArray& nummer, int32_t schluessel)
{
    // Length byte and characters, the form the record holds the number in; zero after it.
    const int n = std::min<int>(int(nummer.size()), 254);
    std::memset(Schluesselpuffer, 0, sizeof Schluesselpuffer);
    Schluesselpuffer[0] = uint8_t(n);
    std::memcpy(Schluesselpuffer + 1, nummer.constData(), size_t(n));
    Schluesselnummer = int8_t(schluessel);
    return satzLesen(btrieve::GleichLesen);
}

int16_t MasterSatzSuchen(const QString& nummer, int32_t schluessel)
{
    return MasterSatzSuchen(AnsiNachOem(UnicodeNachAnsi(nummer)), schluessel);
}

int16_t MasterDateiSchliessen()
{
    return aufrufen(btrieve::Schliessen, Oeffnungspuffer);
}

int16_t BtrieveBeenden()
{
    ClientIdSetzen();
    Stoppblock.Datenlaenge = sizeof Stoppblock.Datenpuffer;
    BtrieveStatus = BtrieveAufruf(btrieve::Beenden, Stoppblock.Positionsblock, Stoppblock.Datenpuffer,
                                  Stoppblock.Datenlaenge, Stoppblock.Schluesselpuffer, 0, BtrieveClientId.data());
    return BtrieveStatus;
}

QString BtrieveStatusBedeutung(int16_t status)
{
    switch (status) {
    case btrieve::status::Ok:
        return {};
    case btrieve::status::EinAusgabeFehler:
        return QStringLiteral("Die ERP-Datei ist beschädigt, gesperrt oder nicht lesbar.");
    case btrieve::status::DateiNichtOffen:
        return QStringLiteral("Die ERP-Datei ist nicht geöffnet.");
    case btrieve::status::SchluesselNichtGefunden:
        return QStringLiteral("Die ERP-Datei enthält kein Projekt mit dieser Nummer.");
    case btrieve::status::UngueltigeSchluesselnummer:
        return QStringLiteral("Die Datei hat keinen Schlüssel auf die Projektnummer; sie ist keine Projektdatei des ERP-Systems.");
    case btrieve::status::AndereSchluesselnummer:
    case btrieve::status::UngueltigePositionierung:
        return QStringLiteral("Die Lesestelle in der ERP-Datei ging verloren.");
    case btrieve::status::Dateiende:
        return QStringLiteral("Die ERP-Datei enthält keine (weiteren) Projekte.");
    case btrieve::status::UngueltigerDateiname:
        return QStringLiteral("Der Pfad der ERP-Datei ist ungültig oder zu lang.");
    case btrieve::status::DateiNichtGefunden:
        return QStringLiteral("Die ERP-Datei wurde nicht gefunden: ") + MasterDateiPfad();
    case btrieve::status::SchluesselpufferZuKurz:
    case btrieve::status::DatenpufferZuKurz:
        return QStringLiteral("Die Sätze der Datei haben nicht den Aufbau der ERP-Projektdatei.");
    case btrieve::status::KeineBtrieveDatei:
        return QStringLiteral("Die Datei ist keine Btrieve-Datei oder hat eine nicht unterstützte Version.");
    case btrieve::status::UngueltigerEigentuemer:
        return QStringLiteral("Die ERP-Datei ist verschlüsselt und kann nicht gelesen werden.");
    case btrieve::status::ZuWenigSpeicher:
        return QStringLiteral("Zu wenig Arbeitsspeicher, um die ERP-Datei zu lesen.");
    default:
        return QStringLiteral("Die ERP-Datei konnte nicht gelesen werden.");
    }
}

void BtrieveFehlerMelden()
{
    if (BtrieveStatus > 0)
        Meldung::information(QStringLiteral("Btrieve-Fehler: ") + QString::number(BtrieveStatus) + QLatin1Char('\n')
                             + BtrieveStatusBedeutung(BtrieveStatus));
}
