#include "Berichtstest.h"

#include "GitterSpalte.h"
#include "DatenGitter.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "Testdateien.h"
#include "ProjektlisteExport.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Reads CSV as German spreadsheets write it: ';' between fields, quoted fields with doubled
// quotes and line breaks inside, CR LF between records.
QList<QStringList> csvLesen(const QString& text)
{
    QList<QStringList> zeilen{{}};
    QString feld;
    bool inAnfuehrung = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inAnfuehrung) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                feld += '"';
                ++i;
            } else if (c == '"') {
                inAnfuehrung = false;
            } else {
                feld += c;
            }
        } else if (c == '"') {
            inAnfuehrung = true;
        } else if (c == ';') {
            zeilen.last() << feld;
            feld.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            zeilen.last() << feld;
            feld.clear();
            zeilen << QStringList();
            ++i;
        } else {
            feld += c;
        }
    }
    if (zeilen.last().isEmpty() && feld.isEmpty())
        zeilen.removeLast();
    return zeilen;
}

} // namespace

// "Projektliste exportieren …": the edit view's projects as a CSV file for German spreadsheets.
class TestProjektliste : public QObject
{
    Q_OBJECT

private slots:
    void csvFeld_data();
    void csvFeld();
    void exportAusDemHauptfenster();
};

void TestProjektliste::csvFeld_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("feld");
    QTest::newRow("leer") << QVariant() << "";
    QTest::newRow("Zahl") << QVariant(1234.5) << "1234,5";
    QTest::newRow("Datum") << QVariant(QDate(2024, 2, 29)) << "29.02.2024";
    QTest::newRow("Datum mit Zeit") << QVariant(QDateTime(QDate(2024, 2, 1), QTime(13, 45))) << "01.02.2024 13:45";
    QTest::newRow("Ja/Nein") << QVariant(false) << "Nein";
    QTest::newRow("Umlaut") << QVariant(QStringLiteral("Groß")) << "Groß";
    QTest::newRow("Semikolon") << QVariant(QStringLiteral("a;b")) << "\"a;b\"";
    QTest::newRow("Anführung") << QVariant(QStringLiteral("17\" Zoll")) << "\"17\"\" Zoll\"";
    QTest::newRow("Zeilenumbruch") << QVariant(QStringLiteral("a\nb")) << "\"a\nb\"";
}

void TestProjektliste::csvFeld()
{
    QFETCH(QVariant, wert);
    QFETCH(QString, feld);
    QCOMPARE(ProjektlisteExport::CsvFeld(wert), feld);
}

// Visible columns in the order shown (a hidden one left out, a moved one in its new place),
// progress and current task, umlauts, a quote, a semicolon and a line break inside values.
void TestProjektliste::exportAusDemHauptfenster()
{
    QTemporaryDir ordner;
    const QString vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(ordner.path()));
    IniAnlegen();
    IniRecord.AnzahlStatus = 5;
    MeldungsRecorder meldungen;
    {
        Berichtsumgebung u;
        u.db.grunddaten();
        u.db.fremd(QStringLiteral("UPDATE Projekt SET Bezeichn = 'Müller; \"Süd\"', Betreff_ges = 'Zeile 1' || char(10) || 'Zeile 2', "
                                  "Datum = '2024-01-31', Last_Aufgabe = 2, Last_Personal = 2 WHERE ID = 1;"));
        u.oeffnen();
        u.daten->DatenmengenOeffnen();
        TFormProjektMain fenster;
        TDataModule2 befehle(&fenster);
        fenster.show();
        TDatenGitter* gitter = fenster.NextDBGridProjekte;
        gitter->spalteNachId(QStringLiteral("BAUSTELLE"))->setSichtbar(false);
        gitter->spalteNachId(QStringLiteral("PROJEKT"))->setPosition(0);

        const QString ziel = QDir(ordner.path()).filePath(QStringLiteral("liste"));
        fenster.ExportDateiWaehlen = [&](QWidget*) { return ziel; };
        befehle.Action(QStringLiteral("ActionProjektlisteExport"))->trigger();

        const QByteArray roh = Testdateien::lesen(ziel + ".csv");
        QVERIFY(roh.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> zeilen = csvLesen(QString::fromUtf8(roh.mid(3)));
        QCOMPARE(zeilen.first(), QStringList({"PROJEKT", "FORTSCHRITT", "BEZEICHNUNG", "BETREFF", "DATUM", "L.TERMIN",
                                              "BAUBEGINN", "TERMIN", "FÄLLIG", "EV", "PV", "AKTUELLE AUFGABE",
                                              "MITARBEITER", "BIS"}));
        QCOMPARE(zeilen.size(), 1 + u.daten->TabProjekt->RecordCount());
        QStringList p1;
        for (const QStringList& z : zeilen)
            if (z.first() == QLatin1String("P1"))
                p1 = z;
        // Ranks 4 and 1 of two tasks with five statuses: 5 / (4 * 2) = 62.5 %.
        QCOMPARE(p1, QStringList({"P1", "62,5", "Müller; \"Süd\"", "Zeile 1\nZeile 2", "31.01.2024", "", "", "", "",
                                  "Ja", "Ja", "Montage", "Bernd Öz", "01.03.2024"}));
        for (const QStringList& z : zeilen)
            QCOMPARE(z.size(), zeilen.first().size());
    }
    QDir::setCurrent(vorher);
}

QTEST_MAIN(TestProjektliste)
#include "tst_projektliste.moc"
