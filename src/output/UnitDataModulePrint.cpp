#include "UnitDataModulePrint.h"

#include "Bericht.h"
#include "BerichtDatenmenge.h"
#include "BerichtDefinition.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "TDataSource.h"
#include "TKADaoTable.h"

TDataModule3* DataModule3 = nullptr;

namespace {

using Objekt = TBerichtObjekt;

TDataModule1* datenModul(TDataModule1* daten)
{
    if (!daten)
        daten = DataModule1;
    if (!daten)
        throw Fehler(QStringLiteral("Das Druckmodul braucht das Datenmodul."));
    return daten;
}

template <typename T>
T* benannt(T* objekt, const char* name)
{
    objekt->setObjectName(QLatin1String(name));
    return objekt;
}

Objekt text(const char* name, double links, double oben, double breite, double hoehe, const QFont& schrift,
            const QString& ausdruck, Qt::Alignment ausrichtung = Qt::AlignLeft)
{
    return Objekt::Text(QLatin1String(name), links, oben, breite, hoehe, schrift, ausdruck, ausrichtung);
}

Objekt linie(const char* name, double links, double oben, double breite)
{
    return Objekt::Linie(QLatin1String(name), links, oben, breite);
}

QString feld(const char* datenmenge, const char* name)
{
    return QStringLiteral("[%1.\"%2\"]").arg(QLatin1String(datenmenge), QLatin1String(name));
}

} // namespace

std::shared_ptr<const TBerichtDefinition> TDataModule3::ProjektberichtDefinition()
{
    static const std::shared_ptr<const TBerichtDefinition> definition = [] {
        auto d = std::make_shared<TBerichtDefinition>();
        d->Name = QStringLiteral("Page1");
        d->Papier = QPageSize(QPageSize::A4);
        d->Ausrichtung = QPageLayout::Landscape;
        d->Raender = QMarginsF(0, 0, 0, 0);
        d->Seitenschrift = BerichtSchrift(QStringLiteral("Tahoma"), 10);
        const QFont tahomaFett = BerichtSchrift(QStringLiteral("Tahoma"), 10, true);
        const QFont arial9 = BerichtSchrift(QStringLiteral("Arial"), 9);
        const QFont arial10 = BerichtSchrift(QStringLiteral("Arial"), 10);

        TBerichtBand kopf;
        kopf.Name = QStringLiteral("PageHeader1");
        kopf.art = TBandArt::Seitenkopf;
        kopf.Hoehe = 20;
        kopf.Schrift = d->Seitenschrift;
        kopf.Objekte = {
            text("Memo1", 3, 5, 44, 5, tahomaFett, QStringLiteral("PROJEKTVERWALTUNG")),
            text("SysMemo1", 236, 5, 34, 5, arial9, QStringLiteral("[DATE]"), Qt::AlignRight),
            text("SysMemo2", 236, 11, 34, 5, arial9, QStringLiteral("[PAGE#] of [TOTALPAGES#]"), Qt::AlignRight),
            linie("Line1", 3, 18, 267),
        };

        TBerichtBand master;
        master.Name = QStringLiteral("MasterData1");
        master.art = TBandArt::Stammdaten;
        master.Hoehe = 6;
        master.Datenmenge = QStringLiteral("frxDBProjekt");
        master.Schrift = tahomaFett;
        master.Gliederung = TBerichtAusdruck(feld("frxDBProjekt", "Kommnr") + QLatin1Char(' ') + feld("frxDBProjekt", "Bezeichn"));
        master.Objekte = {
            text("frxDBProjektKommnr", 4, 0, 21, 5, tahomaFett, feld("frxDBProjekt", "Kommnr")),
            text("frxDBProjektBezeichn", 27, 0, 63, 5, tahomaFett, feld("frxDBProjekt", "Bezeichn")),
            text("frxDBProjektBaustelle", 95, 0, 42, 5, tahomaFett, feld("frxDBProjekt", "Baustelle")),
            text("frxDBProjektBetreff_ges", 145, 0, 125, 5, tahomaFett, feld("frxDBProjekt", "Betreff_ges")),
        };

        TBerichtBand detail;
        detail.Name = QStringLiteral("DetailData1");
        detail.art = TBandArt::Detaildaten;
        detail.Hoehe = 6;
        detail.Datenmenge = QStringLiteral("frxDBAufgaben");
        detail.Schrift = d->Seitenschrift;
        detail.Objekte = {
            text("frxDBAufgabenBezeichnung", 6, 0, 66, 5, arial10, feld("frxDBAufgaben", "Bezeichnung")),
            text("frxDBAufgabenName", 75, 0, 45, 5, arial10, feld("frxDBAufgaben", "Name")),
            text("frxDBAufgabenDatum_von", 125, 0, 42, 5, arial10, feld("frxDBAufgaben", "Datum_von")),
            text("frxDBAufgabenDatum_bis", 170, 0, 42, 5, arial10, feld("frxDBAufgaben", "Datum_bis")),
            text("frxDBAufgabenStat_Bezeichnung", 215, 0, 41, 5, arial10, feld("frxDBAufgaben", "Stat_Bezeichnung")),
        };

        TBerichtBand fuss;
        fuss.Name = QStringLiteral("PageFooter1");
        fuss.art = TBandArt::Seitenfuss;
        fuss.Hoehe = 6;
        fuss.Schrift = d->Seitenschrift;
        fuss.Objekte = {linie("Line2", 3, 1, 267)};

        d->Baender = {kopf, master, detail, fuss};
        return std::shared_ptr<const TBerichtDefinition>(std::move(d));
    }();
    return definition;
}

TDataModule3::TDataModule3(TDataModule1* daten, QObject* parent)
    : QObject(parent), TabPrintProjekt(benannt(new TKADaoTable(this), "TabPrintProjekt")),
      dsPrintProjekt(benannt(new TDataSource(this), "dsPrintProjekt")),
      TabPrintAufgaben(benannt(new TKADaoTable(this), "TabPrintAufgaben")),
      frxDBProjekt(new TBerichtTabelle(QStringLiteral("frxDBProjekt"), TabPrintProjekt)),
      frxDBAufgaben(new TBerichtTabelle(QStringLiteral("frxDBAufgaben"), TabPrintAufgaben)),
      frxReport1(benannt(new TBericht(ProjektberichtDefinition(), this), "frxReport1")), m_projekte(frxDBProjekt),
      m_aufgaben(frxDBAufgaben)
{
    setObjectName(QStringLiteral("DataModule3"));
    TKADaoDatabase* verbindung = datenModul(daten)->DBProjekt;

    TabPrintProjekt->setDatabase(verbindung);
    TabPrintProjekt->setSQL(QStringLiteral("select * from projekt"));
    TabPrintProjekt->setReadOnly(true);
    dsPrintProjekt->setDataSet(TabPrintProjekt);

    TabPrintAufgaben->setDatabase(verbindung);
    TabPrintAufgaben->setSQL(QStringLiteral("select * from projektaufgaben p, status s, aufgaben a, personal m \n"
                                            "where (p.aufgabe_id = a.id) and (p.status_id = s.id) and (p.mitarbeiter = m.id)"));
    TabPrintAufgaben->setReadOnly(true);
    TabPrintAufgaben->setMasterSource(dsPrintProjekt);
    TabPrintAufgaben->setMasterFields(QStringLiteral("Projekt_ID -> ID"));

    // The master first: it is read afresh before its details when the report is prepared anew.
    frxReport1->DatenmengeHinzufuegen(frxDBProjekt);
    frxReport1->DatenmengeHinzufuegen(frxDBAufgaben);
    DataModule3 = this;
}

TDataModule3::~TDataModule3()
{
    if (DataModule3 == this)
        DataModule3 = nullptr;
}
