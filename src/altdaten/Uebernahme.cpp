#include "Uebernahme.h"

#include "Fehler.h"
#include "JetDatei.h"
#include "Schema.h"
#include "SqliteVerbindung.h"
#include "TField.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <memory>
#include <optional>

namespace Altdaten {

namespace {

QString anzeige(const QString& pfad)
{
    return QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
}

// A name beside `pfad` that no file has: "<stamm><zusatz>.<endung>", then with " 2", " 3", ...
QString freierName(const QString& pfad, const QString& zusatz, const QString& endung)
{
    const QFileInfo info(pfad);
    const QString stamm = info.dir().filePath(info.completeBaseName() + zusatz);
    QString name = stamm + QLatin1Char('.') + endung;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = QStringLiteral("%1 %2.%3").arg(stamm).arg(n).arg(endung);
    return name;
}

// Creates an empty file under a temporary name beside `pfad` and returns that name.
QString temporaereDatei(const QString& pfad)
{
    for (int versuch = 0; versuch < 100; ++versuch) {
        const QString name = QStringLiteral("%1.umwandlung-%2").arg(pfad).arg(QRandomGenerator::global()->generate() % 1000000u, 6, 10, QLatin1Char('0'));
        QFile datei(name);
        if (datei.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!QFileInfo::exists(name))
            throw Fehler(QStringLiteral("Im Ordner '%1' kann keine Datei angelegt werden: %2")
                             .arg(QDir::toNativeSeparators(QFileInfo(pfad).absolutePath()), datei.errorString()));
    }
    throw Fehler(QStringLiteral("Im Ordner '%1' kann keine Datei angelegt werden.").arg(QDir::toNativeSeparators(QFileInfo(pfad).absolutePath())));
}

void entfernen(const QString& pfad)
{
    QFile::remove(pfad);
    QFile::remove(pfad + QStringLiteral("-journal"));
}

QString kurz(const QString& text)
{
    return text.size() > 60 ? text.left(57) + QStringLiteral("...") : text;
}

// Takes one table over; notes go to the report.
class TabellenUebernahme
{
public:
    TabellenUebernahme(const Schema::Tabelle& ziel, JetTabelle& quelle, UebernahmeBericht& bericht)
        : m_ziel(ziel), m_quelle(quelle), m_bericht(bericht)
    {
        const auto& spalten = quelle.spalten();
        std::vector<bool> bekannt(spalten.size(), false);
        for (const Schema::Spalte& s : ziel.spalten) {
            int nr = -1;
            for (size_t i = 0; i < spalten.size(); ++i)
                if (spalten[i].name.compare(s.name, Qt::CaseInsensitive) == 0) {
                    nr = int(i);
                    bekannt[i] = true;
                    break;
                }
            m_quellSpalte.push_back(nr);
            m_felder.emplace_back(nullptr, s.name, s.typ, s.breite, TFieldKind::fkData);
            if (nr < 0 && s.typ != TFieldType::ftAutoInc)
                hinweis(QStringLiteral("Tabelle '%1': die Spalte '%2' fehlt in der alten Datenbank; sie bleibt leer.").arg(ziel.name, s.name));
        }
        for (size_t i = 0; i < spalten.size(); ++i)
            if (!bekannt[i])
                m_unbekannt.push_back({int(i), 0});
    }

    void ausfuehren(SqliteVerbindung& db, UebernahmeStand& stand, const UebernahmeFortschritt& fortschritt)
    {
        QStringList namen, platzhalter;
        for (const Schema::Spalte& s : m_ziel.spalten) {
            namen << QLatin1Char('[') + s.name + QLatin1Char(']');
            platzhalter << QStringLiteral("?");
        }
        SqliteAnweisung einfuegen = db.anweisung(QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                                                     .arg(m_ziel.name, namen.join(QStringLiteral(", ")), platzhalter.join(QStringLiteral(", "))));
        const int idSpalte = idSpalteSuchen();
        if (idSpalte >= 0 && m_quellSpalte[size_t(idSpalte)] < 0)
            hinweis(QStringLiteral("Tabelle '%1': die alte Tabelle hat keine Spalte 'ID'; die Zeilen erhalten neue Nummern.").arg(m_ziel.name));

        QSet<qint64> ids;
        QVariantList zeile;
        stand.tabelle = m_ziel.name;
        stand.tabelleZeilen = 0;
        stand.tabelleFertig = false;
        while (m_quelle.naechsteZeile(zeile)) {
            m_zeileText = QStringLiteral("Zeile %1").arg(stand.tabelleZeilen + 1);
            for (size_t i = 0; i < m_ziel.spalten.size(); ++i) {
                const int nr = m_quellSpalte[i];
                const QVariant wert = nr >= 0 ? zeile[nr] : QVariant();
                if (int(i) == idSpalte) {
                    einfuegen.binden(int(i) + 1, idUebernehmen(wert, ids));
                    continue;
                }
                einfuegen.binden(int(i) + 1, wertUebernehmen(i, wert));
            }
            einfuegen.ausfuehren();
            if (m_neueId)
                hinweis(QStringLiteral("Tabelle '%1', %2: %3; die Zeile erhielt die neue ID %4.")
                            .arg(m_ziel.name, m_zeileText, *m_neueId)
                            .arg(db.letzteId()));
            m_neueId.reset();
            for (auto& u : m_unbekannt)
                if (zeile[u.spalte].isValid())
                    ++u.gefuellt;
            ++stand.tabelleZeilen;
            ++stand.erledigt;
            if (stand.tabelleZeilen % 1000 == 0 && fortschritt && !fortschritt(stand))
                throw Fehler(QStringLiteral("Die Übernahme wurde abgebrochen; es wurde keine neue Datenbank angelegt."));
        }
        for (const auto& u : m_unbekannt) {
            const JetSpalte& s = m_quelle.spalten()[size_t(u.spalte)];
            hinweis(QStringLiteral("Tabelle '%1': die Spalte '%2' (%3) gehört nicht zur Projektdatenbank und wurde nicht "
                                   "übernommen (%4 von %5 Zeilen mit Inhalt).")
                        .arg(m_ziel.name, s.name, typName(s.typ))
                        .arg(u.gefuellt)
                        .arg(stand.tabelleZeilen));
        }
        m_bericht.tabellen.push_back({m_ziel.name, stand.tabelleZeilen});
        stand.tabelleFertig = true;
        if (fortschritt && !fortschritt(stand))
            throw Fehler(QStringLiteral("Die Übernahme wurde abgebrochen; es wurde keine neue Datenbank angelegt."));
    }

private:
    struct Unbekannt
    {
        int spalte;
        qint64 gefuellt;
    };

    int idSpalteSuchen() const
    {
        for (size_t i = 0; i < m_ziel.spalten.size(); ++i)
            if (m_ziel.spalten[i].typ == TFieldType::ftAutoInc)
                return int(i);
        return -1;
    }

    void hinweis(const QString& text) { m_bericht.hinweise << text; }

    // The row keeps its ID, so that the rows naming it stay linked; a missing or repeated one
    // makes room for a new number, and the report says so.
    QVariant idUebernehmen(const QVariant& wert, QSet<qint64>& ids)
    {
        bool ok = wert.isValid();
        const qint64 id = ok ? wert.toLongLong(&ok) : 0;
        if (!ok || id <= 0) {
            m_zeileText = wert.isValid() ? QStringLiteral("ID '%1'").arg(wert.toString()) : m_zeileText;
            m_neueId = wert.isValid() ? QStringLiteral("die ID ist keine gültige Nummer") : QStringLiteral("die ID ist leer");
            return QVariant();
        }
        m_zeileText = QStringLiteral("ID %1").arg(id);
        if (ids.contains(id)) {
            m_neueId = QStringLiteral("die ID kommt mehrfach vor");
            return QVariant();
        }
        ids.insert(id);
        return QVariant(id);
    }

    QVariant wertUebernehmen(size_t i, const QVariant& wert)
    {
        if (!wert.isValid())
            return QVariant();
        const Schema::Spalte& s = m_ziel.spalten[i];
        const TField& feld = m_felder[i];
        auto ort = [&] { return QStringLiteral("Tabelle '%1', %2, Spalte '%3'").arg(m_ziel.name, m_zeileText, s.name); };
        if (wert.metaType().id() == QMetaType::QByteArray) {
            hinweis(QStringLiteral("%1: der Wert (%2 Bytes) ist kein Text, keine Zahl und kein Datum; das Feld bleibt leer.")
                        .arg(ort())
                        .arg(wert.toByteArray().size()));
            return QVariant();
        }
        if (s.typ == TFieldType::ftDate && wert.metaType().id() == QMetaType::QDateTime && wert.toDateTime().time() != QTime(0, 0))
            hinweis(QStringLiteral("%1: die Uhrzeit %2 entfällt, das Feld hält nur das Datum %3.")
                        .arg(ort(), wert.toDateTime().time().toString(QStringLiteral("HH:mm:ss")),
                             wert.toDateTime().date().toString(QStringLiteral("dd.MM.yyyy"))));
        QVariant gespeichert;
        try {
            gespeichert = feld.Speicherwert(wert);
        } catch (const Fehler&) {
            const QString text = wert.metaType().id() == QMetaType::Double && (s.typ == TFieldType::ftDate || s.typ == TFieldType::ftDateTime)
                                     ? QStringLiteral("die Tageszahl %1").arg(QString::number(wert.toDouble(), 'g', 12))
                                     : QStringLiteral("'%1'").arg(kurz(wert.toString()));
            hinweis(QStringLiteral("%1: %2 ist kein gültiger Wert (%3); das Feld bleibt leer.").arg(ort(), text, artName(s.typ)));
            return QVariant();
        }
        if (s.typ == TFieldType::ftString && gespeichert.toString().size() > s.breite) {
            const QString ganz = gespeichert.toString();
            hinweis(QStringLiteral("%1: der Text mit %2 Zeichen wurde auf %3 Zeichen gekürzt; vollständig: \u201E%4\u201C")
                        .arg(ort())
                        .arg(ganz.size())
                        .arg(s.breite)
                        .arg(ganz));
            return QVariant(ganz.left(s.breite));
        }
        return gespeichert;
    }

    static QString artName(TFieldType typ)
    {
        switch (typ) {
        case TFieldType::ftInteger: return QStringLiteral("erwartet eine ganze Zahl");
        case TFieldType::ftSmallint: return QStringLiteral("erwartet eine ganze Zahl von -32768 bis 32767");
        case TFieldType::ftFloat: return QStringLiteral("erwartet eine Zahl");
        case TFieldType::ftBoolean: return QStringLiteral("erwartet Ja oder Nein");
        case TFieldType::ftDate:
        case TFieldType::ftDateTime: return QStringLiteral("erwartet ein Datum der Jahre 1 bis 9999");
        default: return QStringLiteral("erwartet einen Text");
        }
    }

    const Schema::Tabelle& m_ziel;
    JetTabelle& m_quelle;
    UebernahmeBericht& m_bericht;
    std::vector<int> m_quellSpalte;     // by column of the new table: column of the old one, or -1
    std::vector<TField> m_felder;       // converts a value to its stored form
    std::vector<Unbekannt> m_unbekannt;
    QString m_zeileText;
    std::optional<QString> m_neueId;
};

// Writes the complete new database into the (empty, existing) file `ziel`; removes it on failure.
UebernahmeBericht inDateiUebernehmen(const QString& alt, const QString& ziel, const QString& zielAnzeige,
                                     const UebernahmeFortschritt& fortschritt)
{
    try {
        const JetDatei jet(alt);
        UebernahmeBericht bericht;
        bericht.quelle = anzeige(alt);
        bericht.format = jet.format();
        bericht.ziel = zielAnzeige;

        UebernahmeStand stand;
        std::vector<std::unique_ptr<JetTabelle>> quellen;
        for (const Schema::Tabelle& t : Schema::tabellen()) {
            quellen.push_back(jet.tabelle(t.name));
            if (quellen.back())
                stand.gesamt += quellen.back()->zeilenErwartet();
        }
        for (const QString& name : jet.tabellen()) {
            bool unsere = false;
            for (const Schema::Tabelle& t : Schema::tabellen())
                unsere = unsere || t.name.compare(name, Qt::CaseInsensitive) == 0;
            if (!unsere)
                bericht.hinweise << QStringLiteral("Die Tabelle '%1' (%2) gehört nicht zur Projektdatenbank und wurde "
                                                   "nicht übernommen.")
                                        .arg(name, zeilenText(jet.tabelle(name)->zeilenErwartet()));
        }

        if (stand.gesamt == 0 && std::all_of(quellen.begin(), quellen.end(), [](const auto& q) { return !q; }))
            throw Fehler(QStringLiteral("Die Access-Datenbank '%1' enthält keine der Tabellen der Projektdatenbank "
                                        "(Projekt, ProjektAufgaben, Aufgaben, Personal, Status).")
                             .arg(bericht.quelle));

        SqliteVerbindung db(ziel);
        db.ausfuehren(QStringLiteral("BEGIN IMMEDIATE"));
        // The support tables and their triggers come after the rows: rows taken over are no
        // changes that anybody has to read again, the sums are added up once from all tasks,
        // and keeping both row by row would slow the take-over down.
        for (const QString& anweisung : Schema::grundAnweisungen())
            db.ausfuehren(anweisung);
        for (size_t i = 0; i < Schema::tabellen().size(); ++i) {
            const Schema::Tabelle& t = Schema::tabellen()[i];
            if (!quellen[i]) {
                bericht.hinweise << QStringLiteral("Die Tabelle '%1' fehlt in der alten Datenbank; sie bleibt leer.").arg(t.name);
                bericht.tabellen.push_back({t.name, 0});
                continue;
            }
            TabellenUebernahme(t, *quellen[i], bericht).ausfuehren(db, stand, fortschritt);
        }
        for (const QString& anweisung : Schema::stuetzAnweisungen())
            db.ausfuehren(anweisung);
        db.ausfuehren(QStringLiteral("COMMIT"));
        db.schliessen();
        return bericht;
    } catch (...) {
        entfernen(ziel);
        throw;
    }
}

} // namespace

QString zeilenText(qint64 anzahl)
{
    return anzahl == 1 ? QStringLiteral("1 Zeile") : QStringLiteral("%1 Zeilen").arg(anzahl);
}

QString UebernahmeBericht::text(int hoechstens) const
{
    QStringList zeilen;
    zeilen << QStringLiteral("Übernahme der Access-Datenbank '%1' (%2) in '%3':").arg(quelle, format, ziel);
    for (const Tabelle& t : tabellen)
        zeilen << QStringLiteral("  %1: %2 übernommen").arg(t.name, zeilenText(t.zeilen));
    if (hinweise.isEmpty()) {
        zeilen << QStringLiteral("Alle Daten wurden vollständig übernommen.");
    } else {
        zeilen << QStringLiteral("Nicht genau übernommen:");
        const int zeigen = hoechstens > 0 ? qMin(hoechstens, int(hinweise.size())) : int(hinweise.size());
        for (int i = 0; i < zeigen; ++i)
            zeilen << QStringLiteral("  - ") + hinweise[i];
        if (zeigen < hinweise.size())
            zeilen << QStringLiteral("  ... und %1 weitere Hinweise.").arg(hinweise.size() - zeigen);
    }
    return zeilen.join(QLatin1Char('\n'));
}

UebernahmeBericht uebernehmen(const QString& alt, const QString& neu, const UebernahmeFortschritt& fortschritt)
{
    const QString neuAnzeige = anzeige(neu);
    if (QFileInfo::exists(neu))
        throw Fehler(QStringLiteral("Die Datei '%1' gibt es schon; sie wird nicht überschrieben.").arg(neuAnzeige));
    const QString temporaer = temporaereDatei(neu);
    UebernahmeBericht bericht = inDateiUebernehmen(alt, temporaer, neuAnzeige, fortschritt);
    // rename() never replaces a file that appeared meanwhile.
    if (!QFile::rename(temporaer, neu)) {
        entfernen(temporaer);
        throw Fehler(QStringLiteral("Die neue Datenbank kann nicht unter dem Namen '%1' abgelegt werden.").arg(neuAnzeige));
    }
    return bericht;
}

Umwandlung umwandeln(const QString& datei, const UebernahmeFortschritt& fortschritt)
{
    const QString dateiAnzeige = anzeige(datei);
    if (!JetDatei::istJetDatei(datei))
        throw Fehler(QStringLiteral("Die Datei '%1' ist keine Access-Datenbank.").arg(dateiAnzeige));
    const QString temporaer = temporaereDatei(datei);
    Umwandlung ergebnis;
    ergebnis.bericht = inDateiUebernehmen(datei, temporaer, dateiAnzeige, fortschritt);

    const QString sicherung = freierName(datei, QStringLiteral("-Access"), QFileInfo(datei).suffix());
    if (!QFile::rename(datei, sicherung)) {
        entfernen(temporaer);
        throw Fehler(QStringLiteral("Die Access-Datenbank '%1' kann nicht in '%2' umbenannt werden; sie bleibt unverändert.")
                         .arg(dateiAnzeige, anzeige(sicherung)));
    }
    if (!QFile::rename(temporaer, datei)) {
        QFile::rename(sicherung, datei);
        entfernen(temporaer);
        throw Fehler(QStringLiteral("Die neue Datenbank kann nicht unter dem Namen '%1' abgelegt werden; die Access-Datenbank "
                                    "bleibt unverändert.")
                         .arg(dateiAnzeige));
    }
    ergebnis.sicherung = anzeige(sicherung);

    // The full report beside the database; the user sees its beginning in the program.
    const QString berichtPfad = freierName(datei, QStringLiteral("-Umwandlung"), QStringLiteral("txt"));
    QSaveFile berichtDatei(berichtPfad);
    if (berichtDatei.open(QIODevice::WriteOnly)) {
        berichtDatei.write(ergebnis.bericht.text().toUtf8() + '\n');
        if (berichtDatei.commit())
            ergebnis.berichtDatei = anzeige(berichtPfad);
    }
    return ergebnis;
}

} // namespace Altdaten
