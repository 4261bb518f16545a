#include "ServerWerkzeug.h"

#include "Fehler.h"
#include "Transaktion.h"
#include "PostgresVerbindung.h"
#include "Schema.h"
#include "SqliteVerbindung.h"
#include "Textform.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <memory>

namespace DatenbankWerkzeug {

namespace {

template<typename V, typename F>
void inTransaktion(V& v, F&& arbeit)
{
    DatenbankWerkzeug::inTransaktion(v, QStringLiteral("BEGIN"), std::forward<F>(arbeit));
}

qint64 zahl(PostgresVerbindung& v, const QString& sql, const QVariant& parameter = QVariant())
{
    const std::unique_ptr<AnweisungsKern> a = v.kern(sql);
    if (parameter.isValid())
        a->binden(1, parameter);
    return a->schritt() ? a->wert(0).toLongLong() : 0;
}

// A connection to the database, made first when it is not there yet (through the server's
// maintenance database, with the same login).
std::unique_ptr<PostgresVerbindung> verbinden(const Serveradresse& adresse)
{
    Serveradresse wartung = adresse;
    wartung.name = QStringLiteral("postgres");
    std::unique_ptr<PostgresVerbindung> w;
    try {
        w = std::make_unique<PostgresVerbindung>(wartung, 5000);
    } catch (const Fehler&) {
        // Not every user may enter it: then the database has to be there already.
    }
    if (w && zahl(*w, QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = ?"), adresse.name) == 0) {
        QString name = adresse.name;
        w->roh(QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'UTF8' TEMPLATE template0")
                   .arg(name.replace(QLatin1Char('"'), QLatin1String("\"\"")))
                   .toUtf8());
    }
    return std::make_unique<PostgresVerbindung>(adresse, 5000);
}

void schemaAnlegen(PostgresVerbindung& v)
{
    if (zahl(v, QStringLiteral("SELECT count(*) FROM pg_class WHERE relname = 'projekt' "
                               "AND relnamespace = to_regnamespace(current_schema())::oid"))
        > 0)
        throw Fehler(QStringLiteral("Die Datenbank %1 enthält schon eine Projektdatenbank; sie wird nicht überschrieben.")
                         .arg(v.adresse().anzeige()));
    for (const QString& anweisung : Schema::serverAnweisungen())
        v.ausfuehren(anweisung);
}

// A value of the file as the server's column takes it: dates kept as day numbers (older
// files) become dates, a yes/no written as a word a number, invalid UTF-8 readable text.
QVariant fuerServer(const QVariant& wert, TFieldType typ)
{
    if (wert.isNull())
        return wert;
    const bool zahlWert = wert.metaType().id() == QMetaType::LongLong || wert.metaType().id() == QMetaType::Double;
    switch (typ) {
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
        if (zahlWert) {
            const QDateTime nullpunkt(QDate(1899, 12, 30), QTime(0, 0));
            const QDateTime zeit = nullpunkt.addMSecs(qint64(wert.toDouble() * 86400000.0 + 0.5));
            return typ == TFieldType::ftDate ? QVariant(zeit.date()) : QVariant(zeit);
        }
        break;
    case TFieldType::ftBoolean:
        if (!zahlWert)
            return Textform::istJa(wert) ? 1 : 0;
        break;
    default:
        break;
    }
    if (wert.metaType() == QMetaType::fromType<RohText>())
        return wert.toString();
    return wert;
}

qint64 tabelleKopieren(SqliteVerbindung& datei, PostgresVerbindung& server, const Schema::Tabelle& tabelle)
{
    QStringList spalten;
    for (const Schema::Spalte& s : tabelle.spalten)
        spalten << QLatin1Char('[') + s.name + QLatin1Char(']');
    const int breite = int(spalten.size());
    // Many rows per statement: one statement per row would cost a round trip each.
    const int proAnweisung = qMax(1, 30000 / breite);
    const auto einfuegen = [&](int zeilen) {
        QStringList gruppen;
        const QString gruppe = QLatin1Char('(') + QStringList(breite, QStringLiteral("?")).join(QStringLiteral(", ")) + QLatin1Char(')');
        for (int i = 0; i < zeilen; ++i)
            gruppen << gruppe;
        return server.kern(QStringLiteral("INSERT INTO [%1] (%2) VALUES %3")
                               .arg(tabelle.name, spalten.join(QStringLiteral(", ")), gruppen.join(QStringLiteral(", "))));
    };

    SqliteAnweisung lesen = datei.anweisung(
        QStringLiteral("SELECT %1 FROM [%2] ORDER BY [ID]").arg(spalten.join(QStringLiteral(", ")), tabelle.name));
    std::unique_ptr<AnweisungsKern> voll = einfuegen(proAnweisung);
    std::vector<QVariantList> zeilen;
    qint64 anzahl = 0;
    const auto schreiben = [&] {
        std::unique_ptr<AnweisungsKern> rest;
        AnweisungsKern* a = voll.get();
        if (int(zeilen.size()) != proAnweisung) {
            rest = einfuegen(int(zeilen.size()));
            a = rest.get();
        }
        int nr = 1;
        for (const QVariantList& z : zeilen)
            for (int i = 0; i < breite; ++i)
                a->binden(nr++, fuerServer(z[i], tabelle.spalten[size_t(i)].typ));
        a->ausfuehren();
        a->zuruecksetzen();
        anzahl += qint64(zeilen.size());
        zeilen.clear();
    };
    while (lesen.schritt()) {
        QVariantList z;
        z.reserve(breite);
        for (int i = 0; i < breite; ++i)
            z << lesen.wert(i);
        zeilen.push_back(std::move(z));
        if (int(zeilen.size()) == proAnweisung)
            schreiben();
    }
    if (!zeilen.empty())
        schreiben();
    // New rows are numbered on after the highest ID taken over.
    server.ausfuehren(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                     "coalesce((SELECT max(id) FROM %1), 0) + 1, false)")
                          .arg(tabelle.name.toLower()));
    return anzahl;
}

} // namespace

void anlegenAufServer(const Serveradresse& adresse)
{
    std::unique_ptr<PostgresVerbindung> v = verbinden(adresse);
    inTransaktion(*v, [&] { schemaAnlegen(*v); });
}

QList<QPair<QString, qint64>> kopieren(const QString& pfad, const Serveradresse& adresse)
{
    if (!QFileInfo::exists(pfad))
        throw Fehler(QStringLiteral("Die Datenbank '%1' wurde nicht gefunden.")
                         .arg(QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath())));
    SqliteVerbindung datei(pfad);
    {
        SqliteAnweisung probe = datei.anweisung(
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Projekt' COLLATE NOCASE"));
        if (!probe.schritt() || probe.wert(0).toLongLong() == 0)
            throw Fehler(QStringLiteral("Die Datei '%1' enthält keine Projektdatenbank.").arg(QDir::toNativeSeparators(pfad)));
    }
    // Whatever another program changes in the file meanwhile waits until the copy is done.
    datei.ausfuehren(QStringLiteral("BEGIN"));
    std::unique_ptr<PostgresVerbindung> server = verbinden(adresse);
    QList<QPair<QString, qint64>> bericht;
    inTransaktion(*server, [&] {
        schemaAnlegen(*server);
        // The rows taken over are no changes anybody has to be told about.
        for (const Schema::Tabelle& t : Schema::tabellen())
            server->ausfuehren(QStringLiteral("ALTER TABLE [%1] DISABLE TRIGGER USER").arg(t.name));
        for (const Schema::Tabelle& t : Schema::tabellen())
            bericht.append({t.name, tabelleKopieren(datei, *server, t)});
        for (const Schema::Tabelle& t : Schema::tabellen())
            server->ausfuehren(QStringLiteral("ALTER TABLE [%1] ENABLE TRIGGER USER").arg(t.name));
        // The sums once from all tasks, instead of once per task.
        server->roh(Schema::serverSummenFuellung().toUtf8());
    });
    datei.ausfuehren(QStringLiteral("COMMIT"));
    return bericht;
}

} // namespace DatenbankWerkzeug
