#pragma once

#include "ErpDemoDaten.h"

#include <QDir>
#include <QString>
#include <QtTest>

// ERP project files for the search and take-over tests, written by the project's Btrieve writer.
namespace ErpTestdaten {

using erpdemo::ErpSatz;

// Writes ZT_FKT_1.DAT with these records into the folder (made if missing).
inline void dateiSchreiben(const QString& ordner, const std::vector<ErpSatz>& saetze)
{
    QVERIFY(QDir().mkpath(ordner));
    QString fehler;
    QVERIFY2(erpdemo::erpDateiSchreiben(ordner + QStringLiteral("/ZT_FKT_1.DAT"), saetze, fehler), qPrintable(fehler));
}

// A project with every field the take-over reads: umlauts (stored in code page 850), a valid,
// an empty and an impossible date text, OLE dates of 0 and below, subject lines with a gap.
inline ErpSatz vollerSatz()
{
    ErpSatz s;
    s.text("Konto", "10001").text("Kommnr", "24-0101").text("RechnNr", "R-1").text("AngebotsNr", "A-1")
        .text("AuftragsNr", "AU-77").text("Bezeichn", "Bäckerei Müller").datum("Datum", QDate(2024, 3, 5))
        .text("Anrede", "Firma").text("Branche", "Bäckerei").text("Postfach", "PF 12")
        .text("Strasse", "Hauptstraße 3").text("Ort", "79098 Freiburg").text("U_Zchn", "MÜ").text("I_Zchn", "hb")
        .text("Betreff1", "Umbau Backstube").text("Betreff3", "Lüftung ²").zahl("TRechNr", -3)
        .text("Baustelle", "Backstube Süd").text("Bauherr", "Müller").text("Architekt", "Öko-Plan")
        .text("BOrt", "Freiburg").text("BStrasse", "Gartenstr. 1").text("BTel", "0761-1").text("ATel", "0761-2")
        .text("UTel", "0761-3").datum("Baubegin", QDate(2024, 4, 2)).text("Termin", "")
        .text("Faellig", "31.02.24").text("Bemerkung", "Zufahrt über Hof").text("KundenKey", "MUELLER")
        .text("GutSchrNr", "G-5").zahl("Kostenstelle", 400)
        .oleDatum("RechDate", 45000.5).oleDatum("AngDate", 0.0).oleDatum("AuftrDate", -1.0)
        .oleDatum("GutschrDate", 45001.0).oleDatum("MontageDate", 0.0);
    return s;
}

// Texts longer than their Projekt fields and a cost centre beyond 16 bits.
inline ErpSatz ueberlangerSatz()
{
    ErpSatz s;
    s.text("Kommnr", "24-0103").text("AuftragsNr", QString(18, QLatin1Char('7')))
        .text("UTel", "+49 761 123456-789 Zentrale").text("Bemerkung", QString(52, QLatin1Char('x')))
        .text("KundenKey", QString(66, QLatin1Char('k'))).zahl("Kostenstelle", -40000);
    return s;
}

// Subject lines: only the given ones are filled.
inline ErpSatz betreffSatz(const char* kommnr, const QStringList& zeilen)
{
    ErpSatz s;
    s.text("Kommnr", QLatin1String(kommnr)).text("Bezeichn", QStringLiteral("Betreffprobe"));
    static const char* namen[] = {"Betreff1", "Betreff2", "Betreff3", "Betreff4", "Betreff5"};
    for (int i = 0; i < zeilen.size() && i < 5; ++i)
        s.text(namen[i], zeilen[i]);
    return s;
}

inline ErpSatz kurzerSatz(const QString& kommnr, const QString& kunde, const QString& baustelle = {},
                          const QString& betreff = {})
{
    ErpSatz s;
    s.text("Kommnr", kommnr).text("Bezeichn", kunde).text("Baustelle", baustelle).text("Betreff1", betreff);
    return s;
}

} // namespace ErpTestdaten
