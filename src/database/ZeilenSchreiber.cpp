#include "ZeilenSchreiber.h"

#include "Bearbeitungspuffer.h"
#include "SqlText.h"
#include "SqliteAnweisung.h"
#include "TKADaoDatabase.h"

#include <sqlite3.h>
#include <utility>

ZeilenSchreiber::ZeilenSchreiber(std::function<Anweisung(const QString&)> vorbereiten,
                                 std::function<QVariant()> neuerSchluessel, bool fuerServer, const QString& tabelle,
                                 QStringList spalten, int schluessel)
    : m_vorbereiten(std::move(vorbereiten))
    , m_neuerSchluessel(std::move(neuerSchluessel))
    , m_tabelle(tabelle)
    , m_spalten(std::move(spalten))
    , m_schluessel(schluessel)
    , m_anweisungen(tabelle, m_spalten.value(schluessel), fuerServer)
{
}

ZeilenSchreiber::ZeilenSchreiber(sqlite3* db, QString datei, const QString& tabelle, QStringList spalten, int schluessel)
    : ZeilenSchreiber([db, datei](const QString& sql) { return Anweisung(sqliteKern(db, datei, sql)); },
                      [db] { return QVariant(qlonglong(sqlite3_last_insert_rowid(db))); }, false, tabelle,
                      std::move(spalten), schluessel)
{
}

ZeilenSchreiber::ZeilenSchreiber(TKADaoDatabase* db, const QString& tabelle, QStringList spalten, int schluessel)
    : ZeilenSchreiber([db](const QString& sql) { return db->Vorbereiten(sql); }, [db] { return db->NeuerSchluessel(); },
                      db->AufServer(), tabelle, std::move(spalten), schluessel)
{
}

ZeilenAnweisungen::Anweisung ZeilenSchreiber::einfuegung(const std::vector<QVariant>& werte) const
{
    QList<ZeilenAnweisungen::Spalte> spalten;
    for (qsizetype i = 0; i < m_spalten.size(); ++i)
        if (!m_spalten[i].isEmpty() && !werte[size_t(i)].isNull())
            spalten.append({m_spalten[i], werte[size_t(i)]});
    return m_anweisungen.einfuegen(spalten);
}

ZeilenSchreiber::Aenderung ZeilenSchreiber::aenderung(const std::vector<QVariant>& eingabe,
                                                      const std::vector<QVariant>& gelesen,
                                                      const std::vector<bool>& immerPruefen) const
{
    Aenderung ergebnis;
    QList<ZeilenAnweisungen::Spalte> neu;
    QList<ZeilenAnweisungen::Spalte> verglichen;
    for (int i = 0; i < int(m_spalten.size()); ++i) {
        if (i == m_schluessel || m_spalten[i].isEmpty())
            continue;
        const bool geaendert = !gleicherWert(eingabe[size_t(i)], gelesen[size_t(i)]);
        if (geaendert)
            neu.append({m_spalten[i], eingabe[size_t(i)]});
        if (geaendert || immerPruefen[size_t(i)]) {
            verglichen.append({m_spalten[i], gelesen[size_t(i)]});
            ergebnis.verglichen << i;
        }
    }
    if (!neu.isEmpty())
        ergebnis.anweisung = m_anweisungen.aendern(gelesen[size_t(m_schluessel)], neu, verglichen);
    return ergebnis;
}

ZeilenAnweisungen::Anweisung ZeilenSchreiber::loeschung(const std::vector<QVariant>& gelesen) const
{
    QList<ZeilenAnweisungen::Spalte> verglichen;
    for (int i = 0; i < int(m_spalten.size()); ++i)
        if (i != m_schluessel && !m_spalten[i].isEmpty())
            verglichen.append({m_spalten[i], gelesen[size_t(i)]});
    return m_anweisungen.loeschen(gelesen[size_t(m_schluessel)], verglichen);
}

QString ZeilenSchreiber::nachleseText() const
{
    QStringList spalten;
    for (const QString& s : m_spalten)
        spalten << SqlText::klammern(s);
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
        .arg(spalten.join(QStringLiteral(", ")), SqlText::klammern(m_tabelle),
             SqlText::klammern(m_spalten.value(m_schluessel)));
}

int ZeilenSchreiber::ausfuehren(const ZeilenAnweisungen::Anweisung& anweisung) const
{
    Anweisung a = m_vorbereiten(anweisung.sql);
    for (qsizetype i = 0; i < anweisung.parameter.size(); ++i)
        a.binden(int(i + 1), anweisung.parameter[i]);
    return a.ausfuehren();
}

QVariant ZeilenSchreiber::neuerSchluessel() const
{
    return m_neuerSchluessel();
}

void ZeilenSchreiber::loeschenNachSchluessel(const QVariantList& schluessel) const
{
    Anweisung a = m_vorbereiten(m_anweisungen.loeschen({}, {}).sql);
    for (const QVariant& s : schluessel) {
        a.binden(1, s);
        a.ausfuehren();
    }
}

std::optional<std::vector<QVariant>> ZeilenSchreiber::nachlesen(const QVariant& schluessel) const
{
    Anweisung a = m_vorbereiten(nachleseText());
    a.binden(1, schluessel);
    if (!a.schritt())
        return std::nullopt;
    std::vector<QVariant> werte;
    werte.reserve(size_t(m_spalten.size()));
    for (int i = 0; i < int(m_spalten.size()); ++i)
        werte.push_back(a.wert(i));
    a.zuruecksetzen();
    return werte;
}
