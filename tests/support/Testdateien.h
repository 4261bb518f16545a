#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// Reading and writing the raw bytes of a file in tests: what a file holds is compared byte by byte.
namespace Testdateien {

// The whole file, or an empty array when it cannot be read.
inline QByteArray lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with exactly these bytes (fails the running test otherwise).
inline void schreibenRoh(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(inhalt), inhalt.size());
}

} // namespace Testdateien
