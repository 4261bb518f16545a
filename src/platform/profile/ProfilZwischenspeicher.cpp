#include "ProfilZwischenspeicher.h"

#include "Fehler.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProfilZwischenspeicher {
namespace {

// Within this time after a change the file system's times may not tell two versions apart
// (two seconds on FAT; network shares take the server's time).
constexpr time_t UnsichereSekunden = 2;
// The program reads one file; the limit only keeps tests with many folders small.
constexpr qsizetype HoechstensDateien = 8;

struct Stempel
{
    dev_t geraet = 0;
    ino_t knoten = 0;
    off_t groesse = -1;
    timespec geaendert {};
    timespec status {};

    bool operator==(const Stempel& b) const
    {
        return geraet == b.geraet && knoten == b.knoten && groesse == b.groesse
               && geaendert.tv_sec == b.geaendert.tv_sec && geaendert.tv_nsec == b.geaendert.tv_nsec
               && status.tv_sec == b.status.tv_sec && status.tv_nsec == b.status.tv_nsec;
    }
};

Stempel stempel(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// A change this recent could be followed by another one with the same times.
bool frisch(const Stempel& s)
{
    return ::time(nullptr) - s.geaendert.tv_sec <= UnsichereSekunden;
}

struct Eintrag
{
    std::optional<Stempel> stempel;   // of the file the parse was made from; none after our own write
    QByteArray bytes;
    std::shared_ptr<const ProfilDatei> datei;
};

QHash<QString, Eintrag> g_eintraege;
QHash<QString, ProfilKodierung> g_kodierungen;   // kept for the whole run

void pruefeGroesse(const QString& pfad, off_t groesse)
{
    if (groesse <= GroessteDatei)
        return;
    throw Fehler(QStringLiteral("Die Einstellungsdatei %1 ist mit %2 MB zu groß für eine Einstellungsdatei "
                                "(höchstens %3 MB) und wird nicht gelesen. Bitte die Datei prüfen und durch "
                                "eine gültige ersetzen oder löschen; eine gelöschte Datei wird beim nächsten "
                                "Start neu angelegt.")
                     .arg(pfad)
                     .arg(QString::number(double(groesse) / (1024 * 1024), 'f', 1).replace(QLatin1Char('.'),
                                                                                           QLatin1Char(',')))
                     .arg(GroessteDatei / (1024 * 1024)));
}

std::optional<QByteArray> allesLesen(int fd, off_t groesse)
{
    // One byte more than measured shows a file that has grown since.
    QByteArray bytes(qsizetype(groesse) + 1, Qt::Uninitialized);
    qsizetype gelesen = 0;
    while (gelesen < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + gelesen, size_t(bytes.size() - gelesen));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        gelesen += n;
        if (gelesen == bytes.size() && bytes.size() <= GroessteDatei)
            bytes.resize(qMin(bytes.size() * 2, GroessteDatei + 1));
    }
    bytes.truncate(gelesen);
    return bytes;
}

void kodierungMerken(const QString& pfad, const ProfilDatei& datei)
{
    if (const auto kodierung = datei.festeKodierung())
        g_kodierungen.insert(pfad, *kodierung);
}

Eintrag& eintragFuer(const QString& pfad)
{
    if (!g_eintraege.contains(pfad) && g_eintraege.size() >= HoechstensDateien)
        g_eintraege.erase(g_eintraege.begin());
    return g_eintraege[pfad];
}

} // namespace

Stand lesen(const QString& pfad)
{
    const QByteArray name = QFile::encodeName(pfad);
    const auto bisher = [&]() -> std::optional<ProfilKodierung> {
        if (const auto k = g_kodierungen.constFind(pfad); k != g_kodierungen.constEnd())
            return *k;
        return std::nullopt;
    };

    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {std::make_shared<const ProfilDatei>(QByteArray(), bisher()), false, true};
        return {std::make_shared<const ProfilDatei>(QByteArray()), true, false};
    }
    if (!S_ISREG(st.st_mode))
        return {std::make_shared<const ProfilDatei>(QByteArray()), true, false};
    pruefeGroesse(pfad, st.st_size);

    const auto gemerkt = g_eintraege.constFind(pfad);
    if (gemerkt != g_eintraege.constEnd() && gemerkt->stempel == stempel(st) && !frisch(stempel(st)))
        return {gemerkt->datei, true, true};

    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {std::make_shared<const ProfilDatei>(QByteArray()), true, false};
    struct stat offen {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &offen) == 0) {
        pruefeGroesse(pfad, offen.st_size);
        bytes = allesLesen(fd, offen.st_size);
    }
    ::close(fd);
    if (!bytes)
        return {std::make_shared<const ProfilDatei>(QByteArray()), true, false};
    pruefeGroesse(pfad, bytes->size());

    Eintrag& eintrag = eintragFuer(pfad);
    if (!eintrag.datei || eintrag.bytes != *bytes) {
        eintrag.datei = std::make_shared<const ProfilDatei>(*bytes, bisher());
        eintrag.bytes = *bytes;
    }
    eintrag.stempel = stempel(offen);
    kodierungMerken(pfad, *eintrag.datei);
    return {eintrag.datei, true, true};
}

void geschrieben(const QString& pfad, const ProfilDatei& datei)
{
    Eintrag& eintrag = eintragFuer(pfad);
    eintrag.datei = std::make_shared<const ProfilDatei>(datei);
    eintrag.bytes = datei.dateiInhalt();
    eintrag.stempel.reset();
    kodierungMerken(pfad, datei);
}

} // namespace ProfilZwischenspeicher
