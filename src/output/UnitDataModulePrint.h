#pragma once

#include <QObject>
#include <memory>

class TBericht;
class TBerichtTabelle;
class TDataModule1;
class TDataSource;
class TKADaoTable;
struct TBerichtDefinition;

/// The print data module: the project report with its two read-only queries on the project
/// database and the report datasets over them. The queries stay closed except while the
/// report is shown (TFormProjektMain::DruckAusgabeStarten). One instance per process
/// (DataModule3), created at start-up after the command module.
class TDataModule3 : public QObject
{
    Q_OBJECT

public:
    /// The queries use the connection of `daten` (the process's DataModule1 by default).
    explicit TDataModule3(TDataModule1* daten = nullptr, QObject* parent = nullptr);
    ~TDataModule3() override;
    TDataModule3(const TDataModule3&) = delete;
    TDataModule3& operator=(const TDataModule3&) = delete;

    TKADaoTable* const TabPrintProjekt;
    TDataSource* const dsPrintProjekt;
    TKADaoTable* const TabPrintAufgaben;
    TBerichtTabelle* const frxDBProjekt;
    TBerichtTabelle* const frxDBAufgaben;
    TBericht* const frxReport1;

    /// The project report: A4 landscape, page header, one bold line per project, one line per
    /// task, page footer.
    static std::shared_ptr<const TBerichtDefinition> ProjektberichtDefinition();

private:
    std::unique_ptr<TBerichtTabelle> m_projekte;
    std::unique_ptr<TBerichtTabelle> m_aufgaben;
};

/// The module of the process; nullptr before it is created and after it is destroyed.
extern TDataModule3* DataModule3;
