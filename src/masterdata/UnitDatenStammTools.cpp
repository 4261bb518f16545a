#include "UnitDatenStammTools.h"

namespace {

std::function<void()>& projektSucheOeffner()
{
    static std::function<void()> oeffner;
    return oeffner;
}

} // namespace

void ProjektSucheOeffnerSetzen(std::function<void()> oeffner)
{
    projektSucheOeffner() = std::move(oeffner);
}

void ProjektSucheZeigen()
{
    if (const auto& oeffner = projektSucheOeffner())
        oeffner();
}
