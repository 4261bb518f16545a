#include "Bericht.h"
#include "BerichtAusdruck.h"
#include "BerichtDatenmenge.h"
#include "BerichtDefinition.h"
#include "BerichtSeiten.h"
#include "BerichtVorschau.h"
#include "Fehler.h"

#include <QtTest>
#include <functional>

namespace {

// A report dataset over rows held in memory; a detail takes the rows of its master's key.
class TListe : public TBerichtDatenmenge
{
public:
    using Zeile = QVariantMap;
    TListe(QString name, QList<Zeile> zeilen) : TBerichtDatenmenge(std::move(name)), m_alle(std::move(zeilen)) {}

    // Detail: only the rows whose "Master" equals the master's current "ID".
    void alsDetailVon(const TListe* master) { m_master = master; }

    void First() override { m_pos = 0; }
    void Next() override { ++m_pos; }
    bool Eof() const override { return m_pos >= int(zeilen().size()); }
    QVariant Wert(const QString& feld) const override
    {
        const Zeile z = zeilen().value(m_pos);
        if (!z.contains(feld))
            throw Fehler(QStringLiteral("Feld '%1' nicht gefunden").arg(feld));
        return z.value(feld);
    }
    int Anzahl() const override { return int(zeilen().size()); }

private:
    QList<Zeile> zeilen() const
    {
        if (!m_master)
            return m_alle;
        QList<Zeile> eigene;
        const QVariant id = m_master->Eof() ? QVariant() : m_master->Wert(QStringLiteral("ID"));
        for (const Zeile& z : m_alle)
            if (z.value(QStringLiteral("Master")) == id)
                eigene << z;
        return eigene;
    }

    QList<Zeile> m_alle;
    const TListe* m_master = nullptr;
    int m_pos = 0;
};

TBerichtObjekt textObjekt(const QString& ausdruck, double hoehe = 5)
{
    TBerichtObjekt o;
    o.Name = ausdruck;
    o.Breite = 50;
    o.Hoehe = hoehe;
    o.Schrift = BerichtSchrift(QStringLiteral("Arial"), 10);
    o.Ausdruck = TBerichtAusdruck(ausdruck);
    return o;
}

TBerichtBand band(TBandArt art, double hoehe, const QString& datenmenge, const QString& ausdruck)
{
    TBerichtBand b;
    b.Name = ausdruck;
    b.art = art;
    b.Hoehe = hoehe;
    b.Datenmenge = datenmenge;
    b.Objekte = {textObjekt(ausdruck)};
    return b;
}

// A5 portrait (148 x 210 mm), 10 mm margins, header 20 and footer 10: 160 mm for data bands.
std::shared_ptr<TBerichtDefinition> definition(double masterHoehe, double detailHoehe)
{
    auto d = std::make_shared<TBerichtDefinition>();
    d->Papier = QPageSize(QPageSize::A5);
    d->Raender = QMarginsF(10, 10, 10, 10);
    d->Baender = {band(TBandArt::Seitenkopf, 20, {}, QStringLiteral("Kopf [PAGE#]/[TOTALPAGES#]")),
                  band(TBandArt::Stammdaten, masterHoehe, QStringLiteral("M"), QStringLiteral("[M.\"Name\"]")),
                  band(TBandArt::Detaildaten, detailHoehe, QStringLiteral("D"), QStringLiteral("[D.Text]")),
                  band(TBandArt::Seitenfuss, 10, {}, QStringLiteral("Fuß"))};
    return d;
}

} // namespace

class TestBerichtEngine : public QObject
{
    Q_OBJECT

private slots:
    void ausdruck_data();
    void ausdruck();
    void ausdruckFehler_data();
    void ausdruckFehler();
    void wertText_data();
    void wertText();
    void seitenfluss();
    void zuHohesBandEndetTrotzdem();
    void fehlerImLaufBeendetIhn();
};

void TestBerichtEngine::ausdruck_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QString>("erwartet");  // page 2 of 5, field values from the table below
    QTest::addColumn<bool>("seitenabhaengig");
    QTest::newRow("Text") << "PROJEKTVERWALTUNG" << "PROJEKTVERWALTUNG" << false;
    QTest::newRow("Seite") << "[PAGE#] of [TOTALPAGES#]" << "2 of 5" << true;
    QTest::newRow("Datum") << "[DATE]" << "06.05.2024" << false;
    QTest::newRow("Feld mit Anführung") << "[frxDBProjekt.\"Kommnr\"]" << "K-17" << false;
    QTest::newRow("Feld ohne, mit Text") << "Nr. [frxDBProjekt.Kommnr]: [ frxDBAufgaben.\"Name\" ]" << "Nr. K-17: Öz"
                                         << false;
    QTest::newRow("Klein geschrieben") << "[page#]/[totalpages#]" << "2/5" << true;
}

void TestBerichtEngine::ausdruck()
{
    QFETCH(QString, quelle);
    QFETCH(QString, erwartet);
    QFETCH(bool, seitenabhaengig);
    const TBerichtAusdruck a(quelle);
    QCOMPARE(a.Seitenabhaengig(), seitenabhaengig);
    const auto wert = [](const QString& dm, const QString& feld) -> QVariant {
        if (dm == QLatin1String("frxDBProjekt") && feld == QLatin1String("Kommnr"))
            return QStringLiteral("K-17");
        if (dm == QLatin1String("frxDBAufgaben") && feld == QLatin1String("Name"))
            return QStringLiteral("Öz");
        return {};
    };
    QCOMPARE(a.Zusammensetzen(a.Vorbereiten(wert, QDate(2024, 5, 6)), 2, 5), erwartet);
}

void TestBerichtEngine::ausdruckFehler_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::newRow("offen") << "[PAGE#";
    QTest::newRow("unbekannt") << "[HEUTE]";
    QTest::newRow("ohne Feld") << "[frxDBProjekt.]";
}

void TestBerichtEngine::ausdruckFehler()
{
    QFETCH(QString, quelle);
    QVERIFY_THROWS_EXCEPTION(Fehler, TBerichtAusdruck{quelle});
}

void TestBerichtEngine::wertText_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("text");
    QTest::newRow("leer") << QVariant() << "";
    QTest::newRow("Datum") << QVariant(QDate(2024, 2, 29)) << "29.02.2024";
    QTest::newRow("Datum/Zeit ohne Uhrzeit") << QVariant(QDateTime(QDate(2024, 2, 1), QTime(0, 0))) << "01.02.2024";
    QTest::newRow("Datum/Zeit mit Uhrzeit") << QVariant(QDateTime(QDate(2024, 2, 1), QTime(13, 45, 7)))
                                           << "01.02.2024 13:45:07";
    QTest::newRow("Zahl mit Komma") << QVariant(1234.5) << "1234,5";
    QTest::newRow("ganze Zahl") << QVariant(42) << "42";
    QTest::newRow("Text") << QVariant(QStringLiteral("Aufmaß")) << "Aufmaß";
}

void TestBerichtEngine::wertText()
{
    QFETCH(QVariant, wert);
    QFETCH(QString, text);
    QCOMPARE(TBerichtAusdruck::WertText(wert), text);
}

// Header, master and detail rows, a master without details left out, a new page when the next
// band does not fit above the footer, footer at the foot of every page, the final page count.
void TestBerichtEngine::seitenfluss()
{
    TListe master(QStringLiteral("M"), {{{"ID", 1}, {"Name", "Eins"}},
                                        {{"ID", 2}, {"Name", "ohne Details"}},
                                        {{"ID", 3}, {"Name", "Drei"}}});
    QList<TListe::Zeile> details;
    for (int i = 1; i <= 12; ++i)
        details << TListe::Zeile{{"Master", 1}, {"Text", QStringLiteral("a%1").arg(i)}};
    details << TListe::Zeile{{"Master", 3}, {"Text", "b1"}};
    TListe detail(QStringLiteral("D"), details);
    detail.alsDetailVon(&master);

    // 160 mm for data: master 10 + twelve details of 12 = 154; the next master (10) no longer fits.
    TBericht bericht(definition(10, 12));
    bericht.DatenmengeHinzufuegen(&master);
    bericht.DatenmengeHinzufuegen(&detail);
    const auto seiten = bericht.Vorbereiten(QDate(2024, 5, 6));

    QCOMPARE(seiten->Anzahl(), 2);
    QStringList erste = seiten->Texte(0);
    QCOMPARE(erste.first(), QStringLiteral("Kopf 1/2"));
    QCOMPARE(erste.last(), QStringLiteral("Fuß"));
    QCOMPARE(erste.size(), 1 + 1 + 12 + 1);
    QVERIFY(!erste.contains(QStringLiteral("ohne Details")));
    QCOMPARE(seiten->Texte(1), QStringList({"Kopf 2/2", "Drei", "b1", "Fuß"}));

    // Positions: the first master right under the header, the footer at the paper's foot.
    const auto& elemente = seiten->Seite(1).elemente;
    QCOMPARE(elemente[1].bandOben, 30.0);
    QCOMPARE(elemente.back().bandOben, 210.0 - 10 - 10);
    QCOMPARE(seiten->Gliederung().size(), size_t(0));

    // Without any master row: one page with header and footer.
    TListe leer(QStringLiteral("M"), {});
    TListe keineDetails(QStringLiteral("D"), {});
    keineDetails.alsDetailVon(&leer);
    TBericht leererBericht(definition(10, 12));
    leererBericht.DatenmengeHinzufuegen(&leer);
    leererBericht.DatenmengeHinzufuegen(&keineDetails);
    const auto eineSeite = leererBericht.Vorbereiten(QDate(2024, 5, 6));
    QCOMPARE(eineSeite->Anzahl(), 1);
    QCOMPARE(eineSeite->Texte(0), QStringList({"Kopf 1/1", "Fuß"}));
}

// A band taller than the room on an empty page goes there all the same instead of opening
// page after page.
void TestBerichtEngine::zuHohesBandEndetTrotzdem()
{
    TListe master(QStringLiteral("M"), {{{"ID", 1}, {"Name", "Riese"}}, {{"ID", 2}, {"Name", "Zwerg"}}});
    TListe detail(QStringLiteral("D"), {{{"Master", 1}, {"Text", "x"}}, {{"Master", 2}, {"Text", "y"}}});
    detail.alsDetailVon(&master);
    TBericht bericht(definition(170, 5));
    bericht.DatenmengeHinzufuegen(&master);
    bericht.DatenmengeHinzufuegen(&detail);
    const auto seiten = bericht.Vorbereiten(QDate(2024, 5, 6));
    QCOMPARE(seiten->Anzahl(), 4);
    QCOMPARE(seiten->Texte(0), QStringList({"Kopf 1/4", "Riese", "Fuß"}));
    QCOMPARE(seiten->Texte(1), QStringList({"Kopf 2/4", "x", "Fuß"}));
    QCOMPARE(seiten->Texte(3), QStringList({"Kopf 4/4", "y", "Fuß"}));
}

// A field the dataset does not have: the error reaches the caller and the preview is left
// without a run going on (no timer repeating the error).
void TestBerichtEngine::fehlerImLaufBeendetIhn()
{
    TListe master(QStringLiteral("M"), {{{"ID", 1}, {"Name", "Eins"}}});
    TListe detail(QStringLiteral("D"), {{{"Master", 1}, {"Anders", "x"}}});
    detail.alsDetailVon(&master);
    TBericht bericht(definition(10, 12));
    bericht.DatenmengeHinzufuegen(&master);
    bericht.DatenmengeHinzufuegen(&detail);
    TBerichtVorschau vorschau;
    QVERIFY_THROWS_EXCEPTION(Fehler, vorschau.BerichtZeigen(&bericht));
    QVERIFY(!vorschau.Beschaeftigt());
    QCOMPARE(vorschau.Seitenanzahl(), 1);
    QTest::qWait(20);
}

QTEST_MAIN(TestBerichtEngine)
#include "tst_berichtengine.moc"
