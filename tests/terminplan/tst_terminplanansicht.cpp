// The "Terminplan" page beside the task grid in the main window, on a small project database:
// its rows follow the current project and the task dataset, bars are coloured by rank, today
// is marked, and a click makes a task the current one of the dataset and the task grid.
#include "DataModule1.h"
#include "DatenGitter.h"
#include "GitterDelegate.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TerminplanAnsicht.h"
#include "TestDatenbank.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QTabWidget>
#include <QtTest>

namespace {

const QDate Heute(2026, 12, 10);

QDate dezember(int tag)
{
    return QDate(2026, 12, tag);
}

} // namespace

class TestTerminplanAnsicht : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folgtProjektUndAufgaben();
    void klickWaehltAufgabe();
    void farbenUndHeute();

private:
    void zeigen();
    QPoint punkt(const QPoint& geometriePunkt) const { return m_ansicht->ansichtsPunkt(geometriePunkt); }

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<TestDatenbank> m_db;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDataModule1> m_daten;
    std::unique_ptr<TFormProjektMain> m_fenster;
    std::unique_ptr<TDataModule2> m_befehle;
    TTerminplanAnsicht* m_ansicht = nullptr;
};

// Two projects: 26-1001 with a finished task (rank 4 of 4), one without dates and one in
// progress (rank 1); 26-1002 with one task.
void TestTerminplanAnsicht::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    m_vorher = QDir::currentPath();
    QDir::setCurrent(m_ordner->path());
    IniAnlegen();
    IniRecord.AnzahlStatus = 5;
    IniRecord.Startansicht = 0;
    m_db = std::make_unique<TestDatenbank>();
    m_db->fremd(QStringLiteral(
        "INSERT INTO Status (ID, Stat_Bezeichnung, Stat_Rang) VALUES (1, 'unbearbeitet', 0), (2, 'in Arbeit', 1), "
        "(5, 'erledigt', 4);"
        "INSERT INTO Personal (ID, Nummer, Name) VALUES (1, 'M1', 'Anna Groß');"
        "INSERT INTO Projekt (ID, Kommnr, Bezeichn, EV_Sichtbar, PV_Sichtbar) VALUES (1, '26-1001', 'Huber', 1, 1), "
        "(2, '26-1002', 'Schmid', 1, 1);"
        "INSERT INTO ProjektAufgaben (Projekt_ID, Bezeichnung, Datum_von, Datum_bis, Mitarbeiter, Status_ID, Prioritaet) VALUES "
        "(1, 'Aufmaß', '2026-12-07 00:00:00', '2026-12-09 00:00:00', 1, 5, 10),"
        "(1, 'Zuschnitt', NULL, NULL, 1, 1, 20),"
        "(1, 'Montage', '2026-12-14 00:00:00', '2026-12-18 00:00:00', 1, 2, 30),"
        "(2, 'Abnahme', '2026-12-10 00:00:00', '2026-12-10 00:00:00', 1, 1, 10);"));
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_daten = std::make_unique<TDataModule1>();
    m_daten->DBProjekt->setDatabaseName(m_db->pfad);
    m_daten->DBProjekt->Open();
    m_daten->DatenmengenOeffnen();
    zeigen();
}

void TestTerminplanAnsicht::cleanup()
{
    m_befehle.reset();
    m_fenster.reset();
    m_daten.reset();
    m_meldungen.reset();
    m_db.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestTerminplanAnsicht::zeigen()
{
    m_fenster = std::make_unique<TFormProjektMain>();
    m_befehle = std::make_unique<TDataModule2>(m_fenster.get());
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster.get()));
    QTabWidget* seiten = m_fenster->findChild<QTabWidget*>(QStringLiteral("PageControlAufgaben"));
    QVERIFY(seiten);
    QCOMPARE(seiten->tabText(0), QStringLiteral("Aufgaben"));
    QCOMPARE(seiten->tabText(1), QStringLiteral("Terminplan"));
    m_ansicht = m_fenster->findChild<TTerminplanAnsicht*>(QStringLiteral("TerminplanAufgaben"));
    QVERIFY(m_ansicht);
    m_ansicht->setHeute(Heute);
    seiten->setCurrentWidget(m_ansicht);
    QTRY_VERIFY(m_ansicht->isVisible());
}

void TestTerminplanAnsicht::folgtProjektUndAufgaben()
{
    const auto texte = [this] {
        QStringList t;
        for (const TTerminplanEintrag& e : m_ansicht->geometrie().eintraege())
            t << e.text;
        return t;
    };
    QCOMPARE(texte(), (QStringList{"Aufmaß", "Zuschnitt", "Montage"}));
    QCOMPARE(m_ansicht->geometrie().ersterTag(), dezember(7));

    // A date saved in the task dataset lengthens the bar at once.
    TKADaoTable* aufgaben = m_daten->TabProjektAufgaben;
    aufgaben->MoveToRow(2);
    aufgaben->Edit();
    aufgaben->FieldByName(QStringLiteral("Datum_bis"))->setValue(QDateTime(dezember(20), QTime(0, 0)));
    aufgaben->Post();
    QCOMPARE(m_ansicht->geometrie().balken(2)->width(), 7 * 18);

    m_daten->TabProjekt->MoveToRow(1);
    QCOMPARE(texte(), QStringList{"Abnahme"});

    // Behind the grid page the timeline waits, and catches up when it is turned to.
    QTabWidget* seiten = m_fenster->PageControlAufgaben;
    seiten->setCurrentIndex(0);
    m_daten->TabProjekt->MoveToRow(0);
    seiten->setCurrentWidget(m_ansicht);
    QCOMPARE(texte(), (QStringList{"Aufmaß", "Zuschnitt", "Montage"}));
    for (const auto& [art, text] : m_meldungen->meldungen)
        QVERIFY2(art != Meldung::Art::Fehler, qPrintable(text));
}

// A click on a bar, or on a row without one, moves the task dataset there; the grid follows.
void TestTerminplanAnsicht::klickWaehltAufgabe()
{
    TKADaoTable* aufgaben = m_daten->TabProjektAufgaben;
    QCOMPARE(aufgaben->CurrentRow(), 0);
    const QPoint balken = punkt(m_ansicht->geometrie().balken(2)->center());
    QVERIFY(m_ansicht->viewport()->rect().contains(balken));
    QTest::mouseClick(m_ansicht->viewport(), Qt::LeftButton, {}, balken);
    QCOMPARE(aufgaben->CurrentRow(), 2);
    QCOMPARE(aufgaben->FieldByName(QStringLiteral("Bezeichnung"))->Value().toString(), QStringLiteral("Montage"));
    QCOMPARE(m_fenster->NextDBGridAufgaben->currentIndex().row(), 2);

    // The text column at the left is part of its row.
    const QPoint name(20, punkt(m_ansicht->geometrie().zeile(1).center()).y());
    QTest::mouseClick(m_ansicht->viewport(), Qt::LeftButton, {}, name);
    QCOMPARE(aufgaben->CurrentRow(), 1);
    QCOMPARE(m_fenster->NextDBGridAufgaben->currentIndex().row(), 1);

    // The header selects nothing.
    QTest::mouseClick(m_ansicht->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(aufgaben->CurrentRow(), 1);
}

// The finished task's bar in the colour of a full progress bar, the task in progress in that
// of a low one; the red line of today in a row without a bar.
void TestTerminplanAnsicht::farbenUndHeute()
{
    const QImage bild = m_ansicht->viewport()->grab().toImage();
    const TTerminplanGeometrie& g = m_ansicht->geometrie();
    QCOMPARE(bild.pixelColor(punkt(g.balken(0)->center())), TGitterDelegate::fortschrittFarbe(100, 90, 50));
    QCOMPARE(bild.pixelColor(punkt(g.balken(2)->center())), TGitterDelegate::fortschrittFarbe(25, 90, 50));
    const QPoint heute = punkt(QPoint(g.heuteX(), g.zeile(1).center().y()));
    const QColor rot(210, 0, 0);
    QVERIFY(bild.pixelColor(heute) == rot || bild.pixelColor(heute - QPoint(1, 0)) == rot);
    QVERIFY(bild.pixelColor(heute + QPoint(6, 0)) != rot);
}

QTEST_MAIN(TestTerminplanAnsicht)
#include "tst_terminplanansicht.moc"
