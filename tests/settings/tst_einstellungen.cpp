#include "DatenGitter.h"
#include "EigenschaftenEditor.h"
#include "Fehler.h"
#include "GitterSpalte.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "PrivateProfile.h"
#include "SpinEdit.h"
#include "Testdateien.h"
#include "UnitEinstellungen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

// The settings dialog on a real PROJEKT.INI in a temporary program folder, with a grid of nine
// columns standing in for the wall screen's.
class TestEinstellungen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void randwerte_data();
    void randwerte();
    void beendenSchreibtNurEigeneLage();
    void baumWechseltSeiten();
    void spaltenEditor();
    void verzeichnisse();
    void schreibfehlerLaesstWerte();
    void bilder();

private:
    QString pfad(const QString& name) const { return QDir(m_ordner->path()).filePath(name); }
    QString lesen(const char* abschnitt, const char* schluessel) const
    {
        return GetPrivateProfileString(QLatin1String(abschnitt), QLatin1String(schluessel), QStringLiteral("?"), pfad("PROJEKT.INI"));
    }
    void oeffnen();

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<TDatenGitter> m_gitter;
    QList<TGitterSpalte*> m_spalten;
    std::unique_ptr<QAction> m_speichern, m_beenden;
    std::unique_ptr<TFormEinstellungen> m_dialog;
};

void TestEinstellungen::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    IniAnlegen();
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_gitter = std::make_unique<TDatenGitter>();
    m_spalten.clear();
    for (const char* titel : {"PROJEKT", "BEZEICHNUNG", "BAUSTELLE", "BETREFF", "MITARBEITER", "AUFGABE", "DATUM", " ", "STATUS"})
        m_spalten << m_gitter->spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Feld"), QLatin1String(titel), 80);
    m_speichern = std::make_unique<QAction>(QStringLiteral("Speichern"));
    m_beenden = std::make_unique<QAction>(QStringLiteral("Beenden"));
}

void TestEinstellungen::cleanup()
{
    ProfilTestHaken::setzen({});
    m_dialog.reset();
    m_gitter.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestEinstellungen::oeffnen()
{
    m_dialog = std::make_unique<TFormEinstellungen>(m_spalten, m_speichern.get(), m_beenden.get());
    connect(m_speichern.get(), &QAction::triggered, m_dialog.get(), [this] { m_dialog->EinstellungenSpeichern(); });
    connect(m_beenden.get(), &QAction::triggered, m_dialog.get(), [this] { m_dialog->close(); });
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

// Values the controls cannot hold, as a file may have them: what the dialog shows and what
// "Speichern" then stores.
void TestEinstellungen::randwerte_data()
{
    QTest::addColumn<QString>("abschnitt");
    QTest::addColumn<QString>("schluessel");
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("steuerelement");
    QTest::addColumn<int>("gezeigt");
    QTest::addColumn<QString>("gespeichert");
    QTest::newRow("Intervall 10000") << "Control" << "RefreshTimePublicView" << "10000" << "EditPVRefresh" << 1000 << "1000";
    QTest::newRow("Fenster -8") << "Fenster" << "HauptFensterEVTop" << "-8" << "EditEVTop" << 0 << "0";
    QTest::newRow("Obergrenze 120") << "Control" << "HighValueBound" << "120" << "JvSpinEditHighValueBound" << 100 << "100";
    QTest::newRow("Untergrenze -5") << "Control" << "LowValueBound" << "-5" << "JvSpinEditLowValueBound" << 0 << "0";
    // Beyond the list: no entry chosen, and the stored value stays (a -1 would be no view).
    QTest::newRow("Startansicht 5") << "Control" << "Startansicht" << "5" << "ComboBoxStartAnsicht" << -1 << "5";
    QTest::newRow("Automatik 7") << "Control" << "AufgabenAutomatik" << "7" << "ComboBoxAufgabenAutomatik" << -1 << "7";
    QTest::newRow("Automatik 2") << "Control" << "AufgabenAutomatik" << "2" << "ComboBoxAufgabenAutomatik" << 2 << "2";
    // The lower bound never ends above the upper one.
    QTest::newRow("Untergrenze über Obergrenze") << "Control" << "LowValueBound" << "90" << "JvSpinEditLowValueBound" << 90 << "60";
}

void TestEinstellungen::randwerte()
{
    QFETCH(QString, abschnitt);
    QFETCH(QString, schluessel);
    QFETCH(QString, wert);
    QFETCH(QString, steuerelement);
    QFETCH(int, gezeigt);
    QFETCH(QString, gespeichert);
    QVERIFY(WritePrivateProfileString(abschnitt, schluessel, wert, pfad("PROJEKT.INI")));
    QVERIFY(WritePrivateProfileString("Control", "HighValueBound", schluessel == "HighValueBound" ? wert : "60", pfad("PROJEKT.INI")));
    oeffnen();
    QWidget* w = m_dialog->findChild<QWidget*>(steuerelement);
    QVERIFY(w);
    if (auto* spin = qobject_cast<TSpinEdit*>(w))
        QCOMPARE(spin->value(), gezeigt);
    else
        QCOMPARE(qobject_cast<QComboBox*>(w)->currentIndex(), gezeigt);
    m_speichern->trigger();
    QCOMPARE(GetPrivateProfileString(abschnitt, schluessel, "?", pfad("PROJEKT.INI")), gespeichert);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_meldungen->texte().isEmpty());
}

// "Beenden" keeps the dialog's own place and drops what was not saved: every other byte of the
// file stays.
void TestEinstellungen::beendenSchreibtNurEigeneLage()
{
    // The dialog's own keys first, so that what follows is compared byte for byte.
    oeffnen();
    m_beenden->trigger();
    QVERIFY(!m_dialog->isVisible());
    const QByteArray vorher = Testdateien::lesen(pfad("PROJEKT.INI"));
    QCOMPARE(lesen("Fenster", "OptionFensterWidth"), QStringLiteral("657"));

    oeffnen();
    m_dialog->EditPVRefresh->setValue(42);
    m_dialog->ComboBoxStartAnsicht->setCurrentIndex(1);
    m_beenden->trigger();
    QCOMPARE(Testdateien::lesen(pfad("PROJEKT.INI")), vorher);

    // Moved and resized, only its four keys change.
    oeffnen();
    m_dialog->move(33, 44);
    m_dialog->resize(700, 600);
    m_dialog->close();
    QCOMPARE(lesen("Fenster", "OptionFensterLeft"), QStringLiteral("33"));
    QCOMPARE(lesen("Fenster", "OptionFensterHeight"), QStringLiteral("600"));
    auto ohneEigeneLage = [](QByteArray text) {
        QList<QByteArray> zeilen = text.split('\n');
        zeilen.removeIf([](const QByteArray& z) { return z.startsWith("OptionFenster"); });
        return zeilen;
    };
    QCOMPARE(ohneEigeneLage(Testdateien::lesen(pfad("PROJEKT.INI"))), ohneEigeneLage(vorher));
    QCOMPARE(lesen("Control", "RefreshTimePublicView"), QStringLiteral("10000"));
}

void TestEinstellungen::baumWechseltSeiten()
{
    oeffnen();
    QTreeWidget* baum = m_dialog->TreeView1;
    QCOMPARE(baum->currentItem()->text(0), QStringLiteral("Programm"));
    QVERIFY(!m_dialog->PageControl1->tabBar()->isVisible());
    const QStringList seiten{"TabSheetProgramm", "TabSheetGrund", "TabSheetFenster", "TabSheetSpaltenPublic"};
    QStringList gezeigt;
    for (QTreeWidgetItemIterator it(baum); *it; ++it) {
        baum->setCurrentItem(*it);
        gezeigt << m_dialog->PageControl1->currentWidget()->objectName();
    }
    QCOMPARE(gezeigt, seiten);
}

// The column editor changes the column at once; it starts on the first column with no list
// entry chosen.
void TestEinstellungen::spaltenEditor()
{
    oeffnen();
    QCOMPARE(m_dialog->ListBoxSpaltenPublic->currentRow(), -1);
    QCOMPARE(m_dialog->gezeigteSpalte(), m_spalten[0]);
    m_dialog->ListBoxSpaltenPublic->setCurrentRow(2);
    TGitterSpalte* spalte = m_spalten[2];
    QCOMPARE(m_dialog->gezeigteSpalte(), spalte);

    TEigenschaftenEditor* editor = m_dialog->NextInspectorSpaltenPublic;
    auto eintrag = [&](const QString& titel, int tiefe = 1) -> QTreeWidgetItem* {
        for (QTreeWidgetItemIterator it(editor); *it; ++it) {
            int t = 0;
            for (auto* e = (*it)->parent(); e; e = e->parent())
                ++t;
            if ((*it)->text(0) == titel && t == tiefe)
                return *it;
        }
        return nullptr;
    };
    QCOMPARE(eintrag("Spalte", 0)->text(1), QStringLiteral("BAUSTELLE"));
    QVERIFY(eintrag("Spalte", 0)->font(0).bold());

    auto* sichtbar = qobject_cast<QCheckBox*>(editor->editorVon(eintrag("sichtbar")));
    QCOMPARE(sichtbar->text(), QStringLiteral("ja"));
    sichtbar->click();
    QVERIFY(!spalte->sichtbar());
    QCOMPARE(sichtbar->text(), QStringLiteral("nein"));

    auto* breite = qobject_cast<QLineEdit*>(editor->editorVon(eintrag("Spaltenbreite")));
    breite->setText("123");
    emit breite->editingFinished();
    QCOMPARE(spalte->breite(), 123);
    breite->setText("viel");
    emit breite->editingFinished();
    QCOMPARE(breite->text(), QStringLiteral("123"));

    editor->editorVon(eintrag("Ausrichtung"))->findChild<QToolButton*>("Rechts")->click();
    QVERIFY(spalte->ausrichtung() & Qt::AlignRight);

    editor->farbWahl = [](const QColor&, QWidget*) { return QColor(0x12, 0x34, 0x56); };
    qobject_cast<QToolButton*>(editor->editorVon(eintrag("Spalte", 2)))->click();
    QCOMPARE(spalte->farbe(), Farbcode::aus(0x12, 0x34, 0x56));
    editor->farbWahl = [](const QColor&, QWidget*) { return QColor(); };   // cancelled
    qobject_cast<QToolButton*>(editor->editorVon(eintrag("Text", 2)))->click();
    const int32_t textfarbe = spalte->schriftfarbe();
    QCOMPARE(spalte->schriftfarbe(), textfarbe);

    editor->editorVon(eintrag("Stil", 2))->findChild<QToolButton*>("Fett")->click();
    QVERIFY(spalte->schrift().bold());
    editor->editorVon(eintrag("Stil", 2))->findChild<QToolButton*>("Kursiv")->click();
    QVERIFY(spalte->schrift().italic() && spalte->schrift().bold());

    // Another column: the editor follows, and the first one kept what it was given.
    m_dialog->ListBoxSpaltenPublic->setCurrentRow(7);
    QCOMPARE(eintrag("Spalte", 0)->text(1), QStringLiteral("A-STATUS"));
    QVERIFY(!m_spalten[2]->sichtbar());
}

// Browse buttons replace the edit on a choice and keep it on cancel; a changed directory that
// does not exist is refused by "Speichern" and nothing is stored.
void TestEinstellungen::verzeichnisse()
{
    oeffnen();
    QString start;
    QString antwort = m_ordner->path();
    m_dialog->verzeichnisWahl = [&](QWidget*, const QString& s) {
        start = s;
        return antwort;
    };
    m_dialog->findChild<QToolButton*>("BitBtn1")->click();
    QCOMPARE(start, ProgrammVerzeichnis());
    QCOMPARE(m_dialog->editDBVerzeichnis->text(), m_ordner->path());
    antwort.clear();
    m_dialog->findChild<QToolButton*>("btnSucheMasterverzeichnis")->click();
    QCOMPARE(m_dialog->editMasterverzeichnis->text(), IniRecord.MasterVerzeichnis);

    const QByteArray vorher = Testdateien::lesen(pfad("PROJEKT.INI"));
    m_dialog->editMasterverzeichnis->setText(pfad("gibt-es-nicht"));
    m_dialog->EditPVRefresh->setValue(77);
    m_speichern->trigger();
    QCOMPARE(m_meldungen->texte().size(), 1);
    QVERIFY(m_meldungen->texte().first().contains(pfad("gibt-es-nicht")));
    QCOMPARE(Testdateien::lesen(pfad("PROJEKT.INI")), vorher);

    m_dialog->editMasterverzeichnis->setText(m_ordner->path());
    m_speichern->trigger();
    QCOMPARE(lesen("Programm", "MasterVerzeichnis"), m_ordner->path());
    QCOMPARE(lesen("Programm", "DBVerzeichnis"), m_ordner->path());
    QCOMPARE(lesen("Control", "RefreshTimePublicView"), QStringLiteral("77"));
}

// A settings file that cannot be written: the error goes up to the application's message, the
// dialog stays open with what was entered.
void TestEinstellungen::schreibfehlerLaesstWerte()
{
    oeffnen();
    m_dialog->EditStatusAnzahl->setValue(9);
    ProfilTestHaken::setzen([] { return false; });
    try {
        m_dialog->EinstellungenSpeichern();
        QFAIL("Speichern ohne Fehler");
    } catch (const Fehler& f) {
        QCOMPARE(f.text(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(IniDateiPfad()));
    }
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->EditStatusAnzahl->value(), 9);
}

void TestEinstellungen::bilder()
{
    oeffnen();
    const QString ordner = QString::fromLocal8Bit(qgetenv("PV_BINARY_DIR")) + "/bildschirmfotos";
    QDir().mkpath(ordner);
    const QStringList namen{"programm", "verzeichnisse", "fenster", "spalten"};
    int i = 0;
    for (QTreeWidgetItemIterator it(m_dialog->TreeView1); *it; ++it, ++i) {
        m_dialog->TreeView1->setCurrentItem(*it);
        QVERIFY(m_dialog->grab().save(ordner + "/einstellungen-" + namen[i] + ".png"));
    }
}

QTEST_MAIN(TestEinstellungen)
#include "tst_einstellungen.moc"
