// The week overview on a small project database: what each cell lists, the weekend columns,
// the line of tasks without an employee, the window's week navigation and the printout.
#include "Bericht.h"
#include "BerichtSeiten.h"
#include "BerichtVorschau.h"
#include "BerichtZeichner.h"
#include "DatenGitter.h"
#include "DatumEdit.h"
#include "FRDruckVorschau.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TKADaoDatabase.h"
#include "TestDatenbank.h"
#include "UnitWochenplan.h"
#include "Wochenplan.h"
#include "WochenplanBericht.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

// Thursday of calendar week 50; the week runs from Monday 07.12. to Sunday 13.12.2026.
const QDate Heute(2026, 12, 10);

// Days since 30.12.1899, as older files hold dates.
qint64 tageszahl(const QDate& tag)
{
    return QDate(1899, 12, 30).daysTo(tag);
}

// Three employees (Carl without tasks) and two projects. The tasks: Anna on P1 Monday–Wednesday
// and again Tuesday–Thursday, on P2 Wednesday, later and without dates; Bernd on P2 from the
// week before to the week after (over the weekend), on P1 on Saturday only (end date alone),
// on P1 on Monday (start as a day number), on P2 with the dates the wrong way round; one task
// without an employee and one naming an employee that is gone.
void fuellen(TestDatenbank& db)
{
    db.fremd(QStringLiteral(
        "INSERT INTO Personal (ID, Nummer, Name) VALUES (1, 'M1', 'Anna Groß'), (2, 'M2', 'Bernd Öz'), (3, 'M3', 'Carl Frei');"
        "INSERT INTO Projekt (ID, Kommnr, Bezeichn) VALUES (1, '26-1001', 'Huber'), (2, '26-1002', 'Schmid');"
        "INSERT INTO ProjektAufgaben (Projekt_ID, Mitarbeiter, Bezeichnung, Datum_von, Datum_bis) VALUES "
        "(1, 1, 'Aufmaß', '2026-12-07 00:00:00', '2026-12-09 00:00:00'),"
        "(1, 1, 'Zuschnitt', '2026-12-08 00:00:00', '2026-12-10 00:00:00'),"
        "(2, 1, 'Abnahme', '2026-12-09 08:00:00', '2026-12-09 12:00:00'),"
        "(2, 1, 'Später', '2026-12-14 00:00:00', '2026-12-20 00:00:00'),"
        "(2, 1, 'Ohne Termin', NULL, NULL),"
        "(2, 2, 'Montage', '2026-12-04 00:00:00', '2026-12-15 00:00:00'),"
        "(1, 2, 'Samstag', NULL, '2026-12-12 00:00:00'),"
        "(2, 2, 'Verdreht', '2026-12-11 00:00:00', '2026-12-10 00:00:00'),"
        "(2, NULL, 'Niemand', '2026-12-11 00:00:00', '2026-12-11 00:00:00'),"
        "(1, 99, 'Ausgeschieden', '2026-12-07 00:00:00', NULL);"));
    // On a server rows given their own ID leave the numbering where it was.
    if (db.server())
        db.fremd(QStringLiteral("SELECT setval(pg_get_serial_sequence('personal', 'id'), 3);"
                                "SELECT setval(pg_get_serial_sequence('projekt', 'id'), 2)"));
    // A server holds dates only as dates.
    db.fremd(QStringLiteral("INSERT INTO ProjektAufgaben (Projekt_ID, Mitarbeiter, Bezeichnung, Datum_von) VALUES (1, 2, "
                            "'Alte Datei', %1)")
                 .arg(db.server() ? QStringLiteral("'2026-12-07'") : QString::number(tageszahl(QDate(2026, 12, 7)))));
}

// A line of the plan: the name, then the seven days, projects joined by ", ".
QStringList zeilenText(const TWochenplan& plan)
{
    QStringList zeilen;
    for (const TWochenplanZeile& z : plan.Zeilen()) {
        QStringList teile{z.name};
        for (const QStringList& zelle : z.tage)
            teile << zelle.join(QStringLiteral(", "));
        zeilen << teile.join(QLatin1Char('|'));
    }
    return zeilen;
}

const QString P1 = QStringLiteral("26-1001 Huber");
const QString P2 = QStringLiteral("26-1002 Schmid");

} // namespace

class TestWochenplan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { TestDatenbank::motoren(); }
    void initTestCase();
    void init();
    void cleanup();
    void zellen();
    void andereWochen_data();
    void andereWochen();
    void fensterBlaettert();
    void druckSeiten();
    void druckVieleMitarbeiter();

private:
    std::unique_ptr<TestDatenbank> m_db;
    std::unique_ptr<TKADaoDatabase> m_verbindung;
    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
};

void TestWochenplan::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestWochenplan::init()
{
    // The window stores its place in a settings file of its own folder.
    m_ordner = std::make_unique<QTemporaryDir>();
    m_vorher = QDir::currentPath();
    QDir::setCurrent(m_ordner->path());
    IniAnlegen();
    m_db = std::make_unique<TestDatenbank>(TestDatenbank::serverDesTests());
    fuellen(*m_db);
    m_verbindung = std::make_unique<TKADaoDatabase>();
    m_verbindung->setDatabaseName(m_db->pfad);
    m_verbindung->Open();
}

void TestWochenplan::cleanup()
{
    m_verbindung.reset();
    m_db.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestWochenplan::zellen()
{
    TWochenplan plan;
    plan.Laden(m_verbindung.get(), Heute);
    QCOMPARE(plan.Montag(), QDate(2026, 12, 7));
    QCOMPARE(plan.Titel(), QStringLiteral("KW 50 · 07.12.2026 – 13.12.2026"));
    const QStringList erwartet = {
        // Overlapping tasks of one project name it once; projects of a day in order.
        QStringLiteral("Anna Groß|%1|%1|%1, %2|%1|||").arg(P1, P2),
        // Over the weekend without working there; Saturday because a task ends on it.
        QStringLiteral("Bernd Öz|%1, %2|%2|%2|%2|%2|%1|").arg(P1, P2),
        QStringLiteral("Carl Frei|||||||"),
        QStringLiteral("ohne Mitarbeiter|%1||||%2||").arg(P1, P2),
    };
    QCOMPARE(zeilenText(plan), erwartet);
    QCOMPARE(plan.GezeigteTage(), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(plan.TagTitel(5), QStringLiteral("SA 12.12."));
    QCOMPARE(plan.HoechsteAnzahl(), 2);
}

// Any day of a week shows that week; the weekend and the line without employee come and go
// with what is planned there.
void TestWochenplan::andereWochen_data()
{
    QTest::addColumn<QDate>("tag");
    QTest::addColumn<QStringList>("erwartet");
    QTest::addColumn<int>("tage");
    // Bernd's task begins on the Friday before and runs over that weekend.
    QTest::newRow("Sonntag davor") << QDate(2026, 12, 6)
                                   << QStringList{"Anna Groß|||||||", QStringLiteral("Bernd Öz|||||%1||").arg(P2),
                                                  "Carl Frei|||||||"}
                                   << 5;
    // Anna's task ends on the Sunday: that day counts, the Saturday it runs over does not.
    QTest::newRow("Woche danach") << QDate(2026, 12, 20)
                                  << QStringList{QStringLiteral("Anna Groß|%1|%1|%1|%1|%1||%1").arg(P2),
                                                 QStringLiteral("Bernd Öz|%1|%1|||||").arg(P2), "Carl Frei|||||||"}
                                  << 6;
    QTest::newRow("leere Woche") << QDate(2027, 3, 3)
                                 << QStringList{"Anna Groß|||||||", "Bernd Öz|||||||", "Carl Frei|||||||"} << 5;
}

void TestWochenplan::andereWochen()
{
    QFETCH(QDate, tag);
    QFETCH(QStringList, erwartet);
    QFETCH(int, tage);
    TWochenplan plan;
    plan.Laden(m_verbindung.get(), tag);
    QCOMPARE(zeilenText(plan), erwartet);
    QCOMPARE(plan.GezeigteTage().size(), tage);
}

void TestWochenplan::fensterBlaettert()
{
    MeldungsRecorder meldungen;
    TFormWochenplan fenster(m_verbindung.get());
    fenster.setHeute(Heute);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    auto titel = [&] { return fenster.findChild<QLabel*>("lblWoche")->text(); };
    auto klick = [&](const char* knopf) { QTest::mouseClick(fenster.findChild<QPushButton*>(knopf), Qt::LeftButton); };
    QCOMPARE(titel(), QStringLiteral("KW 50 · 07.12.2026 – 13.12.2026"));
    TDatenGitter* gitter = fenster.NextDBGridWochenplan;
    QCOMPARE(gitter->model()->rowCount(), 4);
    QCOMPARE(gitter->model()->index(1, 1).data().toString(), P1 + QLatin1Char('\n') + P2);
    QCOMPARE(gitter->spalte(4)->titel(), QStringLiteral("DO 10.12. · HEUTE"));
    QVERIFY(gitter->spalte(6)->sichtbar());
    QVERIFY(!gitter->spalte(7)->sichtbar());

    klick("BtnNaechsteWoche");
    QCOMPARE(titel(), QStringLiteral("KW 51 · 14.12.2026 – 20.12.2026"));
    QVERIFY(gitter->spalte(7)->sichtbar());
    QCOMPARE(gitter->model()->rowCount(), 3);
    klick("BtnVorherigeWoche");
    klick("BtnVorherigeWoche");
    QCOMPARE(titel(), QStringLiteral("KW 49 · 30.11.2026 – 06.12.2026"));
    klick("BtnDieseWoche");
    QCOMPARE(titel(), QStringLiteral("KW 50 · 07.12.2026 – 13.12.2026"));

    // A day typed into the date field shows its week; an emptied field keeps the week.
    TDatumEdit* datum = fenster.EditWoche;
    datum->eingabe()->setText(QStringLiteral("01.01.2027"));
    datum->eingabeUebernehmen();
    QCOMPARE(titel(), QStringLiteral("KW 53 · 28.12.2026 – 03.01.2027"));
    datum->eingabe()->clear();
    datum->eingabeUebernehmen();
    QCOMPARE(titel(), QStringLiteral("KW 53 · 28.12.2026 – 03.01.2027"));
    QVERIFY(datum->datum().isValid());

    fenster.close();
    FensterLesen(QStringLiteral("WochenplanFenster"));
    QCOMPARE(IniRecord.WochenplanFensterWidth, fenster.frameGeometry().width());
    QVERIFY(meldungen.meldungen.isEmpty());
}

// "Drucken" shows the week in the print preview: A4 landscape, the week in the title, the
// shown days as captions, one band per employee; saved as PDF it is one landscape A4 page.
void TestWochenplan::druckSeiten()
{
    TFormWochenplan fenster(m_verbindung.get());
    fenster.setHeute(Heute);
    fenster.show();
    TFRDruckVorschauForm vorschau;
    fenster.Vorschau = [&vorschau] { return &vorschau; };
    std::shared_ptr<const TBerichtSeiten> seiten;
    QTimer::singleShot(0, &vorschau, [&] {
        vorschau.frxPreview1->VorbereitungAbschliessen();
        seiten = vorschau.frxPreview1->Seiten();
        vorschau.close();
    });
    fenster.Drucken();
    QVERIFY(seiten);
    QCOMPARE(seiten->Anzahl(), 1);
    QCOMPARE(vorschau.PdfVorschlag, QStringLiteral("Wochenplan 2026-12-07.pdf"));
    QCOMPARE(seiten->Definition().Ausrichtung, QPageLayout::Landscape);
    QCOMPARE(seiten->PapierMm(), QSizeF(297, 210));
    const QStringList texte = seiten->Texte(0);
    for (const QString& text : {QStringLiteral("WOCHENPLAN KW 50 · 07.12.2026 – 13.12.2026"), QStringLiteral("MO 07.12."),
                                QStringLiteral("SA 12.12."), QStringLiteral("Carl Frei"), QStringLiteral("ohne Mitarbeiter"),
                                QStringLiteral("Seite 1 von 1")})
        QVERIFY2(texte.contains(text), qPrintable(text));
    QVERIFY(!texte.contains(QStringLiteral("SO 13.12.")));
    QVERIFY(texte.contains(P1 + QChar(QChar::LineSeparator) + P2));

    const QString pdf = QDir(m_db->ordner()).filePath(QStringLiteral("wochenplan.pdf"));
    BerichtPdfSchreiben(*seiten, pdf);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString ausgabe = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(ausgabe.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(ausgabe));
    QVERIFY2(ausgabe.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.0-9]* x 595[.0-9]* pts"))), qPrintable(ausgabe));
}

// More employees than fit one page: the bands go on over the following pages, each with the
// week and the day captions at its top, every employee printed once.
void TestWochenplan::druckVieleMitarbeiter()
{
    QStringList werte;
    for (int i = 0; i < 60; ++i)
        werte << QStringLiteral("('N%1', 'Mitarbeiter %2')").arg(i).arg(i, 2, 10, QLatin1Char('0'));
    m_db->fremd(QStringLiteral("INSERT INTO Personal (Nummer, Name) VALUES ") + werte.join(QLatin1Char(',')));
    TWochenplan plan;
    plan.Laden(m_verbindung.get(), Heute);
    QCOMPARE(int(plan.Zeilen().size()), 64);
    TWochenplanBericht bericht(plan);
    const auto seiten = bericht.Bericht()->Vorbereiten(Heute);
    QVERIFY(seiten->Anzahl() >= 2);
    int gedruckt = 0;
    for (int s = 0; s < seiten->Anzahl(); ++s) {
        const QStringList texte = seiten->Texte(s);
        QVERIFY(texte.contains(QStringLiteral("WOCHENPLAN KW 50 · 07.12.2026 – 13.12.2026")));
        QVERIFY(texte.contains(QStringLiteral("FR 11.12.")));
        gedruckt += int(std::count_if(texte.begin(), texte.end(),
                                      [](const QString& t) { return t.startsWith(QLatin1String("Mitarbeiter ")); }));
    }
    QCOMPARE(gedruckt, 60);
}

QTEST_MAIN(TestWochenplan)
#include "tst_wochenplan.moc"
