#include "AbgeleiteteFelder.h"
#include "TField.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QTest>
#include <memory>

// The derived fields of a project list on the fixture's three projects (tasks: project 1 two,
// project 2 one, project 3 none): two lookups in the task sums by the project's key, one in
// the statuses by another field, and a calculated field.
class TstAbgeleiteteFelder : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TKADaoDatabase> m_db;
    std::unique_ptr<TKADaoTable> m_summen;
    std::unique_ptr<TKADaoTable> m_status;
    std::unique_ptr<TKADaoTable> m_projekt;

    std::unique_ptr<TKADaoTable> datenmenge(const QString& tabelle, const QString& sql = QString())
    {
        auto t = std::make_unique<TKADaoTable>();
        t->setDatabase(m_db.get());
        t->setTableName(tabelle);
        t->setSQL(sql);
        return t;
    }

    int gespeicherte() const { return m_projekt->FieldByName(QStringLiteral("AnzAufg"))->Index(); }

private slots:
    void init()
    {
        m_t = std::make_unique<TestDatenbank>();
        m_t->grunddaten();
        m_db = std::make_unique<TKADaoDatabase>();
        m_db->setDatabaseName(m_t->pfad);
        m_db->Open();
        m_summen = datenmenge(QString(), QStringLiteral("select * from ProjektAufgabenSumme"));
        m_summen->setReadOnly(true);
        m_status = datenmenge(QStringLiteral("Status"));
        m_projekt = datenmenge(QStringLiteral("Projekt"));
        m_projekt->AddLookupField(QStringLiteral("AnzAufg"), TFieldType::ftInteger, QStringLiteral("ID"), m_summen.get(),
                                  QStringLiteral("Projekt_ID"), QStringLiteral("AnzahlAufgaben"));
        m_projekt->AddLookupField(QStringLiteral("SumRang"), TFieldType::ftFloat, QStringLiteral("ID"), m_summen.get(),
                                  QStringLiteral("Projekt_ID"), QStringLiteral("SummeRang"));
        m_projekt->AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
        m_projekt->AddLookupField(QStringLiteral("LetzterRang"), TFieldType::ftInteger, QStringLiteral("Last_Rang"),
                                  m_status.get(), QStringLiteral("ID"), QStringLiteral("Stat_Rang"));
        m_summen->Open();
        m_status->Open();
        m_projekt->Open();
    }

    void cleanup()
    {
        m_projekt.reset();
        m_status.reset();
        m_summen.reset();
        m_db.reset();
        m_t.reset();
    }

    // A row's lookup values by key, typed as the field; empty for a key not found, for a
    // calculated field, and for a lookup whose dataset is closed.
    void nachschlagen_data()
    {
        QTest::addColumn<qint64>("projekt");
        QTest::addColumn<QVariant>("letzterRang");  // Last_Rang of the row: a status ID
        QTest::addColumn<bool>("summenOffen");
        QTest::addColumn<QVariantList>("soll");
        QTest::newRow("Projekt mit zwei Aufgaben") << qint64(1) << QVariant(2) << true
                                                   << QVariantList{2, 5.0, QVariant(), 1};
        QTest::newRow("Projekt ohne Aufgaben, Status unbekannt") << qint64(3) << QVariant(77) << true
                                                                 << QVariantList{QVariant(), QVariant(), QVariant(), QVariant()};
        QTest::newRow("Summen geschlossen") << qint64(1) << QVariant() << false
                                            << QVariantList{QVariant(), QVariant(), QVariant(), QVariant()};
    }

    void nachschlagen()
    {
        QFETCH(qint64, projekt);
        QFETCH(QVariant, letzterRang);
        QFETCH(bool, summenOffen);
        QFETCH(QVariantList, soll);
        AbgeleiteteFelder felder;
        felder.bilden(*m_projekt, gespeicherte());
        QCOMPARE(felder.quellen().size(), 2);
        if (!summenOffen)
            m_summen->Close();
        const int id = m_projekt->FieldByName(QStringLiteral("ID"))->Index();
        const int rang = m_projekt->FieldByName(QStringLiteral("Last_Rang"))->Index();
        const std::vector<QVariant> werte = felder.nachschlagen([&](int feld) {
            return feld == id ? QVariant(projekt) : feld == rang ? letzterRang : QVariant();
        });
        QCOMPARE(QVariantList(werte.begin(), werte.end()), soll);
        QCOMPARE(werte[1].metaType(), soll[1].metaType());
    }

    // The stand moves with any change of a looked-up dataset and with the rows read again,
    // and never comes back to an earlier one, also when a looked-up dataset goes away.
    void stand()
    {
        AbgeleiteteFelder felder;
        felder.bilden(*m_projekt, gespeicherte());
        QList<quint64> staende{felder.stand()};
        QCOMPARE(felder.stand(), staende.last());
        m_summen->Requery();
        staende << felder.stand();
        m_status->Requery();
        staende << felder.stand();
        felder.verwerfen();
        staende << felder.stand();
        m_summen.reset();
        felder.quelleEntfernt();
        staende << felder.stand();
        for (int i = 1; i < staende.size(); ++i)
            for (int j = 0; j < i; ++j)
                QVERIFY2(staende[i] != staende[j], qPrintable(QStringLiteral("Stand %1 wie Stand %2").arg(i).arg(j)));
    }

    // A notice that the sums of one project were read again concerns the rows with that key
    // only; one of the statuses, looked up by another field, may concern any row.
    void betroffeneSchluessel()
    {
        AbgeleiteteFelder felder;
        felder.bilden(*m_projekt, gespeicherte());
        const int id = m_projekt->FieldByName(QStringLiteral("ID"))->Index();
        const auto summen = felder.betroffeneSchluessel(m_summen.get(), QStringLiteral("projekt_id"), id);
        QVERIFY(summen.has_value());
        QCOMPARE(*summen, (std::vector<int>{id, id}));
        QVERIFY(!felder.betroffeneSchluessel(m_summen.get(), QStringLiteral("AnzahlAufgaben"), id).has_value());
        QVERIFY(!felder.betroffeneSchluessel(m_status.get(), QStringLiteral("ID"), id).has_value());
        const auto fremd = felder.betroffeneSchluessel(m_projekt.get(), QStringLiteral("ID"), id);
        QVERIFY(fremd.has_value() && fremd->empty());
    }
};

QTEST_GUILESS_MAIN(TstAbgeleiteteFelder)
#include "tst_abgeleitetefelder.moc"
