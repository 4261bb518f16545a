#include "DataModule1.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "ProjektSuche.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The search over the edit view's projects on a real database of twelve projects, a few of
// them named with umlauts and ß in different spellings; projects 4, 8 and 12 are hidden from
// the edit view by "EV", projects 3, 6, 9 and 12 from the public view by "PV".
class TestProjektSuche : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void suchen_data();
    void suchen();
    void tippenStrgFUndEsc();
    void refreshUndOeffentlicheAnsicht();
    void neueUndGeaenderteProjekte();
    void nichtSpeicherbareAenderung();
    void aenderungenEinesAnderenProgramms();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    void sql(const QStringList& anweisungen);
    void fensterZeigen();
    QStringList gezeigteProjekte() const;
    int aktuellesProjekt() const { return m_module1->TabProjekt->FieldByName(QStringLiteral("ID"))->AsInteger(); }
    // The task grid shows exactly the tasks of the project.
    void aufgabenVon(int projekt);

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDataModule1> m_module1;
    std::unique_ptr<TFormProjektMain> m_fenster;
    std::unique_ptr<TDataModule2> m_module2;
};

namespace {

// Types like a keyboard, umlauts included.
void tippen(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

} // namespace

void TestProjektSuche::sql(const QStringList& anweisungen)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test"));
        db.setDatabaseName(pfad(QStringLiteral("PROJEKT.MDB")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& text : anweisungen)
            QVERIFY2(q.exec(text), qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
}

void TestProjektSuche::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    const QString datei = pfad(QStringLiteral("PROJEKT.MDB"));
    DatenbankWerkzeug::anlegen(datei);
    DatenbankWerkzeug::demoDatenEinfuegen(datei, 12, QDate(2024, 5, 6));
    sql({QStringLiteral("update Projekt set Kommnr = printf('P%02d', ID), Bezeichn = 'Projekt ' || ID, Baustelle = null, "
                        "Konto = null, KundenKey = null, Betreff_ges = null, EV_Sichtbar = (ID % 4 <> 0), "
                        "PV_Sichtbar = (ID % 3 <> 0)"),
         QStringLiteral("update Projekt set Bezeichn = 'Müller GmbH' where ID = 1"),
         QStringLiteral("update Projekt set Bezeichn = 'Mueller & Söhne' where ID = 2"),
         QStringLiteral("update Projekt set Baustelle = 'Hauptstraße 5' where ID = 3"),
         QStringLiteral("update Projekt set Betreff_ges = 'Umbau Strasse Nord' where ID = 4"),
         QStringLiteral("update Projekt set KundenKey = 'SCHÄFER' where ID = 5"),
         QStringLiteral("update Projekt set Konto = '2024-017' where ID = 6")});
    IniAnlegen();
    IniRecord.AnzahlStatus = 6;
    IniRecord.Startansicht = 0;
    HtmlHelp::Laden();
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_module1 = std::make_unique<TDataModule1>();
    m_module1->DBProjekt->setDatabaseName(datei);
    m_module1->DBProjekt->Open();
    m_module1->DatenmengenOeffnen();
}

void TestProjektSuche::cleanup()
{
    m_module2.reset();
    m_fenster.reset();
    m_module1.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestProjektSuche::fensterZeigen()
{
    m_fenster = std::make_unique<TFormProjektMain>();
    m_module2 = std::make_unique<TDataModule2>(m_fenster.get());
    m_fenster->show();
    m_fenster->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_fenster.get()));
}

QStringList TestProjektSuche::gezeigteProjekte() const
{
    const TKADaoTable* projekt = m_module1->TabProjekt;
    const int kommnr = projekt->FieldByName(QStringLiteral("Kommnr"))->Index();
    QStringList liste;
    for (int i = 0; i < projekt->RowCount(); ++i)
        liste << projekt->RowValue(i, kommnr).toString();
    return liste;
}

void TestProjektSuche::aufgabenVon(int projekt)
{
    TKADaoTable* aufgaben = m_module1->TabProjektAufgaben;
    QVERIFY(aufgaben->RecordCount() > 0);
    const int feld = aufgaben->FieldByName(QStringLiteral("Projekt_ID"))->Index();
    for (int i = 0; i < aufgaben->RowCount(); ++i)
        QCOMPARE(aufgaben->RowValue(i, feld).toInt(), projekt);
    QCOMPARE(m_fenster->NextDBGridAufgaben->model()->rowCount(), aufgaben->RowCount());
}

// Number, name, site, customer and subject in any spelling, alone and under the "EV" filter,
// with the count the status bar shows.
void TestProjektSuche::suchen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("evFilter");
    QTest::addColumn<QStringList>("projekte");
    QTest::addColumn<QString>("status");

    const QStringList mueller{QStringLiteral("P01"), QStringLiteral("P02")};
    QTest::newRow("Umlaut") << QStringLiteral("müller") << false << mueller << QStringLiteral("2 von 12 Projekten");
    QTest::newRow("ue, groß") << QStringLiteral("MUELLER") << false << mueller << QStringLiteral("2 von 12 Projekten");
    QTest::newRow("ohne Umlaut") << QStringLiteral("muller") << false << mueller << QStringLiteral("2 von 12 Projekten");
    QTest::newRow("ss: Baustelle und Betreff") << QStringLiteral("strasse") << false
                                               << QStringList{QStringLiteral("P03"), QStringLiteral("P04")}
                                               << QStringLiteral("2 von 12 Projekten");
    QTest::newRow("ß mit EV-Filter") << QStringLiteral("Straße") << true << QStringList{QStringLiteral("P03")}
                                     << QStringLiteral("1 von 9 Projekten");
    QTest::newRow("Kundenschlüssel") << QStringLiteral("schafer") << false << QStringList{QStringLiteral("P05")}
                                     << QStringLiteral("1 von 12 Projekten");
    QTest::newRow("Kundenkonto") << QStringLiteral("2024-01") << false << QStringList{QStringLiteral("P06")}
                                 << QStringLiteral("1 von 12 Projekten");
    QTest::newRow("Projektnummer") << QStringLiteral("p07") << false << QStringList{QStringLiteral("P07")}
                                   << QStringLiteral("1 von 12 Projekten");
    QTest::newRow("Name mit EV-Filter") << QStringLiteral("projekt 1") << true
                                        << QStringList{QStringLiteral("P10"), QStringLiteral("P11")}
                                        << QStringLiteral("2 von 9 Projekten");
    QTest::newRow("nichts gefunden") << QStringLiteral("Zimmerei") << false << QStringList{}
                                     << QStringLiteral("0 von 12 Projekten");
    QTest::newRow("nur Leerzeichen") << QStringLiteral("  ") << true
                                     << QStringList{"P01", "P02", "P03", "P05", "P06", "P07", "P09", "P10", "P11"} << QString();
}

void TestProjektSuche::suchen()
{
    QFETCH(QString, text);
    QFETCH(bool, evFilter);
    QFETCH(QStringList, projekte);
    QFETCH(QString, status);
    TKADaoTable* projekt = m_module1->TabProjekt;
    if (evFilter) {
        projekt->setFilter(QStringLiteral("EV_Sichtbar"));
        projekt->setFiltered(true);
    }
    TProjektSuche suche(projekt);
    suche.setText(text);
    QCOMPARE(gezeigteProjekte(), projekte);
    QCOMPARE(suche.statusText(), status);
    // The empty text gives every project back.
    suche.setText(QString());
    QCOMPARE(projekt->RecordCount(), evFilter ? 9 : 12);
    QVERIFY(suche.statusText().isEmpty());
}

// Ctrl+F goes to the field; each keystroke narrows the grid; the current project stays current
// while it is found, and the task grid shows the current project's tasks; Esc gives every
// project back and, in an empty field, returns to the grid.
void TestProjektSuche::tippenStrgFUndEsc()
{
    fensterZeigen();
    TKADaoTable* projekt = m_module1->TabProjekt;
    QVERIFY(projekt->Locate(QStringLiteral("ID"), 2));
    QLineEdit* feld = m_fenster->EditSuche;
    QLabel* status = m_fenster->lblSuche;
    QVERIFY(!status->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), feld);
    tippen(feld, QStringLiteral("mü"));
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P01"), QStringLiteral("P02")}));
    QCOMPARE(m_fenster->NextDBGridProjekte->model()->rowCount(), 2);
    QVERIFY(status->isVisible());
    QCOMPARE(status->text(), QStringLiteral("2 von 12 Projekten"));
    QCOMPARE(aktuellesProjekt(), 2);
    aufgabenVon(2);

    // The current project is no longer found: the first one found becomes current.
    tippen(feld, QStringLiteral("ller gmbh"));
    QCOMPARE(gezeigteProjekte(), QStringList{QStringLiteral("P01")});
    QCOMPARE(status->text(), QStringLiteral("1 von 12 Projekten"));
    QCOMPARE(aktuellesProjekt(), 1);
    aufgabenVon(1);

    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(feld->text().isEmpty());
    QCOMPARE(m_fenster->NextDBGridProjekte->model()->rowCount(), 12);
    QVERIFY(!status->isVisible());
    QCOMPARE(aktuellesProjekt(), 1);
    QCOMPARE(QApplication::focusWidget(), feld);
    QTest::keyClick(feld, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), m_fenster->NextDBGridProjekte);
}

// "Refresh" adds the "EV" filter under an active search; the public view lists its own
// projects whatever is searched, and the count belongs to the edit view.
void TestProjektSuche::refreshUndOeffentlicheAnsicht()
{
    fensterZeigen();
    m_fenster->EditSuche->setText(QStringLiteral("strasse"));
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("2 von 12 Projekten"));
    m_module2->Action(QStringLiteral("ActionAnsichtRefresh"))->trigger();
    QCOMPARE(gezeigteProjekte(), QStringList{QStringLiteral("P03")});
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("1 von 9 Projekten"));

    m_fenster->ActionAnsichtExecute();
    QCOMPARE(m_module1->TabProjektView->RecordCount(), 8);
    QCOMPARE(m_fenster->NextDBGridPublicView->model()->rowCount(), 8);
    QVERIFY(!m_fenster->lblSuche->isVisible());
    m_fenster->ActionAnsichtExecute();
    QVERIFY(m_fenster->lblSuche->isVisible());
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("1 von 9 Projekten"));
}

// A project added or changed during a search stays in sight until the search changes; a changed
// name is found by its new text, no longer by its old one.
void TestProjektSuche::neueUndGeaenderteProjekte()
{
    fensterZeigen();
    TKADaoTable* projekt = m_module1->TabProjekt;
    // Going to the field prepares every project's text: a change afterwards must still count.
    m_fenster->EditSuche->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_fenster->EditSuche);
    m_fenster->EditSuche->setText(QStringLiteral("müller"));

    projekt->Append();
    projekt->FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("P13"));
    projekt->FieldByName(QStringLiteral("Bezeichn"))->setAsString(QStringLiteral("Anders"));
    projekt->FieldByName(QStringLiteral("EV_Sichtbar"))->setAsBoolean(true);
    projekt->Post();
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P01"), QStringLiteral("P02"), QStringLiteral("P13")}));
    QCOMPARE(projekt->FieldByName(QStringLiteral("Kommnr"))->AsString(), QStringLiteral("P13"));
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("3 von 13 Projekten"));

    // A change still pending is posted before the search changes.
    QVERIFY(projekt->Locate(QStringLiteral("ID"), 1));
    projekt->Edit();
    projekt->FieldByName(QStringLiteral("Bezeichn"))->setAsString(QStringLiteral("Schmidt GmbH"));
    m_fenster->EditSuche->setText(QStringLiteral("schmidt"));
    QCOMPARE(projekt->State(), TDataSetState::dsBrowse);
    QCOMPARE(gezeigteProjekte(), QStringList{QStringLiteral("P01")});
    QCOMPARE(aktuellesProjekt(), 1);
    m_fenster->EditSuche->setText(QStringLiteral("müller"));
    QCOMPARE(gezeigteProjekte(), QStringList{QStringLiteral("P02")});
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("1 von 13 Projekten"));
    for (const auto& [art, text] : std::as_const(m_meldungen->meldungen))
        QVERIFY2(art == Meldung::Art::Information, qPrintable(text));
}

// A pending change that cannot be posted keeps the search from changing: the change stays in the
// edit, the field shows the search still in force, and the message says why.
void TestProjektSuche::nichtSpeicherbareAenderung()
{
    fensterZeigen();
    TKADaoTable* projekt = m_module1->TabProjekt;
    m_fenster->EditSuche->setText(QStringLiteral("müller"));
    projekt->Edit();
    const QString zuLang = QStringLiteral("Müller GmbH & Co. KG Metallbau Nord");   // 35 characters, the column holds 30
    projekt->FieldByName(QStringLiteral("Bezeichn"))->setAsString(zuLang);

    tippen(m_fenster->EditSuche, QStringLiteral("x"));
    QCOMPARE(m_fenster->EditSuche->text(), QStringLiteral("müller"));
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P01"), QStringLiteral("P02")}));
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("2 von 12 Projekten"));
    QCOMPARE(projekt->State(), TDataSetState::dsEdit);
    QCOMPARE(projekt->FieldByName(QStringLiteral("Bezeichn"))->AsString(), zuLang);
    QCOMPARE(m_meldungen->meldungen.last().first, Meldung::Art::Fehler);
    QVERIFY2(m_meldungen->meldungen.last().second.contains(QStringLiteral("Bezeichn")),
             qPrintable(m_meldungen->meldungen.last().second));
    projekt->Cancel();
}

// The list holds the searched fields of no project: a project another program renamed is found
// by its new name once the list read it again by its key, and after the list read all its rows
// anew (Refresh) the search reads the fields again, without a message.
void TestProjektSuche::aenderungenEinesAnderenProgramms()
{
    fensterZeigen();
    m_fenster->EditSuche->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_fenster->EditSuche);
    m_fenster->EditSuche->setText(QStringLiteral("müller"));
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P01"), QStringLiteral("P02")}));

    sql({QStringLiteral("update Projekt set Bezeichn = 'Müller Bau' where ID = 5"),
         QStringLiteral("update Projekt set Bezeichn = 'Projekt 1' where ID = 1")});
    m_module1->TabProjekt->SchluesselNachlesen({1, 5});
    m_fenster->EditSuche->setText(QStringLiteral("mülle"));
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P02"), QStringLiteral("P05")}));

    sql({QStringLiteral("update Projekt set Bezeichn = 'Anders' where ID = 2"),
         QStringLiteral("update Projekt set Baustelle = 'Müllerweg 3' where ID = 7")});
    m_module1->TabProjekt->Requery();
    QCOMPARE(gezeigteProjekte(), (QStringList{QStringLiteral("P05"), QStringLiteral("P07")}));
    m_fenster->EditSuche->setText(QStringLiteral("müllerw"));
    QCOMPARE(gezeigteProjekte(), QStringList{QStringLiteral("P07")});
    QCOMPARE(m_fenster->lblSuche->text(), QStringLiteral("1 von 12 Projekten"));
    for (const auto& [art, text] : std::as_const(m_meldungen->meldungen))
        QVERIFY2(art == Meldung::Art::Information, qPrintable(text));
}

QTEST_MAIN(TestProjektSuche)
#include "tst_projektsuche.moc"
