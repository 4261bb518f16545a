#pragma once

#include <QProcess>
#include <QString>
#include <QtTest>

// Another program holding the database: the sqlite3 shell in a transaction of its own with an
// exclusive lock, until aufheben() or the end of the object. Readers and writers of the file
// then wait for their busy time and fail.
class FremdeSperre
{
public:
    explicit FremdeSperre(const QString& datei)
    {
        m_shell.setProcessChannelMode(QProcess::MergedChannels);
        m_shell.start(QStringLiteral("sqlite3"), {datei});
        if (!m_shell.waitForStarted(10000))
            QFAIL("Das Programm sqlite3 fehlt (Debian-Paket sqlite3).");
        // A reader of the program may hold the file for a moment; the shell waits for it.
        m_shell.write(".timeout 5000\nBEGIN EXCLUSIVE;\nSELECT 'gesperrt';\n");
        // The shell answers once the lock is there.
        QByteArray antwort;
        while (!antwort.contains("gesperrt") && m_shell.waitForReadyRead(10000))
            antwort += m_shell.readAll();
        QVERIFY2(antwort.contains("gesperrt") && !antwort.contains("rror"), antwort.constData());
    }
    ~FremdeSperre() { aufheben(); }
    FremdeSperre(const FremdeSperre&) = delete;
    FremdeSperre& operator=(const FremdeSperre&) = delete;

    void aufheben()
    {
        if (m_shell.state() == QProcess::NotRunning)
            return;
        m_shell.write("ROLLBACK;\n.quit\n");
        m_shell.closeWriteChannel();
        m_shell.waitForFinished(10000);
    }

private:
    QProcess m_shell;
};
