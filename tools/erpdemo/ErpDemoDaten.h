#pragma once

#include "BtrieveSchreiber.h"
#include "MasterProjekt.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// ERP project files for the demo, the tests and the benchmark: records of the ERP layout, the
// file's key definitions (key 6 = project number) and realistic German trade projects.
namespace erpdemo {

// Builds one ERP record field by field; texts are stored in DOS code page 850.
class ErpSatz
{
public:
    ErpSatz();
    ErpSatz& text(const char* feld, const QString& wert);
    // A text that replaced a longer one: the old characters stay behind the new length, as in
    // records the ERP system has edited.
    ErpSatz& text(const char* feld, const QString& wert, const QString& vorher);
    // Date texts in the short date format; a field with room for 8 characters gets two-digit years.
    ErpSatz& datum(const char* feld, const QDate& wert);
    ErpSatz& zahl(const char* feld, int wert);
    ErpSatz& oleDatum(const char* feld, double tage);
    ErpSatz& oleDatum(const char* feld, const QDateTime& wert);
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    const TMasterFeld& feld(const char* name) const;
    std::vector<uint8_t> m_bytes;
};

// The keys of ZT_FKT_1.DAT: 0 account, 1 invoice, 2 offer, 3 order number, 4 customer name
// (case-insensitive), 5 cost centre, all with duplicates; 6 the project number, unique.
std::vector<btrieveschreiber::Schluessel> erpSchluessel();
btrieveschreiber::Schreiber erpSchreiber();

// About sixty projects of a heating, plumbing and electrical business.
std::vector<ErpSatz> demoProjekte();
// n synthetic projects with unique numbers, for load tests.
std::vector<uint8_t> massenProjekt(int nr);

// Writes a file with these records; false and a German reason on failure.
bool erpDateiSchreiben(const QString& pfad, const std::vector<ErpSatz>& saetze, QString& fehler);

} // namespace erpdemo
