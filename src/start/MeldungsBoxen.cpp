#include "MeldungsBoxen.h"

#include <QApplication>
#include <QMessageBox>

void MeldungsBoxen::zeigen(Meldung::Art art, const QString& text)
{
    QWidget* elternteil = QApplication::activeWindow();
    const QString titel = QApplication::applicationName();
    switch (art) {
    case Meldung::Art::Information:
        QMessageBox::information(elternteil, titel, text);
        break;
    case Meldung::Art::Warnung:
        QMessageBox::warning(elternteil, titel, text);
        break;
    case Meldung::Art::Fehler:
        QMessageBox::critical(elternteil, titel, text);
        break;
    }
}

bool MeldungsBoxen::bestaetigen(const QString& titel, const QString& frage)
{
    return QMessageBox::question(QApplication::activeWindow(), titel, frage,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

Meldung::Antwort MeldungsBoxen::entscheiden(const QString& titel, const QString& frage)
{
    switch (QMessageBox::question(QApplication::activeWindow(), titel, frage,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Meldung::Antwort::Ja;
    case QMessageBox::No:
        return Meldung::Antwort::Nein;
    default:
        return Meldung::Antwort::Abbrechen;
    }
}
