// Bold text of the user interface must look bold: heavier strokes and the wider spacing of the
// bold face, at the grids' 8 point and the wall screen's 20 point.

#include "Oberflaechenschrift.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

struct Abdruck
{
    int breite = 0;     // advance of the text
    qint64 tinte = 0;   // darkness summed over every pixel, black on white
};

Abdruck drucken(const QFont& schrift, const QString& text)
{
    const QFontMetrics m(schrift);
    QImage bild(m.horizontalAdvance(text) + 20, m.height() + 10, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.setFont(schrift);
    maler.setPen(Qt::black);
    maler.drawText(10, 5 + m.ascent(), text);
    maler.end();
    Abdruck a;
    a.breite = m.horizontalAdvance(text);
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            a.tinte += 255 - qGray(bild.pixel(x, y));
    return a;
}

} // namespace

class TestOberflaechenschrift : public QObject
{
    Q_OBJECT

private slots:
    void fettIstFett_data()
    {
        QTest::addColumn<int>("punkt");
        QTest::addColumn<QString>("text");
        QTest::newRow("Gitter, Fortschritt") << 8 << QStringLiteral("100% BEZEICHNUNG Müller");
        QTest::newRow("Wandansicht, Kopf") << 20 << QStringLiteral("PROJEKT BAUSTELLE DATUM");
    }

    void fettIstFett()
    {
        QFETCH(int, punkt);
        QFETCH(QString, text);
        const Abdruck normal = drucken(Oberflaechenschrift(punkt), text);
        const Abdruck fett = drucken(Oberflaechenschrift(punkt, true), text);
        QVERIFY2(fett.breite > normal.breite, qPrintable(QStringLiteral("%1 / %2").arg(fett.breite).arg(normal.breite)));
        // Spacing alone adds no ink: the strokes themselves must be heavier.
        QVERIFY2(fett.tinte > normal.tinte * 5 / 4,
                 qPrintable(QStringLiteral("%1 / %2").arg(fett.tinte).arg(normal.tinte)));
    }

    // The layouts are measured in Tahoma; where the system has it, that is the font drawn.
    void tahomaWoVorhanden()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
            QSKIP("fonts-wine is not installed");
        for (bool fett : {false, true}) {
            const QFontInfo info(Oberflaechenschrift(8, fett));
            QCOMPARE(info.family(), QStringLiteral("Tahoma"));
            QCOMPARE(info.bold(), fett);
        }
    }
};

QTEST_MAIN(TestOberflaechenschrift)
#include "tst_oberflaechenschrift.moc"
