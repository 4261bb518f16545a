#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class ProjektAenderungen;
class TDataSource;
class TKADaoDatabase;
class TKADaoTable;

/// The program's data: the connection to the project database and every dataset the windows
/// show and edit, with the derived progress fields and the operations that keep a project's
/// current-task summary up to date. Windows bind to the data sources below by name; they hold
/// no data of their own. One instance per process (DataModule1), created at start-up.
///
/// The components are children of the module, named (objectName) as the windows know them.
class TDataModule1 : public QObject
{
    Q_OBJECT

public:
    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;
    TDataModule1(const TDataModule1&) = delete;
    TDataModule1& operator=(const TDataModule1&) = delete;

    TKADaoDatabase* const DBProjekt;

    TKADaoTable* const TabProjekt;
    TKADaoTable* const TabProjektView;
    TKADaoTable* const TabAufgaben;
    TKADaoTable* const TabPersonal;
    TKADaoTable* const TabStatus;
    TKADaoTable* const TabProjektAufgaben;
    TKADaoTable* const TabStatSum;
    TKADaoTable* const QProjektAufgaben;
    TKADaoTable* const TabSuche;
    TKADaoTable* const TabTemp;

    TDataSource* const DSProjekt;
    TDataSource* const dsProjektView;
    TDataSource* const DSAufgaben;
    TDataSource* const DSPersonal;
    TDataSource* const DSStatus;
    TDataSource* const DSProjektAufgaben;
    TDataSource* const DSStatSum;
    TDataSource* const dsQProjektAufgaben;

    /// The datasets start-up opens, in the order they must open: lookup sources and the
    /// master before the datasets that use them.
    QList<TKADaoTable*> Oeffnungsreihenfolge() const;
    /// Opens those datasets in that order; `vorOeffnen` (if set) is called before each one
    /// (start-up advances its progress bar there). Errors are the layer's Fehler.
    void DatenmengenOeffnen(const std::function<void(TKADaoTable*)>& vorOeffnen = {});

    // --- Operations ---
    /// Sets the selection mark of every catalogue task to `Wert` (0 or 1). TabAufgaben is not
    /// re-read; a window showing the marks refreshes it.
    void AufgabenAuswahlSetzen(int Wert);
    /// Appends a task of project `ProjektID` for every marked catalogue task (catalogue order),
    /// brings the project's summary up to date once and clears the marks, all in one
    /// transaction: on an error nothing is assigned, the marks are kept and the message says so.
    void AusgewaehlteAufgabenZuordnen(int ProjektID);
    /// Copies the current task (lowest priority among the unfinished ones) of TabProjekt's
    /// current project into the project's Last_* columns; nothing when it has none or when
    /// the database is open read-only.
    void ProjektStandAktualisieren();
    /// Number of statuses.
    int AnzahlStatusErmitteln();
    /// Deletes every task row of project `ProjektID`.
    void ProjektAufgabenLoeschen(int ProjektID);
    /// Deletes TabProjekt's current project and every task row of it in one transaction: on
    /// an error nothing is deleted, neither the tasks nor the project.
    void ProjektMitAufgabenLoeschen();
    /// How the wall list was brought up to date.
    enum class TListenAbgleich { Unveraendert, Einzeln, Ganz };
    /// The wall list at a tick of its timer: nothing when nothing was written since the last
    /// look (one statement). Otherwise the current project's summary, then the projects changed
    /// since are read again into TabProjektView, each into its place, and their task sums; or
    /// both read whole when the changes cannot be told apart.
    TListenAbgleich ProjektListeAbgleichen();
    /// The current project's summary, the task sums and TabProjektView read whole; the next
    /// comparison counts from here.
    void ProjektListeNeuLesen();

    /// True when the select statement `SQL` yields at least one row.
    bool AbfrageHatErgebnis(const QString& SQL);
    /// The select that asks whether a project with this number exists, the number quoted as
    /// an SQL literal (so a quote in it is data, never part of the statement).
    static QString ExistenzAbfrage(const QString& kommnr);

    // --- Handlers ---
    void TabProjektCalcFields(TKADaoTable* DataSet);
    void TabProjektViewCalcFields(TKADaoTable* DataSet);
    void TabProjektAufgabenAfterPost(TKADaoTable* DataSet);

private:
    void feldFormateSetzen(TKADaoTable* tabelle);
    bool hatAktuellesProjekt() const;
    bool summeSchonAktuell() const;
    void katalogAufgabeAnhaengen(int ProjektID);
    void zuordnenZuruecknehmen();
    // The task sums read again and the current project row with them.
    void projektNeuLesen();
    // The task sums of the current project read again.
    void summeNachlesen();

    // Changes since the wall list was read last.
    std::unique_ptr<ProjektAenderungen> m_aenderungen;
    // While tasks are appended in a row, the summary waits for the last one.
    bool m_nachPostAufgeschoben = false;
    bool m_nachPostVerpasst = false;
};

/// The module of the process; nullptr before it is created and after it is destroyed.
extern TDataModule1* DataModule1;
