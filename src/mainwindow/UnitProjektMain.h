#pragma once

#include "Datenstand.h"

#include <QDateTime>
#include <QList>
#include <QMainWindow>
#include <functional>

#include <functional>
#include <memory>

class Datensicherung;
class QAction;
class QLabel;
class QLineEdit;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QThread;
class QTimer;
class QToolBar;
class QWidget;
class TDatenGitter;
class TGitterSpalte;
class THookHelpSystem;
class TProjektSuche;
class TSeitenwechsel;
class TTerminplanAnsicht;

// The main window: menu bar and toolbar for the command set, the two views of the projects
// (edit view for the office, public view for the wall screen) on pages without tabs, and the
// status bar.
class TFormProjektMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormProjektMain(QWidget* parent = nullptr);
    ~TFormProjektMain() override;

    QMenuBar* const ActionMainMenuBar1;
    QToolBar* const ActionToolBar1;
    QStatusBar* const StatusBar1;
    // Shown in the status bar while the database is open read-only.
    QLabel* lblNurLesen;

    QWidget* pnlMain;
    QTabWidget* PageControl1;
    QWidget* TabSheetGrid;
    QWidget* TabSheetTree;

    // The search above the project grid (Ctrl+F; Esc empties it) and its count in the status bar.
    QLineEdit* EditSuche;
    QLabel* lblSuche;
    QAction* ActionSuchen;
    TDatenGitter* NextDBGridProjekte;
    QSplitter* Splitter1;
    QWidget* pnlAufgaben;
    // The task grid and the timeline of the same tasks, on the pages "Aufgaben" and "Terminplan".
    QTabWidget* PageControlAufgaben;
    TDatenGitter* NextDBGridAufgaben;
    TTerminplanAnsicht* TerminplanAufgaben;
    QSplitter* Splitter2;
    QWidget* pnlEntwickler;
    QTabWidget* PageControl2;
    TDatenGitter* NextDBGrid1;
    TDatenGitter* NextDBGrid2;
    TDatenGitter* NextDBGrid3;
    TGitterSpalte* NxDBRateColumn1;

    QWidget* PanelPublicView;
    TDatenGitter* NextDBGridPublicView;
    TGitterSpalte* ColumnPublicAufgStatus;

    QTimer* Timer1;

    // The status line of the wall screen: data age, a start-up notice, the page shown.
    QLabel* lblStand;
    QLabel* lblHinweis;
    QLabel* lblSeite;
    // F11 switches the public view to full screen and back, Esc leaves it.
    QAction* ActionVollbild;
    QAction* ActionVollbildBeenden;

    // 0 edit view, 1 public view, -1 before a view was applied.
    int Ansicht() const { return m_ansicht; }

    void FormShow();
    void AnsichtSetzen(int32_t Ansicht);
    void SpaltenLayoutLaden();
    void SpaltenLayoutSpeichern();
    void Timer1Timer();
    void ActionAnsichtExecute();
    void ActionAnsichtRefreshExecute();
    // Opens the task window modal for the current project: 0 assign, 1 edit.
    void AufgabenFensterOeffnen(int32_t Modus);
    // "Ausgabe": the project report in the print preview window.
    void DruckAusgabeStarten();
    // "Projektliste exportieren …": the edit view's project list as a CSV file.
    void ProjektlisteExportieren();

    // Where the export asks for a file name; by default a file dialog. Returns an empty text
    // when the user cancels.
    std::function<QString(QWidget*)> ExportDateiWaehlen;
    // The daily copy of the database (the first start of a day, and every close); a failure is
    // said once in the status bar and stops nothing. False when no copy was written.
    bool DatensicherungSchreiben();
    // Lets the user pick a copy and puts it in place of the database, the data reopened.
    void DatensicherungZurueckspielen();
    // Opens the settings dialog modal over the window, for the public view's columns too.
    void EinstellungenAnzeigen();
    // The master-data window on page StartSeite (0 tasks, 1 employees, 2 statuses, 3 projects),
    // shown modal and released when it closes.
    void StammdatenOeffnen(int32_t StartSeite);
    // "Wochenplan": the week overview of the employees, shown modal.
    void WochenplanOeffnen();

    // The system asks the program to end (stop signal): a pending edit that cannot be stored
    // does not keep the window open; after one more try it goes into the note of unsaved
    // changes that the next start offers.
    void setSystemEnde(bool ende) { m_systemEnde = ende; }

    // Full path of the help file beside the program file.
    static QString HilfedateiPfad();
    // The help context the help command shows.
    static constexpr int HilfeKontextStart = 1000;
    void InfoAnzeigen();
    void HilfeAnzeigen();
    THookHelpSystem* HelpSystem() const { return m_hilfe.get(); }

    // The public view's pages.
    TSeitenwechsel* Seitenwechsel() const { return m_seitenwechsel; }
    // Full screen: no frame, menu or toolbar, only the grid and the status line; public view only.
    void VollbildSetzen(bool an);
    bool Vollbild() const { return m_vollbild; }
    // A start-up message nobody had to click away (unattended start in the public view).
    void StartHinweisZeigen(const QString& text);
    // The clock the data age is measured with; the system clock unless set.
    void setUhr(std::function<QDateTime()> uhr);
    const TDatenstand& Datenstand() const { return m_datenstand; }

protected:
    void showEvent(QShowEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void FormCreate();
    // Heights, spacing and colours of the menu bar and the toolbar.
    void leistenEinrichten();
    void FormDestroy();
    // Stores geometry and column layout, posts pending task and project edits and disconnects.
    // When a pending edit cannot be posted the close is refused and the reason shown.
    void FormClose(QCloseEvent* ereignis);
    void offeneZeilenSpeichern();
    void aufSystemwunschBeenden();
    // The name under which the view stores its window geometry.
    static QString fensterName(int ansicht);
    // Summary of the current project and the per-project task sums brought up to date.
    void standErneuern();
    void oeffentlicheListeFiltern();
    // The public list was just read: the status bar shows the time, without a failure mark.
    void listeGelesen();
    void standAnzeigen();
    // Status line of the wall (large, data age and page) or the office's plain bar.
    void statuszeileEinrichten(bool wand);
    void seiteAnzeigen();
    void wandtafelEinrichten();
    void sucheEinrichten(QWidget* eltern);
    void sucheAnwenden(const QString& text);
    void sucheAnzeigen();
    void datensicherungImHintergrund(Datensicherung sicherung);
    void hintergrundSicherungAbwarten();
    void sicherungsfehlerMelden(const QString& text);

    std::unique_ptr<THookHelpSystem> m_hilfe;
    std::unique_ptr<TProjektSuche> m_suche;
    QList<QMetaObject::Connection> m_sucheVerbindungen;
    int m_ansicht = -1;
    bool m_sicherungsfehlerGemeldet = false;
    QThread* m_hintergrundSicherung = nullptr;   // the day's first copy while it is being made
    bool m_gezeigt = false;
    TDatenstand m_datenstand;
    std::function<QDateTime()> m_uhr;
    TSeitenwechsel* m_seitenwechsel = nullptr;
    QRect m_lageVorVollbild;   // the framed window's place before it filled the screen
    bool m_vollbild = false;
    bool m_systemEnde = false;
};

// The main window of the process; nullptr before it is created and after it is destroyed.
extern TFormProjektMain* FormProjektMain;
