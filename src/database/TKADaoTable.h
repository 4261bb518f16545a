#pragma once

#include "AbgeleiteteFelder.h"
#include "Bearbeitungspuffer.h"
#include "DatenbankTypen.h"
#include "MasterVerknuepfung.h"
#include "Nachlesefenster.h"
#include "Anweisung.h"
#include "SqliteAnweisung.h"
#include "Spaltenauswahl.h"
#include "Suchschluessel.h"
#include "TDataSource.h"
#include "TField.h"
#include "ZeilenSchreiber.h"
#include "Zeilenliste.h"
#include "Zeilenordnung.h"
#include "Zeilenwerte.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TKADaoDatabase;

/// A dataset on a TKADaoDatabase: all rows of a table (TableName) or of a SELECT (SQL), held
/// in memory while open so that moving to any row and reading a field cost O(1). Updatable
/// (optimistic locking) unless ReadOnly or its rows do not map to one table's rows.
///
/// Behaviour in brief:
/// - Open/Close, First/Next/Prior/Last/MoveToRow with Bof/Eof, RecordCount (exact), IsEmpty.
/// - Edit/Append/Insert/Post/Cancel/Delete on the current row. Edit re-reads the row; Edit in a
///   dataset without rows starts a new row. Post writes, lets the engine fill the AutoNumber,
///   re-reads the row, then runs AfterPost. Post writes only the columns the user changed and
///   compares only those (and the InWhere fields) with the stored row: when another connection
///   changed one of them since Edit, the user is asked (RueckfrageBeiKonflikt) whether to store
///   the input over the fresh row; otherwise Post is refused and the typed values stay in the
///   edit buffer. A row deleted meanwhile is refused. Delete removes the row only while it
///   still holds every value read; else it is refused and the fresh row shown. Stored text
///   that is not valid UTF-8 is compared by its bytes. Text longer than its column is refused,
///   naming the field and its width. Moving while editing posts a changed row and drops an
///   unchanged one.
/// - Master/detail: with MasterSource and MasterFields ("Projekt_ID -> ID") only the rows whose
///   detail field equals the master's current key are read, again whenever that key changes; a
///   new row takes the master's key.
/// - Requery runs the query again and goes to the first row (nothing when closed, nothing on a
///   detail whose master is being edited); Refresh re-reads the rows held and keeps the row.
/// - Filter names a Yes/No column; with Filtered only rows where it is true are shown.
/// - Lookup fields find their row through a hash index of the lookup dataset (rebuilt when that
///   dataset changes); calculated fields are set by OnCalcFields. Both are worked out when a
///   row is read and again after anything they depend on has changed.
/// - Errors are Fehler exceptions; the dataset's own errors are prefixed with its objectName.
///
/// Bound controls listen to the signals below, usually through a TDataSource.
class TKADaoTable : public QObject
{
    Q_OBJECT

public:
    explicit TKADaoTable(QObject* parent = nullptr);
    ~TKADaoTable() override;

    // --- Definition (set while closed, except Filter and Filtered) ---
    TKADaoDatabase* Database() const { return m_database; }
    void setDatabase(TKADaoDatabase* database);
    /// A table whose rows the dataset holds, in the table's own order.
    const QString& TableName() const { return m_tableName; }
    void setTableName(const QString& name);
    /// A SELECT text; when set it is used instead of TableName. Also the text ExecuteSQL runs.
    const QString& SQL() const { return m_sql; }
    void setSQL(const QString& text);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool wert);
    /// Whether Post asks the user (Meldung::bestaetigen) to store the input over a row that
    /// another user changed in the same fields meanwhile; without asking (or with "Nein") Post
    /// is refused. Off for posts that run with nobody at the screen.
    bool RueckfrageBeiKonflikt() const { return m_rueckfrageBeiKonflikt; }
    void setRueckfrageBeiKonflikt(bool wert) { m_rueckfrageBeiKonflikt = wert; }
    TDataSource* MasterSource() const { return m_masterSource; }
    void setMasterSource(TDataSource* quelle);
    /// Link "DetailFeld -> MasterFeld", several separated by ';'; a broken link is refused here.
    const QString& MasterFields() const { return m_masterLink.text(); }
    void setMasterFields(const QString& link);
    /// Name of a Yes/No column; see Filtered. Any change goes to the first row.
    const QString& Filter() const { return m_filter; }
    void setFilter(const QString& spalte);
    bool Filtered() const { return m_filtered; }
    void setFiltered(bool wert);
    /// A further condition on the rows shown, beside Filter (a search typed over a list): it is
    /// given a row's values as read, in field order. Setting it posts a pending change and forms
    /// the shown rows again, keeping the current row when it is still shown; an empty function
    /// lifts it. Rows are held to it whenever the shown rows are formed (Open, Requery, Filter,
    /// setting it); a row added or changed in between stays shown until then.
    using ZeilenBedingung = std::function<bool(const Zeilenwerte& werte)>;
    void setZeilenBedingung(ZeilenBedingung bedingung);
    bool HatZeilenBedingung() const { return bool(m_zeilenBedingung); }
    /// Columns whose values every row holds as read: a list that shows some columns of a wide
    /// table reads and keeps only those. Any other column's values of a row are read when
    /// first asked for, the row's stored values at once. The key, the Filter column, the
    /// columns of the ORDER BY and the keys of lookup fields are always held. Empty (the
    /// default): every column. Set while closed; it counts only for a "SELECT * FROM ..." over
    /// one table with its key (not for a detail), otherwise every column is read.
    /// A ZeilenBedingung sees columns not read as empty.
    void setGehalteneSpalten(const QStringList& namen);
    /// Counts the reads of all rows (Open, Requery, a Filter needing columns not held, Close):
    /// what was taken from the rows at one count may be out of date at another. Rows read
    /// again by their key (another program changed them) are read in full, so that their
    /// columns are seen as they are now whether held or not.
    quint64 LeseStand() const { return m_leseStand; }
    /// Counts every change of the rows (datasets that look values up here compare it).
    quint64 Inhaltsstand() const { return m_inhaltStand; }
    /// Reads the columns `felder` (and the key) of every row the statement gives, in one
    /// statement and in no particular order, and hands each row to `jeZeile` as values in field
    /// order (the other fields empty); nothing is kept. For a list holding only some columns
    /// when all rows' values of a few others are needed at once.
    void SpaltenLesen(const QStringList& felder, const std::function<void(const std::vector<QVariant>&)>& jeZeile);
    /// The rows Filter lets through, the ZeilenBedingung left aside: RecordCount without it
    /// (as counted when the shown rows were formed, with the shown rows added or taken since).
    int AnzahlOhneBedingung() const;

    /// Called whenever a row is read, with the dataset; sets the calculated fields of that row.
    std::function<void(TKADaoTable*)> OnCalcFields;
    /// Called before a pending row is written.
    std::function<void(TKADaoTable*)> BeforePost;
    /// Called after a row has been written and read again.
    std::function<void(TKADaoTable*)> AfterPost;

    /// Adds a lookup field (while closed): the value of `resultField` in the row of `lookup`
    /// whose `lookupKeyField` equals this dataset's `keyField`; empty when there is none.
    TField* AddLookupField(const QString& name, TFieldType typ, const QString& keyField, TKADaoTable* lookup,
                           const QString& lookupKeyField, const QString& resultField);
    /// Adds a calculated field (while closed), set by OnCalcFields.
    TField* AddCalculatedField(const QString& name, TFieldType typ, int size = 0);

    // --- State ---
    bool Active() const { return m_state != TDataSetState::dsInactive; }
    void setActive(bool wert) { wert ? Open() : Close(); }
    TDataSetState State() const;
    /// True when the pending row has a changed field.
    bool Modified() const { return m_bearbeitung.geaendert; }
    /// False when read-only or when the rows cannot be written back to one table.
    bool CanModify() const;

    // --- Opening and reading ---
    void Open();
    void Close();
    void Requery();
    void Refresh();
    /// Reads again only the rows whose field `feld` equals `wert` (the statement restricted to
    /// them): they take the place of the rows held with that value, and rows that are new come
    /// at the end. For a large result where one key has changed, at a fraction of a Requery.
    /// The current row keeps its place. Not for a detail dataset; nothing when closed.
    void ZeilenNachlesen(const QString& feld, const QVariant& wert);
    /// Reads again the rows with these keys (the AutoNumber), and only them: a changed row takes
    /// its place in the statement's order, a row deleted meanwhile goes, a new one comes in at
    /// its place. Bound controls hear of each row that changed, moved, came or went (no reset,
    /// so a grid keeps its scroll position); the current row stays on its key. Where the order
    /// cannot be told (no key, a detail, an ORDER BY of expressions) every row is read again
    /// and the current row still kept. Nothing when closed.
    void SchluesselNachlesen(const QList<qint64>& schluessel);

    void First();
    void Next();
    void Prior();
    void Last();
    void MoveBy(int abstand);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    /// Number of rows, without a new row that is not yet posted; 0 when closed.
    int RecordCount() const;
    /// True when there is no row (a new row being entered counts as one).
    bool IsEmpty() const;

    // --- Changing ---
    void Edit();
    void Append();
    void Insert();
    void Post();
    void Cancel();
    void Delete();
    /// Deletes every row the dataset shows.
    void Empty();
    /// Runs the SQL text as an action statement; returns the number of rows changed.
    int ExecuteSQL();
    /// Posts a changed pending row, drops an unchanged one.
    void CheckBrowseMode();
    /// The stored fields of the pending row whose value differs from the row as Edit read it
    /// (every field with a value in a new row); empty when nothing is pending.
    QList<TField*> GeaenderteFelder() const;

    // --- Fields ---
    int FieldCount() const { return int(m_felder.size()); }
    TField* Field(int index) const { return m_felder[size_t(index)].get(); }
    /// The field with this name (any case), or nullptr.
    TField* FindField(const QString& name) const;
    /// The field with this name (any case); throws "Feld 'x' nicht gefunden".
    TField* FieldByName(const QString& name) const;

    /// Moves to the first row whose field equals `wert` (through the index); false if none.
    bool Locate(const QString& feld, const QVariant& wert);
    /// The value of `resultField` in the first row whose `keyField` equals `wert`; null if none.
    QVariant Lookup(const QString& keyField, const QVariant& wert, const QString& resultField) const;

    // --- Rows for grids (row numbers count shown rows from 0, including a new row) ---
    int RowCount() const { return m_zeilen.anzahlGezeigt(); }
    /// Current row, -1 when there is none.
    int CurrentRow() const { return m_pos; }
    /// Makes `zeile` current (posting a pending change first, as any move does).
    void MoveToRow(int zeile);
    /// Typed value of field `feld` in row `zeile` without moving; the edit buffer for the
    /// current row while editing.
    QVariant RowValue(int zeile, int feld) const;
    /// Row whose field `feld` equals `wert` (first of several), -1 if none; O(1) after the index
    /// for that field has been built.
    int FindRow(int feld, const QVariant& wert) const;

    /// Stops the notifications to bound controls (nestable); EnableControls sends one reset.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_steuerungAus > 0; }

signals:
    /// State changed (inactive, browse, edit, insert).
    void StateChange();
    /// A field of the current row changed (`Field` set) or the current row changed or moved
    /// (`Field` nullptr).
    void DataChange(TField* Field);
    /// Sent at the start of Post: bound editors write their pending input into the fields.
    void UpdateData();
    /// Sent before the dataset moves or reads its rows again: detail datasets finish their
    /// pending row first (an error there stops the move).
    void BrowseModeNeeded();
    /// The current row moved to `zeile` (-1: none).
    void Scrolled(int zeile);
    // Row structure, in the order a Qt item model needs it.
    void RowsAboutToBeReset();
    void RowsReset();
    void RowsAboutToBeInserted(int erste, int letzte);
    void RowsInserted();
    void RowsAboutToBeRemoved(int erste, int letzte);
    void RowsRemoved();
    /// Values of rows `erste`..`letzte` changed (including derived fields).
    void RowsChanged(int erste, int letzte);
    /// Anything in the rows changed; datasets that look values up here listen to this one.
    /// Not stopped by DisableControls.
    void ContentChanged();
    /// Only the rows whose field `feld` holds `wert` were read again (ZeilenNachlesen): datasets
    /// that look values up here by that field redraw just their rows with that key. Not stopped
    /// by DisableControls.
    void ZeilenNachgelesen(const QString& feld, const QVariant& wert);

private:
    template <typename T, typename W>
    void definitionAendern(T& eigenschaft, const W& wert);
    friend class TField;
    friend class TKADaoDatabase;

    using Zeile = Datenzeile;

    [[noreturn]] void fehler(const QString& text) const;
    void pruefeAktiv() const;
    void pruefeDefinitionAenderbar() const;
    void pruefeAenderbar() const;
    const QList<MasterVerknuepfung::Paar>& verknuepfungen() const;
    QString abfrageText() const;
    QString leseText(const QString& text) const;
    QString nurGehaltene(const QString& text) const;
    std::vector<QString> herkunftSpalten() const;
    void abfrageVorbereiten();
    void leseAbfrageVorbereiten();
    void gehalteneBilden();
    void selbstOrdnen(std::vector<Zeile>& zeilen) const;
    QString vollerText() const;
    void zeileVervollstaendigen(Zeile& zeile);
    QVariant gespeicherterWert(Zeile& zeile, int feld);
    const Zeilenwerte* nachgelesen(const Zeile& zeile);
    void felderAusAnweisung();
    int filterFeldSuchen() const;
    void filterAnwenden();
    Zeile zeileAus(const Anweisung& anweisung) const;
    Zeile volleZeileAus(const Anweisung& anweisung) const;
    std::vector<Zeile> zeilenLesen(const QVariantList& schluessel);
    void sichtbareBilden();
    bool zeileSichtbar(Zeile& zeile);
    QVariantList masterSchluessel() const;
    void masterGeaendert(bool erzwingen);
    void masterVerbinden();
    void lookupQuellenVerbinden();
    void lookupQuelleGeaendert();
    void lookupZeilenGeaendert(TKADaoTable* quelle, const QString& feld, const QVariant& wert);
    void ordnungBilden();
    std::optional<qint64> aktuellerSchluessel();
    QString schluesselBedingung(const QList<qint64>& schluessel) const;
    std::vector<Zeile> schluesselZeilenLesen(const QList<qint64>& schluessel);
    void zeileHerausnehmen(size_t index);
    int zeileEinordnen(Zeile&& zeile);

    Zeile* aktiveZeile();
    const Zeile* aktiveZeile() const { return const_cast<TKADaoTable*>(this)->aktiveZeile(); }
    Zeile& zeileBei(int sichtbar) { return m_zeilen.gezeigt(sichtbar); }
    void abgeleiteteSicherstellen(Zeile& zeile);
    QVariant feldWert(int index) const;
    QVariant zeilenWert(Zeile& zeile, int feld);
    void feldSetzen(TField* feld, const QVariant& wert);

    ZeilenSchreiber schreiber() const;
    int ausfuehren(const ZeilenAnweisungen::Anweisung& anweisung);
    void aenderungSchreiben(const QVariant& schluessel);
    void breitenPruefen(const Zeile& puffer, bool nurGeaenderte) const;
    void neuerDatensatz(bool amEnde);
    void positionSetzen(int zeile, bool melden = true);
    /// Whether the controls were already told that every row is about to change.
    enum class ResetGemeldet { Nein, Ja };
    void allesNeuGelesen(std::vector<Zeile>&& zeilen, std::optional<qint64> schluessel, int ersatz,
                         ResetGemeldet gemeldet = ResetGemeldet::Nein);
    void inhaltGeaendert();
    void neuenZustandMelden(TDataSetState alt);

    // Notifications; suppressed while controls are disabled.
    bool meldenErlaubt();
    void meldeReset(bool vorher);
    void meldeZeilenGeaendert(int erste, int letzte);
    void meldeDatenAenderung(TField* feld);
    void meldeScroll();

    TKADaoDatabase* m_database = nullptr;
    QString m_tableName;
    QString m_sql;
    bool m_readOnly = false;
    bool m_rueckfrageBeiKonflikt = true;
    QPointer<TDataSource> m_masterSource;
    MasterVerknuepfung m_masterLink;
    QString m_filter;
    bool m_filtered = false;
    ZeilenBedingung m_zeilenBedingung;
    QStringList m_gehalteneNamen;
    Spaltenauswahl m_auswahl;                   // the columns rows hold of what they read
    int m_ohneBedingungBeimBilden = 0;          // rows the Filter let through when the shown
    int m_gezeigtBeimBilden = 0;                // rows were formed, and rows shown then

    std::vector<std::unique_ptr<TField>> m_felder;
    int m_anzahlSpalten = 0;                    // fields of the query; derived ones follow
    QHash<QString, int> m_feldIndex;            // lower-case name -> index
    QString m_basisTabelle;                     // table the rows are written to
    int m_schluesselFeld = -1;                  // its INTEGER PRIMARY KEY field; -1: not updatable
    int m_filterFeld = -1;
    Zeilenordnung m_ordnung;                    // order of the rows, where it can be told
    bool m_selbstOrdnen = false;                // rows read unordered and put into m_ordnung here

    TDataSetState m_state = TDataSetState::dsInactive;
    Zeilenliste m_zeilen;                       // rows read (the master's rows for a detail) and shown
    Nachlesefenster m_fenster;                  // rows in view read in full, where the rows hold only some columns
    int m_pos = -1;
    bool m_bof = true;
    bool m_eof = true;

    Bearbeitungspuffer<Zeile> m_bearbeitung;    // the pending row
    Zeile* m_rechenZeile = nullptr;             // row being calculated

    Anweisung m_abfrage;
    QVariantList m_geladenerSchluessel;         // master key the rows were read for
    QList<QMetaObject::Connection> m_masterVerbindungen;
    QList<QMetaObject::Connection> m_lookupVerbindungen;

    quint64 m_inhaltStand = 1;                  // counts changes of the rows
    size_t m_zuletztGelesen = 0;                // rows the last read gave
    quint64 m_leseStand = 0;                    // counts reads of all rows (and Close)
    AbgeleiteteFelder m_abgeleitete;
    mutable QHash<int, Suchindex> m_indizes;        // lookup indices by field

    int m_steuerungAus = 0;
    bool m_verpasst = false;
};
