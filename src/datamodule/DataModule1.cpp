#include "DataModule1.h"

#include "Fehler.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "ProjektAenderungen.h"
#include "Schema.h"
#include "TDataSource.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QScopedValueRollback>
#include <QVariant>

TDataModule1* DataModule1 = nullptr;

namespace {

template<typename T>
T* benannt(T* objekt, const char* name)
{
    objekt->setObjectName(QLatin1String(name));
    return objekt;
}

TDataSource* quelle(TDataModule1* modul, TKADaoTable* tabelle, const char* name)
{
    auto* q = benannt(new TDataSource(modul), name);
    q->setDataSet(tabelle);
    return q;
}

// Progress in percent: the mean rank of the project's tasks as a share of the highest rank.
// Empty when the project has no tasks, and when there is no highest rank to divide by (a
// single status), so that no row fails to be read.
void statusBerechnen(TKADaoTable* tabelle)
{
    const QVariant anzahl = tabelle->FieldByName(QStringLiteral("AnzAufg"))->Value();
    const QVariant summe = tabelle->FieldByName(QStringLiteral("SumRang"))->Value();
    TField* status = tabelle->FieldByName(QStringLiteral("Status"));
    if (anzahl.isNull() || summe.isNull()) {
        status->Clear();
        return;
    }
    // 32-bit arithmetic as the stored setting and the count are 32-bit; the result fits as
    // long as ranks stay within the status table.
    const qint64 teiler = qint64(IniRecord.AnzahlStatus - 1) * anzahl.toInt();
    if (teiler == 0) {
        status->Clear();
        return;
    }
    status->setValue(summe.toDouble() / double(teiler) * 100.0);
}

} // namespace

TDataModule1::TDataModule1(QObject* parent)
    : QObject(parent)
    , DBProjekt(benannt(new TKADaoDatabase(this), "DBProjekt"))
    , TabProjekt(benannt(new TKADaoTable(this), "TabProjekt"))
    , TabProjektView(benannt(new TKADaoTable(this), "TabProjektView"))
    , TabAufgaben(benannt(new TKADaoTable(this), "TabAufgaben"))
    , TabPersonal(benannt(new TKADaoTable(this), "TabPersonal"))
    , TabStatus(benannt(new TKADaoTable(this), "TabStatus"))
    , TabProjektAufgaben(benannt(new TKADaoTable(this), "TabProjektAufgaben"))
    , TabStatSum(benannt(new TKADaoTable(this), "TabStatSum"))
    , QProjektAufgaben(benannt(new TKADaoTable(this), "QProjektAufgaben"))
    , TabSuche(benannt(new TKADaoTable(this), "TabSuche"))
    , TabTemp(benannt(new TKADaoTable(this), "TabTemp"))
    , DSProjekt(quelle(this, TabProjekt, "DSProjekt"))
    , dsProjektView(quelle(this, TabProjektView, "dsProjektView"))
    , DSAufgaben(quelle(this, TabAufgaben, "DSAufgaben"))
    , DSPersonal(quelle(this, TabPersonal, "DSPersonal"))
    , DSStatus(quelle(this, TabStatus, "DSStatus"))
    , DSProjektAufgaben(quelle(this, TabProjektAufgaben, "DSProjektAufgaben"))
    , DSStatSum(quelle(this, TabStatSum, "DSStatSum"))
    , dsQProjektAufgaben(quelle(this, QProjektAufgaben, "dsQProjektAufgaben"))
    , m_aenderungen(std::make_unique<ProjektAenderungen>(DBProjekt))
{
    setObjectName(QStringLiteral("DataModule1"));
    // Login properties as the program has always set them (shared, writable).
    DBProjekt->setExclusive(false);
    DBProjekt->setReadOnly(false);
    DBProjekt->setLoginPrompt(false);
    // The check of the pages runs after opening; its finding reaches the user whatever window
    // is up. Writes are refused from then on by the connection itself.
    connect(DBProjekt, &TKADaoDatabase::Beschaedigt, this, [](const QString& text) { Meldung::fehler(text); });

    for (TKADaoTable* t : {TabProjekt, TabProjektView, TabAufgaben, TabPersonal, TabStatus, TabProjektAufgaben,
                           TabStatSum, QProjektAufgaben, TabSuche, TabTemp})
        t->setDatabase(DBProjekt);

    TabProjekt->setTableName(QStringLiteral("Projekt"));
    // Both project views hold of every project only what their order and filter need; the rows
    // in view are read in full as they are looked at, a page at a time, and a search reads the
    // fields it looks through when it is prepared.
    TabProjekt->setGehalteneSpalten({QStringLiteral("EV_Sichtbar")});
    TabProjektView->setSQL(QStringLiteral("select * from projekt order by Last_datum"));
    TabProjektView->setGehalteneSpalten({QStringLiteral("Last_Datum"), QStringLiteral("PV_Sichtbar")});
    TabAufgaben->setTableName(QStringLiteral("Aufgaben"));
    TabPersonal->setTableName(QStringLiteral("Personal"));
    TabStatus->setTableName(QStringLiteral("Status"));
    TabProjektAufgaben->setTableName(QStringLiteral("ProjektAufgaben"));
    TabProjektAufgaben->setMasterSource(DSProjekt);
    TabProjektAufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));
    TabStatSum->setSQL(QStringLiteral("select * from ProjektAufgabenSumme"));
    TabStatSum->setReadOnly(true);
    QProjektAufgaben->setSQL(QStringLiteral("select * from Aufgaben_Aktuell order by prioritaet "));
    QProjektAufgaben->setMasterSource(DSProjekt);
    QProjektAufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));

    // Derived fields of the two project views; the edit view's rank sum is whole-numbered,
    // the public view's floating.
    const QString id = QStringLiteral("ID");
    const QString projektId = QStringLiteral("Projekt_ID");
    for (TKADaoTable* t : {TabProjekt, TabProjektView}) {
        t->AddLookupField(QStringLiteral("AnzAufg"), TFieldType::ftInteger, id, TabStatSum, projektId,
                          QStringLiteral("AnzahlAufgaben"));
        t->AddLookupField(QStringLiteral("SumRang"), t == TabProjekt ? TFieldType::ftInteger : TFieldType::ftFloat, id,
                          TabStatSum, projektId, QStringLiteral("SummeRang"));
        t->AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
    }
    TabProjekt->OnCalcFields = [this](TKADaoTable* t) { TabProjektCalcFields(t); };
    TabProjektView->OnCalcFields = [this](TKADaoTable* t) { TabProjektViewCalcFields(t); };
    TabProjektAufgaben->AddLookupField(QStringLiteral("Rang"), TFieldType::ftInteger, QStringLiteral("Status_ID"),
                                       TabStatus, id, QStringLiteral("Stat_Rang"));
    TabProjektAufgaben->AfterPost = [this](TKADaoTable* t) { TabProjektAufgabenAfterPost(t); };

    if (!DataModule1)
        DataModule1 = this;
}

TDataModule1::~TDataModule1()
{
    // Close first so that no handler runs while the datasets go one by one.
    try {
        DBProjekt->Close();
    } catch (const Fehler& f) {
        qWarning("Datenbank beim Beenden nicht sauber geschlossen: %s", qUtf8Printable(f.text()));
    }
    for (TKADaoTable* t : {TabProjekt, TabProjektView, TabProjektAufgaben, QProjektAufgaben})
        t->OnCalcFields = nullptr;
    TabProjektAufgaben->AfterPost = nullptr;
    if (DataModule1 == this)
        DataModule1 = nullptr;
}

QList<TKADaoTable*> TDataModule1::Oeffnungsreihenfolge() const
{
    return {TabAufgaben, TabPersonal, TabStatus, TabStatSum, TabProjekt, TabProjektView, TabProjektAufgaben,
            QProjektAufgaben};
}

void TDataModule1::DatenmengenOeffnen(const std::function<void(TKADaoTable*)>& vorOeffnen)
{
    // What is written from now on reaches the wall list at its next tick.
    m_aenderungen->abHier();
    for (TKADaoTable* t : Oeffnungsreihenfolge()) {
        if (vorOeffnen)
            vorOeffnen(t);
        t->Open();
        feldFormateSetzen(t);
    }
}

// The display formats (and the fields every change compares) belong to fields that exist once
// the dataset has read its columns;
// they survive closing and opening again.
void TDataModule1::feldFormateSetzen(TKADaoTable* tabelle)
{
    auto format = [tabelle](const QString& name, auto setzen) {
        if (TField* f = tabelle->FindField(name))
            setzen(f);
    };
    if (tabelle == TabProjekt || tabelle == TabProjektView) {
        // A change to a project is meant for the project with the number the user saw.
        format(QStringLiteral("Kommnr"), [](TField* f) { f->setInWhere(true); });
    }
    if (tabelle == TabProjektView) {
        for (const char* name : {"DelDatum", "Datum", "LiefTermin", "Baubegin", "Termin", "Faellig", "RechDate",
                                 "AngDate", "AuftrDate", "GutschrDate", "MontageDate"})
            format(QLatin1String(name), [](TField* f) { f->setEditMask(QStringLiteral("!90/90/0000;1;_")); });
    } else if (tabelle == TabProjektAufgaben) {
        for (const char* name : {"Projekt_ID", "Aufgabe_ID", "Status_ID"})
            format(QLatin1String(name), [](TField* f) { f->setDisplayFormat(QStringLiteral("##")); });
    } else if (tabelle == TabStatSum) {
        format(QStringLiteral("SummeRang"), [](TField* f) { f->setPrecision(7); });
    } else if (tabelle == TabPersonal) {
        format(QStringLiteral("StdLohn"), [](TField* f) { f->setPrecision(7); });
    }
}

bool TDataModule1::hatAktuellesProjekt() const
{
    // A project row that exists: neither none at all (empty table, everything filtered out)
    // nor a new one not yet stored.
    return TabProjekt->Active() && TabProjekt->RecordCount() > 0 && TabProjekt->State() != TDataSetState::dsInsert;
}

void TDataModule1::TabProjektCalcFields(TKADaoTable* DataSet)
{
    statusBerechnen(DataSet);
}

void TDataModule1::TabProjektViewCalcFields(TKADaoTable* DataSet)
{
    statusBerechnen(DataSet);
}

void TDataModule1::TabProjektAufgabenAfterPost(TKADaoTable* /*DataSet*/)
{
    if (m_nachPostAufgeschoben) {
        m_nachPostVerpasst = true;
        return;
    }
    ProjektStandAktualisieren();
    summeNachlesen();
    // Posting the project row unchanged reads it again with the fresh summary. Without a
    // stored project row, Edit would start a new, empty project instead.
    if (hatAktuellesProjekt()) {
        TabProjekt->Edit();
        TabProjekt->Post();
    }
}

void TDataModule1::summeNachlesen()
{
    // A saved task changes the sums of its own project only; reading all projects' sums again
    // would cost more than everything else of a save together. The refresh command and the
    // wall screen's timer read them all.
    if (hatAktuellesProjekt())
        TabStatSum->ZeilenNachlesen(QStringLiteral("Projekt_ID"), TabProjekt->FieldByName(QStringLiteral("ID"))->Value());
    else
        TabStatSum->Requery();
}

void TDataModule1::ProjektStandAktualisieren()
{
    // A database open read-only keeps the summary another program wrote.
    if (!hatAktuellesProjekt() || DBProjekt->NurLesen())
        return;
    QProjektAufgaben->Requery();
    if (QProjektAufgaben->IsEmpty())
        return;
    QProjektAufgaben->First();
    // A change the user is making to the project row goes out with the summary and must
    // survive a failure; only an edit started here is withdrawn again.
    const bool selbstBearbeitet = TabProjekt->State() == TDataSetState::dsBrowse;
    if (selbstBearbeitet && summeSchonAktuell())
        return;
    // Nobody need be at the screen for a summary of its own (the wall screen's timer): a
    // conflict then fails the update, and the next one reads the row afresh.
    const bool rueckfrage = TabProjekt->RueckfrageBeiKonflikt();
    TabProjekt->setRueckfrageBeiKonflikt(rueckfrage && !selbstBearbeitet);
    struct RueckfrageZurueck
    {
        TKADaoTable* tabelle;
        bool wert;
        ~RueckfrageZurueck() { tabelle->setRueckfrageBeiKonflikt(wert); }
    } zurueck{TabProjekt, rueckfrage};
    TabProjekt->Edit();
    try {
        auto wert = [this](const char* name) { return QProjektAufgaben->FieldByName(QLatin1String(name))->Value(); };
        // An empty value of the current task is written as empty: the summary then says what
        // is known instead of keeping a mixture of old and new values.
        TabProjekt->FieldByName(QStringLiteral("Last_Aufgabe"))->setValue(wert("Aufgabe_ID"));
        const QVariant bis = wert("Datum_bis");
        TabProjekt->FieldByName(QStringLiteral("Last_Datum"))
            ->setValue(bis.isNull() ? QVariant() : QVariant(bis.toDateTime().date()));
        TabProjekt->FieldByName(QStringLiteral("Last_Personal"))->setValue(wert("Mitarbeiter"));
        TabProjekt->FieldByName(QStringLiteral("Last_Rang"))->setValue(wert("Stat_Rang"));
        TabProjekt->Post();
    } catch (...) {
        // Called by a timer as well: never leave the project row pending in edit state.
        if (selbstBearbeitet && TabProjekt->State() == TDataSetState::dsEdit)
            TabProjekt->Cancel();
        throw;
    }
}

bool TDataModule1::summeSchonAktuell() const
{
    // The timer asks every few seconds; a summary that holds these values already is neither
    // edited nor written.
    auto gleich = [](const QVariant& a, const QVariant& b) { return a.isNull() ? b.isNull() : !b.isNull() && a == b; };
    auto projekt = [this](const char* name) { return TabProjekt->FieldByName(QLatin1String(name))->Value(); };
    auto aufgabe = [this](const char* name) { return QProjektAufgaben->FieldByName(QLatin1String(name))->Value(); };
    const QVariant bis = aufgabe("Datum_bis");
    return gleich(projekt("Last_Aufgabe"), aufgabe("Aufgabe_ID"))
        && gleich(projekt("Last_Datum"), bis.isNull() ? QVariant() : QVariant(bis.toDateTime().date()))
        && gleich(projekt("Last_Personal"), aufgabe("Mitarbeiter")) && gleich(projekt("Last_Rang"), aufgabe("Stat_Rang"));
}

void TDataModule1::AufgabenAuswahlSetzen(int Wert)
{
    TabTemp->Close();
    TabTemp->setSQL(QStringLiteral("Update [aufgaben] set [select] = ") + QString::number(Wert));
    TabTemp->ExecuteSQL();
}

void TDataModule1::AusgewaehlteAufgabenZuordnen(int ProjektID)
{
    // Tasks without a stored project would belong to no project at all.
    if (ProjektID <= 0 || !hatAktuellesProjekt())
        throw Fehler(QStringLiteral("Es ist kein Projekt ausgewählt; es wurden keine Aufgaben zugeordnet."));
    if (TabAufgaben->State() == TDataSetState::dsEdit || TabAufgaben->State() == TDataSetState::dsInsert)
        TabAufgaben->Post();
    // The marks as stored: a caller may have just set them all without showing them (the ERP
    // take-over that assigns the whole catalogue), and the rows held would still say "not marked".
    TabAufgaben->Requery();

    // All rows or none: a project with half its tasks would look complete to the office. The
    // project's summary is worked out once, for the last row, which gives what working it out
    // after every row would give, without re-reading every project's sums each time.
    DBProjekt->StartTransaction();
    try {
        {
            const QScopedValueRollback aufgeschoben(m_nachPostAufgeschoben, true);
            TabAufgaben->First();
            const int anzahl = TabAufgaben->RecordCount();
            for (int i = 0; i < anzahl; ++i) {
                if (TabAufgaben->FieldByName(QStringLiteral("Select"))->AsBoolean())
                    katalogAufgabeAnhaengen(ProjektID);
                TabAufgaben->Next();
            }
        }
        const bool angehaengt = m_nachPostVerpasst;
        m_nachPostVerpasst = false;
        if (angehaengt)
            ProjektStandAktualisieren();
        AufgabenAuswahlSetzen(0);
        DBProjekt->Commit();
        if (angehaengt)
            projektNeuLesen();
    } catch (const std::exception& ursache) {
        m_nachPostVerpasst = false;
        zuordnenZuruecknehmen();
        // A Fehler's what() is its text in UTF-8.
        throw Fehler(QStringLiteral("Die Aufgaben konnten nicht zugeordnet werden; dem Projekt wurde keine Aufgabe "
                                    "hinzugefügt, die Auswahl bleibt erhalten.\n")
                     + QString::fromUtf8(ursache.what()));
    }
}

void TDataModule1::katalogAufgabeAnhaengen(int ProjektID)
{
    auto katalog = [this](const char* name) { return TabAufgaben->FieldByName(QLatin1String(name)); };
    auto ziel = [this](const char* name) { return TabProjektAufgaben->FieldByName(QLatin1String(name)); };
    TabProjektAufgaben->Append();
    try {
        ziel("Projekt_ID")->setAsInteger(ProjektID);
        ziel("Aufgabe_ID")->setAsInteger(katalog("ID")->AsInteger());
        ziel("Mitarbeiter")->setAsInteger(katalog("Aufg_Mitarbeiter")->AsInteger());
        ziel("Status_ID")->setAsInteger(katalog("Aufg_Status")->AsInteger());
        ziel("Bezeichnung")->setAsString(katalog("Aufg_Bezeichnung")->AsString());
        ziel("Prioritaet")->setAsInteger(katalog("Aufg_Prioritaet")->AsInteger());
        TabProjektAufgaben->Post();
    } catch (...) {
        // A row that could not be stored is not left half-entered in the grid.
        if (TabProjektAufgaben->State() == TDataSetState::dsInsert)
            TabProjektAufgaben->Cancel();
        throw;
    }
}

void TDataModule1::zuordnenZuruecknehmen()
{
    // Undo in the file first, then show the file again: the rows appended so far and the
    // summary written into the project row exist in memory only now.
    try {
        DBProjekt->Rollback();
    } catch (...) {
        // The engine ends the transaction with the connection at the latest; what the user
        // must hear is the first error.
    }
    try {
        if (TabProjekt->State() == TDataSetState::dsEdit)
            TabProjekt->Cancel();
        projektNeuLesen();
        TabProjektAufgaben->Requery();
    } catch (...) {
    }
}

void TDataModule1::projektNeuLesen()
{
    summeNachlesen();
    // Editing reads the project row as stored; posting it unchanged writes nothing and shows
    // the fresh sums.
    if (hatAktuellesProjekt() && TabProjekt->State() == TDataSetState::dsBrowse) {
        TabProjekt->Edit();
        TabProjekt->Post();
    }
}

int TDataModule1::AnzahlStatusErmitteln()
{
    return TabStatus->RecordCount();
}

void TDataModule1::ProjektAufgabenLoeschen(int ProjektID)
{
    TabTemp->Close();
    TabTemp->setSQL(QStringLiteral("select * from ProjektAufgaben where Projekt_ID = ") + QString::number(ProjektID));
    TabTemp->Open();
    try {
        TabTemp->Empty();
    } catch (...) {
        TabTemp->Close();
        throw;
    }
    TabTemp->Close();
}

void TDataModule1::ProjektMitAufgabenLoeschen()
{
    // An empty table gives the dataset's own message, before anything is touched.
    if (TabProjekt->IsEmpty() || TabProjekt->State() == TDataSetState::dsInsert) {
        TabProjekt->Delete();
        return;
    }
    const int id = TabProjekt->FieldByName(QStringLiteral("ID"))->AsInteger();
    DBProjekt->Transaktion([&] {
        ProjektAufgabenLoeschen(id);
        TabProjekt->Delete();
    });
}

TDataModule1::TListenAbgleich TDataModule1::ProjektListeAbgleichen()
{
    const std::optional<TAenderungsstand> stand = m_aenderungen->neuerStand();
    if (!stand)
        return TListenAbgleich::Unveraendert;
    try {
        ProjektStandAktualisieren();
        const ProjektAenderungen::Ergebnis neu = m_aenderungen->abholen(*stand);
        if (neu.alles) {
            TabStatSum->Requery();
            TabProjektView->Requery();
            return TListenAbgleich::Ganz;
        }
        // The list first: rows read again have no derived values worked out yet, so the sums
        // read after them redraw only the rows of the other datasets that show those projects.
        TabProjektView->SchluesselNachlesen(neu.projekte);
        for (const qint64 id : neu.projekte)
            TabStatSum->ZeilenNachlesen(QStringLiteral("Projekt_ID"), QVariant(id));
        return TListenAbgleich::Einzeln;
    } catch (...) {
        // What was written is not in the list yet: the next look reads it all.
        m_aenderungen->vergessen();
        throw;
    }
}

void TDataModule1::ProjektListeNeuLesen()
{
    m_aenderungen->abHier();
    try {
        ProjektStandAktualisieren();
        TabStatSum->Requery();
        TabProjektView->Requery();
    } catch (...) {
        m_aenderungen->vergessen();
        throw;
    }
}

bool TDataModule1::AbfrageHatErgebnis(const QString& SQL)
{
    TabSuche->Close();
    TabSuche->setSQL(SQL);
    TabSuche->Open();
    const bool ergebnis = !TabSuche->IsEmpty();
    TabSuche->Close();
    return ergebnis;
}

QString TDataModule1::ExistenzAbfrage(const QString& kommnr)
{
    QString literal = kommnr;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("select kommnr from projekt where kommnr = '") + literal + QLatin1Char('\'');
}
