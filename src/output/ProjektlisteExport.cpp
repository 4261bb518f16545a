#include "ProjektlisteExport.h"

#include "BerichtAusdruck.h"
#include "DatenGitter.h"
#include "DatenGitterModell.h"
#include "Fehler.h"
#include "GitterSpalte.h"
#include "TField.h"
#include "TKADaoTable.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QSaveFile>
#include <cmath>

namespace ProjektlisteExport {

namespace {

QString zitieren(const QString& text)
{
    static const QString besondere = QStringLiteral(";\"\r\n");
    for (const QChar c : text)
        if (besondere.contains(c))
            return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return text;
}

QString spaltenTitel(const TGitterSpalte& spalte)
{
    const QString titel = spalte.titel().trimmed();
    if (!titel.isEmpty())
        return titel;
    return spalte.art() == TSpaltenArt::Fortschritt ? QStringLiteral("FORTSCHRITT") : spalte.feld().toUpper();
}

QVariant zellWert(const TDatenGitterModell& modell, const TGitterSpalte& spalte, int zeile)
{
    const QModelIndex index = modell.index(zeile, spalte.index());
    switch (spalte.art()) {
    case TSpaltenArt::Fortschritt: {
        const QVariant roh = modell.data(index, GitterRolle::Rohwert);
        if (roh.isNull() || !roh.isValid())
            return {};
        return std::round(roh.toDouble() * 100.0) / 100.0;
    }
    case TSpaltenArt::Datum: {
        const QVariant roh = modell.data(index, GitterRolle::Rohwert);
        if (roh.typeId() == QMetaType::QDateTime)
            return roh.toDateTime().date();
        return roh;
    }
    case TSpaltenArt::CheckBox:
        return modell.data(index, GitterRolle::Rohwert).toBool();
    default:
        return modell.data(index, Qt::DisplayRole);
    }
}

QVariant zeilenFeld(const TKADaoTable& tabelle, int zeile, const char* name)
{
    const TField* feld = tabelle.FindField(QLatin1String(name));
    return feld ? tabelle.RowValue(zeile, feld->Index()) : QVariant();
}

QVariant nachschlagen(const TKADaoTable* tabelle, const QVariant& schluessel, const char* ergebnis)
{
    if (!tabelle || !tabelle->Active() || schluessel.isNull() || !schluessel.isValid())
        return {};
    return tabelle->Lookup(QStringLiteral("ID"), schluessel, QLatin1String(ergebnis));
}

} // namespace

QString CsvFeld(const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return QString();
    switch (wert.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return TBerichtAusdruck::WertText(wert);  // the report's numbers: decimal comma, no grouping
    case QMetaType::QDate:
        return wert.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime zeit = wert.toDateTime();
        return zeit.time() == QTime(0, 0) ? zeit.date().toString(QStringLiteral("dd.MM.yyyy"))
                                          : zeit.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    }
    case QMetaType::Bool:
        return wert.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    default:
        return zitieren(wert.toString());
    }
}

QByteArray CsvDatei(const QList<QVariantList>& zeilen)
{
    QString text;
    for (const QVariantList& zeile : zeilen) {
        QStringList felder;
        felder.reserve(zeile.size());
        for (const QVariant& wert : zeile)
            felder << CsvFeld(wert);
        text += felder.join(QLatin1Char(';'));
        text += QLatin1String("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QList<QVariantList> ProjektlisteZeilen(const TDatenGitter& gitter, const TKADaoTable* aufgaben,
                                       const TKADaoTable* personal)
{
    const TDatenGitterModell* modell = gitter.datenModell();
    const TKADaoTable* projekte = modell ? modell->datenmenge() : nullptr;
    QList<const TGitterSpalte*> spalten;
    for (int sichtbar = 0; sichtbar < gitter.horizontalHeader()->count(); ++sichtbar) {
        const TGitterSpalte* s = gitter.spalte(gitter.horizontalHeader()->logicalIndex(sichtbar));
        if (s && s->sichtbar())
            spalten << s;
    }
    QVariantList kopf;
    for (const TGitterSpalte* s : spalten)
        kopf << spaltenTitel(*s);
    kopf << QStringLiteral("AKTUELLE AUFGABE") << QStringLiteral("MITARBEITER") << QStringLiteral("BIS");
    QList<QVariantList> zeilen{kopf};
    if (!projekte || !projekte->Active())
        return zeilen;
    for (int r = 0; r < projekte->RowCount(); ++r) {
        QVariantList zeile;
        for (const TGitterSpalte* s : spalten)
            zeile << zellWert(*modell, *s, r);
        zeile << nachschlagen(aufgaben, zeilenFeld(*projekte, r, "Last_Aufgabe"), "Aufg_Bezeichnung")
              << nachschlagen(personal, zeilenFeld(*projekte, r, "Last_Personal"), "Name")
              << zeilenFeld(*projekte, r, "Last_Datum");
        zeilen << zeile;
    }
    return zeilen;
}

void ProjektlisteSchreiben(const TDatenGitter& gitter, const TKADaoTable* aufgaben, const TKADaoTable* personal,
                           const QString& pfad)
{
    const QByteArray inhalt = CsvDatei(ProjektlisteZeilen(gitter, aufgaben, personal));
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(inhalt) != inhalt.size() || !datei.commit())
        throw Fehler(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(pfad)));
}

} // namespace ProjektlisteExport
