#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TDataModule1;
class TField;
struct TMasterProjekt;
struct TMasterFeld;

// Takes one project of the ERP file over into the project table as a new project: refuses a
// number that is already there, fetches the record by its number (key 6), fills every field
// with its conversion and, by the setting AufgabenAutomatik, gives the project its tasks.
// The project and its automatically assigned tasks are stored in one transaction.
class TProjektUebernahme
{
public:
    explicit TProjektUebernahme(TDataModule1& daten);

    // AufgabenAutomatik 1: opens the task assignment window for the new project (set by the
    // program; nothing opens while it is empty).
    std::function<void(const QString& Kommnr, int ProjektID)> AufgabenFensterOeffnen;

    // True when the project was taken over. Expected refusals are shown as messages; database
    // errors are raised as Fehler and leave nothing stored.
    bool ProjektUebernehmen(const QString& Kommnr);

    // The ID of the project last taken over; 0 before.
    int ProjektID() const { return m_projektId; }

    // The five subject lines joined: line 1, then each non-empty one of lines 2 to 5 after a space.
    static QString BetreffGesamt(const TMasterProjekt& satz);

private:
    void felderFuellen(const TMasterProjekt& satz, QStringList& gekuerzt);
    void feldFuellen(const TMasterProjekt& satz, const TMasterFeld& quelle, TField* ziel, QStringList& gekuerzt);
    static void textSetzen(TField* ziel, const QString& wert, QStringList& gekuerzt);
    void datumstextFuellen(const TMasterProjekt& satz, const TMasterFeld& quelle, TField* ziel);
    void speichern(const TMasterProjekt& satz, const QString& Kommnr, QStringList& gekuerzt);

    TDataModule1& m_daten;
    int m_projektId = 0;
};
