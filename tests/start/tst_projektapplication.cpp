#include "Fehler.h"
#include "ProjektApplication.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
QStringList g_gezeigt;
void merken(const QString& text) { g_gezeigt << text; }
} // namespace

class TestProjektApplication : public QObject
{
    Q_OBJECT
private slots:
    void init() { g_gezeigt.clear(); }

    // An error escaping a command is shown once and the event loop goes on.
    void fehlerAusBefehlWirdGezeigt()
    {
        const auto vorher = TProjektApplication::setzeFehlerAnzeige(&merken);
        QTimer::singleShot(0, qApp, [] { throw Fehler(QStringLiteral("Datensatz ist gesperrt")); });
        QTimer::singleShot(0, qApp, [] { throw std::runtime_error("kaputt"); });
        bool weiter = false;
        QTimer::singleShot(5, qApp, [&] { weiter = true; });
        QTRY_VERIFY(weiter);
        TProjektApplication::setzeFehlerAnzeige(vorher);
        QCOMPARE(g_gezeigt, QStringList({QStringLiteral("Datensatz ist gesperrt"), QStringLiteral("kaputt")}));
    }

    // Standard buttons read German, dates are German whatever the machine's locale.
    void deutscheTexte()
    {
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text(), QStringLiteral("&Nein"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(QLocale().toString(QDate(2024, 1, 31), QStringLiteral("dd.MM.yyyy")), QStringLiteral("31.01.2024"));
        QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1.234,50"));
    }
};

int main(int argc, char** argv)
{
    TProjektApplication app(argc, argv);
    TestProjektApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_projektapplication.moc"
