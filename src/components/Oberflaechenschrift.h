#pragma once

#include <QFont>

// The one font of the user interface. The layouts are measured in Tahoma; Wine's metric-
// compatible Tahoma is loaded when installed, Liberation Sans stands in otherwise.
QString OberflaechenSchriftfamilie();
QFont Oberflaechenschrift(int punkt, bool fett = false);
