#pragma once

#include "BerichtDatenmenge.h"

#include <memory>

class TBericht;
class TWochenplan;
struct TBerichtDefinition;

// A week overview as a report dataset: one row per line of the plan, with the fields "Name"
// and "Tag0" (Monday) … "Tag6" (Sunday), a day's projects one under another.
class TWochenplanDatenmenge : public TBerichtDatenmenge
{
public:
    explicit TWochenplanDatenmenge(const TWochenplan& plan);

    void First() override { m_zeile = 0; }
    void Next() override { ++m_zeile; }
    bool Eof() const override;
    QVariant Wert(const QString& feld) const override;
    int Anzahl() const override;

private:
    const TWochenplan& m_plan;
    int m_zeile = 0;
};

// The printed week overview: A4 landscape, the week and the day captions at the top of every
// page, one band per employee with his projects under each shown day, high enough for the
// fullest cell of the week.
class TWochenplanBericht
{
public:
    // The plan must outlive the report.
    explicit TWochenplanBericht(const TWochenplan& plan);
    ~TWochenplanBericht();

    TBericht* Bericht() const { return m_bericht.get(); }

    static std::shared_ptr<const TBerichtDefinition> Definition(const TWochenplan& plan);

private:
    std::unique_ptr<TWochenplanDatenmenge> m_daten;
    std::unique_ptr<TBericht> m_bericht;
};
