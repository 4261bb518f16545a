#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QComboBox;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class TBefehlsKnopf;
class TEigenschaftenEditor;
class TGitterSpalte;
class TSpinEdit;

// The settings dialog: general settings, directories and the main window's geometry per view,
// stored in PROJEKT.INI by "Speichern"; and the wall screen's columns, changed in place.
class TFormEinstellungen : public QDialog
{
    Q_OBJECT

public:
    // `spalten`: the main window's nine public-view columns in the order of the column list
    // (PROJEKT, BEZEICHNUNG, BAUSTELLE, BETREFF, MITARBEITER, AUFGABE, DATUM, A-STATUS, STATUS).
    // `speichern` and `beenden` are the commands the two buttons run.
    TFormEinstellungen(const QList<TGitterSpalte*>& spalten, QAction* speichern, QAction* beenden,
                       QWidget* eltern = nullptr);

    void EinstellungenLaden();
    void EinstellungenSpeichern();

    // The directory chooser; tests put a fixed answer here. An empty answer means cancelled.
    std::function<QString(QWidget* eltern, const QString& start)> verzeichnisWahl;

    QTreeWidget* TreeView1;
    QTabWidget* PageControl1;
    TSpinEdit* EditStatusAnzahl;
    QComboBox* ComboBoxStartAnsicht;
    TSpinEdit* JvSpinEditHighValueBound;
    TSpinEdit* JvSpinEditLowValueBound;
    QComboBox* ComboBoxAufgabenAutomatik;
    QLineEdit* editProgverzeichnis;
    QLineEdit* editDBVerzeichnis;
    QLineEdit* editMasterverzeichnis;
    TSpinEdit* EditEVTop;
    TSpinEdit* EditEVLeft;
    TSpinEdit* EditEVWidth;
    TSpinEdit* EditEVHeight;
    QCheckBox* CheckBoxSymbolEditView;
    TSpinEdit* EditPVTop;
    TSpinEdit* EditPVLeft;
    TSpinEdit* EditPVWidth;
    TSpinEdit* EditPVHeight;
    QCheckBox* CheckBoxSymbolPublicView;
    QCheckBox* CheckBoxRefreshPublicView;
    TSpinEdit* EditPVRefresh;
    QListWidget* ListBoxSpaltenPublic;
    TEigenschaftenEditor* NextInspectorSpaltenPublic;
    TBefehlsKnopf* JvXPButton1;
    TBefehlsKnopf* BtnEnde;

    // The column the property editor shows.
    TGitterSpalte* gezeigteSpalte() const { return m_gezeigt; }

protected:
    void showEvent(QShowEvent* ereignis) override;
    // Every way of closing (Beenden, the close box, Esc) ends here.
    void done(int ergebnis) override;

private:
    void FormShow();
    void FormClose();
    void seiteProgramm(QWidget* seite);
    void seiteVerzeichnisse(QWidget* seite);
    void seiteFenster(QWidget* seite);
    void seiteSpalten(QWidget* seite);
    // Points the property editor at the column of that list entry.
    void spalteZeigen(int zeile);
    void verzeichnisSuchen(QLineEdit* edit);
    // Directories changed in the dialog must exist and be readable; says which one does not.
    bool verzeichnisseGueltig();

    QList<TGitterSpalte*> m_spalten;
    TGitterSpalte* m_gezeigt = nullptr;
    bool m_gezeigtEinmal = false;
    // What the file held when the dialog was filled: values the dialog cannot show (a combo
    // entry outside its list) and the directories as they were.
    int m_startansicht = 0;
    int m_aufgabenAutomatik = 0;
    QString m_verzeichnisse[3];
};
