#include "Bildschirmfotos.h"

#include "Meldung.h"
#include "UnitAufgabenZuordnen.h"
#include "UnitProjektMain.h"
#include "TerminplanAnsicht.h"
#include "UnitWochenplan.h"
#include "DataModule1.h"
#include "TKADaoTable.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QSplitter>
#include <QTabWidget>

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

QString Bildschirmfotos::aufgabenDateiName(int modus)
{
    return modus == 0 ? QStringLiteral("aufgaben-zuordnen.png") : QStringLiteral("aufgaben-bearbeiten.png");
}

bool Bildschirmfotos::ansichtSpeichern(TFormProjektMain& fenster)
{
    return bildSpeichern(fenster, dateiName(fenster.Ansicht()));
}

bool Bildschirmfotos::aufgabenFensterSpeichern(TFormProjektMain& fenster, int modus)
{
    // Shown without its modal loop, so that the run goes on by itself; closed as the user does.
    TFormAufgabenZuordnen aufgaben(&fenster);
    aufgaben.FuerAktuellesProjekt(modus);
    aufgaben.show();
    const bool gespeichert = bildSpeichern(aufgaben, aufgabenDateiName(modus));
    aufgaben.close();
    return gespeichert;
}

bool Bildschirmfotos::terminplanSpeichern(TFormProjektMain& fenster)
{
    // The edit view with its task pages turned to the timeline, then back to the task grid.
    const int ansicht = fenster.Ansicht();
    if (ansicht != 0)
        fenster.ActionAnsichtExecute();
    QTabWidget* seiten = fenster.PageControlAufgaben;
    QWidget* vorher = seiten->currentWidget();
    seiten->setCurrentWidget(fenster.TerminplanAufgaben);
    // The tasks get half the height, as a user drags the splitter to look at the timeline.
    const QList<int> groessen = fenster.Splitter1->sizes();
    const int hoehe = groessen.value(0) + groessen.value(1);
    fenster.Splitter1->setSizes({hoehe / 2, hoehe - hoehe / 2});
    // From the current project on, the first one with a dated task, so that bars are in sight.
    TKADaoTable* projekte = DataModule1 ? DataModule1->TabProjekt : nullptr;
    const int projekt = projekte ? projekte->CurrentRow() : -1;
    const auto hatBalken = [&fenster] {
        const TTerminplanGeometrie& g = fenster.TerminplanAufgaben->geometrie();
        for (int z = 0; z < int(g.eintraege().size()); ++z)
            if (g.balken(z))
                return true;
        return false;
    };
    for (int z = projekt; projekt >= 0 && !hatBalken() && z + 1 < std::min(projekte->RowCount(), projekt + 20); ++z)
        projekte->MoveToRow(z + 1);
    const bool gespeichert = bildSpeichern(fenster, terminplanDateiName());
    if (projekte && projekte->CurrentRow() != projekt)
        projekte->MoveToRow(projekt);
    fenster.Splitter1->setSizes(groessen);
    seiten->setCurrentWidget(vorher);
    if (ansicht != 0)
        fenster.ActionAnsichtExecute();
    return gespeichert;
}

bool Bildschirmfotos::wochenplanSpeichern(TFormProjektMain& fenster)
{
    if (!DataModule1)
        return true;
    TFormWochenplan wochenplan(DataModule1->DBProjekt, &fenster);
    wochenplan.show();
    const bool gespeichert = bildSpeichern(wochenplan, wochenplanDateiName());
    wochenplan.close();
    return gespeichert;
}

bool Bildschirmfotos::sucheSpeichern(TFormProjektMain& fenster)
{
    // The edit view, whichever view is shown; a word many sites of the demo data share.
    const bool wechseln = fenster.Ansicht() == 1;
    if (wechseln)
        fenster.ActionAnsichtExecute();
    if (fenster.Ansicht() != 0)
        return true;
    fenster.EditSuche->setFocus();
    fenster.EditSuche->setText(QStringLiteral("neubau"));
    const bool gespeichert = bildSpeichern(fenster, sucheDateiName());
    fenster.EditSuche->clear();
    if (wechseln)
        fenster.ActionAnsichtExecute();
    return gespeichert;
}

bool Bildschirmfotos::bildSpeichern(QWidget& fenster, const QString& name)
{
    // Layouts and geometry of what was just shown settle before the picture is taken.
    QApplication::processEvents();
    const QString pfad = QDir(m_ordner).filePath(name);
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
    gespeichert = sucheSpeichern(fenster) && gespeichert;
    gespeichert = terminplanSpeichern(fenster) && gespeichert;
    for (int modus : {0, 1})
        gespeichert = aufgabenFensterSpeichern(fenster, modus) && gespeichert;
    gespeichert = wochenplanSpeichern(fenster) && gespeichert;
    fenster.close();
    return gespeichert;
}
