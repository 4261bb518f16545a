#include "Serveradresse.h"

#include <QTest>

Q_DECLARE_METATYPE(Serveradresse)

// The connection texts of a database server: read in the forms the server's own programs take,
// written so that reading gives the same address back.
class TstServeradresse : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<Serveradresse>("adresse");
        const auto a = [](QString host, int port, QString name, QString benutzer) {
            return Serveradresse{std::move(host), port, std::move(name), std::move(benutzer)};
        };
        QTest::newRow("vollständig") << "postgresql://buero@server:5433/projekte" << true << a("server", 5433, "projekte", "buero");
        QTest::newRow("Vorgaben") << "postgresql:///projekte" << true << a("", 5432, "projekte", "");
        QTest::newRow("kurze Schreibweise") << "postgres://server/projekte" << true << a("server", 5432, "projekte", "");
        QTest::newRow("IPv6") << "postgresql://[::1]:5434/projekte" << true << a("::1", 5434, "projekte", "");
        QTest::newRow("Ordner verschlüsselt") << "postgresql://pv@%2Fvar%2Frun%2Fpostgresql/projekte" << true
                                              << a("/var/run/postgresql", 5432, "projekte", "pv");
        QTest::newRow("Ordner als host=") << "postgresql://pv@:54329/postgres?host=/tmp/pg%20test" << true
                                          << a("/tmp/pg test", 54329, "postgres", "pv");
        QTest::newRow("Umlaut im Namen") << "postgresql://server/M%C3%BCller" << true << a("server", 5432, "Müller", "");
        QTest::newRow("ohne Datenbank") << "postgresql://server:5432/" << false << Serveradresse{};
        QTest::newRow("Port zu groß") << "postgresql://server:70000/projekte" << false << Serveradresse{};
        QTest::newRow("Port 0") << "postgresql://server:0/projekte" << false << Serveradresse{};
        QTest::newRow("Datei") << "/srv/daten/PROJEKT.MDB" << false << Serveradresse{};
        QTest::newRow("anderes Schema") << "mysql://server/projekte" << false << Serveradresse{};
    }
    void lesen()
    {
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(Serveradresse, adresse);
        const std::optional<Serveradresse> gelesen = Serveradresse::lesen(text);
        QCOMPARE(gelesen.has_value(), gueltig);
        if (!gueltig)
            return;
        QCOMPARE(gelesen->host, adresse.host);
        QCOMPARE(gelesen->port, adresse.port);
        QCOMPARE(gelesen->name, adresse.name);
        QCOMPARE(gelesen->benutzer, adresse.benutzer);
        // Written and read again, the same address.
        QVERIFY2(Serveradresse::lesen(gelesen->text()) == *gelesen, qPrintable(gelesen->text()));
    }

    void serverTexte()
    {
        QVERIFY(Serveradresse::istServerText(QStringLiteral("  PostgreSQL://x/y")));
        QVERIFY(Serveradresse::istServerText(QStringLiteral("postgresql://")));  // meant so, though incomplete
        QVERIFY(!Serveradresse::istServerText(QStringLiteral("postgresql.mdb")));
        QCOMPARE((Serveradresse{QString(), 5432, QStringLiteral("projekte"), QString()}).anzeige(),
                 QStringLiteral("projekte auf localhost:5432"));
    }
};

QTEST_GUILESS_MAIN(TstServeradresse)
#include "tst_serveradresse.moc"
