#include "BenchDaten.h"

#include "DatenbankWerkzeug.h"
#include "Fehler.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <sqlite3.h>
#include <time.h>

namespace BenchDaten {

QString grosseDatenbankGemeldet(const QString& ordner, int projekte, QTextStream& aus)
{
    QElapsedTimer uhr;
    uhr.start();
    // Making 200,000 projects takes minutes; with PV_BENCH_VORRAT set, a file once made there is
    // copied for later runs (the runs change their copy, never the kept one).
    const QString vorrat = qEnvironmentVariable("PV_BENCH_VORRAT");
    QString datei;
    if (vorrat.isEmpty()) {
        datei = grosseDatenbank(ordner, projekte);
    } else {
        const QString gemacht = QDir(vorrat).filePath(QStringLiteral("PROJEKT-%1.MDB").arg(projekte));
        if (!QFile::exists(gemacht)) {
            QDir().mkpath(vorrat);
            QFile::rename(grosseDatenbank(ordner, projekte), gemacht);
        }
        datei = QDir(ordner).filePath(QStringLiteral("PROJEKT.MDB"));
        QFile::remove(datei);
        if (!QFile::copy(gemacht, datei))
            throw Fehler(QStringLiteral("Benchmark-Datenbank kann nicht kopiert werden: ") + gemacht);
    }
    aus << QStringLiteral("Datenbank (%1 Projekte) bereit: %2 ms\n").arg(projekte).arg(uhr.elapsed());
    aus.flush();
    return datei;
}

QDate stichtag()
{
    return {2024, 6, 3};
}

QString grosseDatenbank(const QString& ordner, int projekte, int aufgaben)
{
    if (aufgaben < 0)
        aufgaben = projekte * 10;
    const QString datei = QDir(ordner).filePath(QStringLiteral("PROJEKT.MDB"));
    DatenbankWerkzeug::anlegen(datei);
    // A fixed day: the same data in every run.
    DatenbankWerkzeug::demoDatenEinfuegen(datei, projekte, stichtag());

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(datei).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw Fehler(QStringLiteral("Benchmark-Datenbank kann nicht geöffnet werden: ") + datei);
    }
    const QByteArray sql = QStringLiteral(
        "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_von, Datum_bis, Mitarbeiter, "
        "Status_ID, Prioritaet, Bemerkung) "
        "SELECT Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_von, Datum_bis, Mitarbeiter, Status_ID, Prioritaet + 100, "
        "Bemerkung FROM ProjektAufgaben ORDER BY ID LIMIT max(0, %1 - (SELECT count(*) FROM ProjektAufgaben))")
                               .arg(aufgaben)
                               .toUtf8();
    char* meldung = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &meldung);
    const QString text = QString::fromUtf8(meldung);
    sqlite3_free(meldung);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw Fehler(QStringLiteral("Benchmark-Datenbank: ") + text);
    return datei;
}

double shellZeit(const QString& datei, const QStringList& anweisungen, int laeufe)
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty())
        return -1;
    double beste = 1e12;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        QProcess prozess;
        prozess.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer uhr;
        uhr.start();
        prozess.start(sqlite3, {datei, anweisungen.join(QStringLiteral(";"))});
        prozess.waitForFinished(-1);
        beste = std::min(beste, uhr.nsecsElapsed() / 1e6);
    }
    return beste;
}

Umfang umfangAusArgumenten(const QStringList& argumente)
{
    Umfang umfang;
    for (qsizetype i = 1; i + 1 < argumente.size(); i += 2) {
        if (argumente[i] == QLatin1String("--projekte"))
            umfang.projekte = argumente[i + 1].toInt();
        else if (argumente[i] == QLatin1String("--runden"))
            umfang.runden = argumente[i + 1].toInt();
    }
    return umfang;
}

double median(QList<double> werte)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const qsizetype m = werte.size() / 2;
    return werte.size() % 2 ? werte[m] : (werte[m - 1] + werte[m]) / 2;
}

double threadZeit()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : status.readAll().split('\n')) {
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

double messen(int runden, const std::function<void()>& schritt, const std::function<void()>& vorher, double* rechenzeit)
{
    QList<double> zeiten;
    QList<double> cpu;
    for (int r = 0; r < runden; ++r) {
        if (vorher)
            vorher();
        QElapsedTimer uhr;
        const double cpuAnfang = threadZeit();
        uhr.start();
        schritt();
        zeiten << uhr.nsecsElapsed() / 1e6;
        cpu << threadZeit() - cpuAnfang;
    }
    if (rechenzeit)
        *rechenzeit = median(cpu);
    return median(zeiten);
}

} // namespace BenchDaten
