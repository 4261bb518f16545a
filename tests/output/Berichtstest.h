#pragma once

#include "BerichtSeiten.h"
#include "DataModule1.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"
#include "UnitDataModulePrint.h"

#include <QProcess>
#include <QStringList>
#include <memory>

// A project database in a temporary folder with the data module and the print data module on
// it, the report's queries open as "Ausgabe" opens them.
struct Berichtsumgebung
{
    TestDatenbank db;
    std::unique_ptr<TDataModule1> daten;
    std::unique_ptr<TDataModule3> druck;

    void oeffnen()
    {
        daten = std::make_unique<TDataModule1>();
        daten->DBProjekt->setDatabaseName(db.pfad);
        daten->DBProjekt->Open();
        druck = std::make_unique<TDataModule3>(daten.get());
        druck->TabPrintProjekt->Open();
        druck->TabPrintAufgaben->Open();
    }

    ~Berichtsumgebung()
    {
        druck.reset();
        daten.reset();
    }
};

// The data lines of a run, one per printed band: the texts of the band's objects joined by
// "|" (page header and footer left out).
inline QStringList datenZeilen(const TBerichtSeiten& seiten)
{
    QStringList zeilen;
    for (int s = 0; s < seiten.Anzahl(); ++s) {
        double oben = -1;
        for (const TSeitenElement& e : seiten.Seite(s).elemente) {
            const QString name = e.objekt->Name;
            if (!name.startsWith(QLatin1String("frxDB")))
                continue;
            if (e.bandOben != oben)
                zeilen << QString();
            oben = e.bandOben;
            zeilen.last() += (zeilen.last().isEmpty() ? QString() : QStringLiteral("|")) + seiten.Text(e, s);
        }
    }
    return zeilen;
}

// The output of a poppler tool, or fails the test.
inline QString poppler(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("FEHLER: %1 %2").arg(programm, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The folder the pictures for looking at by eye go to.
inline QString bilderOrdner()
{
    const QString bau = qEnvironmentVariable("PV_BINARY_DIR", QDir::currentPath());
    QDir(bau).mkpath(QStringLiteral("bildschirmfotos"));
    return QDir(bau).filePath(QStringLiteral("bildschirmfotos"));
}
