#include "BearbeitungsZustand.h"
#include "DBBedienelemente.h"
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "FehlerAnwendung.h"
#include "MeldungsRecorder.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(Meldung::Antwort)

using namespace Qt::StringLiterals;

namespace {

// An employee table on a real database file and a small editing window over it: an input panel
// with a caption, an edit, a record-id text and a title strip, a grid and the buttons.
struct Fenster
{
    QTemporaryDir ordner;
    TKADaoDatabase db;
    TKADaoTable tabelle;
    TDataSource quelle;
    QWidget fenster;
    QWidget* panel = new QWidget(&fenster);
    QLabel* beschriftung = new QLabel(QStringLiteral("NAME"), panel);
    TDBEdit* editName = new TDBEdit(panel);
    TDBText* textId = new TDBText(panel);
    QFrame* titelleiste = new QFrame(panel);
    TDatenGitter* gitter = new TDatenGitter(&fenster);
    QPushButton* btnNeu = new QPushButton(QStringLiteral("Neu"), &fenster);
    QPushButton* btnSpeichern = new QPushButton(QStringLiteral("Speichern"), &fenster);
    TKnopfLeiste knoepfe{{btnNeu}, {btnSpeichern}};
    std::unique_ptr<TBearbeitungsZustand> zustand;

    Fenster()
    {
        const QString pfad = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        DatenbankWerkzeug::anlegen(pfad);
        db.setDatabaseName(pfad);
        db.Open();
        tabelle.setObjectName(QStringLiteral("TabPersonal"));
        tabelle.setDatabase(&db);
        tabelle.setTableName(QStringLiteral("Personal"));
        tabelle.Open();
        for (const char* name : {"Huber", "Maier"}) {
            tabelle.Append();
            tabelle.FieldByName(QStringLiteral("Name"))->setValue(QString::fromLatin1(name));
            tabelle.Post();
        }
        tabelle.First();
        quelle.setDataSet(&tabelle);

        auto* layout = new QVBoxLayout(&fenster);
        new QVBoxLayout(panel);
        for (QWidget* w : {static_cast<QWidget*>(beschriftung), static_cast<QWidget*>(editName),
                           static_cast<QWidget*>(textId), static_cast<QWidget*>(titelleiste)})
            panel->layout()->addWidget(w);
        layout->addWidget(panel);
        layout->addWidget(gitter);
        layout->addWidget(btnNeu);
        layout->addWidget(btnSpeichern);
        editName->setDatenquelle(&quelle);
        editName->setFeld(QStringLiteral("Name"));
        textId->setDatenquelle(&quelle);
        textId->setFeld(QStringLiteral("ID"));
        gitter->spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Name"), QStringLiteral("NAME"), 100);
        gitter->setDatenquelle(&quelle);

        zustand = std::make_unique<TBearbeitungsZustand>(TBearbeitungsZustand::Routinen{
            [this](bool b) { knoepfe.setzen(b); },
            [this](bool b) { EingabeSetzen(panel, gitter, editName, b); },
            [this](const QString& befehl) {
                if (const auto b = DatensatzBefehlAusWort(befehl))
                    DatensatzBefehlAusfuehren(&tabelle, *b);
            },
            [this] { return &tabelle; }});
        fenster.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        zustand->Blaettern();
    }

    // Buttons, inputs, grid and focus as the state `bearbeitung` wants them.
    void pruefeZustand(bool bearbeitung) const
    {
        QCOMPARE(btnNeu->isEnabled(), !bearbeitung);
        QCOMPARE(btnSpeichern->isEnabled(), bearbeitung);
        QCOMPARE(editName->isEnabled(), bearbeitung);
        QCOMPARE(textId->isEnabled(), bearbeitung);
        QCOMPARE(titelleiste->isEnabled(), bearbeitung);
        QVERIFY(beschriftung->isEnabled());  // a caption is left alone
        QCOMPARE(gitter->isEnabled(), !bearbeitung);
        QCOMPARE(QApplication::focusWidget(), bearbeitung ? static_cast<QWidget*>(editName) : gitter);
    }

    QVariant gespeichert(const QString& sql)
    {
        TKADaoTable abfrage;
        abfrage.setDatabase(&db);
        abfrage.setSQL(sql);
        abfrage.setReadOnly(true);
        abfrage.Open();
        return abfrage.IsEmpty() ? QVariant() : abfrage.Field(0)->Value();
    }
};

} // namespace

class TestBearbeitungsZustand : public QObject
{
    Q_OBJECT

private slots:
    void init() { FehlerAnwendung::fehler.clear(); }

    void befehlsWorte_data()
    {
        QTest::addColumn<QString>("wort");
        QTest::addColumn<int>("befehl");  // -1: no command
        QTest::newRow("edit") << u"edit"_s << int(TDatensatzBefehl::Edit);
        QTest::newRow("append") << u"append"_s << int(TDatensatzBefehl::Append);
        QTest::newRow("post") << u"post"_s << int(TDatensatzBefehl::Post);
        QTest::newRow("delete") << u"delete"_s << int(TDatensatzBefehl::Delete);
        QTest::newRow("cancel") << u"cancel"_s << int(TDatensatzBefehl::Cancel);
        QTest::newRow("case counts") << u"Post"_s << -1;
        QTest::newRow("blank counts") << u"post "_s << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("insert is no word") << u"insert"_s << -1;
    }
    void befehlsWorte()
    {
        QFETCH(QString, wort);
        QFETCH(int, befehl);
        const auto b = DatensatzBefehlAusWort(wort);
        QCOMPARE(b ? int(*b) : -1, befehl);
    }

    // Neu, typing, Speichern stores the row; each step shows its state.
    void neuUndSpeichern()
    {
        Fenster f;
        f.pruefeZustand(false);
        f.zustand->Neu();
        f.pruefeZustand(true);
        QCOMPARE(f.tabelle.State(), TDataSetState::dsInsert);
        QTest::keyClicks(f.editName, QStringLiteral("Schmidt"));
        f.zustand->Speichern();
        f.pruefeZustand(false);
        QCOMPARE(f.gespeichert(u"select count(*) from Personal where Name = 'Schmidt'"_s).toInt(), 1);
    }

    // A save the database refuses keeps the edit state, the pending record and the input;
    // Abbrechen then discards it.
    void fehlgeschlagenesSpeichernBleibtImBearbeiten()
    {
        Fenster f;
        f.zustand->Bearbeiten();
        const QString zuLang(31, QLatin1Char('x'));  // Name holds 30 characters
        f.tabelle.FieldByName(u"Name"_s)->setValue(zuLang);
        QVERIFY_THROWS_EXCEPTION(Fehler, f.zustand->Speichern());
        f.pruefeZustand(true);
        QCOMPARE(f.tabelle.State(), TDataSetState::dsEdit);
        QCOMPARE(f.tabelle.FieldByName(u"Name"_s)->AsString(), zuLang);

        f.zustand->Abbrechen();
        f.pruefeZustand(false);
        QCOMPARE(f.editName->text(), u"Huber"_s);
        QCOMPARE(f.gespeichert(u"select Name from Personal where Name like 'x%'"_s), QVariant());
    }

    // An edit that cannot start (the row was deleted by another user) goes back to browse state.
    void fehlgeschlagenesBearbeitenGehtZurueck()
    {
        Fenster f;
        f.db.Execute(u"delete from Personal where Name = 'Huber'"_s);
        QVERIFY_THROWS_EXCEPTION(Fehler, f.zustand->Bearbeiten());
        f.pruefeZustand(false);
    }

    void loeschen_data()
    {
        QTest::addColumn<bool>("ja");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("Ja") << true << 1;
        QTest::newRow("Nein") << false << 2;
    }
    void loeschen()
    {
        QFETCH(bool, ja);
        QFETCH(int, zeilen);
        Fenster f;
        MeldungsRecorder recorder;
        recorder.antwort = ja;
        f.zustand->Loeschen();
        QCOMPARE(recorder.fragen, (QList<QPair<QString, QString>>{{u"Bestätigung"_s, u"Datensatz wirklich löschen ?"_s}}));
        QCOMPARE(f.gespeichert(u"select count(*) from Personal"_s).toInt(), zeilen);
        f.pruefeZustand(false);
    }

    // Deleting from an empty table fails with the layer's message; the window stays browsing.
    void loeschenOhneZeilen()
    {
        Fenster f;
        f.tabelle.Delete();
        f.tabelle.Delete();
        MeldungsRecorder recorder;
        try {
            f.zustand->Loeschen();
            QFAIL("Löschen in einer leeren Tabelle muss scheitern");
        } catch (const Fehler& fehler) {
            QVERIFY2(fehler.text().startsWith(u"TabPersonal:"_s), qPrintable(fehler.text()));
        }
        f.pruefeZustand(false);
    }

    // The close-box question while a record is pending: what each answer does with the record
    // and whether the window may close.
    void schliessen_data()
    {
        QTest::addColumn<Meldung::Antwort>("antwort");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<bool>("schliesst");
        QTest::addColumn<int>("gespeichert");  // rows named "Neu"
        QTest::addColumn<bool>("anhaengig");
        QTest::addColumn<bool>("fehler");
        QTest::newRow("Ja saves") << Meldung::Antwort::Ja << u"Neu"_s << true << 1 << false << false;
        QTest::newRow("Nein discards") << Meldung::Antwort::Nein << u"Neu"_s << true << 0 << false << false;
        QTest::newRow("Abbrechen stays") << Meldung::Antwort::Abbrechen << u"Neu"_s << false << 0 << true << false;
        QTest::newRow("failed save stays")
            << Meldung::Antwort::Ja << QString(31, QLatin1Char('N')) << false << 0 << true << true;
    }
    void schliessen()
    {
        QFETCH(Meldung::Antwort, antwort);
        QFETCH(QString, eingabe);
        QFETCH(bool, schliesst);
        QFETCH(int, gespeichert);
        QFETCH(bool, anhaengig);
        QFETCH(bool, fehler);
        Fenster f;
        MeldungsRecorder recorder;
        recorder.dreifachAntwort = antwort;
        QVERIFY(f.zustand->SchliessenErlaubt(u"Stammdaten"_s));  // nothing pending: no question
        QVERIFY(recorder.fragen.isEmpty());

        f.zustand->Neu();
        f.tabelle.FieldByName(u"Name"_s)->setValue(eingabe);
        QCOMPARE(f.zustand->SchliessenErlaubt(u"Stammdaten"_s), schliesst);
        QCOMPARE(recorder.fragen, (QList<QPair<QString, QString>>{{u"Stammdaten"_s, u"Änderungen speichern?"_s}}));
        QCOMPARE(f.gespeichert(u"select count(*) from Personal where Name like 'N%'"_s).toInt(), gespeichert);
        QCOMPARE(f.zustand->Anhaengig(), anhaengig);
        f.pruefeZustand(anhaengig);
        QCoreApplication::processEvents();
        QCOMPARE(FehlerAnwendung::fehler.size(), fehler ? 1 : 0);
    }
};

PV_TEST_MAIN(TestBearbeitungsZustand)
#include "tst_bearbeitungszustand.moc"
