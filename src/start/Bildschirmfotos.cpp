#include "Bildschirmfotos.h"

#include "Meldung.h"
#include "UnitProjektMain.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace {
const QString Option = QStringLiteral("--bildschirmfotos");
}

Bildschirmfotos::Bildschirmfotos(QString ordner)
    : m_ordner(std::move(ordner))
{
}

QString Bildschirmfotos::ordnerAusArgumenten(const QStringList& argumente)
{
    const qsizetype stelle = argumente.indexOf(Option);
    if (stelle < 0 || stelle + 1 >= argumente.size())
        return {};
    return argumente.at(stelle + 1);
}

QString Bildschirmfotos::dateiName(int ansicht)
{
    return ansicht == 0 ? QStringLiteral("ansicht-bearbeiten.png") : QStringLiteral("ansicht-oeffentlich.png");
}

bool Bildschirmfotos::ansichtSpeichern(TFormProjektMain& fenster)
{
    // Layouts and geometry of the view just switched to settle before the picture is taken.
    QApplication::processEvents();
    const QString pfad = QDir(m_ordner).filePath(dateiName(fenster.Ansicht()));
    if (fenster.grab().save(pfad, "PNG"))
        return true;
    Meldung::fehler(QStringLiteral("Das Bildschirmfoto konnte nicht gespeichert werden:") + QChar(13)
                    + QDir::toNativeSeparators(pfad));
    return false;
}

bool Bildschirmfotos::aufnehmen(TFormProjektMain& fenster)
{
    bool gespeichert = QDir().mkpath(m_ordner);
    gespeichert = ansichtSpeichern(fenster) && gespeichert;
    fenster.ActionAnsichtExecute();
    gespeichert = ansichtSpeichern(fenster) && gespeichert;
    fenster.ActionAnsichtExecute();
    fenster.close();
    return gespeichert;
}
