#include "ChmDatei.h"
#include "HilfeBrowser.h"
#include "HilfeFenster.h"
#include "HilfeProtokoll.h"
#include "HookHelpSystem.h"
#include "HtmlHelp.h"
#include "Inhaltsverzeichnis.h"
#include "MeldungsRecorder.h"
#include "Testdateien.h"
#include "Volltextsuche.h"
#include "Zeichensatz.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

// The help control over real compiled help files: the program's own help from the build and
// files written by Microsoft's help compiler.
class TestHtmlHelp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eigeneHilfeKontexte_data();
    void eigeneHilfeKontexte();
    void eigeneHilfeSystemangaben();
    void fremdeHilfeKontexte_data();
    void fremdeHilfeKontexte();
    void defekteDateien_data();
    void defekteDateien();
    void namensAufloesung_data();
    void namensAufloesung();
    void zeichensatz();
    void inhaltsverzeichnis_data();
    void inhaltsverzeichnis();
    void fensterZeigtKontext();
    void fensterFolgtVerweisenMitBildUndStil();
    void volltextsuche_data();
    void volltextsuche();
    void versionspruefung_data();
    void versionspruefung();
    void hilfeBefehle_data();
    void hilfeBefehle();
    void ohneHilfeSteuerung();
    void fensterLageBleibt();
    void protokollNurImDebugModus_data();
    void protokollNurImDebugModus();

private:
    static QString eigeneHilfe() { return QString::fromLocal8Bit(qgetenv("PV_BINARY_DIR")) + "/Projekt.chm"; }
    static QString probe(const QString& name) { return QStringLiteral(PV_TESTDATEN "/chm/") + name; }

    std::unique_ptr<MeldungsRecorder> m_meldungen;
};

void TestHtmlHelp::init()
{
    HtmlHelp::Laden();
    m_meldungen = std::make_unique<MeldungsRecorder>();
}

void TestHtmlHelp::cleanup()
{
    HtmlHelp::HtmlHelpA(nullptr, {}, HtmlHelp::HH_CLOSE_ALL, 0);
    HtmlHelp::FensterLageVerbinden({}, {});
    m_meldungen.reset();
}

// Every topic of the program's help is reachable by its number; 1000 is the start page. The
// help compiler wrote its build folder into the table, which the reader must see through.
void TestHtmlHelp::eigeneHilfeKontexte_data()
{
    QTest::addColumn<quint32>("kontext");
    QTest::addColumn<QString>("thema");
    QTest::newRow("Start") << 1000u << "/start.htm";
    QTest::newRow("Erste Schritte") << 1010u << "/erste-schritte.htm";
    QTest::newRow("Ansichten") << 1020u << "/ansichten.htm";
    QTest::newRow("Stammdaten") << 1030u << "/stammdaten.htm";
    QTest::newRow("Aufgaben") << 1040u << "/aufgaben.htm";
    QTest::newRow("ERP") << 1050u << "/zentora.htm";
    QTest::newRow("Einstellungen") << 1060u << "/einstellungen.htm";
    QTest::newRow("Bericht") << 1070u << "/bericht.htm";
    QTest::newRow("Meldungen") << 1080u << "/meldungen.htm";
    QTest::newRow("nicht vergeben") << 4711u << "";
}

void TestHtmlHelp::eigeneHilfeKontexte()
{
    QFETCH(quint32, kontext);
    QFETCH(QString, thema);
    ChmDatei datei(eigeneHilfe());
    QVERIFY2(datei.offen(), qPrintable(datei.fehlertext()));
    QCOMPARE(datei.themaZuKontext(kontext), thema);
    if (!thema.isEmpty())
        QVERIFY(!datei.lesen(thema).isEmpty());
}

void TestHtmlHelp::eigeneHilfeSystemangaben()
{
    ChmDatei datei(eigeneHilfe());
    QVERIFY(datei.offen());
    QCOMPARE(datei.sprache(), 0x407u);
    QCOMPARE(datei.zeichensatz(), QByteArray("windows-1252"));
    QCOMPARE(datei.titel(), QStringLiteral("Projektverwaltung - Hilfe"));
    QCOMPARE(datei.startseite(), QStringLiteral("/start.htm"));
    QCOMPARE(datei.inhaltsdatei(), QStringLiteral("/Projekt.hhc"));
    QCOMPARE(datei.kontexte().size(), 9);
    // Every page that the contents name is in the file, umlauts in captions decoded.
    const auto inhalt = InhaltsverzeichnisLesen(QString::fromLatin1(datei.lesen(datei.inhaltsdatei())));
    QStringList namen;
    std::function<void(const QList<HilfeEintrag>&)> pruefen = [&](const QList<HilfeEintrag>& liste) {
        for (const auto& e : liste) {
            namen << e.name;
            for (const QString& ziel : e.ziele)
                QVERIFY2(!datei.namensAufloesung(ziel).isEmpty(), qPrintable(ziel));
            pruefen(e.kinder);
        }
    };
    pruefen(inhalt);
    QVERIFY(namen.contains(QStringLiteral("Projekte aus Zentora übernehmen")));
    QCOMPARE(namen.size(), 10);
}

// Files from Microsoft's compiler: every number of the table leads to a stored page, also where
// the alias was spelt in another letter case than the file.
void TestHtmlHelp::fremdeHilfeKontexte_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<int>("anzahl");
    QTest::newRow("scribble 2015") << "vc2015-scribble.chm" << 107;
    QTest::newRow("testhelp 2008") << "vc2008-testhelp.chm" << 35;
    QTest::newRow("ohne Tabelle") << "vc2008-scribble-noivb.chm" << 0;
}

void TestHtmlHelp::fremdeHilfeKontexte()
{
    QFETCH(QString, datei);
    QFETCH(int, anzahl);
    ChmDatei chm(probe(datei));
    QVERIFY(chm.offen());
    const auto kontexte = chm.kontexte();
    QCOMPARE(kontexte.size(), anzahl);
    for (auto it = kontexte.constBegin(); it != kontexte.constEnd(); ++it) {
        QVERIFY2(!it.value().isEmpty(), qPrintable(QString::number(it.key())));
        QVERIFY(!chm.lesen(it.value()).isEmpty());
    }
    QVERIFY(!chm.inhaltsdatei().isEmpty());
}

// Damaged files give a German reason or read nothing; they never crash.
void TestHtmlHelp::defekteDateien_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<bool>("fehlt");
    const QByteArray echt = Testdateien::lesen(probe("vc2015-scribble.chm"));
    QTest::newRow("fehlt") << QByteArray() << true;
    QTest::newRow("leer") << QByteArray("") << false;
    QTest::newRow("Text") << QByteArray("keine Hilfedatei\n") << false;
    QTest::newRow("4 kB") << echt.left(4096) << false;
    QTest::newRow("9 kB") << echt.left(9216) << false;
    QTest::newRow("ohne Ende") << echt.left(echt.size() - 364) << false;
    QByteArray verdorben = echt;
    for (qsizetype i = 0x60; i < verdorben.size(); i += 97)
        verdorben[i] = char(verdorben[i] ^ 0x5A);
    QTest::newRow("verdorben") << verdorben << false;
}

void TestHtmlHelp::defekteDateien()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(bool, fehlt);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath("Projekt.chm");
    if (!fehlt)
        Testdateien::schreibenRoh(pfad, inhalt);
    ChmDatei chm(pfad);
    if (!chm.offen()) {
        QVERIFY(chm.fehlertext().contains(pfad));
        QVERIFY(chm.fehlertext().contains(fehlt ? QStringLiteral("nicht gefunden") : QStringLiteral("beschädigt")));
    }
    // Whatever was left readable: every lookup ends without a crash.
    for (quint32 kontext : chm.kontexte().keys())
        chm.themaZuKontext(kontext);
    for (const QString& name : chm.dateien())
        chm.lesen(name);
    // The help call over such a file shows the reason instead of a window.
    HilfeFenster* fenster = HtmlHelp::HtmlHelpA(nullptr, pfad, HtmlHelp::HH_HELP_CONTEXT, 1000);
    if (!fenster)
        QCOMPARE(m_meldungen->texte().size(), 1);
}

void TestHtmlHelp::namensAufloesung_data()
{
    QTest::addColumn<QString>("verweis");
    QTest::addColumn<QString>("name");
    QTest::newRow("schlicht") << "start.htm" << "/start.htm";
    QTest::newRow("Großschreibung") << "START.HTM" << "/start.htm";
    QTest::newRow("Backslash und Punkte") << ".\\bilder\\..\\start.htm" << "/start.htm";
    QTest::newRow("Anker") << "ansichten.htm#oben" << "/ansichten.htm";
    QTest::newRow("ms-its") << "ms-its:Projekt.chm::/bericht.htm" << "/bericht.htm";
    QTest::newRow("MSITStore") << "mk:@MSITStore:C:\\Hilfe\\Projekt.chm::/bericht.htm" << "/bericht.htm";
    QTest::newRow("Bauordner") << "/home/bau/hilfe/zentora.htm" << "/zentora.htm";
    QTest::newRow("Prozent") << "bilder/ansicht%2Dbearbeiten.png" << "/bilder/ansicht-bearbeiten.png";
    QTest::newRow("fehlt") << "gibtsnicht.htm" << "";
    QTest::newRow("leer") << "" << "";
}

void TestHtmlHelp::namensAufloesung()
{
    QFETCH(QString, verweis);
    QFETCH(QString, name);
    ChmDatei datei(eigeneHilfe());
    QCOMPARE(datei.namensAufloesung(verweis), name);
}

// A page names its charset; without one, the file's language decides (German: Windows-1252).
void TestHtmlHelp::zeichensatz()
{
    QCOMPARE(Zeichensatz::ausSeite("<HTML><META HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=Windows-1252\">"),
             QByteArray("windows-1252"));
    QCOMPARE(Zeichensatz::ausSeite("<html><meta charset='utf-8'>"), QByteArray("utf-8"));
    QCOMPARE(Zeichensatz::ausSeite("<html><body>charset</body>"), QByteArray());
    QCOMPARE(Zeichensatz::ausSprache(0x0407), QByteArray("windows-1252"));
    QCOMPARE(Zeichensatz::ausSprache(0x0807), QByteArray("windows-1252"));
    QCOMPARE(Zeichensatz::ausSprache(0x0415), QByteArray("windows-1250"));
    QCOMPARE(Zeichensatz::ausSprache(0x0419), QByteArray("windows-1251"));
    QCOMPARE(Zeichensatz::ausSprache(0), QByteArray("windows-1252"));
    QCOMPARE(Zeichensatz::dekodieren("Stra\xDF" "e \x84" "gr\xFC" "n\x93 \x92 \x80", "windows-1252"),
             QStringLiteral("Straße „grün“ ’ €"));
    QCOMPARE(Zeichensatz::dekodieren("\xC3\xA4", "utf-8"), QStringLiteral("ä"));
}

// Contents and index files as help authors write them.
void TestHtmlHelp::inhaltsverzeichnis_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("baum");
    QTest::newRow("verschachtelt")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A"><param name="Local" value="a.htm"></OBJECT>
              <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A1"><param name="Local" value="a1.htm"></OBJECT></UL>
              <LI><OBJECT type="text/sitemap"><param name="Name" value="B"><param name="Local" value="b.htm"></OBJECT></UL>)"
        << "A[a.htm](A1[a1.htm]) B[b.htm]";
    QTest::newRow("klein, ohne Anführung, Kommentar")
        << "<ul><!-- <li><object type=text/sitemap><param name=Name value=X></object> -->"
           "<li><object type=text/sitemap><param name=name value=Kunden><param name=local value=kunden\\kunden.htm></object></ul>"
        << "Kunden[kunden\\kunden.htm]";
    QTest::newRow("Ordner ohne Seite, Entitäten")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="&Uuml;bersicht &amp; mehr"></OBJECT>
              <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Gr&#252;n"><param name="Local" value="g.htm"></OBJECT></UL></UL>)"
        << "Übersicht & mehr[](Grün[g.htm])";
    QTest::newRow("überzähliges Listenende")
        << R"(</UL></UL><UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A"><param name="Local" value="a.htm"></OBJECT></UL></UL>)"
        << "A[a.htm]";
    QTest::newRow("Stichwort mit zwei Seiten")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Drucken"><param name="Name" value="Seite 1"><param name="Local" value="x.htm"><param name="Name" value="Seite 2"><param name="Local" value="y.htm"></OBJECT></UL>)"
        << "Drucken[x.htm|y.htm]";
    QTest::newRow("Eigenschaften sind kein Eintrag")
        << R"(<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT><UL></UL>)" << "";
}

void TestHtmlHelp::inhaltsverzeichnis()
{
    QFETCH(QString, html);
    QFETCH(QString, baum);
    std::function<QString(const QList<HilfeEintrag>&)> zeichnen = [&](const QList<HilfeEintrag>& liste) {
        QStringList teile;
        for (const auto& e : liste) {
            QString t = e.name + "[" + e.ziele.join('|') + "]";
            if (!e.kinder.isEmpty())
                t += "(" + zeichnen(e.kinder) + ")";
            teile << t;
        }
        return teile.join(' ');
    };
    QCOMPARE(zeichnen(InhaltsverzeichnisLesen(html)), baum);
}

// The help call opens the topic of the number; an unmapped number shows the start page and
// says so; a second call brings the same window back.
void TestHtmlHelp::fensterZeigtKontext()
{
    HilfeFenster* fenster = HtmlHelp::HtmlHelpA(nullptr, eigeneHilfe(), HtmlHelp::HH_HELP_CONTEXT, 1050);
    QVERIFY(fenster);
    QVERIFY(fenster->isVisible());
    QCOMPARE(fenster->browser()->source().path(), QStringLiteral("/zentora.htm"));
    QCOMPARE(fenster->browser()->documentTitle(), QStringLiteral("Projekte aus Zentora übernehmen"));
    QVERIFY(fenster->browser()->toPlainText().contains(QStringLiteral("Groß- und Kleinschreibung")));
    QVERIFY(fenster->hinweis().isEmpty());
    QCOMPARE(fenster->inhalt()->topLevelItemCount(), 4);
    // A picture of the help window for the eye.
    fenster->kontextZeigen(1000);
    fenster->resize(1000, 700);
    QVERIFY(QTest::qWaitForWindowExposed(fenster));
    const QString ordner = QString::fromLocal8Bit(qgetenv("PV_BINARY_DIR")) + "/bildschirmfotos";
    QDir().mkpath(ordner);
    QVERIFY(fenster->grab().save(ordner + "/hilfe.png"));

    QCOMPARE(HtmlHelp::HtmlHelpA(nullptr, eigeneHilfe(), HtmlHelp::HH_HELP_CONTEXT, 4711), fenster);
    QCOMPARE(fenster->browser()->source().path(), QStringLiteral("/start.htm"));
    QVERIFY(fenster->hinweis().contains(QStringLiteral("4711")));
    QCOMPARE(HtmlHelp::OffeneFenster().size(), 1);

    HtmlHelp::HtmlHelpA(nullptr, {}, HtmlHelp::HH_CLOSE_ALL, 0);
    QVERIFY(HtmlHelp::OffeneFenster().isEmpty());
}

// Links inside the file are followed, with history; pictures and the style sheet come out of
// the file.
void TestHtmlHelp::fensterFolgtVerweisenMitBildUndStil()
{
    HilfeFenster* fenster = HtmlHelp::HtmlHelpA(nullptr, eigeneHilfe(), HtmlHelp::HH_HELP_CONTEXT, 1000);
    QVERIFY(fenster);
    HilfeBrowser* browser = fenster->browser();
    const QVariant bild = browser->loadResource(QTextDocument::ImageResource, QUrl("bilder/ansicht-bearbeiten.png"));
    QVERIFY(QImage::fromData(bild.toByteArray()).width() > 500);
    QVERIFY(browser->loadResource(QTextDocument::StyleSheetResource, QUrl("chm:/hilfe.css")).toString().contains("h1"));

    browser->setSource(QUrl("stammdaten.htm"));
    QCOMPARE(browser->source().path(), QStringLiteral("/stammdaten.htm"));
    QVERIFY(browser->isBackwardAvailable());
    browser->backward();
    QCOMPARE(browser->source().path(), QStringLiteral("/start.htm"));
    // Links into a compiled help file by its Windows name stay in ours.
    browser->setSource(QUrl("ms-its:Projekt.chm::/bericht.htm"));
    QCOMPARE(browser->source().path(), QStringLiteral("/bericht.htm"));
    // The index leads to its pages.
    auto* index = fenster->findChild<QListWidget*>("HilfeIndex");
    QVERIFY(index && index->count() == 21);
}

void TestHtmlHelp::volltextsuche_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("seiten");
    QTest::newRow("Umlaut groß") << "ÜBERNEHMEN" << QStringList{"/start.htm", "/erste-schritte.htm", "/aufgaben.htm", "/zentora.htm", "/einstellungen.htm"};
    QTest::newRow("zwei Wörter") << "csv excel" << QStringList{"/bericht.htm"};
    QTest::newRow("ß") << "GROẞ- und" << QStringList{"/zentora.htm"};
    QTest::newRow("nichts") << "Quantenmechanik" << QStringList{};
    QTest::newRow("leer") << "  " << QStringList{};
}

void TestHtmlHelp::volltextsuche()
{
    QFETCH(QString, text);
    QFETCH(QStringList, seiten);
    ChmDatei datei(eigeneHilfe());
    Volltextsuche suche(datei);
    QStringList gefunden;
    for (const auto& t : suche.suchen(text))
        gefunden << t.name;
    gefunden.sort();
    seiten.sort();
    QCOMPARE(gefunden, seiten);
}

void TestHtmlHelp::versionspruefung_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("reicht");
    QTest::newRow("3.99") << 3 << 99 << false;
    QTest::newRow("4.72") << 4 << 72 << false;
    QTest::newRow("4.73") << 4 << 73 << true;
    QTest::newRow("5.0") << 5 << 0 << true;
}

void TestHtmlHelp::versionspruefung()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, reicht);
    QCOMPARE(HtmlHelp::VersionAusreichend({major, minor, 0, 0}), reicht);
    QVERIFY(HtmlHelp::VersionAusreichend(HtmlHelp::EigeneVersion()));
}

// The help link's handler: context and popup context show the topic, the popup position is
// kept, anything else is left to the application; success in every case.
void TestHtmlHelp::hilfeBefehle_data()
{
    QTest::addColumn<quint16>("befehl");
    QTest::addColumn<qintptr>("daten");
    QTest::addColumn<bool>("behandelt");
    QTest::addColumn<bool>("fensterOffen");
    QTest::newRow("HELP_CONTEXT") << HELP_CONTEXT << qintptr(1000) << true << true;
    QTest::newRow("HELP_CONTEXTPOPUP") << HELP_CONTEXTPOPUP << qintptr(1030) << true << true;
    QTest::newRow("HELP_SETPOPUP_POS") << HELP_SETPOPUP_POS << qintptr(0x00C80064) << true << false;
    QTest::newRow("HELP_QUIT") << quint16(2) << qintptr(0) << false << false;
}

void TestHtmlHelp::hilfeBefehle()
{
    QFETCH(quint16, befehl);
    QFETCH(qintptr, daten);
    QFETCH(bool, behandelt);
    QFETCH(bool, fensterOffen);
    HilfeHandler* vorher = HilfeHandlerSetzen(nullptr);
    {
        // A path as Windows code writes it into a help link, with an encoded blank.
        QTemporaryDir ordner(QDir::tempPath() + "/mit leer-XXXXXX");
        QVERIFY(QFile::copy(eigeneHilfe(), ordner.filePath("Projekt.chm")));
        THookHelpSystem hilfe(QString(ordner.filePath("Projekt.chm")).replace(' ', "%20") + ' ', {});
        QVERIFY(AktuellerHilfeHandler() == &hilfe);
        bool genommen = !behandelt;
        QVERIFY(hilfe.HilfeBefehl(befehl, daten, genommen));
        QCOMPARE(genommen, behandelt);
        QCOMPARE(HtmlHelp::OffeneFenster().size(), fensterOffen ? 1 : 0);
        if (befehl == HELP_SETPOPUP_POS)
            QCOMPARE(hilfe.PopupPosition(), QPoint(100, 200));
        QVERIFY(m_meldungen->texte().isEmpty());
    }
    // Gone with the link: its windows, and the handler it had replaced is back.
    QVERIFY(HtmlHelp::OffeneFenster().isEmpty());
    QVERIFY(AktuellerHilfeHandler() == nullptr);
    HilfeHandlerSetzen(vorher);
}

void TestHtmlHelp::ohneHilfeSteuerung()
{
    HtmlHelp::ZustandSetzen({});
    THookHelpSystem hilfe(eigeneHilfe(), {});
    QVERIFY(AnwendungHilfeKontext(1000));
    QVERIFY(AnwendungHilfeKontext(1000));
    QCOMPARE(m_meldungen->texte(), QStringList(2, QStringLiteral("MS Html Help is not installed on this PC.")));
    QCOMPARE(m_meldungen->meldungen.first().first, Meldung::Art::Warnung);
    QVERIFY(HtmlHelp::OffeneFenster().isEmpty());
}

// The help window opens where it was closed.
void TestHtmlHelp::fensterLageBleibt()
{
    QRect gemerkt(40, 50, 700, 500);
    HtmlHelp::FensterLageVerbinden([&] { return gemerkt; }, [&](const QRect& r) { gemerkt = r; });
    HilfeFenster* fenster = HtmlHelp::HtmlHelpA(nullptr, eigeneHilfe(), HtmlHelp::HH_HELP_CONTEXT, 1000);
    QCOMPARE(fenster->size(), QSize(700, 500));
    fenster->resize(640, 480);
    fenster->close();
    QCOMPARE(gemerkt.size(), QSize(640, 480));
}

void TestHtmlHelp::protokollNurImDebugModus_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<bool>("debugDatei");
    QTest::addColumn<bool>("debug");
    QTest::newRow("aus") << QStringList{"prog"} << false << false;
    QTest::newRow("/DEBUG") << QStringList{"prog", "/DEBUG"} << false << true;
    QTest::newRow("-debug") << QStringList{"prog", "-debug"} << false << true;
    QTest::newRow("debug.debug") << QStringList{"prog"} << true << true;
    QTest::newRow("nur Programmname") << QStringList{"/debug"} << false << false;
}

void TestHtmlHelp::protokollNurImDebugModus()
{
    QFETCH(QStringList, argumente);
    QFETCH(bool, debugDatei);
    QFETCH(bool, debug);
    QTemporaryDir ordner;
    const QString datei = ordner.filePath("HHDebug.txt");
    Testdateien::schreibenRoh(datei, "alt\n");
    if (debugDatei)
        Testdateien::schreibenRoh(ordner.filePath("debug.debug"), {});
    HilfeProtokoll::Einrichten(ordner.path(), argumente, "1.0.0.1", "5.2.0.0");
    QCOMPARE(HilfeProtokoll::DebugModus(), debug);
    {
        THookHelpSystem hilfe(eigeneHilfe(), {});
        bool behandelt = false;
        hilfe.HilfeBefehl(HELP_CONTEXT, 1000, behandelt);
    }
    const QString text = QString::fromUtf8(Testdateien::lesen(datei));
    if (!debug) {
        QVERIFY(!QFile::exists(datei));
    } else {
        QVERIFY(text.startsWith("!Log File:             " + datei));
        QVERIFY(text.contains("!_hhVerStr =         5.2.0.0"));
        QVERIFY(text.contains("1 (HELP_CONTEXT)"));
        QVERIFY(text.contains("THookHelpSystem.Destroy"));
        QVERIFY(!text.contains("alt"));
    }
    HilfeProtokoll::Einrichten(ordner.path(), {"prog"}, {}, {});
}

QTEST_MAIN(TestHtmlHelp)
#include "tst_htmlhelp.moc"
