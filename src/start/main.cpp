#include "MeldungsBoxen.h"
#include "ProjektApplication.h"
#include "Programmstart.h"

int main(int argc, char** argv)
{
    TProjektApplication app(argc, argv);
    MeldungsBoxen meldungsBoxen;
    Meldung::setzeEmpfaenger(&meldungsBoxen);
    return ProgrammStarten(app);
}
