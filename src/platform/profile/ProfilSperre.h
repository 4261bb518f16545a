#pragma once

#include <QByteArray>
#include <QString>

// An exclusive advisory lock (flock) on a profile file for one read-change-replace, so that two
// programs sharing one program folder do not lose each other's writes. Writes replace the file
// by renaming a new one over it, so the lock is taken on the file the name refers to and taken
// again when the name has moved on to a newer file meanwhile. Readers need no lock: they see
// either the old or the new file, whole.
class ProfilSperre
{
public:
    // Waits for the lock (at most a few seconds: a writer holds it for milliseconds). A missing
    // file is created empty for the lock when `anlegen` is set.
    ProfilSperre(const QString& pfad, bool anlegen);
    // Releases the lock; a file created only for the lock is removed again unless kept.
    ~ProfilSperre();
    ProfilSperre(const ProfilSperre&) = delete;
    ProfilSperre& operator=(const ProfilSperre&) = delete;

    // Whether the file may be changed now: it is locked, or lies on a file system without locks
    // (as before, then). False when the file is missing (and not created), is no regular file,
    // may not be written, or another program held the lock for too long.
    bool bereit() const { return m_fd >= 0; }
    bool gesperrt() const { return m_fd >= 0 && !m_ohneSperre; }
    // The file now holds what was written, also when it was created for the lock.
    void behalten() { m_angelegt = false; }

private:
    bool versuchen(bool anlegen);

    QByteArray m_pfad;
    int m_fd = -1;
    bool m_angelegt = false;
    bool m_ohneSperre = false;
};
