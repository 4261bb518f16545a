#include "Berichtstest.h"

#include "Bericht.h"
#include "BerichtZeichner.h"
#include "DatenbankWerkzeug.h"
#include "Fehler.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The project report from real project databases: which rows print, page flow and page
// numbers, and the PDF read back with poppler.
class TestProjektbericht : public QObject
{
    Q_OBJECT

private slots:
    void leereTabelle();
    void welcheZeilenGedrucktWerden();
    void dreiSeiten();
    void pdfTextUndLage();
    void demoBerichtAlsBilder();

private:
    const QDate m_stichtag{2024, 5, 6};
};

// No project: one page with the title, the date, "1 of 1" and the two lines.
void TestProjektbericht::leereTabelle()
{
    Berichtsumgebung u;
    u.oeffnen();
    const auto seiten = u.druck->frxReport1->Vorbereiten(m_stichtag);
    QCOMPARE(seiten->Anzahl(), 1);
    QCOMPARE(seiten->Texte(0), QStringList({"PROJEKTVERWALTUNG", "06.05.2024", "1 of 1"}));
    QStringList linien;
    for (const TSeitenElement& e : seiten->Seite(0).elemente)
        if (e.objekt->art == TBerichtObjekt::Art::Linie)
            linien << QStringLiteral("%1@%2").arg(e.objekt->Name).arg(e.bandOben + e.objekt->Oben);
    QCOMPARE(linien, QStringList({"Line1@18", "Line2@205"}));
}

// Every project with a printable task, hidden ones too; tasks lacking an employee, a status
// or a catalogue task are left out, and so is a project left without tasks.
void TestProjektbericht::welcheZeilenGedrucktWerden()
{
    Berichtsumgebung u;
    u.db.grunddaten();
    u.db.fremd(QStringLiteral(
        "INSERT INTO Projekt (Kommnr, Bezeichn, Baustelle, EV_Sichtbar, PV_Sichtbar) VALUES ('P4', 'Versteckt', 'Hof', 0, 0);"
        "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Datum_von, Datum_bis, Mitarbeiter, Status_ID) VALUES "
        "(1, 1, 'ohne Mitarbeiter', NULL, NULL, NULL, 1),"
        "(1, 1, 'Status gelöscht', NULL, NULL, 1, 99),"
        "(1, 77, 'Katalog gelöscht', NULL, NULL, 1, 1),"
        "(3, 1, 'Mitarbeiter gelöscht', NULL, NULL, 9, 1),"
        "(4, 2, 'Prüfung', '2024-04-03 08:30:00', '2024-04-05 00:00:00', 2, 3);"));
    u.oeffnen();
    const auto seiten = u.druck->frxReport1->Vorbereiten(m_stichtag);
    QCOMPARE(datenZeilen(*seiten), QStringList({
                                       "P1|Bäckerei Huber||",
                                       "Aufmaß|Anna Groß||01.02.2024|erledigt",
                                       "Montage|Bernd Öz||01.03.2024|in Arbeit",
                                       "P2|Autohaus Schmid||",
                                       "Aufmaß|Anna Groß|||unbearbeitet",
                                       "P4|Versteckt|Hof|",
                                       "Prüfung|Bernd Öz|03.04.2024 08:30:00|05.04.2024|Rückfrage",
                                   }));
}

// 40 projects with one task each: 30 bands fit between header and footer, so three pages;
// each page carries its number of the final count and its footer, no band reaches the footer.
void TestProjektbericht::dreiSeiten()
{
    Berichtsumgebung u;
    u.db.grunddaten();
    u.db.fremd(QStringLiteral("DELETE FROM ProjektAufgaben; DELETE FROM Projekt;"
                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                              "INSERT INTO Projekt (ID, Kommnr, Bezeichn) SELECT i, 'K' || i, 'Projekt ' || i FROM n;"
                              "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Mitarbeiter, Status_ID) "
                              "SELECT ID, 1, 'Aufgabe ' || ID, 1, 2 FROM Projekt;"));
    u.oeffnen();
    const auto seiten = u.druck->frxReport1->Vorbereiten(m_stichtag);
    QCOMPARE(seiten->Anzahl(), 3);
    QCOMPARE(datenZeilen(*seiten).size(), 80);
    for (int s = 0; s < 3; ++s) {
        QCOMPARE(seiten->Texte(s).mid(0, 3),
                 QStringList({"PROJEKTVERWALTUNG", "06.05.2024", QStringLiteral("%1 of 3").arg(s + 1)}));
        int fuesse = 0;
        for (const TSeitenElement& e : seiten->Seite(s).elemente) {
            if (e.objekt->Name == QLatin1String("Line2")) {
                ++fuesse;
                QCOMPARE(e.bandOben, 204.0);
            } else if (e.objekt->Name.startsWith(QLatin1String("frxDB"))) {
                QVERIFY(e.bandOben >= 20.0);
                QVERIFY(e.bandOben + 6 <= 204.0);
            }
        }
        QCOMPARE(fuesse, 1);
    }
    QCOMPARE(datenZeilen(*seiten).last(), QStringLiteral("Aufgabe 40|Anna Groß|||in Arbeit"));
}

// The PDF: text where the band table puts it (left edge of the title at 3 mm, the page number
// right-aligned to 270 mm), a date with its time, and of a long subject only its first line.
void TestProjektbericht::pdfTextUndLage()
{
    Berichtsumgebung u;
    u.db.grunddaten();
    u.db.fremd(QStringLiteral(
        "UPDATE Projekt SET Betreff_ges = 'Erneuerung der gesamten Haustechnik im Altbau mit Heizung, Lüftung, "
        "Sanitär und Elektro nach Plan des Architekten, Abschluss Schlusswort' WHERE ID = 1;"
        "UPDATE ProjektAufgaben SET Datum_von = '2024-01-15 07:30:00' WHERE ID = 1;"));
    u.oeffnen();
    const auto seiten = u.druck->frxReport1->Vorbereiten(m_stichtag);
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath(QStringLiteral("bericht.pdf"));
    BerichtPdfSchreiben(*seiten, pdf);

    QVERIFY(poppler(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("842 x 595 pts")));
    const QString text = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char* erwartet : {"PROJEKTVERWALTUNG", "06.05.2024", "1 of 1", "Bäckerei Huber", "Anna Groß",
                                 "15.01.2024 07:30:00", "01.02.2024", "erledigt", "Erneuerung der gesamten"})
        QVERIFY2(text.contains(QString::fromUtf8(erwartet)), erwartet);
    QVERIFY(!text.contains(QStringLiteral("Schlusswort")));

    const QString boxen = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const auto lage = [&](const QString& wort) {
        const QRegularExpression re(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>%1</word>")
                                        .arg(QRegularExpression::escape(wort)));
        const auto treffer = re.match(boxen);
        return treffer.hasMatch() ? QRectF(QPointF(treffer.captured(1).toDouble(), treffer.captured(2).toDouble()),
                                           QPointF(treffer.captured(3).toDouble(), 0))
                                  : QRectF(-1, -1, 0, 0);
    };
    const double mm = 72 / 25.4;
    QVERIFY2(std::abs(lage(QStringLiteral("PROJEKTVERWALTUNG")).left() - 3 * mm) < 1.0, qPrintable(boxen.left(2000)));
    QVERIFY(std::abs(lage(QStringLiteral("06.05.2024")).right() - 270 * mm) < 1.5);
    QVERIFY(std::abs(lage(QStringLiteral("Bäckerei")).left() - 27 * mm) < 1.0);

    // A folder that is not there: an error with the path, no file.
    const QString nirgends = ordner.filePath(QStringLiteral("fehlt/bericht.pdf"));
    QVERIFY_THROWS_EXCEPTION(Fehler, BerichtPdfSchreiben(*seiten, nirgends));
    QVERIFY(!QFile::exists(nirgends));
}

// The demo data as PDF and as pictures of its pages, to be looked at by eye against the band
// table (bildschirmfotos/projektbericht-*.png).
void TestProjektbericht::demoBerichtAlsBilder()
{
    Berichtsumgebung u;
    DatenbankWerkzeug::demoDatenEinfuegen(u.db.pfad, 40, m_stichtag);
    u.oeffnen();
    const auto seiten = u.druck->frxReport1->Vorbereiten(m_stichtag);
    QVERIFY(seiten->Anzahl() >= 2);
    const QString ordner = bilderOrdner();
    for (const QString& alt : QDir(ordner).entryList({QStringLiteral("projektbericht*")}))
        QFile::remove(QDir(ordner).filePath(alt));
    const QString pdf = QDir(ordner).filePath(QStringLiteral("projektbericht.pdf"));
    BerichtPdfSchreiben(*seiten, pdf);
    const QString ausgabe = poppler(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-png"), pdf,
                                                                QDir(ordner).filePath(QStringLiteral("projektbericht"))});
    QVERIFY2(!ausgabe.startsWith(QLatin1String("FEHLER")), qPrintable(ausgabe));
    // pdftoppm numbers the pictures with as many digits as the last page needs.
    QCOMPARE(QDir(ordner).entryList({QStringLiteral("projektbericht-*.png")}).size(), seiten->Anzahl());
    const QString text = poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("1 of %1").arg(seiten->Anzahl())));
    QVERIFY(text.contains(QStringLiteral("%1 of %1").arg(seiten->Anzahl())));
}

QTEST_MAIN(TestProjektbericht)
#include "tst_projektbericht.moc"
