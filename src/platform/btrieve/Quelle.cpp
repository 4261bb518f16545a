#include "Quelle.h"

#include "Btrieve.h"
#include "Format.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace btrieve {

namespace {
[[noreturn]] void zuKurz(uint64_t position, size_t anzahl)
{
    throw Defekt(status::EinAusgabeFehler, "Lesen von " + std::to_string(anzahl) + " Bytes ab Position "
                                               + std::to_string(position) + " geht über das Dateiende");
}
} // namespace

std::unique_ptr<Dateiquelle> Dateiquelle::oeffnen(const std::string& pfad, int16_t& status)
{
    if (pfad.empty()) {
        status = status::UngueltigerDateiname;
        return nullptr;
    }
    const int fd = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case ENOENT: case ENOTDIR: status = status::DateiNichtGefunden; break;
        case ENAMETOOLONG: status = status::UngueltigerDateiname; break;
        case EACCES: case EPERM: status = 94; break;   // the engine's "permission error"
        default: status = status::EinAusgabeFehler; break;
        }
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        status = S_ISDIR(st.st_mode) ? status::DateiNichtGefunden : status::EinAusgabeFehler;
        return nullptr;
    }
    status = status::Ok;
    return std::unique_ptr<Dateiquelle>(new Dateiquelle(fd));
}

Dateiquelle::~Dateiquelle() { ::close(m_fd); }

uint64_t Dateiquelle::groesse() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw Defekt(status::EinAusgabeFehler, std::string("Dateigröße nicht lesbar: ") + std::strerror(errno));
    return uint64_t(st.st_size);
}

void Dateiquelle::lesen(uint64_t position, uint8_t* ziel, size_t anzahl) const
{
    size_t gelesen = 0;
    while (gelesen < anzahl) {
        const ssize_t n = ::pread(m_fd, ziel + gelesen, anzahl - gelesen, off_t(position + gelesen));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Defekt(status::EinAusgabeFehler, std::string("Lesefehler: ") + std::strerror(errno));
        if (n == 0)
            zuKurz(position, anzahl);
        gelesen += size_t(n);
    }
}

uint64_t Dateiquelle::stempel() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        return 0;
    // Size and modification time together change with every write another program makes.
    uint64_t s = uint64_t(st.st_size);
    s = s * 1000003u ^ uint64_t(st.st_mtim.tv_sec);
    s = s * 1000003u ^ uint64_t(st.st_mtim.tv_nsec);
    s = s * 1000003u ^ uint64_t(st.st_ctim.tv_nsec);
    return s;
}

bool Dateiquelle::kuerzlichGeschrieben() const
{
    struct stat st {};
    struct timespec jetzt {};
    if (::fstat(m_fd, &st) != 0 || ::clock_gettime(CLOCK_REALTIME, &jetzt) != 0)
        return true;
    return jetzt.tv_sec - st.st_mtim.tv_sec < 3;   // also when the clock runs behind the file's time
}

void Speicherquelle::lesen(uint64_t position, uint8_t* ziel, size_t anzahl) const
{
    if (position > m_laenge || anzahl > m_laenge - position)
        zuKurz(position, anzahl);
    std::memcpy(ziel, m_daten + position, anzahl);
}

} // namespace btrieve
