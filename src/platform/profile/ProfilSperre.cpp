#include "ProfilSperre.h"

#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A writer holds the lock for one write of a small file; one that holds it longer has hung.
constexpr int WarteMillisekunden = 10000;

bool gleicheDatei(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

ProfilSperre::ProfilSperre(const QString& pfad, bool anlegen)
    : m_pfad(QFile::encodeName(pfad))
{
    // The name can move on to a newer file while we wait; a few rounds settle it.
    for (int runde = 0; runde < 100 && m_fd < 0; ++runde) {
        if (!versuchen(anlegen))
            break;
    }
}

// Returns false when there is nothing to lock or no point in trying again.
bool ProfilSperre::versuchen(bool anlegen)
{
    m_angelegt = false;
    m_ohneSperre = false;
    int fd = ::open(m_pfad.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && anlegen) {
        fd = ::open(m_pfad.constData(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno == EEXIST)
            return true;   // another program created it just now
        m_angelegt = fd >= 0;
    }
    // A file we may not write (read-only, or a folder) is not replaced either.
    if (fd < 0)
        return false;

    struct stat offen {};
    if (::fstat(fd, &offen) != 0 || !S_ISREG(offen.st_mode)) {
        ::close(fd);
        return false;
    }
    int gewartet = 0;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // The file system has no locks: write as without them.
            m_fd = fd;
            m_ohneSperre = true;
            return true;
        }
        if (gewartet >= WarteMillisekunden) {
            ::close(fd);
            return false;
        }
        QThread::msleep(2);
        gewartet += 2;
    }
    struct stat benannt {};
    if (::stat(m_pfad.constData(), &benannt) != 0 || !gleicheDatei(offen, benannt)) {
        // Replaced (or removed) while we waited: lock the file the name refers to now.
        ::close(fd);
        return true;
    }
    m_fd = fd;
    return true;
}

ProfilSperre::~ProfilSperre()
{
    if (m_fd < 0)
        return;
    struct stat offen {}, benannt {};
    if (m_angelegt && ::fstat(m_fd, &offen) == 0 && ::stat(m_pfad.constData(), &benannt) == 0
        && gleicheDatei(offen, benannt) && offen.st_size == 0)
        ::unlink(m_pfad.constData());
    ::close(m_fd);
}
