#include "Textform.h"

#include <QDateTime>
#include <QTest>

// The one rule for "is this a yes" and the one for a date as text.
class TstTextform : public QObject
{
    Q_OBJECT

private slots:
    void ja_data()
    {
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<bool>("ja");
        QTest::addColumn<int>("jaNein");  // 1 yes, 0 no, -1 neither (texts only)
        QTest::newRow("ja") << QVariant(QStringLiteral("ja")) << true << 1;
        QTest::newRow("Wahr, groß und mit Leerzeichen") << QVariant(QStringLiteral(" Wahr ")) << true << 1;
        QTest::newRow("TRUE") << QVariant(QStringLiteral("TRUE")) << true << 1;
        QTest::newRow("yes") << QVariant(QStringLiteral("yes")) << true << 1;
        QTest::newRow("-1 als Text") << QVariant(QStringLiteral("-1")) << true << 1;
        QTest::newRow("Nein") << QVariant(QStringLiteral("Nein")) << false << 0;
        QTest::newRow("falsch") << QVariant(QStringLiteral("falsch")) << false << 0;
        QTest::newRow("0 als Text") << QVariant(QStringLiteral("0")) << false << 0;
        QTest::newRow("anderer Text") << QVariant(QStringLiteral("vielleicht")) << false << -1;
        QTest::newRow("leerer Text") << QVariant(QString()) << false << -1;
        QTest::newRow("Zahl -1") << QVariant(qlonglong(-1)) << true << -2;
        QTest::newRow("Zahl 0") << QVariant(qlonglong(0)) << false << -2;
        QTest::newRow("bool") << QVariant(true) << true << -2;
        QTest::newRow("leer") << QVariant() << false << -2;
    }

    void ja()
    {
        QFETCH(QVariant, wert);
        QFETCH(bool, ja);
        QFETCH(int, jaNein);
        QCOMPARE(Textform::istJa(wert), ja);
        if (jaNein == -2)
            return;
        const auto gelesen = Textform::jaNein(wert.toString());
        QCOMPARE(gelesen.has_value() ? int(*gelesen) : -1, jaNein);
    }

    void datum_data()
    {
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("Datum") << QVariant(QDate(2024, 2, 29)) << "29.02.2024";
        QTest::newRow("Zeitpunkt um Mitternacht") << QVariant(QDateTime(QDate(2024, 3, 1), QTime(0, 0))) << "01.03.2024";
        QTest::newRow("Zeitpunkt mit Uhrzeit") << QVariant(QDateTime(QDate(2024, 3, 1), QTime(7, 5, 9)))
                                               << "01.03.2024 07:05:09";
        QTest::newRow("ungültiges Datum") << QVariant(QDate()) << "";
        QTest::newRow("leer") << QVariant() << "";
        QTest::newRow("kein Datum") << QVariant(QStringLiteral("2024-03-01")) << "";
    }

    void datum()
    {
        QFETCH(QVariant, wert);
        QFETCH(QString, text);
        QCOMPARE(Textform::datum(wert), text);
    }
};

QTEST_GUILESS_MAIN(TstTextform)
#include "tst_textform.moc"
