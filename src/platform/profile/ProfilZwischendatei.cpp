#include "ProfilZwischendatei.h"

#include "ProfilSperre.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProfilZwischendatei {
namespace {

bool allesSchreiben(int fd, const QByteArray& inhalt)
{
    const char* p = inhalt.constData();
    qsizetype rest = inhalt.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, size_t(rest));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        rest -= n;
    }
    return true;
}

mode_t rechteFuer(const QByteArray& ziel)
{
    struct stat st {};
    if (::stat(ziel.constData(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t maske = ::umask(0);
    ::umask(maske);
    return 0666 & ~maske;
}

// The rename is on disk only once the folder is.
void ordnerSichern(const QByteArray& ziel)
{
    const QByteArray ordner = QFile::encodeName(QFileInfo(QFile::decodeName(ziel)).absolutePath());
    const int fd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool nurBuchstaben(QStringView text)
{
    for (const QChar c : text) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

} // namespace

QString echterPfad(const QString& pfad)
{
    // A link to the file stays a link; the file it points to is replaced.
    const QString ziel = QFileInfo(pfad).canonicalFilePath();
    return ziel.isEmpty() ? pfad : ziel;
}

bool ersetzen(const QString& pfad, const QByteArray& inhalt, const std::function<bool()>& vorDemErsetzen)
{
    const QByteArray ziel = QFile::encodeName(echterPfad(pfad));
    QByteArray zwischen = ziel + ".~XXXXXX";
    const int fd = ::mkostemp(zwischen.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // File systems without Unix permissions refuse the change; the file is written all the same.
    ::fchmod(fd, rechteFuer(ziel));
    // The new content must be on disk before the name points to it.
    const bool geschrieben = allesSchreiben(fd, inhalt) && ::fsync(fd) == 0;
    ::close(fd);
    if (!geschrieben || (vorDemErsetzen && !vorDemErsetzen()) || ::rename(zwischen.constData(), ziel.constData()) != 0) {
        ::unlink(zwischen.constData());
        return false;
    }
    ordnerSichern(ziel);
    return true;
}

bool istZwischendatei(const QString& dateiname, const QString& name)
{
    if (!name.startsWith(dateiname + QLatin1Char('.')))
        return false;
    const QStringView rest = QStringView(name).sliced(dateiname.size() + 1);
    if (rest.size() == 7 && rest.front() == u'~') {
        for (const QChar c : rest.sliced(1)) {
            if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
                return false;
        }
        return true;
    }
    if (rest.size() != 6 || !nurBuchstaben(rest))
        return false;
    const auto gross = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    bool grossDanach = false, klein = false;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        grossDanach |= i > 0 && gross(rest[i]);
        klein |= !gross(rest[i]);
    }
    return grossDanach && klein;
}

void verwaisteEntfernen(const QString& pfad)
{
    const QFileInfo datei(echterPfad(pfad));
    if (!datei.isFile())
        return;
    const ProfilSperre sperre(pfad, false);
    if (!sperre.gesperrt())
        return;
    const QDir ordner = datei.absoluteDir();
    for (const QString& name : ordner.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!istZwischendatei(datei.fileName(), name))
            continue;
        const QByteArray voll = QFile::encodeName(ordner.filePath(name));
        struct stat st {};
        if (::lstat(voll.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(voll.constData());
    }
}

} // namespace ProfilZwischendatei
