#pragma once

#include <QColor>
#include <QVariant>

// The colour of a task by the rank of its status, in the colours of the progress bars: the
// rank's share of the highest rank decides as a project's percentage does. A task whose status
// is missing (no rank) is grey.
QColor RangFarbe(const QVariant& rang, int hoechsterRang);
