#pragma once

#include <functional>

// The ERP project search dialog lives in a folder above this one; the program names its opener
// here when it starts, and the master-data window's "Zentora" command runs it.
void ProjektSucheOeffnerSetzen(std::function<void()> oeffner);

// Creates the ERP project search dialog, shows it modal and releases it; nothing while no
// opener has been named.
void ProjektSucheZeigen();
