#include "Umwandlungsangebot.h"

#include "JetDatei.h"
#include "Meldung.h"
#include "Uebernahme.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

void UmwandlungAnbieten(const QString& datenbank, QWidget* fenster)
{
    if (!Altdaten::JetDatei::istJetDatei(datenbank))
        return;
    const QString anzeige = QDir::toNativeSeparators(QFileInfo(datenbank).absoluteFilePath());
    if (!Meldung::bestaetigen(QStringLiteral("Umwandlung"),
                              QStringLiteral("Die Datenbank '%1' ist eine Access-Datenbank des alten Windows-Programms und "
                                             "muss zuerst in das neue Datenbankformat umgewandelt werden. Die Access-Datei "
                                             "bleibt dabei unter neuem Namen daneben erhalten.\n\nJetzt umwandeln?")
                                  .arg(anzeige)))
        return;

    QProgressDialog fortschritt(QStringLiteral("Die Datenbank wird umgewandelt ..."), QStringLiteral("Abbrechen"), 0, 1000, fenster);
    fortschritt.setObjectName(QStringLiteral("UmwandlungFortschritt"));
    fortschritt.setWindowTitle(QStringLiteral("Umwandlung"));
    fortschritt.setWindowModality(Qt::ApplicationModal);
    fortschritt.setMinimumDuration(0);
    fortschritt.setValue(0);
    const Altdaten::Umwandlung ergebnis = Altdaten::umwandeln(datenbank, [&fortschritt](const Altdaten::UebernahmeStand& stand) {
        fortschritt.setLabelText(QStringLiteral("Tabelle %1: %2 übernommen").arg(stand.tabelle, Altdaten::zeilenText(stand.tabelleZeilen)));
        fortschritt.setValue(stand.gesamt > 0 ? int(stand.erledigt * 1000 / stand.gesamt) : 0);
        QCoreApplication::processEvents();
        return !fortschritt.wasCanceled();
    });
    fortschritt.reset();

    QString text = ergebnis.bericht.text(25);
    text += QStringLiteral("\n\nDie Access-Datenbank liegt jetzt unter '%1'.").arg(ergebnis.sicherung);
    if (!ergebnis.berichtDatei.isEmpty())
        text += QStringLiteral("\nDer vollständige Bericht steht in '%1'.").arg(ergebnis.berichtDatei);
    Meldung::information(text);
}
