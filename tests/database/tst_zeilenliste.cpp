#include "Zeilenliste.h"

#include <QTest>
#include <algorithm>

namespace {

// A row of the list: its key in column 0. A plain model of the same rows (key, shown) is what
// the list must match after every change.
struct Modellzeile
{
    qint64 schluessel;
    bool gezeigt;
};
using Modell = std::vector<Modellzeile>;

Datenzeile zeile(qint64 schluessel)
{
    return Datenzeile{Zeilenwerte({QVariant(schluessel), QVariant(QStringLiteral("Projekt %1").arg(schluessel))})};
}

// Six rows, keys 10..15; those whose key divides by 3 are not shown, unless all are.
Modell anfang(bool alle = false)
{
    Modell m;
    for (qint64 k = 10; k <= 15; ++k)
        m.push_back({k, alle || k % 3 != 0});
    return m;
}

void fuellen(Zeilenliste& liste, const Modell& modell, bool schluesselGebaut)
{
    liste.setSchluesselSpalte(0);
    std::vector<Datenzeile> zeilen;
    for (const Modellzeile& z : modell)
        zeilen.push_back(zeile(z.schluessel));
    liste.ersetzen(std::move(zeilen));
    liste.zeigen([&](Datenzeile& z) {
        return std::any_of(modell.begin(), modell.end(),
                           [&](const Modellzeile& m) { return m.schluessel == z.werte[0].toLongLong() && m.gezeigt; });
    });
    if (schluesselGebaut)
        liste.schluessel();  // from now on kept in step, not built again
}

void vergleichen(Zeilenliste& liste, const Modell& modell)
{
    QCOMPARE(liste.anzahlGelesen(), modell.size());
    int gezeigt = 0;
    std::vector<qint64> schluessel;
    for (size_t i = 0; i < modell.size(); ++i) {
        QCOMPARE(liste.gelesen(i).werte[0].toLongLong(), modell[i].schluessel);
        QCOMPARE(liste.gezeigtVor(i), gezeigt);
        QCOMPARE(liste.zeileVon(i), modell[i].gezeigt ? gezeigt : -1);
        if (modell[i].gezeigt) {
            QCOMPARE(liste.indexVon(gezeigt), i);
            QCOMPARE(liste.gezeigt(gezeigt).werte[0].toLongLong(), modell[i].schluessel);
            ++gezeigt;
        }
        schluessel.push_back(modell[i].schluessel);
    }
    QCOMPARE(liste.anzahlGezeigt(), gezeigt);
    QCOMPARE(liste.alleGezeigt(), gezeigt == int(modell.size()));
    QCOMPARE(liste.schluessel(), schluessel);
}

int zeileImModell(const Modell& modell, size_t index)
{
    if (!modell[index].gezeigt)
        return -1;
    int zeile = 0;
    for (size_t i = 0; i < index; ++i)
        zeile += modell[i].gezeigt ? 1 : 0;
    return zeile;
}

} // namespace

// The rows read and the rows shown stay in step, and so do the keys, whatever row is taken out
// or put in where, with the keys built before the change or after it.
class TstZeilenliste : public QObject
{
    Q_OBJECT

private slots:
    // Each with some rows hidden and with every row shown.
    void herausnehmen()
    {
        for (const bool gebaut : {false, true}) {
            for (size_t index = 0; index < anfang().size(); ++index) {
                for (const bool alle : {false, true}) {
                    Zeilenliste liste;
                    Modell modell = anfang(alle);
                    fuellen(liste, modell, gebaut);
                    QCOMPARE(liste.herausnehmen(index), zeileImModell(modell, index));
                    modell.erase(modell.begin() + qsizetype(index));
                    vergleichen(liste, modell);
                }
            }
        }
    }

    void einfuegen()
    {
        for (const bool gebaut : {false, true}) {
            for (size_t index = 0; index <= anfang().size(); ++index) {
                for (const bool zeigen : {false, true}) {
                    for (const bool alle : {false, true}) {
                        Zeilenliste liste;
                        Modell modell = anfang(alle);
                        fuellen(liste, modell, gebaut);
                        modell.insert(modell.begin() + qsizetype(index), {99, zeigen});
                        QCOMPARE(liste.einfuegen(index, zeile(99), zeigen), zeileImModell(modell, index));
                        vergleichen(liste, modell);
                        // And then the row after it taken out again.
                        if (index + 1 < modell.size()) {
                            QCOMPARE(liste.herausnehmen(index + 1), zeileImModell(modell, index + 1));
                            modell.erase(modell.begin() + qsizetype(index + 1));
                            vergleichen(liste, modell);
                        }
                    }
                }
            }
        }
    }

    void verbergenUndErneuern()
    {
        for (const bool alle : {false, true}) {
            Zeilenliste liste;
            Modell modell = anfang(alle);
            fuellen(liste, modell, true);
            liste.verbergen(1);  // key 11
            modell[1].gezeigt = false;
            vergleichen(liste, modell);
            // Another row took row 4's place (rows matched by another field than the key).
            liste.gelesen(4) = zeile(44);
            liste.erneuert(4);
            modell[4].schluessel = 44;
            vergleichen(liste, modell);
        }
    }

    // A new row goes in among the rows read where it is shown (before the row shown there,
    // after rows hidden before it), so the shown rows keep their order; dropped, it leaves the
    // list as it was; posted, it stays with the key the engine gave it.
    void neueZeile()
    {
        // Rows read 0, 1, 3, 4 are shown (keys 10, 11, 13, 14).
        const size_t indexFuerStelle[] = {0, 1, 3, 4, 6};
        for (const bool gebaut : {false, true}) {
            for (int stelle = 0; stelle <= 4; ++stelle) {
                Zeilenliste liste;
                const Modell vorher = anfang();
                fuellen(liste, vorher, gebaut);
                Datenzeile neu;
                neu.werte.resize(2);
                liste.neueZeile(neu, stelle);
                const size_t index = indexFuerStelle[stelle];
                QCOMPARE(liste.anzahlGezeigt(), 5);
                QCOMPARE(liste.indexVon(stelle), index);
                QCOMPARE(liste.zeileVon(index), stelle);
                QVERIFY(liste.gezeigt(stelle).werte.istNull(0));
                QCOMPARE(liste.schluessel()[index], Zeilenliste::OhneSchluessel);
                liste.neueZeileVerwerfen(stelle);
                vergleichen(liste, vorher);

                liste.neueZeile(neu, stelle);
                liste.gezeigt(stelle).werte.setzen(0, qint64(77));
                liste.erneuert(liste.indexVon(stelle));
                Modell gespeichert = vorher;
                gespeichert.insert(gespeichert.begin() + qsizetype(index), {77, true});
                vergleichen(liste, gespeichert);
                // Taken out again from its place, as a deleted row is.
                QCOMPARE(liste.herausnehmen(index), stelle);
                vergleichen(liste, vorher);
            }
        }
    }

    void nehmenUndLeeren()
    {
        Zeilenliste liste;
        fuellen(liste, anfang(), true);
        const std::vector<Datenzeile> zeilen = liste.nehmen();
        QCOMPARE(zeilen.size(), size_t(6));
        vergleichen(liste, {});
        fuellen(liste, anfang(), true);
        liste.leeren();
        vergleichen(liste, {});
    }
};

QTEST_APPLESS_MAIN(TstZeilenliste)
#include "tst_zeilenliste.moc"
