#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TFormProjektMain;

// A look at the running program on a machine without a screen: once the main window is up,
// each view is photographed into a folder and the window is closed as the user closes it, so
// the settings are stored as in a real run.
//   projektverwaltung --bildschirmfotos <Ordner>
class Bildschirmfotos
{
public:
    explicit Bildschirmfotos(QString ordner);

    // The folder named after the option; empty when the option is not given.
    static QString ordnerAusArgumenten(const QStringList& argumente);
    // The picture of a view: 0 edit view, 1 public view.
    static QString dateiName(int ansicht);
    // The picture of the task window in a mode: 0 assign, 1 edit.
    static QString aufgabenDateiName(int modus);
    // The picture of the edit view while a search narrows its projects.
    static QString sucheDateiName() { return QStringLiteral("ansicht-suche.png"); }

    // The pictures of the edit view with the timeline page, and of the week overview.
    static QString terminplanDateiName() { return QStringLiteral("terminplan.png"); }
    static QString wochenplanDateiName() { return QStringLiteral("wochenplan.png"); }

    // Photographs the shown view and the other one, the edit view with a search typed, the edit
    // view's timeline page, then the task window on the current project in both modes and the
    // week overview, goes back to the shown view and closes the window. False when a picture
    // could not be stored; the message names it.
    bool aufnehmen(TFormProjektMain& fenster);

private:
    bool ansichtSpeichern(TFormProjektMain& fenster);
    bool aufgabenFensterSpeichern(TFormProjektMain& fenster, int modus);
    bool terminplanSpeichern(TFormProjektMain& fenster);
    bool wochenplanSpeichern(TFormProjektMain& fenster);
    bool sucheSpeichern(TFormProjektMain& fenster);
    bool bildSpeichern(QWidget& fenster, const QString& name);

    QString m_ordner;
};
