#include "DataModule1.h"
#include "FehlerText.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QProcess>
#include <QTest>
#include <memory>

// Two office PCs on one database server, each a program process of its own: this test is the
// one, ZweiterPlatz (a second process with the same data module) the other.
class TstZweiPlaetze : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TDataModule1> m_dm;
    QProcess m_zweiter;

    // One command to the other PC and its answer.
    QString zweiter(const QString& befehl)
    {
        m_zweiter.write(befehl.toUtf8() + '\n');
        while (!m_zweiter.canReadLine())
            if (!m_zweiter.waitForReadyRead(20000))
                return QStringLiteral("(keine Antwort: %1)").arg(QString::fromUtf8(m_zweiter.readAllStandardError()));
        return QString::fromUtf8(m_zweiter.readLine()).trimmed();
    }

    QVariant gespeichert(const QString& sql) { return m_t->wert(sql); }

private slots:
    void init()
    {
        IniRecord.AnzahlStatus = 5;
        m_t = std::make_unique<TestDatenbank>(true);
        m_t->grunddaten();
        m_dm = std::make_unique<TDataModule1>();
        m_dm->DBProjekt->setDatabaseName(m_t->pfad);
        m_dm->DBProjekt->Open();
        m_dm->DatenmengenOeffnen();
        m_dm->ProjektListeNeuLesen();
        m_zweiter.setProgram(QStringLiteral(PV_ZWEITER_PLATZ));
        m_zweiter.setArguments({m_t->pfad});
        m_zweiter.start();
        QVERIFY(m_zweiter.waitForStarted());
        QVERIFY(m_zweiter.waitForReadyRead(20000));
        QCOMPARE(QString::fromUtf8(m_zweiter.readLine()).trimmed(), QStringLiteral("bereit"));
    }

    void cleanup()
    {
        if (m_zweiter.state() != QProcess::NotRunning) {
            m_zweiter.write("ende\n");
            if (!m_zweiter.waitForFinished(10000))
                m_zweiter.kill();
        }
        m_dm.reset();
        m_t.reset();
    }

    // Both PCs change project P1; the other stores first. Here the post is refused with the
    // other's value named, "Nein" keeps the input, and the other's change stays stored.
    void gleichesProjektAufBeiden()
    {
        MeldungsRecorder meldungen;
        meldungen.antwort = false;
        meldungen.dreifachAntwort = Meldung::Antwort::Nein;
        QVERIFY(m_dm->TabProjekt->Locate(QStringLiteral("Kommnr"), QStringLiteral("P1")));
        m_dm->TabProjekt->Edit();
        m_dm->TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->setAsString(QStringLiteral("Hier"));

        QCOMPARE(zweiter(QStringLiteral("bearbeiten P1 Bezeichn Dort")), QStringLiteral("ok"));
        QCOMPARE(zweiter(QStringLiteral("speichern")), QStringLiteral("ok"));

        const QString fehler = fehlerText([&] { m_dm->TabProjekt->Post(); });
        QVERIFY2(fehler.startsWith(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer geändert.")),
                 qPrintable(fehler + meldungen.texte().join(QLatin1Char('|'))));
        QCOMPARE(m_dm->TabProjekt->State(), TDataSetState::dsEdit);
        QCOMPARE(m_dm->TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->AsString(), QStringLiteral("Hier"));
        QCOMPARE(gespeichert(QStringLiteral("SELECT Bezeichn FROM Projekt WHERE Kommnr = 'P1'")).toString(),
                 QStringLiteral("Dort"));
    }

    // A task deleted on the other PC while it is changed here: the change is refused and the
    // task does not come back.
    void aufgabeDortGeloescht()
    {
        QVERIFY(m_dm->TabProjekt->Locate(QStringLiteral("Kommnr"), QStringLiteral("P1")));
        TKADaoTable* aufgaben = m_dm->TabProjektAufgaben;
        QVERIFY(aufgaben->Locate(QStringLiteral("Aufgabe_ID"), 2));
        aufgaben->Edit();
        aufgaben->FieldByName(QStringLiteral("Bemerkung"))->setAsString(QStringLiteral("Kunde informiert"));

        QCOMPARE(zweiter(QStringLiteral("bearbeiten P1 Ort Heilbronn")), QStringLiteral("ok"));  // P1 current there
        QCOMPARE(zweiter(QStringLiteral("speichern")), QStringLiteral("ok"));
        QCOMPARE(zweiter(QStringLiteral("aufgabeLoeschen 2")), QStringLiteral("ok"));

        const QString fehler = fehlerText([&] { aufgaben->Post(); });
        QVERIFY2(fehler.startsWith(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht.")),
                 qPrintable(fehler));
        QCOMPARE(gespeichert(QStringLiteral("SELECT count(*) FROM ProjektAufgaben WHERE Projekt_ID = 1 AND Aufgabe_ID = 2")).toInt(), 0);
    }

    // The wall screen is the other process: a project on its screen shows what was stored
    // here at its next tick, reading only that project; a tick with nothing written reads nothing.
    void wandzeigtAenderungBeimNaechstenTakt()
    {
        QCOMPARE(zweiter(QStringLiteral("abgleichen")), QStringLiteral("Unveraendert"));
        QCOMPARE(zweiter(QStringLiteral("wand P1 Bezeichn")), QStringLiteral("Bäckerei Huber"));
        QVERIFY(m_dm->TabProjekt->Locate(QStringLiteral("Kommnr"), QStringLiteral("P1")));
        m_dm->TabProjekt->Edit();
        m_dm->TabProjekt->FieldByName(QStringLiteral("Bezeichn"))->setAsString(QStringLiteral("Bäckerei Neu"));
        m_dm->TabProjekt->Post();
        QCOMPARE(zweiter(QStringLiteral("wand P1 Bezeichn")), QStringLiteral("Bäckerei Huber"));
        QCOMPARE(zweiter(QStringLiteral("abgleichen")), QStringLiteral("Einzeln"));
        QCOMPARE(zweiter(QStringLiteral("wand P1 Bezeichn")), QStringLiteral("Bäckerei Neu"));
        QCOMPARE(zweiter(QStringLiteral("abgleichen")), QStringLiteral("Unveraendert"));
    }
};

QTEST_GUILESS_MAIN(TstZweiPlaetze)
#include "tst_zweiplaetze.moc"
