#include "ProjektUebernahme.h"

#include "DataModule1.h"
#include "IniRecord.h"
#include "MasterDatei.h"
#include "MasterProjekt.h"
#include "Meldung.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int AufgabenFensterNachAnlage = 1;
constexpr int AlleAufgabenZuordnen = 2;

// Betreff1 … Betreff5 follow each other in the record.
const TMasterFeld& betreffZeile(int nr)
{
    return *MasterFeld(QStringLiteral("Betreff") + QString::number(nr));
}

QString text(const TMasterProjekt& satz, const TMasterFeld& feld)
{
    return satz.wert(feld).toString();
}

} // namespace

TProjektUebernahme::TProjektUebernahme(TDataModule1& daten)
    : m_daten(daten)
{
}

QString TProjektUebernahme::BetreffGesamt(const TMasterProjekt& satz)
{
    QString gesamt = text(satz, betreffZeile(1));
    for (int nr = 2; nr <= 5; ++nr) {
        const TMasterFeld& zeile = betreffZeile(nr);
        // A line counts by its length byte, so a line of blanks still adds its blanks.
        if (!satz.text(zeile).isEmpty())
            gesamt += QLatin1Char(' ') + text(satz, zeile);
    }
    return gesamt;
}

bool TProjektUebernahme::ProjektUebernehmen(const QString& Kommnr)
{
    if (Kommnr.isEmpty()) {
        Meldung::information(QStringLiteral("Bitte zuerst ein Projekt auswählen."));
        return false;
    }
    if (m_daten.AbfrageHatErgebnis(TDataModule1::ExistenzAbfrage(Kommnr))) {
        Meldung::warnung(QStringLiteral("Projekt schon vorhanden!"));
        return false;
    }
    BtrieveStatus = MasterSatzSuchen(Kommnr, 6);
    if (BtrieveStatus > 0) {
        BtrieveFehlerMelden();
        return false;
    }
    // The record buffer is overwritten by the next Get; the take-over works on its own copy.
    const TMasterProjekt satz = MasterSatz;

    QStringList gekuerzt;
    speichern(satz, Kommnr, gekuerzt);

    if (!gekuerzt.isEmpty())
        Meldung::information(QStringLiteral("Das Projekt %1 wurde übernommen. Diese Werte passten nicht ganz in die "
                                            "Projekttabelle und wurden gekürzt: %2")
                                 .arg(Kommnr, gekuerzt.join(QStringLiteral(", "))));
    if (IniRecord.AufgabenAutomatik == AufgabenFensterNachAnlage && AufgabenFensterOeffnen)
        AufgabenFensterOeffnen(Kommnr, m_projektId);
    return true;
}

void TProjektUebernahme::speichern(const TMasterProjekt& satz, const QString& Kommnr, QStringList& gekuerzt)
{
    TKADaoTable* projekt = m_daten.TabProjekt;
    TKADaoDatabase* db = m_daten.DBProjekt;
    // The project and its tasks are stored together or not at all.
    db->StartTransaction();
    bool gepostet = false;
    try {
        projekt->Append();
        projekt->FieldByName(QStringLiteral("Kommnr"))->setAsString(Kommnr);
        projekt->FieldByName(QStringLiteral("EV_Sichtbar"))->setAsBoolean(true);
        projekt->FieldByName(QStringLiteral("PV_Sichtbar"))->setAsBoolean(true);
        felderFuellen(satz, gekuerzt);
        projekt->Post();
        gepostet = true;
        m_projektId = projekt->FieldByName(QStringLiteral("ID"))->AsInteger();

        if (IniRecord.AufgabenAutomatik == AlleAufgabenZuordnen) {
            m_daten.AufgabenAuswahlSetzen(1);
            // The marks were set in the table; the catalogue dataset must see them.
            m_daten.TabAufgaben->Requery();
            m_daten.AusgewaehlteAufgabenZuordnen(m_projektId);
            m_daten.TabAufgaben->Requery();
        }
        db->Commit();
    } catch (...) {
        if (projekt->State() == TDataSetState::dsInsert)
            projekt->Cancel();
        try {
            db->Rollback();
        } catch (...) {
        }
        if (gepostet) {
            // The datasets still show rows that the rollback took back.
            try {
                projekt->Requery();
                m_daten.TabProjektAufgaben->Requery();
                m_daten.TabAufgaben->Requery();
            } catch (...) {
            }
        }
        m_projektId = 0;
        throw;
    }
}

void TProjektUebernahme::felderFuellen(const TMasterProjekt& satz, QStringList& gekuerzt)
{
    TKADaoTable* projekt = m_daten.TabProjekt;
    for (const TMasterFeld& quelle : MasterFelder()) {
        const QString name = QLatin1String(quelle.Feld);
        if (name == QLatin1String("Kommnr"))
            continue;   // set from the number asked for
        feldFuellen(satz, quelle, projekt->FieldByName(name), gekuerzt);
        if (name == QLatin1String("Betreff5"))
            textSetzen(projekt->FieldByName(QStringLiteral("Betreff_ges")), BetreffGesamt(satz), gekuerzt);
    }
}

void TProjektUebernahme::feldFuellen(const TMasterProjekt& satz, const TMasterFeld& quelle, TField* ziel,
                                     QStringList& gekuerzt)
{
    switch (quelle.Art) {
    case TFeldart::Text:
        textSetzen(ziel, text(satz, quelle), gekuerzt);
        break;
    case TFeldart::Datumstext:
        datumstextFuellen(satz, quelle, ziel);
        break;
    case TFeldart::Ganzzahl8:
        ziel->setAsInteger(satz.wert(quelle).toInt());
        break;
    case TFeldart::Ganzzahl32: {
        // The 16-bit field takes the nearest value it can hold.
        const int wert = satz.wert(quelle).toInt();
        const int begrenzt = std::clamp<int>(wert, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
        if (begrenzt != wert)
            gekuerzt << ziel->FieldName();
        ziel->setAsInteger(begrenzt);
        break;
    }
    case TFeldart::OleDatum: {
        const QVariant wert = satz.wert(quelle);
        if (wert.isValid())
            ziel->setAsDateTime(wert.toDateTime());
        break;
    }
    }
}

void TProjektUebernahme::textSetzen(TField* ziel, const QString& wert, QStringList& gekuerzt)
{
    // Never more than the field holds: the rest of an over-long ERP text is cut off.
    if (ziel->Size() > 0 && wert.size() > ziel->Size()) {
        gekuerzt << ziel->FieldName();
        ziel->setAsString(wert.left(ziel->Size()));
    } else {
        ziel->setAsString(wert);
    }
}

void TProjektUebernahme::datumstextFuellen(const TMasterProjekt& satz, const TMasterFeld& quelle, TField* ziel)
{
    const QString wert = text(satz, quelle);
    if (const std::optional<QDate> datum = KurzdatumNachDatum(wert)) {
        ziel->setAsDateTime(QDateTime(*datum, QTime(0, 0)));
        return;
    }
    // The field stays empty; only the developer's build says why.
    if (IniRecord.Entwicklerversion)
        Meldung::information(QStringLiteral("Konvertierungsfehler\n'%1' ist kein gültiges Datum.\nim Projekt :%2")
                                 .arg(wert, text(satz, *MasterFeld(QStringLiteral("Kommnr")))));
}
