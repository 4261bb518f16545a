#include "Aenderungsnotiz.h"

#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "TField.h"
#include "TKADaoTable.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace Aenderungsnotiz {

namespace {

// A field value with its type, so that a date comes back as a date.
QJsonObject wertAlsJson(const QVariant& wert)
{
    QJsonObject o;
    if (wert.isNull())
        return o;
    o[QStringLiteral("art")] = QString::fromLatin1(wert.metaType().name());
    switch (wert.typeId()) {
    case QMetaType::QDateTime:
        o[QStringLiteral("wert")] = wert.toDateTime().toString(Qt::ISODate);
        break;
    case QMetaType::QDate:
        o[QStringLiteral("wert")] = wert.toDate().toString(Qt::ISODate);
        break;
    default:
        o[QStringLiteral("wert")] = wert.toString();
    }
    return o;
}

QVariant wertAusJson(const QJsonObject& o)
{
    const QString art = o.value(QStringLiteral("art")).toString();
    if (art.isEmpty())
        return QVariant();
    QVariant wert(o.value(QStringLiteral("wert")).toString());
    const QMetaType typ = QMetaType::fromName(art.toLatin1());
    if (typ.isValid())
        wert.convert(typ);
    return wert;
}

QString wertText(const TField* feld, const QVariant& wert)
{
    if (wert.isNull())
        return QStringLiteral("(leer)");
    return QStringLiteral("„%1“").arg(feld->Text(wert));
}

// The project's number for the user; when it cannot be read now (another program holds the
// database, which is why the note is written), its ID says which project it is.
QString projektNummer(TKADaoTable* projekt)
{
    try {
        return projekt->FieldByName(QStringLiteral("Kommnr"))->AsString();
    } catch (const Fehler&) {
        return QStringLiteral("ID %1").arg(projekt->FieldByName(QStringLiteral("ID"))->Value().toLongLong());
    }
}

// The pending row of one dataset as an entry of the note, and its line for the user.
bool eintragAnhaengen(TKADaoTable* daten, const QString& art, TKADaoTable* projekt, QJsonArray& eintraege,
                      QStringList& zeilen)
{
    const QList<TField*> felder = daten->GeaenderteFelder();
    if (felder.isEmpty())
        return false;
    QJsonObject e;
    e[QStringLiteral("datenmenge")] = daten->objectName();
    const bool neu = daten->State() == TDataSetState::dsInsert;
    if (!neu)
        e[QStringLiteral("id")] = daten->FieldByName(QStringLiteral("ID"))->Value().toLongLong();
    e[QStringLiteral("projekt")] = projekt->FieldByName(QStringLiteral("ID"))->Value().toLongLong();
    QJsonObject werte;
    QStringList texte;
    for (TField* f : felder) {
        werte[f->FieldName()] = wertAlsJson(f->Value());
        texte << QStringLiteral("%1 %2").arg(f->FieldName(), wertText(f, f->Value()));
    }
    e[QStringLiteral("felder")] = werte;
    const QString zeile = QStringLiteral("%1%2 im Projekt %3: %4")
                              .arg(neu ? QStringLiteral("neue ") : QString(), art,
                                   projektNummer(projekt),
                                   texte.join(QStringLiteral(", ")));
    e[QStringLiteral("beschreibung")] = zeile;
    eintraege.append(e);
    zeilen << zeile;
    return true;
}

// Puts the row of one entry in edit (or a new row), sets its fields and stores it. False
// when the row is gone.
bool eintragAnwenden(TDataModule1& module, const QJsonObject& e)
{
    TKADaoTable* daten = module.findChild<TKADaoTable*>(e.value(QStringLiteral("datenmenge")).toString());
    if (daten != module.TabProjekt && daten != module.TabProjektAufgaben)
        return false;
    const bool neu = !e.contains(QStringLiteral("id"));
    // The tasks follow the current project: it is looked up first.
    if (!(neu && daten == module.TabProjekt)
        && !module.TabProjekt->Locate(QStringLiteral("ID"), e.value(QStringLiteral("projekt")).toVariant()))
        return false;
    if (!neu) {
        if (!daten->Locate(QStringLiteral("ID"), e.value(QStringLiteral("id")).toVariant()))
            return false;
        daten->Edit();
    } else {
        daten->Append();
    }
    try {
        const QJsonObject felder = e.value(QStringLiteral("felder")).toObject();
        for (auto it = felder.begin(); it != felder.end(); ++it)
            daten->FieldByName(it.key())->setValue(wertAusJson(it.value().toObject()));
        daten->Post();
    } catch (...) {
        daten->Cancel();
        throw;
    }
    return true;
}

} // namespace

QString Pfad()
{
    return PfadVerbinden(ProgrammVerzeichnis(), QStringLiteral("NICHT-GESPEICHERT.json"));
}

QString Schreiben(TDataModule1& module)
{
    QJsonArray eintraege;
    QStringList zeilen;
    TKADaoTable* projekt = module.TabProjekt;
    if (projekt->Active() && !projekt->IsEmpty()) {
        eintragAnhaengen(module.TabProjektAufgaben, QStringLiteral("Aufgabe"), projekt, eintraege, zeilen);
        eintragAnhaengen(projekt, QStringLiteral("Angaben"), projekt, eintraege, zeilen);
    }
    if (eintraege.isEmpty())
        return QString();
    QJsonObject notiz;
    notiz[QStringLiteral("zeit")] = QDateTime::currentDateTime().toString(Qt::ISODate);
    notiz[QStringLiteral("aenderungen")] = eintraege;
    QSaveFile datei(Pfad());
    if (!datei.open(QIODevice::WriteOnly) || datei.write(QJsonDocument(notiz).toJson()) < 0 || !datei.commit())
        throw Fehler(QStringLiteral("Die nicht gespeicherten Änderungen konnten nicht in '%1' festgehalten werden; "
                                    "sie sind verloren:\n%2")
                         .arg(Pfad(), zeilen.join(QLatin1Char('\n'))));
    return zeilen.join(QLatin1Char('\n'));
}

void Anbieten(TDataModule1& module)
{
    QFile datei(Pfad());
    if (!datei.exists())
        return;
    QJsonArray eintraege;
    QString zeit;
    if (datei.open(QIODevice::ReadOnly)) {
        const QJsonObject notiz = QJsonDocument::fromJson(datei.readAll()).object();
        eintraege = notiz.value(QStringLiteral("aenderungen")).toArray();
        zeit = QDateTime::fromString(notiz.value(QStringLiteral("zeit")).toString(), Qt::ISODate)
                   .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
        datei.close();
    }
    QStringList zeilen;
    for (const QJsonValue& e : std::as_const(eintraege))
        zeilen << e.toObject().value(QStringLiteral("beschreibung")).toString();
    if (zeilen.isEmpty()) {
        QFile::remove(Pfad());
        return;
    }
    const Meldung::Antwort antwort = Meldung::entscheiden(
        QStringLiteral("Nicht gespeicherte Änderungen"),
        QStringLiteral("Beim Beenden am %1 war die Datenbank gesperrt; diese Änderungen wurden nicht gespeichert:\n%2\n\n"
                       "Sollen sie jetzt eingetragen werden? Bei „Nein“ werden sie verworfen, bei „Abbrechen“ beim "
                       "nächsten Start wieder angeboten.")
            .arg(zeit, zeilen.join(QLatin1Char('\n'))));
    // Nobody answered (a run without anyone at the screen): the note waits for the next start.
    if (antwort == Meldung::Antwort::Abbrechen)
        return;
    QStringList fehlend;
    if (antwort == Meldung::Antwort::Ja) {
        for (const QJsonValue& e : std::as_const(eintraege))
            if (!eintragAnwenden(module, e.toObject()))
                fehlend << e.toObject().value(QStringLiteral("beschreibung")).toString();
    }
    QFile::remove(Pfad());
    if (!fehlend.isEmpty())
        Meldung::warnung(QStringLiteral("Diese Änderungen konnten nicht eingetragen werden, weil ihre Zeile nicht "
                                        "mehr vorhanden ist:\n%1")
                             .arg(fehlend.join(QLatin1Char('\n'))));
}

} // namespace Aenderungsnotiz
