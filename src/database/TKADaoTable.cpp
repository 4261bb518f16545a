#include "TKADaoTable.h"

#include "Ableitungsstand.h"
#include "Fehler.h"
#include "Meldung.h"
#include "Schema.h"
#include "Spaltenkatalog.h"
#include "SqlText.h"
#include "Suchschluessel.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "ZeilenSchreiber.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <utility>

namespace {

// Texts the users know by heart; kept word for word.
const char* const textLeer = "Operation bei leerer Datenmenge nicht ausführbar";
const char* const textNurLesen = "Eine Datenmenge, die nur zum Lesen ist, kann nicht geändert werden";
const char* const textGeschlossen = "Operation bei geschlossener Datenmenge nicht ausführbar";
const char* const textGeoeffnet = "Operation bei geöffneter Datenmenge nicht ausführbar";
const char* const textNichtImEditModus = "Datenmenge befindet sich nicht im Editier- oder Einfügemodus";
const char* const textFeldNichtGefunden = "Feld '%1' nicht gefunden";
const char* const textFeldNurLesen = "Feld '%1' kann nicht geändert werden";
const char* const textEmptyNurLesen = "Cannot Empty ReadOnly table!";
const char* const textExecuteSql =
    "TKADaoTable.ExecuteSQL: Cannot execute SQL query while Database is not Assigned or Connected!";

const char* const textGeaendert =
    "Der Datensatz wurde inzwischen von einem anderen Benutzer geändert. Ihre Änderungen wurden nicht "
    "gespeichert, damit die des anderen Benutzers nicht verloren gehen; sie stehen weiter zur Bearbeitung "
    "bereit. Brechen Sie die Bearbeitung ab, um den neuen Stand zu sehen, und geben Sie Ihre Änderungen "
    "dann erneut ein.";
const char* const textLoeschenGeaendert =
    "Der Datensatz wurde inzwischen von einem anderen Benutzer geändert. Er wurde nicht gelöscht; angezeigt "
    "wird jetzt der neue Stand. Löschen Sie ihn erneut, wenn er trotzdem entfernt werden soll.";
const char* const textKonfliktTitel = "Datensatz geändert";
const char* const textKonfliktFrage =
    "Der Datensatz wurde inzwischen von einem anderen Benutzer geändert:\n%1\n\nSollen Ihre Eingaben trotzdem "
    "gespeichert werden? Alle übrigen Felder zeigen dann den Stand des anderen Benutzers.\nBei „Nein“ wird nichts "
    "gespeichert; Ihre Eingaben bleiben zur Bearbeitung erhalten.";
const char* const textGeloescht =
    "Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht. Ihre Änderungen wurden nicht "
    "gespeichert.";

QString t(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Definition

TKADaoTable::TKADaoTable(QObject* parent)
    : QObject(parent)
{
}

TKADaoTable::~TKADaoTable()
{
    Close();
    for (const auto& v : std::as_const(m_masterVerbindungen))
        disconnect(v);
    if (m_database)
        m_database->abmelden(this);
}

void TKADaoTable::fehler(const QString& text) const
{
    if (objectName().isEmpty())
        throw Fehler(text);
    throw Fehler(objectName() + QStringLiteral(": ") + text);
}

void TKADaoTable::pruefeAktiv() const
{
    if (!Active())
        fehler(t(textGeschlossen));
}

void TKADaoTable::pruefeDefinitionAenderbar() const
{
    if (Active())
        fehler(t(textGeoeffnet));
}

void TKADaoTable::pruefeAenderbar() const
{
    if (m_readOnly || m_schluesselFeld < 0)
        fehler(t(textNurLesen));
    m_database->SchreibenPruefen();
}

void TKADaoTable::setDatabase(TKADaoDatabase* database)
{
    if (database == m_database)
        return;
    pruefeDefinitionAenderbar();
    if (m_database)
        m_database->abmelden(this);
    m_database = database;
    if (m_database)
        m_database->anmelden(this);
}

void TKADaoTable::setTableName(const QString& name)
{
    if (name == m_tableName)
        return;
    Close();  // a new source means new rows, as with a query whose text changes
    m_tableName = name;
}

void TKADaoTable::setSQL(const QString& text)
{
    if (text == m_sql)
        return;
    Close();
    m_sql = text;
}

void TKADaoTable::setReadOnly(bool wert)
{
    if (wert == m_readOnly)
        return;
    pruefeDefinitionAenderbar();
    m_readOnly = wert;
}

// A changed definition takes effect by closing and, if the dataset was open, opening it again.
template <typename T, typename W>
void TKADaoTable::definitionAendern(T& eigenschaft, const W& wert)
{
    if (eigenschaft == wert)
        return;
    const bool warAktiv = Active();
    Close();
    eigenschaft = wert;
    if (warAktiv)
        Open();
}

void TKADaoTable::setMasterSource(TDataSource* quelle)
{
    definitionAendern(m_masterSource, quelle);
}

void TKADaoTable::setMasterFields(const QString& link)
{
    if (link == m_masterLink.text())
        return;
    const std::optional<MasterVerknuepfung> gelesen = MasterVerknuepfung::lesen(link);
    if (!gelesen)
        fehler(QStringLiteral("Die Verknüpfung '%1' mit der Master-Datenmenge ist ungültig.").arg(link));
    const bool warAktiv = Active();
    Close();
    m_masterLink = *gelesen;
    if (warAktiv)
        Open();
}

void TKADaoTable::setFilter(const QString& spalte)
{
    if (spalte == m_filter)
        return;
    const QString vorher = m_filter;
    m_filter = spalte;
    if (Active() && m_filtered) {
        try {
            filterAnwenden();
        } catch (...) {
            m_filter = vorher;
            throw;
        }
    }
}

void TKADaoTable::setFiltered(bool wert)
{
    if (wert == m_filtered)
        return;
    m_filtered = wert;
    if (Active()) {
        try {
            filterAnwenden();
        } catch (...) {
            m_filtered = !wert;
            throw;
        }
    }
}

int TKADaoTable::filterFeldSuchen() const
{
    QString name = m_filter.trimmed();
    if (!m_filtered || name.isEmpty())
        return -1;
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    const TField* feld = FindField(name);
    if (!feld || feld->FieldKind() != TFieldKind::fkData)
        fehler(t(textFeldNichtGefunden).arg(name));
    return feld->Index();
}

void TKADaoTable::filterAnwenden()
{
    const int feld = filterFeldSuchen();
    CheckBrowseMode();
    m_filterFeld = feld;
    if (feld >= 0 && !m_auswahl.gehalten(feld)) {
        // Every row is looked at for the filter: they are read again with its column.
        m_abfrage = m_database->Vorbereiten(abfrageText());
        leseAbfrageVorbereiten();
        Requery();
        return;
    }
    allesNeuGelesen(m_zeilen.nehmen(), std::nullopt, 0);
}

TField* TKADaoTable::AddLookupField(const QString& name, TFieldType typ, const QString& keyField, TKADaoTable* lookup,
                                    const QString& lookupKeyField, const QString& resultField)
{
    pruefeDefinitionAenderbar();
    if (FindField(name))
        fehler(QStringLiteral("Das Feld '%1' gibt es schon.").arg(name));
    auto feld = std::make_unique<TField>(this, name, typ, 0, TFieldKind::fkLookup);
    feld->m_keyFields = keyField;
    feld->m_lookupDataSet = lookup;
    feld->m_lookupKeyFields = lookupKeyField;
    feld->m_lookupResultField = resultField;
    feld->m_index = int(m_felder.size());
    m_feldIndex.insert(name.toLower(), feld->m_index);
    m_felder.push_back(std::move(feld));
    return m_felder.back().get();
}

TField* TKADaoTable::AddCalculatedField(const QString& name, TFieldType typ, int size)
{
    pruefeDefinitionAenderbar();
    if (FindField(name))
        fehler(QStringLiteral("Das Feld '%1' gibt es schon.").arg(name));
    auto feld = std::make_unique<TField>(this, name, typ, size, TFieldKind::fkCalculated);
    feld->m_index = int(m_felder.size());
    m_feldIndex.insert(name.toLower(), feld->m_index);
    m_felder.push_back(std::move(feld));
    return m_felder.back().get();
}

TDataSetState TKADaoTable::State() const
{
    return m_rechenZeile ? TDataSetState::dsCalcFields : m_state;
}

bool TKADaoTable::CanModify() const
{
    return Active() && !m_readOnly && m_schluesselFeld >= 0;
}

TField* TKADaoTable::FindField(const QString& name) const
{
    const int index = m_feldIndex.value(name.toLower(), -1);
    return index < 0 ? nullptr : m_felder[size_t(index)].get();
}

TField* TKADaoTable::FieldByName(const QString& name) const
{
    TField* feld = FindField(name);
    if (!feld)
        fehler(t(textFeldNichtGefunden).arg(name));
    return feld;
}

// ---------------------------------------------------------------------------------------------
// The query

const QList<MasterVerknuepfung::Paar>& TKADaoTable::verknuepfungen() const
{
    static const QList<MasterVerknuepfung::Paar> keine;
    return m_masterSource ? m_masterLink.paare() : keine;
}

QString TKADaoTable::abfrageText() const
{
    const QList<MasterVerknuepfung::Paar>& links = verknuepfungen();
    const QString bedingung = m_masterLink.bedingung();

    if (!m_sql.trimmed().isEmpty())
        return links.isEmpty() ? m_sql : SqlText::bedingungEinfuegen(m_sql, bedingung);
    if (m_tableName.trimmed().isEmpty())
        fehler(QStringLiteral("Es ist weder eine Tabelle noch eine SQL-Anweisung angegeben."));
    QString text = QStringLiteral("SELECT * FROM ") + SqlText::klammern(m_tableName.trimmed());
    if (!links.isEmpty())
        text += QStringLiteral(" WHERE ") + bedingung;
    return text;
}

void TKADaoTable::setGehalteneSpalten(const QStringList& namen)
{
    definitionAendern(m_gehalteneNamen, namen);
}

void TKADaoTable::abfrageVorbereiten()
{
    const QString text = abfrageText();
    m_abfrage = m_database->Vorbereiten(text);
    // Reading an action statement would run it; those go through ExecuteSQL.
    if (m_abfrage.spaltenAnzahl() == 0) {
        m_abfrage = Anweisung();
        fehler(QStringLiteral("Die SQL-Anweisung liefert keine Datenmenge; sie kann nur mit ExecuteSQL ausgeführt werden."));
    }
    felderAusAnweisung();
    ordnungBilden();
    m_filterFeld = filterFeldSuchen();
    leseAbfrageVorbereiten();
}

// The statement that reads the rows, for the columns they are held with.
void TKADaoTable::leseAbfrageVorbereiten()
{
    const QString text = abfrageText();
    gehalteneBilden();
    // On the file, rows ordered by plain columns are read in the table's order and ordered
    // here: walking the table reads the file from front to back, walking an index jumps about
    // it for every row once the table has outgrown the engine's cache.
    QString ohneOrdnung = text;
    m_selbstOrdnen = false;
    if (!m_database->AufServer() && m_ordnung.bekannt() && !m_ordnung.spalten().empty()) {
        if (const std::optional<QString> ohne = SqlText::ohneSortierung(text)) {
            ohneOrdnung = *ohne;
            m_selbstOrdnen = true;
        }
    }
    // The fields come from the statement as written; the rows from the one that reads them.
    if (const QString lesen = leseText(ohneOrdnung); lesen != text)
        m_abfrage = m_database->Vorbereiten(lesen);
}

void TKADaoTable::selbstOrdnen(std::vector<Zeile>& zeilen) const
{
    const std::vector<size_t> folge =
        m_ordnung.reihenfolge(zeilen.size(), [&](size_t i) -> const Zeilenwerte& { return zeilen[i].werte; });
    std::vector<Zeile> geordnet;
    geordnet.reserve(zeilen.size());
    for (const size_t i : folge)
        geordnet.push_back(std::move(zeilen[i]));
    zeilen.swap(geordnet);
}

void TKADaoTable::gehalteneBilden()
{
    // The key, the filter, the order and the keys of lookup fields are needed of every row.
    std::vector<int> immer = {m_schluesselFeld, m_filterFeld};
    for (const Zeilenordnung::Spalte& spalte : m_ordnung.spalten())
        immer.push_back(spalte.feld);
    for (const auto& feld : m_felder)
        if (feld->m_kind == TFieldKind::fkLookup)
            immer.push_back(feld->m_schluesselIndex);
    m_auswahl.bilden(
        m_gehalteneNamen, m_anzahlSpalten,
        [this](const QString& name) {
            const TField* feld = FindField(name);
            return feld ? feld->m_index : -1;
        },
        immer,
        m_schluesselFeld >= 0 && verknuepfungen().isEmpty() && Spaltenauswahl::liestAlleSpalten(abfrageText()));
}

// The statement that reads the rows: with only the held columns filled in (the others empty,
// in their places), and on a server with the key as the last term of the order.
QString TKADaoTable::leseText(const QString& text) const
{
    QString ergebnis = nurGehaltene(text);
    // The file hands a table's rows out in the order of their key (also rows equal in the
    // ORDER BY), and the program has always shown them so; a server hands them out as they
    // lie, which changes with every update.
    if (m_database->AufServer() && m_schluesselFeld >= 0) {
        const std::optional<QList<SqlText::Sortierspalte>> terme = SqlText::sortierung(text);
        // Rows equal in the order stand by their key there, too. The key is never empty, so
        // its term keeps the server's own rule for empty values and with it the key's index.
        if (terme && !text.contains(QLatin1String("LIMIT"), Qt::CaseInsensitive))
            ergebnis += (terme->isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(", "))
                + SqlText::klammern(m_felder[size_t(m_schluesselFeld)]->m_herkunftSpalte) + QStringLiteral(" NULLS LAST");
    }
    return ergebnis;
}

// The statement that reads every column of the rows.
QString TKADaoTable::vollerText() const
{
    return m_sql.trimmed().isEmpty() ? QStringLiteral("SELECT * FROM ") + SqlText::klammern(m_tableName.trimmed()) : m_sql;
}

QString TKADaoTable::nurGehaltene(const QString& text) const
{
    return m_auswahl.leseText(text, herkunftSpalten());
}

// Each stored column's name in its table.
std::vector<QString> TKADaoTable::herkunftSpalten() const
{
    std::vector<QString> herkunft;
    for (int c = 0; c < m_anzahlSpalten; ++c)
        herkunft.push_back(m_felder[size_t(c)]->m_herkunftSpalte);
    return herkunft;
}

void TKADaoTable::zeileVervollstaendigen(Zeile& zeile)
{
    // A column the rows are not read with: the row's stored values are read now, once.
    if (m_auswahl.alleGehalten() || m_schluesselFeld < 0)
        return;
    const QVariant schluessel = zeile.werte[size_t(m_schluesselFeld)];
    if (schluessel.isNull())
        return;
    const auto frisch = schreiber().nachlesen(schluessel);
    if (!frisch)
        return;  // deleted meanwhile: the row shows what it holds
    std::vector<QVariant> werte = zeile.werte.alle();
    for (int c = 0; c < m_anzahlSpalten && size_t(c) < frisch->size(); ++c)
        if (!zeile.werte.gelesen(size_t(c)))
            werte[size_t(c)] = (*frisch)[size_t(c)];
    zeile.werte = Zeilenwerte(werte);
}

// A stored value of a row. One the row was read without comes from the rows in view read in
// full; a row that is not among the rows read (the one being edited) is read in full itself.
QVariant TKADaoTable::gespeicherterWert(Zeile& zeile, int feld)
{
    if (zeile.werte.gelesen(size_t(feld)))
        return zeile.werte[size_t(feld)];
    if (const Zeilenwerte* ganz = nachgelesen(zeile))
        return (*ganz)[size_t(feld)];
    zeileVervollstaendigen(zeile);
    return zeile.werte[size_t(feld)];
}

// The row among the rows read, read in full: from the window, or read now together with the
// rows read around it that are not in it yet, in one statement. A row gone meanwhile has none
// (it shows what it holds); so has a row that is not among the rows read.
const Zeilenwerte* TKADaoTable::nachgelesen(const Zeile& zeile)
{
    const std::vector<Zeile>& gelesen = m_zeilen.gelesen();
    if (m_schluesselFeld < 0 || gelesen.empty() || &zeile < gelesen.data() || &zeile >= gelesen.data() + gelesen.size())
        return nullptr;
    const std::vector<qint64>& schluessel = m_zeilen.schluessel();
    const size_t index = size_t(&zeile - gelesen.data());
    const qint64 gesucht = schluessel[index];
    if (gesucht == Zeilenliste::OhneSchluessel)
        return nullptr;
    if (const Zeilenwerte* ganz = m_fenster.finden(gesucht, m_inhaltStand))
        return ganz;

    // A list is looked at from the top of its page down, a few rows above it now and then.
    constexpr size_t stapel = 128;
    constexpr size_t davor = stapel / 8;
    m_fenster.platzSchaffen(stapel, m_inhaltStand);
    QList<qint64> liste;
    for (size_t i = index > davor ? index - davor : 0; i < schluessel.size() && size_t(liste.size()) < stapel; ++i) {
        const qint64 k = schluessel[i];
        if (k != Zeilenliste::OhneSchluessel && (k == gesucht || !m_fenster.finden(k, m_inhaltStand)))
            liste << k;
    }
    if (const QString fehlerText = m_fenster.fehlerInPause(m_inhaltStand); !fehlerText.isEmpty())
        throw Fehler(fehlerText);
    try {
        Anweisung a = m_database->Vorbereiten(SqlText::bedingungEinfuegen(vollerText(), schluesselBedingung(liste)));
        while (a.schritt()) {
            Zeilenwerte werte = volleZeileAus(a).werte;
            const QVariant k = werte[size_t(m_schluesselFeld)];
            if (!k.isNull())
                m_fenster.ablegen(k.toLongLong(), std::move(werte), m_inhaltStand);
        }
        a.zuruecksetzen();
    } catch (const Fehler& f) {
        m_fenster.fehlgeschlagen(m_inhaltStand, f.text());
        throw;
    }
    return m_fenster.finden(gesucht, m_inhaltStand);
}

void TKADaoTable::ordnungBilden()
{
    m_ordnung = Zeilenordnung();
    if (m_schluesselFeld < 0 || !verknuepfungen().isEmpty())
        return;
    // A table comes in the order of its key; a SELECT without ORDER BY in no order one could
    // rely on.
    std::optional<QList<SqlText::Sortierspalte>> terme;
    if (m_sql.trimmed().isEmpty())
        terme = QList<SqlText::Sortierspalte>();
    else if (terme = SqlText::sortierung(m_sql); terme && terme->isEmpty())
        return;
    if (!terme)
        return;
    std::vector<Zeilenordnung::Spalte> spalten;
    for (const SqlText::Sortierspalte& t : std::as_const(*terme)) {
        const TField* feld = FindField(t.spalte);
        if (!feld || feld->m_kind != TFieldKind::fkData)
            return;
        // The program's Text columns are declared COLLATE NOCASE.
        spalten.push_back({feld->m_index, t.absteigend, feld->m_typ == TFieldType::ftString});
    }
    m_ordnung = Zeilenordnung(std::move(spalten), m_schluesselFeld);
}

void TKADaoTable::felderAusAnweisung()
{
    const Spaltenkatalog katalog = m_abfrage.katalog(m_sql);
    const std::vector<Spaltenkatalog::Spalte>& spalten = katalog.spalten();
    const int anzahl = int(spalten.size());

    std::vector<std::unique_ptr<TField>> alt = std::move(m_felder);
    m_felder.clear();
    m_felder.reserve(alt.size() + size_t(anzahl));
    for (int i = 0; i < anzahl; ++i) {
        const Spaltenkatalog::Spalte& s = spalten[size_t(i)];
        std::unique_ptr<TField> feld;
        for (auto& kandidat : alt) {
            if (kandidat && kandidat->m_kind == TFieldKind::fkData
                && kandidat->m_name.compare(s.name, Qt::CaseInsensitive) == 0) {
                feld = std::move(kandidat);
                break;
            }
        }
        if (!feld)
            feld = std::make_unique<TField>(this, s.name, s.typ, s.breite, TFieldKind::fkData);
        feld->m_name = s.name;
        feld->m_typ = s.typ;
        feld->m_size = s.breite;
        feld->m_herkunftTabelle = s.tabelle;
        feld->m_herkunftSpalte = s.herkunft;
        m_felder.push_back(std::move(feld));
    }
    m_anzahlSpalten = anzahl;
    for (auto& feld : alt)
        if (feld && feld->m_kind != TFieldKind::fkData)
            m_felder.push_back(std::move(feld));

    m_feldIndex.clear();
    for (size_t i = 0; i < m_felder.size(); ++i) {
        m_felder[i]->m_index = int(i);
        m_feldIndex.insert(m_felder[i]->m_name.toLower(), int(i));
    }
    // Rows can be written back when every column comes from one table and its key is there.
    const bool schreibbar = !m_readOnly && katalog.schluesselSpalte() >= 0;
    m_basisTabelle = schreibbar ? katalog.basisTabelle() : QString();
    m_schluesselFeld = schreibbar ? katalog.schluesselSpalte() : -1;
    m_zeilen.setSchluesselSpalte(m_schluesselFeld);

    for (auto& feld : m_felder) {
        if (feld->m_kind != TFieldKind::fkLookup)
            continue;
        const TField* schluesselFeld = FindField(feld->m_keyFields);
        if (!schluesselFeld)
            fehler(t(textFeldNichtGefunden).arg(feld->m_keyFields));
        feld->m_schluesselIndex = schluesselFeld->Index();
    }
}

TKADaoTable::Zeile TKADaoTable::zeileAus(const Anweisung& anweisung) const
{
    // The stored columns as read; the derived ones stay empty until they are worked out.
    thread_local Zeilenbau bau;
    bau.beginnen(m_felder.size(), m_auswahl.maske());
    anweisung.zeileBauen(m_auswahl.anzahlGeliefert(m_anzahlSpalten), bau);
    return Zeile{bau.fertig()};
}

// A row read again by its key, in full: it is one of a few another program changed, and whoever
// looks at its columns (a search over them) then finds them as they are now.
TKADaoTable::Zeile TKADaoTable::volleZeileAus(const Anweisung& anweisung) const
{
    thread_local Zeilenbau bau;
    bau.beginnen(m_felder.size());
    anweisung.zeileBauen(m_anzahlSpalten, bau);
    return Zeile{bau.fertig()};
}

void TKADaoTable::SpaltenLesen(const QStringList& felder, const std::function<void(const std::vector<QVariant>&)>& jeZeile)
{
    if (!Active())
        return;
    std::vector<int> spalten;
    for (const QString& name : felder) {
        const TField* f = FieldByName(name);
        if (f->m_kind != TFieldKind::fkData)
            fehler(QStringLiteral("Nur gespeicherte Felder können gelesen werden ('%1').").arg(name));
        spalten.push_back(f->m_index);
    }
    // Only those columns (and the key) where the statement reads a whole table; any other
    // statement as it stands.
    Spaltenauswahl auswahl;
    auswahl.bilden(felder, m_anzahlSpalten,
                   [this](const QString& name) {
                       const TField* feld = FindField(name);
                       return feld ? feld->m_index : -1;
                   },
                   {m_schluesselFeld}, m_schluesselFeld >= 0 && Spaltenauswahl::liestAlleSpalten(vollerText()));
    const QString text = SqlText::ohneSortierung(vollerText()).value_or(vollerText());
    Anweisung a = m_database->Vorbereiten(auswahl.leseText(text, herkunftSpalten()));
    if (!verknuepfungen().isEmpty())
        for (int i = 0; i < int(m_geladenerSchluessel.size()); ++i)
            a.binden(i + 1, m_geladenerSchluessel[i]);
    std::vector<QVariant> werte(static_cast<size_t>(m_anzahlSpalten));
    thread_local Zeilenbau bau;
    while (a.schritt()) {
        bau.beginnen(size_t(m_anzahlSpalten), auswahl.maske());
        a.zeileBauen(auswahl.anzahlGeliefert(m_anzahlSpalten), bau);
        const Zeilenwerte zeile = bau.fertig();
        if (m_schluesselFeld >= 0)
            werte[size_t(m_schluesselFeld)] = zeile[size_t(m_schluesselFeld)];
        for (const int c : spalten)
            werte[size_t(c)] = zeile[size_t(c)];
        jeZeile(werte);
    }
    a.zuruecksetzen();
}

std::vector<TKADaoTable::Zeile> TKADaoTable::zeilenLesen(const QVariantList& schluessel)
{
    ++m_leseStand;
    std::vector<Zeile> zeilen;
    m_geladenerSchluessel = schluessel;
    const int links = int(verknuepfungen().size());
    if (links > 0) {
        // A detail without a master row (or a master row without key) has no rows.
        if (schluessel.size() != links)
            return zeilen;
        for (const QVariant& wert : schluessel)
            if (wert.isNull())
                return zeilen;
    }
    const int spalten = m_anzahlSpalten;
    m_abfrage.zuruecksetzen();
    for (int i = 0; i < int(schluessel.size()); ++i)
        m_abfrage.binden(i + 1, schluessel[i]);
    // As many as last time, so that a large list is not moved again and again while it grows.
    zeilen.reserve(m_zuletztGelesen);
    try {
        while (m_abfrage.schritt())
            zeilen.push_back(zeileAus(m_abfrage));
    } catch (...) {
        m_abfrage.zuruecksetzen();
        throw;
    }
    // Done at once, so the read lock is given back before anyone writes.
    m_abfrage.zuruecksetzen();
    if (m_selbstOrdnen)
        selbstOrdnen(zeilen);
    else
        zeilen.shrink_to_fit();  // a list of many rows is held for long; it keeps no room to grow
    m_zuletztGelesen = zeilen.size();

    // A computed column without declared type takes the kind of its first value.
    for (int c = 0; c < spalten; ++c) {
        TField* feld = m_felder[size_t(c)].get();
        if (feld->m_typ != TFieldType::ftUnknown)
            continue;
        for (const Zeile& z : zeilen) {
            const QVariant& v = z.werte[size_t(c)];
            if (v.isNull())
                continue;
            switch (v.metaType().id()) {
            case QMetaType::LongLong: feld->m_typ = TFieldType::ftInteger; break;
            case QMetaType::Double: feld->m_typ = TFieldType::ftFloat; break;
            case QMetaType::QString: feld->m_typ = TFieldType::ftMemo; break;
            default:
                feld->m_typ = v.metaType() == QMetaType::fromType<RohText>() ? TFieldType::ftMemo : TFieldType::ftBlob;
                break;
            }
            break;
        }
    }
    return zeilen;
}

void TKADaoTable::sichtbareBilden()
{
    const bool filtern = m_filtered && m_filterFeld >= 0;
    m_ohneBedingungBeimBilden = 0;
    m_zeilen.zeigen([&](Zeile& zeile) {
        if (filtern && !zeileSichtbar(zeile))
            return false;
        ++m_ohneBedingungBeimBilden;
        return !m_zeilenBedingung || m_zeilenBedingung(zeile.werte);
    });
    m_gezeigtBeimBilden = RowCount();
}

void TKADaoTable::setZeilenBedingung(ZeilenBedingung bedingung)
{
    if (!Active()) {
        m_zeilenBedingung = std::move(bedingung);
        return;
    }
    CheckBrowseMode();
    m_zeilenBedingung = std::move(bedingung);
    std::optional<qint64> aktuell;
    if (m_pos >= 0 && m_schluesselFeld >= 0 && !zeileBei(m_pos).werte[size_t(m_schluesselFeld)].isNull())
        aktuell = zeileBei(m_pos).werte[size_t(m_schluesselFeld)].toLongLong();
    allesNeuGelesen(m_zeilen.nehmen(), aktuell, 0);
}

int TKADaoTable::AnzahlOhneBedingung() const
{
    if (!m_zeilenBedingung || !Active())
        return RecordCount();
    // Rows are added, removed or dropped by the Filter after the shown rows were formed only
    // among the shown ones, so the rows the condition hid are as many as then.
    return m_ohneBedingungBeimBilden - m_gezeigtBeimBilden + RecordCount();
}

bool TKADaoTable::zeileSichtbar(Zeile& zeile)
{
    if (!m_filtered || m_filterFeld < 0)
        return true;
    const QVariant wert = m_felder[size_t(m_filterFeld)]->Wert(gespeicherterWert(zeile, m_filterFeld));
    return wert.metaType().id() == QMetaType::Bool && wert.toBool();
}

QVariantList TKADaoTable::masterSchluessel() const
{
    QVariantList schluessel;
    const QList<MasterVerknuepfung::Paar>& links = verknuepfungen();
    if (links.isEmpty())
        return schluessel;
    const TKADaoTable* master = m_masterSource ? m_masterSource->DataSet() : nullptr;
    if (!master || !master->Active())
        return schluessel;
    for (const MasterVerknuepfung::Paar& v : links) {
        const TField* feld = master->FindField(v.master);
        if (!feld)
            master->fehler(t(textFeldNichtGefunden).arg(v.master));
        schluessel << feld->Value();
    }
    return schluessel;
}

// ---------------------------------------------------------------------------------------------
// Opening, closing, reading again

void TKADaoTable::Open()
{
    if (Active())
        return;
    if (!m_database || !m_database->Connected())
        fehler(QStringLiteral("Die Datenmenge ist keiner verbundenen Datenbank zugeordnet."));
    std::vector<Zeile> zeilen;
    try {
        abfrageVorbereiten();
        zeilen = zeilenLesen(masterSchluessel());
    } catch (...) {
        m_abfrage = Anweisung();
        throw;
    }
    m_state = TDataSetState::dsBrowse;
    masterVerbinden();
    lookupQuellenVerbinden();
    allesNeuGelesen(std::move(zeilen), std::nullopt, 0);
    if (meldenErlaubt())
        emit StateChange();
}

void TKADaoTable::Close()
{
    if (!Active())
        return;
    meldeReset(true);
    m_zeilen.leeren();
    m_fenster.leeren();
    ++m_leseStand;
    m_pos = -1;
    m_bof = m_eof = true;
    m_bearbeitung.verwerfen();
    m_abfrage = Anweisung();
    m_indizes.clear();
    m_geladenerSchluessel.clear();
    for (const auto& v : std::as_const(m_masterVerbindungen))
        disconnect(v);
    m_masterVerbindungen.clear();
    for (const auto& v : std::as_const(m_lookupVerbindungen))
        disconnect(v);
    m_lookupVerbindungen.clear();
    m_abgeleitete.leeren();
    m_state = TDataSetState::dsInactive;
    meldeReset(false);
    inhaltGeaendert();
    if (meldenErlaubt())
        emit StateChange();
    meldeScroll();
    meldeDatenAenderung(nullptr);
}

void TKADaoTable::Requery()
{
    if (!Active())
        return;
    // A detail stays as it is while its master row is being edited.
    const TKADaoTable* master = m_masterSource ? m_masterSource->DataSet() : nullptr;
    if (master && !verknuepfungen().isEmpty()
        && (master->State() == TDataSetState::dsEdit || master->State() == TDataSetState::dsInsert))
        return;
    CheckBrowseMode();
    // The rows held go before the new ones are read: held side by side, a large table would
    // take twice its memory for a moment, and the allocator keeps that long after. Should the
    // reading fail, the dataset stays empty (as a detail without master row) until it is read
    // again; the message says why.
    meldeReset(true);
    m_zeilen.leeren();
    std::vector<Zeile> neu;
    try {
        neu = zeilenLesen(masterSchluessel());
    } catch (...) {
        allesNeuGelesen({}, std::nullopt, 0, ResetGemeldet::Ja);
        throw;
    }
    allesNeuGelesen(std::move(neu), std::nullopt, 0, ResetGemeldet::Ja);
}

void TKADaoTable::Refresh()
{
    pruefeAktiv();
    CheckBrowseMode();
    std::vector<Zeile> neu = zeilenLesen(m_geladenerSchluessel);
    if (m_schluesselFeld < 0) {
        allesNeuGelesen(std::move(neu), std::nullopt, m_pos);
        return;
    }
    // The rows held keep their place and get their current values; rows deleted meanwhile go,
    // rows added meanwhile come only with Requery.
    const size_t k = size_t(m_schluesselFeld);
    QHash<qint64, size_t> stelle;
    for (size_t i = 0; i < neu.size(); ++i)
        stelle.insert(neu[i].werte[k].toLongLong(), i);
    std::optional<qint64> aktuell;
    if (m_pos >= 0)
        aktuell = zeileBei(m_pos).werte[k].toLongLong();
    std::vector<Zeile> ergebnis;
    ergebnis.reserve(m_zeilen.anzahlGelesen());
    for (const Zeile& z : m_zeilen.gelesen()) {
        const auto it = stelle.constFind(z.werte[k].toLongLong());
        if (!z.werte[k].isNull() && it != stelle.constEnd())
            ergebnis.push_back(std::move(neu[*it]));
    }
    allesNeuGelesen(std::move(ergebnis), aktuell, m_pos);
}

void TKADaoTable::ZeilenNachlesen(const QString& feld, const QVariant& wert)
{
    if (!Active())
        return;
    if (!verknuepfungen().isEmpty())
        fehler(QStringLiteral("Eine Detail-Datenmenge kann nur ganz neu gelesen werden."));
    CheckBrowseMode();
    const TField* f = FieldByName(feld);
    if (f->m_kind != TFieldKind::fkData)
        fehler(QStringLiteral("Nur gespeicherte Felder können Zeilen auswählen ('%1').").arg(feld));
    if (!m_auswahl.gehalten(f->m_index))
        fehler(QStringLiteral("Zeilen können nur über gehaltene Felder ausgewählt werden ('%1').").arg(feld));
    Anweisung a = m_database->Vorbereiten(
        SqlText::bedingungEinfuegen(vollerText(), SqlText::klammern(f->m_name) + QStringLiteral(" = ?")));
    a.binden(1, wert);
    std::vector<Zeile> neu;
    while (a.schritt())
        neu.push_back(volleZeileAus(a));
    a.zuruecksetzen();

    const Suchschluessel gesucht(wert);
    auto passt = [&](const Zeile& z) {
        return gesucht.gueltig() && Suchschluessel(z.werte[size_t(f->m_index)]) == gesucht;
    };
    std::vector<size_t> treffer;
    // Through the field's index while it is up to date, covers every row and knows each value
    // in one row only (one project's sums): no pass over all rows.
    const auto index = m_indizes.constFind(f->m_index);
    const bool perIndex =
        index != m_indizes.cend() && index->stand == m_inhaltStand && index->eindeutig() && m_zeilen.alleGezeigt();
    if (perIndex) {
        const int zeile = index->zeile(gesucht);
        if (zeile >= 0)
            treffer.push_back(m_zeilen.indexVon(zeile));
    } else {
        for (size_t i = 0; i < m_zeilen.anzahlGelesen(); ++i)
            if (passt(m_zeilen.gelesen(i)))
                treffer.push_back(i);
    }
    if (!(m_filtered && m_filterFeld >= 0)) {
        // Row by row (one project's sums): the rows held with that value take the new ones in
        // place, those left over go, new ones come at the end; the controls bound here redraw,
        // lose or gain just those rows.
        const size_t gleichViele = std::min(treffer.size(), neu.size());
        bool anders = treffer.size() != neu.size();
        for (size_t n = 0; n < gleichViele; ++n) {
            // A row that reads as it was held is nobody's news.
            const Zeile& alt = m_zeilen.gelesen(treffer[n]);
            bool zeileAnders = !m_auswahl.alleGehalten();
            for (int c = 0; c < m_anzahlSpalten && !zeileAnders; ++c)
                zeileAnders = !gleicherWert(alt.werte[size_t(c)], neu[n].werte[size_t(c)]);
            if (!zeileAnders)
                continue;
            anders = true;
            m_zeilen.gelesen(treffer[n]) = std::move(neu[n]);
            m_zeilen.erneuert(treffer[n]);
            if (const int zeile = m_zeilen.zeileVon(treffer[n]); zeile >= 0)
                meldeZeilenGeaendert(zeile, zeile);
        }
        for (size_t n = treffer.size(); n-- > gleichViele;)
            zeileHerausnehmen(treffer[n]);
        for (size_t n = gleichViele; n < neu.size(); ++n) {
            const int zeile = RowCount();
            if (meldenErlaubt())
                emit RowsAboutToBeInserted(zeile, zeile);
            m_zeilen.einfuegen(m_zeilen.anzahlGelesen(), std::move(neu[n]), true);
            if (meldenErlaubt())
                emit RowsInserted();
        }
        if (m_pos < 0 && RowCount() > 0)
            m_pos = 0;
        m_bof = m_pos <= 0;
        m_eof = RowCount() == 0;
        if (anders) {
            m_abgeleitete.verwerfen();
            ++m_inhaltStand;
            // The rows with that value changed in place or came at the end: the field's index
            // holds as it is, or with the new row entered.
            if (perIndex && treffer.size() <= neu.size() && m_zeilen.alleGezeigt()) {
                Suchindex& feldIndex = m_indizes[f->m_index];
                for (int zeile = RowCount() - int(neu.size() - treffer.size()); zeile < RowCount(); ++zeile)
                    feldIndex.eintragen(wert, zeile);
                feldIndex.stand = m_inhaltStand;
            }
            emit ZeilenNachgelesen(f->m_name, wert);
            meldeDatenAenderung(nullptr);
        }
        return;
    }
    std::vector<Zeile> zeilen;
    zeilen.reserve(m_zeilen.anzahlGelesen() + neu.size());
    size_t naechste = 0;
    for (Zeile& z : m_zeilen.nehmen()) {
        if (!passt(z))
            zeilen.push_back(std::move(z));
        else if (naechste < neu.size())
            zeilen.push_back(std::move(neu[naechste++]));
    }
    for (; naechste < neu.size(); ++naechste)
        zeilen.push_back(std::move(neu[naechste]));
    allesNeuGelesen(std::move(zeilen), std::nullopt, m_pos);
}

void TKADaoTable::allesNeuGelesen(std::vector<Zeile>&& zeilen, std::optional<qint64> schluessel, int ersatz,
                                  ResetGemeldet gemeldet)
{
    if (gemeldet == ResetGemeldet::Nein)
        meldeReset(true);
    m_zeilen.ersetzen(std::move(zeilen));
    sichtbareBilden();
    m_abgeleitete.verwerfen();
    const int anzahl = RowCount();
    int pos = -1;
    if (schluessel && m_schluesselFeld >= 0) {
        for (int i = 0; i < anzahl; ++i) {
            const QVariant& v = zeileBei(i).werte[size_t(m_schluesselFeld)];
            if (!v.isNull() && v.toLongLong() == *schluessel) {
                pos = i;
                break;
            }
        }
    }
    if (pos < 0 && anzahl > 0)
        pos = qBound(0, ersatz, anzahl - 1);
    m_pos = pos;
    m_bof = m_pos <= 0;
    m_eof = anzahl == 0;
    meldeReset(false);
    inhaltGeaendert();
    meldeScroll();
    meldeDatenAenderung(nullptr);
}

void TKADaoTable::masterVerbinden()
{
    for (const auto& v : std::as_const(m_masterVerbindungen))
        disconnect(v);
    m_masterVerbindungen.clear();
    if (!m_masterSource || verknuepfungen().isEmpty())
        return;
    TDataSource* quelle = m_masterSource;
    m_masterVerbindungen << connect(quelle, &TDataSource::DataChange, this, [this](TField* feld) {
        if (!feld)
            masterGeaendert(false);
    });
    m_masterVerbindungen << connect(quelle, &TDataSource::StateChange, this, [this] { masterGeaendert(false); });
    m_masterVerbindungen << connect(quelle, &TDataSource::RowsReset, this, [this] { masterGeaendert(true); });
    m_masterVerbindungen << connect(quelle, &TDataSource::BrowseModeNeeded, this, &TKADaoTable::CheckBrowseMode);
}

void TKADaoTable::masterGeaendert(bool erzwingen)
{
    if (!Active())
        return;
    const TKADaoTable* master = m_masterSource ? m_masterSource->DataSet() : nullptr;
    // While the master row is edited its key cannot change; the detail keeps its rows.
    if (master && master->State() == TDataSetState::dsEdit)
        return;
    const QVariantList schluessel = masterSchluessel();
    if (!erzwingen && Suchschluessel::gleich(schluessel, m_geladenerSchluessel))
        return;
    // A master being closed leaves nothing to store the detail's input for (its post could
    // fail at a moment when nobody can be told, while the program shuts down).
    if (master && !master->Active())
        Cancel();
    CheckBrowseMode();
    allesNeuGelesen(zeilenLesen(schluessel), std::nullopt, 0);
}

void TKADaoTable::lookupQuellenVerbinden()
{
    for (const auto& v : std::as_const(m_lookupVerbindungen))
        disconnect(v);
    m_lookupVerbindungen.clear();
    m_abgeleitete.bilden(*this, m_anzahlSpalten);
    for (const QPointer<TKADaoTable>& quelle : m_abgeleitete.quellen()) {
        if (!quelle)
            continue;
        m_lookupVerbindungen << connect(quelle, &TKADaoTable::ContentChanged, this, &TKADaoTable::lookupQuelleGeaendert);
        m_lookupVerbindungen << connect(quelle, &TKADaoTable::ZeilenNachgelesen, this,
                                        [this, q = quelle.data()](const QString& feld, const QVariant& wert) {
                                            lookupZeilenGeaendert(q, feld, wert);
                                        });
        m_lookupVerbindungen << connect(quelle, &QObject::destroyed, this, [this] { m_abgeleitete.quelleEntfernt(); });
    }
}

void TKADaoTable::lookupQuelleGeaendert()
{
    // The derived values are worked out again when read (their stand has moved on); the
    // controls only need to show them again.
    if (!Active())
        return;
    if (RowCount() > 0)
        meldeZeilenGeaendert(0, RowCount() - 1);
    meldeDatenAenderung(nullptr);
}

void TKADaoTable::lookupZeilenGeaendert(TKADaoTable* quelle, const QString& feld, const QVariant& wert)
{
    if (!Active())
        return;
    const std::optional<std::vector<int>> schluessel = m_abgeleitete.betroffeneSchluessel(quelle, feld, m_schluesselFeld);
    if (!schluessel) {
        lookupQuelleGeaendert();
        return;
    }
    QList<int> zeilen;
    for (const int f : *schluessel) {
        const int zeile = FindRow(f, wert);
        // A row whose derived values nobody has worked out since its last notice has shown no
        // old ones.
        if (zeile >= 0 && !zeilen.contains(zeile) && zeileBei(zeile).stand != Ableitungsstand::Ungueltig)
            zeilen << zeile;
    }
    for (int zeile : std::as_const(zeilen))
        meldeZeilenGeaendert(zeile, zeile);
    if (zeilen.contains(m_pos))
        meldeDatenAenderung(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Reading single rows again, each into its place

std::optional<qint64> TKADaoTable::aktuellerSchluessel()
{
    if (m_pos < 0 || m_schluesselFeld < 0 || m_pos >= RowCount())
        return std::nullopt;
    const QVariant& v = zeileBei(m_pos).werte[size_t(m_schluesselFeld)];
    return v.isNull() ? std::nullopt : std::optional<qint64>(v.toLongLong());
}

// The condition "the key is one of these" (numbers written into the text).
QString TKADaoTable::schluesselBedingung(const QList<qint64>& schluessel) const
{
    QStringList liste;
    for (qint64 k : schluessel)
        liste << QString::number(k);
    return SqlText::klammern(m_felder[size_t(m_schluesselFeld)]->m_herkunftSpalte) + QStringLiteral(" IN (")
        + liste.join(QStringLiteral(", ")) + QLatin1Char(')');
}

std::vector<TKADaoTable::Zeile> TKADaoTable::schluesselZeilenLesen(const QList<qint64>& schluessel)
{
    Anweisung a = m_database->Vorbereiten(SqlText::bedingungEinfuegen(vollerText(), schluesselBedingung(schluessel)));
    std::vector<Zeile> zeilen;
    while (a.schritt())
        zeilen.push_back(volleZeileAus(a));
    a.zuruecksetzen();
    return zeilen;
}

// Takes row `index` of the rows read out, telling the controls when it was shown.
void TKADaoTable::zeileHerausnehmen(size_t index)
{
    const int zeile = m_zeilen.zeileVon(index);
    if (zeile >= 0 && meldenErlaubt())
        emit RowsAboutToBeRemoved(zeile, zeile);
    m_zeilen.herausnehmen(index);
    if (zeile >= 0) {
        if (m_pos > zeile || (m_pos == zeile && m_pos >= RowCount()))
            --m_pos;
        if (meldenErlaubt())
            emit RowsRemoved();
    }
}

// Puts a row read again into its place in the order, telling the controls when it is shown;
// returns its row number among those shown, -1 when the filter hides it.
int TKADaoTable::zeileEinordnen(Zeile&& zeile)
{
    const std::vector<Zeile>& gelesen = m_zeilen.gelesen();
    const size_t index = size_t(std::upper_bound(gelesen.begin(), gelesen.end(), zeile, [this](const Zeile& a, const Zeile& b) {
                                    return m_ordnung.vergleichen(a.werte, b.werte) < 0;
                                }) - gelesen.begin());
    if (!zeileSichtbar(zeile)) {
        m_zeilen.einfuegen(index, std::move(zeile), false);
        return -1;
    }
    const int sichtbar = m_zeilen.gezeigtVor(index);
    if (meldenErlaubt())
        emit RowsAboutToBeInserted(sichtbar, sichtbar);
    m_zeilen.einfuegen(index, std::move(zeile), true);
    if (m_pos >= sichtbar)
        ++m_pos;
    if (meldenErlaubt())
        emit RowsInserted();
    return sichtbar;
}

void TKADaoTable::SchluesselNachlesen(const QList<qint64>& schluessel)
{
    if (!Active() || schluessel.isEmpty())
        return;
    CheckBrowseMode();
    const std::optional<qint64> aktuell = aktuellerSchluessel();
    if (!m_ordnung.bekannt()) {
        allesNeuGelesen(zeilenLesen(m_geladenerSchluessel), aktuell, m_pos);
        return;
    }
    std::vector<Zeile> frisch = schluesselZeilenLesen(schluessel);
    const size_t k = size_t(m_schluesselFeld);
    QHash<qint64, size_t> frischBei;
    for (size_t i = 0; i < frisch.size(); ++i)
        frischBei.insert(frisch[i].werte[k].toLongLong(), i);

    // Where the rows with these keys stand now: one pass over the keys alone.
    const QSet<qint64> gesucht(schluessel.begin(), schluessel.end());
    const std::vector<qint64>& schluesselSpalte = m_zeilen.schluessel();
    const auto [kleinster, groesster] = std::minmax_element(schluessel.begin(), schluessel.end());
    std::vector<size_t> alt;
    for (size_t i = 0; i < schluesselSpalte.size(); ++i) {
        const qint64 key = schluesselSpalte[i];
        if (key >= *kleinster && key <= *groesster && gesucht.contains(key))
            alt.push_back(i);
    }
    const int posVorher = m_pos;
    bool aktuelleGeaendert = false;
    // A row that still fits between its neighbours and is shown as before changes in place;
    // every other one is taken out and put in again where it belongs.
    std::vector<size_t> heraus;
    QSet<qint64> eingesetzt;
    const size_t anzahl = schluesselSpalte.size();
    for (size_t index : alt) {
        const qint64 key = schluesselSpalte[index];
        const auto it = frischBei.constFind(key);
        if (it == frischBei.constEnd()) {
            heraus.push_back(index);
            continue;
        }
        Zeile& neu = frisch[*it];
        const bool vorneGesucht = index > 0 && gesucht.contains(schluesselSpalte[index - 1]);
        const bool hintenGesucht = index + 1 < anzahl && gesucht.contains(schluesselSpalte[index + 1]);
        const bool passtVorne =
            index == 0 || vorneGesucht || m_ordnung.vergleichen(m_zeilen.gelesen(index - 1).werte, neu.werte) < 0;
        const bool passtHinten = index + 1 == anzahl || hintenGesucht
            || m_ordnung.vergleichen(neu.werte, m_zeilen.gelesen(index + 1).werte) < 0;
        const int zeile = m_zeilen.zeileVon(index);
        if (!(passtVorne && passtHinten && !vorneGesucht && !hintenGesucht) || (zeile >= 0) != zeileSichtbar(neu)) {
            heraus.push_back(index);
            continue;
        }
        Zeile& gehalten = m_zeilen.gelesen(index);
        // A row held in part may have changed in a column it is held without.
        bool anders = !m_auswahl.alleGehalten();
        for (int c = 0; c < m_anzahlSpalten && !anders; ++c)
            anders = !gleicherWert(gehalten.werte[size_t(c)], neu.werte[size_t(c)]);
        eingesetzt.insert(key);
        if (!anders)
            continue;
        gehalten = std::move(neu);  // the same key: the row stays where it is
        if (zeile >= 0) {
            meldeZeilenGeaendert(zeile, zeile);
            aktuelleGeaendert = aktuelleGeaendert || zeile == m_pos;
        }
    }
    for (auto it = heraus.rbegin(); it != heraus.rend(); ++it)
        zeileHerausnehmen(*it);
    for (auto it = frischBei.cbegin(); it != frischBei.cend(); ++it) {
        const qint64 key = it.key();
        if (eingesetzt.contains(key))
            continue;
        // The current row follows its key; rows put in before it move it on by themselves.
        const int zeile = zeileEinordnen(std::move(frisch[it.value()]));
        if (aktuell && key == *aktuell && zeile >= 0) {
            m_pos = zeile;
            aktuelleGeaendert = true;
        }
    }
    if (!heraus.empty() || eingesetzt.size() < qsizetype(frisch.size())) {
        m_pos = RowCount() == 0 ? -1 : qBound(0, m_pos, RowCount() - 1);
        m_bof = m_pos <= 0;
        m_eof = RowCount() == 0;
    }
    inhaltGeaendert();
    if (m_pos != posVorher)
        meldeScroll();
    if (m_pos != posVorher || aktuelleGeaendert)
        meldeDatenAenderung(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Moving

void TKADaoTable::positionSetzen(int zeile, bool melden)
{
    if (zeile == m_pos)
        return;
    m_pos = zeile;
    if (melden) {
        meldeScroll();
        meldeDatenAenderung(nullptr);
    }
}

void TKADaoTable::First()
{
    pruefeAktiv();
    CheckBrowseMode();
    positionSetzen(RowCount() == 0 ? -1 : 0);
    m_bof = true;
    m_eof = RowCount() == 0;
}

void TKADaoTable::Next()
{
    pruefeAktiv();
    CheckBrowseMode();
    if (m_pos + 1 < RowCount()) {
        positionSetzen(m_pos + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void TKADaoTable::Prior()
{
    pruefeAktiv();
    CheckBrowseMode();
    if (m_pos > 0) {
        positionSetzen(m_pos - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

void TKADaoTable::Last()
{
    pruefeAktiv();
    CheckBrowseMode();
    positionSetzen(RowCount() - 1);
    m_eof = true;
    m_bof = RowCount() == 0;
}

void TKADaoTable::MoveBy(int abstand)
{
    pruefeAktiv();
    CheckBrowseMode();
    if (RowCount() == 0)
        return;
    const qint64 ziel = qint64(m_pos) + abstand;
    positionSetzen(int(qBound(qint64(0), ziel, qint64(RowCount() - 1))));
    m_bof = ziel < 0;
    m_eof = ziel >= RowCount();
}

void TKADaoTable::MoveToRow(int zeile)
{
    pruefeAktiv();
    if (zeile == m_pos)
        return;
    CheckBrowseMode();
    if (RowCount() == 0)
        return;
    positionSetzen(qBound(0, zeile, RowCount() - 1));
    m_bof = m_eof = false;
}

int TKADaoTable::RecordCount() const
{
    if (!Active())
        return 0;
    const int anzahl = RowCount();
    return m_state == TDataSetState::dsInsert ? anzahl - 1 : anzahl;
}

bool TKADaoTable::IsEmpty() const
{
    return !Active() || RowCount() == 0;
}

// ---------------------------------------------------------------------------------------------
// Values

TKADaoTable::Zeile* TKADaoTable::aktiveZeile()
{
    if (m_rechenZeile)
        return m_rechenZeile;
    if (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
        return &m_bearbeitung.zeile;
    if (m_pos >= 0 && m_pos < RowCount())
        return &zeileBei(m_pos);
    return nullptr;
}

void TKADaoTable::abgeleiteteSicherstellen(Zeile& zeile)
{
    if (m_anzahlSpalten == int(m_felder.size()) && !OnCalcFields)
        return;
    if (m_rechenZeile)
        return;  // derived values are being worked out; read them as they stand
    const quint64 stand = m_abgeleitete.stand();
    if (Ableitungsstand::gilt(zeile.stand, stand))
        return;

    struct Zuruecksetzen
    {
        Zeile*& ziel;
        ~Zuruecksetzen() { ziel = nullptr; }
    } zuruecksetzen{m_rechenZeile};
    m_rechenZeile = &zeile;

    const std::vector<QVariant> abgeleitet = m_abgeleitete.nachschlagen([&](int feld) { return zeilenWert(zeile, feld); });
    // At once: each value set on its own would build the row anew.
    zeile.werte.setzenAb(size_t(m_anzahlSpalten), abgeleitet);
    if (OnCalcFields)
        OnCalcFields(this);
    zeile.stand = stand;
}

QVariant TKADaoTable::zeilenWert(Zeile& zeile, int feld)
{
    if (feld < m_anzahlSpalten)
        return m_felder[size_t(feld)]->Wert(gespeicherterWert(zeile, feld));
    if (m_rechenZeile != &zeile)
        abgeleiteteSicherstellen(zeile);
    return zeile.werte[size_t(feld)];
}

QVariant TKADaoTable::feldWert(int index) const
{
    auto* selbst = const_cast<TKADaoTable*>(this);  // derived values are worked out on reading
    Zeile* zeile = selbst->aktiveZeile();
    if (!zeile || index < 0 || index >= int(zeile->werte.size()))
        return QVariant();
    // The current row's fields are read again and again (bound editors, whoever works with the
    // current project): once one it was read without is asked for, it is read in full in place,
    // and none of its fields needs the database again while it is current or later.
    if (!m_rechenZeile && index < m_anzahlSpalten && !zeile->werte.gelesen(size_t(index)))
        selbst->zeileVervollstaendigen(*zeile);
    return selbst->zeilenWert(*zeile, index);
}

QVariant TKADaoTable::RowValue(int zeile, int feld) const
{
    if (zeile < 0 || zeile >= RowCount() || feld < 0 || feld >= FieldCount())
        return QVariant();
    auto* selbst = const_cast<TKADaoTable*>(this);  // derived values are worked out on reading
    const bool puffer = zeile == m_pos && (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert);
    return selbst->zeilenWert(puffer ? selbst->m_bearbeitung.zeile : selbst->zeileBei(zeile), feld);
}

int TKADaoTable::FindRow(int feld, const QVariant& wert) const
{
    if (!Active() || feld < 0 || feld >= FieldCount())
        return -1;
    const Suchschluessel gesucht(wert);
    if (!gesucht.gueltig())
        return -1;
    Suchindex& index = m_indizes[feld];
    if (index.stand != m_inhaltStand) {
        index.leeren();
        auto* selbst = const_cast<TKADaoTable*>(this);
        for (int i = 0; i < RowCount(); ++i) {
            if (i == m_pos && m_state == TDataSetState::dsInsert)
                continue;  // a row not yet posted is not there for others
            Zeile& z = selbst->zeileBei(i);
            index.eintragen(feld < m_anzahlSpalten ? selbst->gespeicherterWert(z, feld) : selbst->zeilenWert(z, feld), i);
        }
        index.stand = m_inhaltStand;
    }
    return index.zeile(gesucht);
}

bool TKADaoTable::Locate(const QString& feld, const QVariant& wert)
{
    pruefeAktiv();
    const TField* f = FieldByName(feld);
    CheckBrowseMode();
    const int zeile = FindRow(f->Index(), wert);
    if (zeile < 0)
        return false;
    positionSetzen(zeile);
    m_bof = m_eof = false;
    return true;
}

QVariant TKADaoTable::Lookup(const QString& keyField, const QVariant& wert, const QString& resultField) const
{
    if (!Active())
        return QVariant();
    const TField* schluessel = FieldByName(keyField);
    const TField* ergebnis = FieldByName(resultField);
    const int zeile = FindRow(schluessel->Index(), wert);
    return zeile < 0 ? QVariant() : RowValue(zeile, ergebnis->Index());
}

void TKADaoTable::feldSetzen(TField* feld, const QVariant& wert)
{
    pruefeAktiv();
    if (m_rechenZeile) {
        if (feld->m_kind == TFieldKind::fkData)
            fehler(t(textFeldNurLesen).arg(feld->m_name));
        m_rechenZeile->werte.setzen(size_t(feld->m_index), feld->typisiert(feld->Speicherwert(wert)));
        return;
    }
    if (m_state != TDataSetState::dsEdit && m_state != TDataSetState::dsInsert)
        fehler(t(textNichtImEditModus));
    if (feld->ReadOnly())
        fehler(t(textFeldNurLesen).arg(feld->m_name));
    m_bearbeitung.zeile.werte.setzen(size_t(feld->m_index), feld->Speicherwert(wert));
    m_bearbeitung.zeile.stand = Ableitungsstand::Ungueltig;
    m_bearbeitung.geaendert = true;
    meldeZeilenGeaendert(m_pos, m_pos);
    meldeDatenAenderung(feld);
}

// ---------------------------------------------------------------------------------------------
// Changing

ZeilenSchreiber TKADaoTable::schreiber() const
{
    QStringList spalten;
    for (int i = 0; i < m_anzahlSpalten; ++i)
        spalten << m_felder[size_t(i)]->m_herkunftSpalte;
    return ZeilenSchreiber(m_database, m_basisTabelle, spalten, m_schluesselFeld);
}

void TKADaoTable::breitenPruefen(const Zeile& puffer, bool nurGeaenderte) const
{
    for (int i = 0; i < m_anzahlSpalten; ++i) {
        const TField* feld = m_felder[size_t(i)].get();
        if (feld->m_typ != TFieldType::ftString || feld->m_size <= 0)
            continue;
        const QVariant& wert = puffer.werte[size_t(i)];
        if (wert.metaType().id() != QMetaType::QString)
            continue;
        const QString text = wert.toString();
        if (text.size() <= feld->m_size)
            continue;
        if (nurGeaenderte && !m_bearbeitung.spalteGeaendert(size_t(i)))
            continue;  // already stored so by someone else; not this user's input
        const qsizetype zeichen = text.toUcs4().size();
        if (zeichen > feld->m_size)
            throw Fehler(QStringLiteral("Der Text im Feld '%1' ist zu lang: erlaubt sind höchstens %2 Zeichen, "
                                        "eingegeben sind %3. Es wurde nichts gespeichert.")
                             .arg(feld->m_name)
                             .arg(feld->m_size)
                             .arg(zeichen));
    }
}

void TKADaoTable::Edit()
{
    pruefeAktiv();
    if (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
        return;
    if (RecordCount() == 0) {
        Append();
        return;
    }
    pruefeAenderbar();
    // Start from the row as it is stored now, so that a change made elsewhere meanwhile is
    // neither overwritten nor taken for a conflict.
    Zeile& zeile = zeileBei(m_pos);
    const auto frisch = schreiber().nachlesen(zeile.werte[size_t(m_schluesselFeld)]);
    if (!frisch)
        throw Fehler(t(textGeloescht));
    // Values the row was read without come in now; only a value read that differs is news.
    bool anders = false;
    bool unvollstaendig = false;
    for (int i = 0; i < m_anzahlSpalten && !anders; ++i) {
        if (!zeile.werte.gelesen(size_t(i)))
            unvollstaendig = true;
        else
            anders = !gleicherWert(zeile.werte[size_t(i)], (*frisch)[size_t(i)]);
    }
    if (anders || unvollstaendig)
        zeile.werte.setzenAb(0, *frisch);
    if (anders) {
        zeile.stand = Ableitungsstand::Ungueltig;
        inhaltGeaendert();
        meldeZeilenGeaendert(m_pos, m_pos);
    }
    m_bearbeitung.bearbeiten(zeile, m_anzahlSpalten);
    const TDataSetState alt = m_state;
    m_state = TDataSetState::dsEdit;
    neuenZustandMelden(alt);
}

void TKADaoTable::Append()
{
    neuerDatensatz(true);
}

void TKADaoTable::Insert()
{
    neuerDatensatz(false);
}

void TKADaoTable::neuerDatensatz(bool amEnde)
{
    pruefeAktiv();
    pruefeAenderbar();
    CheckBrowseMode();

    Zeile neu;
    neu.werte.resize(m_felder.size());
    // A new detail row belongs to the master's current row.
    const QList<MasterVerknuepfung::Paar>& links = verknuepfungen();
    if (!links.isEmpty()) {
        const QVariantList schluessel = masterSchluessel();
        for (qsizetype i = 0; i < links.size() && i < schluessel.size(); ++i) {
            const TField* feld = FieldByName(links[i].detail);
            if (feld->m_kind == TFieldKind::fkData)
                neu.werte.setzen(size_t(feld->m_index), feld->Speicherwert(schluessel[i]));
        }
    }

    const int stelle = amEnde || m_pos < 0 ? RowCount() : m_pos;
    if (meldenErlaubt())
        emit RowsAboutToBeInserted(stelle, stelle);
    m_zeilen.neueZeile(neu, stelle);
    m_bearbeitung.einfuegen(std::move(neu), m_pos);
    m_pos = stelle;
    const TDataSetState alt = m_state;
    m_state = TDataSetState::dsInsert;
    m_bof = m_eof = false;
    if (meldenErlaubt())
        emit RowsInserted();
    inhaltGeaendert();
    meldeScroll();
    neuenZustandMelden(alt);
}

int TKADaoTable::ausfuehren(const ZeilenAnweisungen::Anweisung& anweisung)
{
    try {
        return schreiber().ausfuehren(anweisung);
    } catch (const DatenbankGesperrt&) {
        // A row being posted stays in the edit buffer: then, and only then, the input is kept.
        if (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
            throw DatenbankGesperrt(gesperrtText(true));
        throw;
    }
}

// Writes the columns the user changed. Optimistic locking: the row is written only while those
// columns, and the InWhere ones, still hold what Edit read; columns nobody here changed (the
// summary another program's task post rewrites, a field another user changes) do not count.
// When a compared column was changed meanwhile, the user may store the input over the fresh row.
void TKADaoTable::aenderungSchreiben(const QVariant& schluessel)
{
    const ZeilenSchreiber zeilen = schreiber();
    std::vector<bool> immerPruefen(static_cast<size_t>(m_anzahlSpalten));
    for (int i = 0; i < m_anzahlSpalten; ++i)
        immerPruefen[size_t(i)] = m_felder[size_t(i)]->InWhere();
    bool nochmals = true;  // one more try when the refusal names no column (the row changed back)
    for (;;) {
        const ZeilenSchreiber::Aenderung aenderung =
            zeilen.aenderung(m_bearbeitung.zeile.werte.alle(), m_bearbeitung.original, immerPruefen);
        if (aenderung.leer() || ausfuehren(aenderung.anweisung) > 0)
            return;
        const QList<int>& verglichen = aenderung.verglichen;

        // Someone else was quicker. The row held shows the stored state from now on; the
        // user's input stays in the buffer.
        const auto frisch = zeilen.nachlesen(schluessel);
        if (!frisch)
            throw Fehler(t(textGeloescht));
        Zeile& zeile = zeileBei(m_pos);
        zeile.werte.setzenAb(0, *frisch);
        zeile.stand = Ableitungsstand::Ungueltig;
        inhaltGeaendert();

        QStringList konflikte;
        for (int i : std::as_const(verglichen)) {
            const QVariant& jetzt = (*frisch)[size_t(i)];
            const QVariant& eingabe = m_bearbeitung.zeile.werte[size_t(i)];
            // Stored as the user typed it, or not changed at all: nothing stands against the input.
            if (gleicherWert(jetzt, m_bearbeitung.original[size_t(i)]) || gleicherWert(jetzt, eingabe))
                continue;
            const TField* feld = m_felder[size_t(i)].get();
            const bool getippt = !gleicherWert(eingabe, m_bearbeitung.original[size_t(i)]);
            konflikte << QStringLiteral("Feld '%1': gespeichert ist jetzt '%2', %3 '%4'.")
                             .arg(feld->m_name, feld->Text(feld->Wert(jetzt)),
                                  getippt ? QStringLiteral("Ihre Eingabe ist") : QStringLiteral("gelesen war"),
                                  feld->Text(feld->Wert(getippt ? eingabe : m_bearbeitung.original[size_t(i)])));
        }
        if (konflikte.isEmpty()) {
            if (!std::exchange(nochmals, false))
                throw Fehler(t(textGeaendert));
        } else if (!m_rueckfrageBeiKonflikt
                   || !Meldung::bestaetigen(t(textKonfliktTitel),
                                            t(textKonfliktFrage).arg(konflikte.join(QLatin1Char('\n'))))) {
            throw Fehler(t(textGeaendert));
        }

        // Take the fresh row over and keep what the user typed on top of it.
        m_bearbeitung.frischUebernehmen(*frisch);
        m_bearbeitung.zeile.stand = Ableitungsstand::Ungueltig;
        meldeZeilenGeaendert(m_pos, m_pos);
    }
}

void TKADaoTable::Post()
{
    pruefeAktiv();
    if (m_state != TDataSetState::dsEdit && m_state != TDataSetState::dsInsert)
        return;
    // The damage check may have come in since Edit; the typed values stay in the buffer.
    m_database->SchreibenPruefen();
    if (meldenErlaubt())
        emit UpdateData();
    if (BeforePost)
        BeforePost(this);

    const bool einfuegen = m_state == TDataSetState::dsInsert;
    breitenPruefen(m_bearbeitung.zeile, !einfuegen);
    const size_t k = size_t(m_schluesselFeld);
    QVariant schluessel;

    if (einfuegen) {
        ausfuehren(schreiber().einfuegung(m_bearbeitung.zeile.werte.alle()));
        // The engine has assigned the AutoNumber.
        schluessel = schreiber().neuerSchluessel();
        m_bearbeitung.zeile.werte.setzen(k, schluessel);
    } else {
        schluessel = m_bearbeitung.original[k];
        aenderungSchreiben(schluessel);
    }

    // Written: from here on the row is saved, whatever happens while reading it again.
    Zeile& zeile = zeileBei(m_pos);
    zeile.werte = std::move(m_bearbeitung.zeile.werte);
    zeile.stand = Ableitungsstand::Ungueltig;
    m_zeilen.erneuert(m_zeilen.indexVon(m_pos));  // a new row has its key now
    m_bearbeitung.verwerfen();
    const TDataSetState alt = m_state;
    m_state = TDataSetState::dsBrowse;

    std::exception_ptr nachlesefehler;
    try {
        if (const auto frisch = schreiber().nachlesen(schluessel))
            zeile.werte.setzenAb(0, *frisch);
    } catch (...) {
        nachlesefehler = std::current_exception();
    }

    const int stelle = m_pos;
    if (!zeileSichtbar(zeile)) {
        // The filter no longer admits the row.
        if (meldenErlaubt())
            emit RowsAboutToBeRemoved(stelle, stelle);
        m_zeilen.verbergen(stelle);
        m_pos = RowCount() == 0 ? -1 : qMin(stelle, RowCount() - 1);
        if (meldenErlaubt())
            emit RowsRemoved();
        meldeScroll();
    } else {
        meldeZeilenGeaendert(stelle, stelle);
    }
    inhaltGeaendert();
    neuenZustandMelden(alt);
    if (nachlesefehler)
        std::rethrow_exception(nachlesefehler);
    if (AfterPost)
        AfterPost(this);
}

void TKADaoTable::Cancel()
{
    if (m_state == TDataSetState::dsEdit) {
        m_bearbeitung.verwerfen();
        m_state = TDataSetState::dsBrowse;
        meldeZeilenGeaendert(m_pos, m_pos);
        neuenZustandMelden(TDataSetState::dsEdit);
    } else if (m_state == TDataSetState::dsInsert) {
        const int stelle = m_pos;
        if (meldenErlaubt())
            emit RowsAboutToBeRemoved(stelle, stelle);
        m_zeilen.neueZeileVerwerfen(stelle);
        const int vorher = m_bearbeitung.posVorEinfuegen;
        m_bearbeitung.verwerfen();
        m_state = TDataSetState::dsBrowse;
        m_pos = RowCount() == 0 ? -1 : qBound(0, vorher, RowCount() - 1);
        m_bof = m_pos <= 0;
        m_eof = RowCount() == 0;
        if (meldenErlaubt())
            emit RowsRemoved();
        inhaltGeaendert();
        meldeScroll();
        neuenZustandMelden(TDataSetState::dsInsert);
    }
}

void TKADaoTable::Delete()
{
    pruefeAktiv();
    if (m_state == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (RecordCount() == 0)
        fehler(t(textLeer));
    pruefeAenderbar();
    const int stelle = m_pos;
    Zeile& geloescht = zeileBei(stelle);
    // Deleted only while the row holds what the user saw (Edit reads it afresh).
    const QVariant schluessel = geloescht.werte[size_t(m_schluesselFeld)];
    zeileVervollstaendigen(geloescht);
    if (ausfuehren(schreiber().loeschung(geloescht.werte.alle())) == 0) {
        // A row already deleted elsewhere is gone all the same; a changed one is shown afresh.
        if (const auto frisch = schreiber().nachlesen(schluessel)) {
            if (m_state == TDataSetState::dsEdit)
                Cancel();
            geloescht.werte.setzenAb(0, *frisch);
            geloescht.stand = Ableitungsstand::Ungueltig;
            inhaltGeaendert();
            meldeZeilenGeaendert(stelle, stelle);
            meldeDatenAenderung(nullptr);
            throw Fehler(t(textLoeschenGeaendert));
        }
    }

    const TDataSetState alt = m_state;
    m_state = TDataSetState::dsBrowse;
    m_bearbeitung.verwerfen();
    if (meldenErlaubt())
        emit RowsAboutToBeRemoved(stelle, stelle);
    m_zeilen.herausnehmen(m_zeilen.indexVon(stelle));
    m_pos = RowCount() == 0 ? -1 : qMin(stelle, RowCount() - 1);
    m_bof = m_pos <= 0;
    m_eof = RowCount() == 0;
    if (meldenErlaubt())
        emit RowsRemoved();
    inhaltGeaendert();
    meldeScroll();
    neuenZustandMelden(alt);
}

void TKADaoTable::Empty()
{
    if (m_readOnly || (Active() && m_schluesselFeld < 0))
        throw Fehler(t(textEmptyNurLesen));
    pruefeAktiv();
    CheckBrowseMode();
    if (RowCount() == 0)
        return;
    m_database->SchreibenPruefen();
    const size_t k = size_t(m_schluesselFeld);
    QVariantList schluessel;
    schluessel.reserve(RowCount());
    for (int zeile = 0; zeile < RowCount(); ++zeile)
        schluessel << zeileBei(zeile).werte[k];
    // Every row shown goes, whatever it holds now.
    m_database->Transaktion([&] { schreiber().loeschenNachSchluessel(schluessel); });
    std::vector<bool> weg(m_zeilen.anzahlGelesen(), false);
    for (int zeile = 0; zeile < RowCount(); ++zeile)
        weg[m_zeilen.indexVon(zeile)] = true;
    std::vector<Zeile> alle = m_zeilen.nehmen();
    std::vector<Zeile> rest;
    for (size_t i = 0; i < alle.size(); ++i)
        if (!weg[i])
            rest.push_back(std::move(alle[i]));
    allesNeuGelesen(std::move(rest), std::nullopt, 0);
}

int TKADaoTable::ExecuteSQL()
{
    if (!m_database || !m_database->Connected())
        throw Fehler(t(textExecuteSql));
    m_database->SchreibenPruefen();
    return m_database->Execute(m_sql);
}

void TKADaoTable::CheckBrowseMode()
{
    if (m_state == TDataSetState::dsInactive)
        return;
    if (meldenErlaubt())
        emit BrowseModeNeeded();
    if (m_state != TDataSetState::dsEdit && m_state != TDataSetState::dsInsert)
        return;
    if (meldenErlaubt())
        emit UpdateData();
    if (m_bearbeitung.geaendert)
        Post();
    else
        Cancel();
}

QList<TField*> TKADaoTable::GeaenderteFelder() const
{
    QList<TField*> felder;
    if (m_state != TDataSetState::dsEdit && m_state != TDataSetState::dsInsert)
        return felder;
    for (int i = 0; i < m_anzahlSpalten; ++i)
        if (m_bearbeitung.spalteGeaendert(size_t(i)))
            felder << m_felder[size_t(i)].get();
    return felder;
}

// ---------------------------------------------------------------------------------------------
// Notifications

void TKADaoTable::DisableControls()
{
    ++m_steuerungAus;
}

void TKADaoTable::EnableControls()
{
    if (m_steuerungAus == 0 || --m_steuerungAus > 0 || !m_verpasst)
        return;
    m_verpasst = false;
    emit RowsAboutToBeReset();
    emit RowsReset();
    emit StateChange();
    emit Scrolled(m_pos);
    emit DataChange(nullptr);
}

bool TKADaoTable::meldenErlaubt()
{
    if (m_steuerungAus > 0) {
        m_verpasst = true;
        return false;
    }
    return true;
}

void TKADaoTable::meldeReset(bool vorher)
{
    if (!meldenErlaubt())
        return;
    if (vorher)
        emit RowsAboutToBeReset();
    else
        emit RowsReset();
}

void TKADaoTable::meldeZeilenGeaendert(int erste, int letzte)
{
    if (erste >= 0 && meldenErlaubt())
        emit RowsChanged(erste, letzte);
}

void TKADaoTable::meldeDatenAenderung(TField* feld)
{
    if (meldenErlaubt())
        emit DataChange(feld);
}

void TKADaoTable::meldeScroll()
{
    if (meldenErlaubt())
        emit Scrolled(m_pos);
}

void TKADaoTable::inhaltGeaendert()
{
    ++m_inhaltStand;
    emit ContentChanged();
}

void TKADaoTable::neuenZustandMelden(TDataSetState alt)
{
    if (alt != m_state && meldenErlaubt())
        emit StateChange();
    meldeDatenAenderung(nullptr);
}
