#pragma once

#include <QFile>
#include <QString>
#include <QtTest>

#include <unistd.h>

// A user without write rights where the permissions say so. Root may write anywhere, so a
// test running as root becomes the user "nobody" (real and effective) until the end of the
// object; the saved user stays root, which lets it return. Other users stay who they are.
class OhneSchreibrecht
{
public:
    OhneSchreibrecht()
    {
        if (::geteuid() == 0)
            m_gewechselt = ::setresuid(65534, 65534, 0) == 0;
    }
    ~OhneSchreibrecht()
    {
        if (m_gewechselt)
            QVERIFY(::setresuid(0, 0, 0) == 0);
    }
    OhneSchreibrecht(const OhneSchreibrecht&) = delete;
    OhneSchreibrecht& operator=(const OhneSchreibrecht&) = delete;

    // Read and search rights for everybody, no write right.
    static void nurLesbar(const QString& pfad, bool ordner)
    {
        QFileDevice::Permissions rechte = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (ordner)
            rechte |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        QVERIFY(QFile::setPermissions(pfad, rechte));
    }
    // Every right for everybody (a folder the other user works in).
    static void offen(const QString& pfad)
    {
        QVERIFY(QFile::setPermissions(pfad, QFileDevice::Permissions(0x7777)));
    }

private:
    bool m_gewechselt = false;
};
