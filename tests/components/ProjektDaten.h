#pragma once

#include "DatenbankWerkzeug.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QDate>
#include <QTemporaryDir>
#include <QVariant>

// A small project database in a temporary folder: two employees, three statuses and a few
// projects, with the datasets and data sources the windows bind their controls to.
struct ProjektDaten
{
    QTemporaryDir ordner;
    TKADaoDatabase db;
    TKADaoTable tabProjekt;
    TKADaoTable tabPersonal;
    TKADaoTable tabStatus;
    TDataSource dsProjekt;
    TDataSource dsPersonal;
    TDataSource dsStatus;
    int berechnet = 0;

    explicit ProjektDaten(int projekte = 4)
    {
        const QString pfad = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        DatenbankWerkzeug::anlegen(pfad);
        db.setDatabaseName(pfad);
        db.Open();

        oeffnen(tabPersonal, QStringLiteral("TabPersonal"), QStringLiteral("Personal"), dsPersonal);
        oeffnen(tabStatus, QStringLiteral("TabStatus"), QStringLiteral("Status"), dsStatus);
        // A calculated progress, as the data module has one: counts how often rows are read.
        tabProjekt.AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
        tabProjekt.OnCalcFields = [this](TKADaoTable* t) {
            ++berechnet;
            const TField* rang = t->FieldByName(QStringLiteral("Last_Rang"));
            t->FieldByName(QStringLiteral("Status"))
                ->setValue(rang->IsNull() ? QVariant() : QVariant(rang->AsInteger() * 25.25));
        };
        oeffnen(tabProjekt, QStringLiteral("TabProjekt"), QStringLiteral("Projekt"), dsProjekt);

        zeile(tabPersonal, {{"Nummer", "1"}, {"Name", "Huber"}});
        zeile(tabPersonal, {{"Nummer", "2"}, {"Name", QStringLiteral("Maier-Müller")}});
        zeile(tabStatus, {{"Stat_Bezeichnung", "offen"}, {"Stat_Rang", 0}});
        zeile(tabStatus, {{"Stat_Bezeichnung", "begonnen"}, {"Stat_Rang", 2}});
        zeile(tabStatus, {{"Stat_Bezeichnung", "fertig"}, {"Stat_Rang", 4}});
        for (int i = 0; i < projekte; ++i)
            zeile(tabProjekt, {{"Kommnr", QStringLiteral("P-%1").arg(i + 1)},
                               {"Bezeichn", QStringLiteral("Kunde %1").arg(i + 1)},
                               {"Datum", QDate(2024, 1, i + 1)},
                               {"EV_Sichtbar", i % 2 == 0},
                               {"Last_Personal", i % 2 == 0 ? 1 : 99},
                               {"Last_Rang", i}});
        tabProjekt.First();
    }

    void oeffnen(TKADaoTable& tabelle, const QString& name, const QString& tabellenName, TDataSource& quelle)
    {
        tabelle.setObjectName(name);
        tabelle.setDatabase(&db);
        tabelle.setTableName(tabellenName);
        tabelle.Open();
        quelle.setDataSet(&tabelle);
    }

    static void zeile(TKADaoTable& tabelle, std::initializer_list<std::pair<const char*, QVariant>> werte)
    {
        tabelle.Append();
        for (const auto& [feld, wert] : werte)
            tabelle.FieldByName(QString::fromLatin1(feld))->setValue(wert);
        tabelle.Post();
    }

    // The value as it stands in the database file, read by a dataset of its own.
    QVariant gespeichert(const QString& sql)
    {
        TKADaoTable abfrage;
        abfrage.setDatabase(&db);
        abfrage.setSQL(sql);
        abfrage.setReadOnly(true);
        abfrage.Open();
        return abfrage.IsEmpty() ? QVariant() : abfrage.Field(0)->Value();
    }
};
