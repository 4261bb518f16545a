#include "FehlerWeitergabe.h"

#include <QCoreApplication>
#include <QTimer>

void FehlerWeitergeben(std::exception_ptr fehler)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [fehler] { std::rethrow_exception(fehler); });
}
