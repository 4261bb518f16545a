#include "Bildschirmfotos.h"
#include "MeldungsBoxen.h"
#include "MeldungsProtokoll.h"
#include "ProjektApplication.h"
#include "Programmstart.h"

int main(int argc, char** argv)
{
    TProjektApplication app(argc, argv);
    const QString fotoOrdner = Bildschirmfotos::ordnerAusArgumenten(app.arguments());
    MeldungsBoxen meldungsBoxen;
    MeldungsProtokoll meldungsProtokoll;
    if (fotoOrdner.isEmpty()) {
        Meldung::setzeEmpfaenger(&meldungsBoxen);
    } else {
        // Nobody is there to close a message box.
        Meldung::setzeEmpfaenger(&meldungsProtokoll);
        TProjektApplication::setzeFehlerAnzeige(&MeldungsProtokoll::schreiben);
    }
    return ProgrammStarten(app, fotoOrdner);
}
