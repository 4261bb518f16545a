// The search dialog on real ERP files: listing in number order, sorting on entering an edit,
// type-ahead search, take-over from the selected row, read failures part-way, the genuine
// sample files, geometry, and a picture of the dialog.

#include "DataModule1.h"
#include "BefehlsKnopf.h"
#include "DatenGitter.h"
#include "ErpProjektModell.h"
#include "ErpTestdaten.h"
#include "IniRecord.h"
#include "MasterDatei.h"
#include "MeldungsRecorder.h"
#include "Oberflaechenschrift.h"
#include "Testdateien.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"
#include "UnitSucheProjekt.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace ErpTestdaten;

namespace {

// Types text as a user would, umlauts included (keyClicks only takes ASCII).
void tippen(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// Projects written in a muddled order; the file's key 6 lists them by number.
std::vector<ErpSatz> projekte()
{
    return {
        kurzerSatz(QStringLiteral("24-0105"), QStringLiteral("Zeller Bau"), QStringLiteral("Ulm"), QStringLiteral("Dach")),
        kurzerSatz(QStringLiteral("24-0101"), QStringLiteral("Öztürk GmbH"), QStringLiteral("Aalen"), QStringLiteral("Heizung")),
        kurzerSatz(QStringLiteral("24-0103"), QStringLiteral("ABT Wohnbau"), QStringLiteral("Biberach"), QStringLiteral("Sanitär")),
        kurzerSatz(QStringLiteral("24-0102"), QStringLiteral("Ärztehaus Nord"), QStringLiteral("Ehingen"), QStringLiteral("Lüftung")),
        kurzerSatz(QStringLiteral("24-0104"), QStringLiteral("abel & Söhne"), QStringLiteral("Öpfingen"), QStringLiteral("Bad")),
        kurzerSatz(QStringLiteral("24-0100"), QStringLiteral("Müller"), QStringLiteral("Laupheim"), QStringLiteral("Elektro")),
    };
}

QStringList spalte(const TFormSucheProjekt& d, int s)
{
    QStringList werte;
    for (int i = 0; i < d.Modell->rowCount(); ++i)
        werte << d.Modell->zelle(i, s);
    return werte;
}

int aktuelleZeile(const TFormSucheProjekt& d) { return d.NextGrid1->currentIndex().row(); }

} // namespace

class TstSucheDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    QString m_vorher;
    std::unique_ptr<TestDatenbank> m_db;
    std::unique_ptr<TDataModule1> m_dm;

    QString erpOrdner(const QString& name) const { return m_ordner.filePath(name); }

    // The dialog over the ERP file in that folder, shown and active.
    std::unique_ptr<TFormSucheProjekt> zeigen(const QString& ordner, QWidget* eltern = nullptr)
    {
        IniRecord.MasterVerzeichnis = ordner;
        auto dialog = std::make_unique<TFormSucheProjekt>(eltern);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("Fenster nicht aktiv");
        return dialog;
    }

private slots:
    void initTestCase()
    {
        // The settings file is written where the program runs.
        m_vorher = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_ordner.path()));
        IniAnlegen();
        m_db = std::make_unique<TestDatenbank>();
        m_db->grunddaten();
        m_dm = std::make_unique<TDataModule1>();
        m_dm->DBProjekt->setDatabaseName(m_db->pfad);
        m_dm->DBProjekt->Open();
        m_dm->DatenmengenOeffnen();
        dateiSchreiben(erpOrdner(QStringLiteral("erp")), projekte());
        dateiSchreiben(erpOrdner(QStringLiteral("leer")), {});
    }

    void cleanupTestCase()
    {
        m_dm.reset();
        m_db.reset();
        QDir::setCurrent(m_vorher);
    }

    void init() { IniRecord.AufgabenAutomatik = 0; }

    // Opening: every record listed by number, the number edit entered, the first row chosen.
    void oeffnen()
    {
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("erp")));
        QCOMPARE(meldungen.texte(), QStringList());
        QCOMPARE(spalte(*d, 0), QStringList({"24-0100", "24-0101", "24-0102", "24-0103", "24-0104", "24-0105"}));
        QCOMPARE(d->Modell->zelle(1, 1), QStringLiteral("Öztürk GmbH"));
        QCOMPARE(QApplication::focusWidget(), d->editProjekt);
        QCOMPARE(d->NextGrid1->horizontalHeader()->sortIndicatorSection(), 0);
        QCOMPARE(aktuelleZeile(*d), 0);
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0100"));
        QCOMPARE(d->Label1->text(), QStringLiteral("24-0100"));
        QCOMPARE(d->windowTitle(), QStringLiteral("Projekt suchen"));
        QCOMPARE(d->btnSelect->text(), QStringLiteral("Übernehmen"));
        QCOMPARE(d->btnClose->text(), QStringLiteral("Beenden"));
    }

    // Entering an edit sorts by its column and chooses the first row; typing chooses the first
    // row beginning with the text in any case; no match keeps the row; clearing goes to the top.
    void suchenImKunden()
    {
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("erp")));
        QTest::mouseClick(d->EditKunde, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), d->EditKunde);
        QCOMPARE(spalte(*d, 1), QStringList({"abel & Söhne", "ABT Wohnbau", "Ärztehaus Nord", "Müller", "Öztürk GmbH", "Zeller Bau"}));
        QCOMPARE(d->NextGrid1->horizontalHeader()->sortIndicatorSection(), 1);
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0104"));

        QTest::keyClicks(d->EditKunde, QStringLiteral("ab"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0104"));
        QTest::keyClicks(d->EditKunde, QStringLiteral("T"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0103"));
        QCOMPARE(d->Label1->text(), QStringLiteral("24-0103"));
        QTest::keyClicks(d->EditKunde, QStringLiteral("x"));   // "abTx": nothing, the row stays
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0103"));

        d->EditKunde->clear();
        tippen(d->EditKunde, QStringLiteral("ä"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0102"));
        d->EditKunde->clear();
        tippen(d->EditKunde, QStringLiteral("ÖZ"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0101"));

        d->EditKunde->clear();
        QCOMPARE(aktuelleZeile(*d), 0);
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0104"));

        // The next edit sorts by its own column; the chosen row follows the mouse too.
        QTest::mouseClick(d->EditBaustelle, Qt::LeftButton);
        QCOMPARE(spalte(*d, 2).first(), QStringLiteral("Aalen"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0101"));
        tippen(d->EditBaustelle, QStringLiteral("öp"));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0104"));
        d->NextGrid1->setCurrentIndex(d->Modell->index(2, 3));
        QCOMPARE(d->AuswahlKommnr(), d->Modell->zelle(2, 0));
        QCOMPARE(meldungen.texte(), QStringList());
    }

    // "Übernehmen" takes the chosen row over; the dialog stays open with its list; the seam of
    // the task window is handed on to the take-over.
    void uebernehmenAusDerListe()
    {
        IniRecord.AufgabenAutomatik = 1;
        QList<QPair<QString, int>> aufrufe;
        AufgabenFensterNachUebernahme = [&](const QString& kommnr, int id) { aufrufe.append({kommnr, id}); };
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("erp")));
        tippen(d->editProjekt, QStringLiteral("24-0102"));

        // Coming back to the window (after a message box, from another program) is no entering
        // of the edit: the chosen row stays.
        QWidget anderes;
        anderes.show();
        QApplication::setActiveWindow(&anderes);
        QVERIFY(QTest::qWaitForWindowActive(&anderes));
        QApplication::setActiveWindow(d.get());
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QCOMPARE(QApplication::focusWidget(), d->editProjekt);
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0102"));

        QTest::mouseClick(d->btnSelect, Qt::LeftButton);
        AufgabenFensterNachUebernahme = nullptr;

        QCOMPARE(meldungen.texte(), QStringList());
        QVERIFY(m_dm->TabProjekt->Locate(QStringLiteral("Kommnr"), QStringLiteral("24-0102")));
        QCOMPARE(m_dm->TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->AsString(), QStringLiteral("Ärztehaus Nord"));
        QCOMPARE(aufrufe.size(), 1);
        QCOMPARE(aufrufe.first().first, QStringLiteral("24-0102"));
        QVERIFY(d->isVisible());
        QCOMPARE(d->Modell->rowCount(), 6);

        QTest::mouseClick(d->btnSelect, Qt::LeftButton);
        QCOMPARE(meldungen.texte(), QStringList({QStringLiteral("Projekt schon vorhanden!")}));
    }

    // An empty file: its end is reported once, nothing is listed or chosen, and "Übernehmen"
    // asks for a choice instead of looking up an empty number.
    void leereDatei()
    {
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("leer")));
        QCOMPARE(d->Modell->rowCount(), 0);
        QVERIFY(d->AuswahlKommnr().isEmpty());
        QCOMPARE(d->Label1->text(), QStringLiteral("Label1"));
        d->ActionProjektSucheSelect->trigger();
        QCOMPARE(meldungen.texte(), QStringList({QStringLiteral("Btrieve-Fehler: 9\nDie ERP-Datei enthält keine (weiteren) Projekte."),
                                                 QStringLiteral("Bitte zuerst ein Projekt auswählen.")}));
    }

    // A missing file is reported when the dialog is made; nothing is listed; releasing the
    // dialog still closes, and the engine's refusal of that is reported too.
    void dateiFehlt()
    {
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("gibtsnicht")));
        QCOMPARE(d->Modell->rowCount(), 0);
        QCOMPARE(meldungen.texte(),
                 QStringList({QStringLiteral("Btrieve-Fehler: 12\nDie ERP-Datei wurde nicht gefunden: ") + MasterDateiPfad()}));
        d.reset();
        QCOMPARE(meldungen.texte().size(), 2);
        QCOMPARE(meldungen.texte().last(), QStringLiteral("Btrieve-Fehler: 3\nDie ERP-Datei ist nicht geöffnet."));
    }

    // A record that no longer matches its index stops the walk: the rows read before it stay.
    void dateiBrichtMittendrinAb()
    {
        const QString ordner = erpOrdner(QStringLiteral("kaputt"));
        std::vector<ErpSatz> saetze = projekte();
        ErpSatz defekt;
        defekt.text("Konto", QStringLiteral("ZZ-DEFEKT")).text("Kommnr", QStringLiteral("24-0103a")).text("Bezeichn", QStringLiteral("Zz"));
        saetze.push_back(defekt);
        dateiSchreiben(ordner, saetze);
        const QString pfad = ordner + QStringLiteral("/ZT_FKT_1.DAT");
        QByteArray datei = Testdateien::lesen(pfad);
        QByteArray satzAnfang("\x09ZZ-DEFEKT", 10);
        satzAnfang.append(QByteArray(6, '\0')).append("\x08" "24-0103a");
        const qsizetype stelle = datei.indexOf(satzAnfang);
        QVERIFY(stelle >= 0);
        datei[stelle + 16 + 8] = 'b';   // the record now says 24-0103b, its index entry 24-0103a
        Testdateien::schreibenRoh(pfad, datei);

        MeldungsRecorder meldungen;
        auto d = zeigen(ordner);
        QCOMPARE(spalte(*d, 0), QStringList({"24-0100", "24-0101", "24-0102", "24-0103"}));
        QCOMPARE(meldungen.texte(), QStringList({QStringLiteral("Btrieve-Fehler: 2\nDie ERP-Datei ist beschädigt, gesperrt oder nicht lesbar.")}));
        QCOMPARE(d->AuswahlKommnr(), QStringLiteral("24-0100"));
    }

    // Each genuine Btrieve file is either listed without a word or refused with its status and
    // what it means; nothing is taken into the database either way.
    void echteBtrieveDateien_data()
    {
        QTest::addColumn<QString>("datei");
        for (const QString& name : QDir(QStringLiteral(PV_TESTDATEN "/btrieve")).entryList({QStringLiteral("*.DAT")}))
            QTest::newRow(qPrintable(name)) << name;
    }

    void echteBtrieveDateien()
    {
        QFETCH(QString, datei);
        const QString ordner = erpOrdner(QStringLiteral("echt-") + datei);
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QFile::copy(QStringLiteral(PV_TESTDATEN "/btrieve/") + datei, ordner + QStringLiteral("/ZT_FKT_1.DAT")));
        const qlonglong vorher = m_db->wert(QStringLiteral("SELECT count(*) FROM Projekt")).toLongLong();
        MeldungsRecorder meldungen;
        {
            auto d = zeigen(ordner);
            if (meldungen.texte().isEmpty()) {
                QVERIFY(d->Modell->rowCount() > 0);
            } else {
                QCOMPARE(meldungen.texte().size(), 1);
                const QStringList zeilen = meldungen.texte().first().split(QLatin1Char('\n'));
                QCOMPARE(zeilen.size(), 2);
                QVERIFY2(zeilen[0].startsWith(QStringLiteral("Btrieve-Fehler: ")), qPrintable(zeilen[0]));
                QVERIFY(!zeilen[1].isEmpty());
                QCOMPARE(d->Modell->rowCount(), 0);
            }
            qInfo() << datei << d->Modell->rowCount() << "Zeilen" << meldungen.texte();
        }
        QCOMPARE(m_db->wert(QStringLiteral("SELECT count(*) FROM Projekt")).toLongLong(), vorher);
    }

    // Place and size come from the settings and go back to them on closing, whatever closes the
    // dialog; closing empties the list and releasing the dialog closes the ERP file.
    void lageUndSchliessen()
    {
        IniRecord.SucheFensterLeft = 40;
        IniRecord.SucheFensterTop = 30;
        IniRecord.SucheFensterWidth = 800;
        IniRecord.SucheFensterHeight = 500;
        FensterSchreiben(QStringLiteral("SucheFenster"));
        IniRecord.SucheFensterWidth = 0;
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("erp")));
        QCOMPARE(d->size(), QSize(800, 500));
        QCOMPARE(d->btnClose->geometry().right(), d->PanelBottom->width() - 18 - 1);
        d->resize(760, 480);
        QTest::keyClick(d.get(), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->Modell->rowCount(), 0);
        IniRecord.SucheFensterWidth = 0;
        FensterLesen(QStringLiteral("SucheFenster"));
        QCOMPARE(IniRecord.SucheFensterWidth, 760);
        QCOMPARE(IniRecord.SucheFensterHeight, 480);

        d.reset();
        QCOMPARE(MasterNaechsterSatz(), int16_t(3));   // the file is closed
        QCOMPARE(meldungen.texte(), QStringList());
    }

    // A picture of the dialog as the office sees it over the demo projects, with a row chosen by
    // the customer search.
    void bildschirmfoto()
    {
        dateiSchreiben(erpOrdner(QStringLiteral("demo")), erpdemo::demoProjekte());
        const QString fotos = qEnvironmentVariable("PV_BINARY_DIR") + QStringLiteral("/bildschirmfotos");
        QVERIFY(QDir().mkpath(fotos));
        QWidget eltern;
        eltern.setFont(Oberflaechenschrift(8));
        IniRecord.SucheFensterWidth = 715;
        IniRecord.SucheFensterHeight = 427;
        FensterSchreiben(QStringLiteral("SucheFenster"));
        MeldungsRecorder meldungen;
        auto d = zeigen(erpOrdner(QStringLiteral("demo")), &eltern);
        QTest::mouseClick(d->EditKunde, Qt::LeftButton);
        tippen(d->EditKunde, QStringLiteral("stadtw"));
        QCOMPARE(d->Modell->zelle(aktuelleZeile(*d), 1), QStringLiteral("Stadtwerke Überlingen"));
        QVERIFY(d->grab().save(fotos + QStringLiteral("/projekt-suchen.png")));
        QCOMPARE(d->font().family(), Oberflaechenschrift(8).family());
    }
};

QTEST_MAIN(TstSucheDialog)
#include "tst_suchedialog.moc"
