#include "AlteDatenbank.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "Testdateien.h"
#include "UnitStart.h"

#include <QDir>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Keeps a picture of the progress dialog as it comes up, for a look by eye.
class FortschrittsFoto : public QObject
{
public:
    bool gesehen = false;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (ereignis->type() == QEvent::Show && objekt->objectName() == QLatin1String("UmwandlungFortschritt")) {
            gesehen = true;
            const QString ordner = qEnvironmentVariable("PV_BINARY_DIR") + QStringLiteral("/bildschirmfotos");
            QDir().mkpath(ordner);
            static_cast<QWidget*>(objekt)->grab().save(ordner + QStringLiteral("/umwandlung-fortschritt.png"));
        }
        return false;
    }
};

} // namespace

// Start-up meets a PROJEKT.MDB of the old Windows program: it offers to convert it now.
class TstUmwandlungsangebot : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_ordner = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::copy(QStringLiteral(PV_PROGRAMM), pfad(ProgrammDateiName())));
        AlteDatenbank::schreiben(pfad("PROJEKT.MDB"));
        m_altInhalt = Testdateien::lesen(pfad("PROJEKT.MDB"));
        m_vorher = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_ordner->path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_vorher);
        m_ordner.reset();
    }

    // "Ja": converted in place, the Access file kept beside, the report shown, start-up goes on.
    void ja()
    {
        MeldungsRecorder recorder;
        recorder.antwort = true;
        TDataModule1 module;
        TFormStart splash;
        FortschrittsFoto foto;
        qApp->installEventFilter(&foto);
        splash.Initialisieren(module);
        qApp->removeEventFilter(&foto);

        QVERIFY(foto.gesehen);
        QCOMPARE(recorder.fragen.size(), 1);
        QCOMPARE(recorder.fragen[0].first, QStringLiteral("Umwandlung"));
        QVERIFY(recorder.fragen[0].second.endsWith("Jetzt umwandeln?"));
        QCOMPARE(recorder.meldungen.size(), 1);
        const QString bericht = recorder.meldungen[0].second;
        QCOMPARE(recorder.meldungen[0].first, Meldung::Art::Information);
        QVERIFY2(bericht.contains("Projekt: 3 Zeilen übernommen") && bericht.contains("PROJEKT-Access.MDB")
                     && bericht.contains("PROJEKT-Umwandlung.txt") && bericht.contains("'Altfeld'"),
                 qPrintable(bericht));
        QVERIFY(module.DBProjekt->Connected());
        QCOMPARE(module.TabProjekt->RecordCount(), 3);
        QCOMPARE(IniRecord.AnzahlStatus, 5);
        QCOMPARE(Testdateien::lesen(pfad("PROJEKT-Access.MDB")), m_altInhalt);
    }

    // "Nein": nothing changes; opening then says the file must be converted first.
    void nein()
    {
        MeldungsRecorder recorder;
        recorder.antwort = false;
        TDataModule1 module;
        TFormStart splash;
        QString meldung;
        try {
            splash.Initialisieren(module);
        } catch (const Fehler& f) {
            meldung = f.text();
        }
        QCOMPARE(recorder.fragen.size(), 1);
        QVERIFY2(meldung.contains("umgewandelt"), qPrintable(meldung));
        QVERIFY(!module.DBProjekt->Connected());
        QCOMPARE(Testdateien::lesen(pfad("PROJEKT.MDB")), m_altInhalt);
        QVERIFY(!QFile::exists(pfad("PROJEKT-Access.MDB")));
    }

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_ordner;
    QByteArray m_altInhalt;
    QString m_vorher;
};

QTEST_MAIN(TstUmwandlungsangebot)
#include "tst_umwandlungsangebot.moc"
