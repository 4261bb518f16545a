#include "UnitStart.h"

#include "DataModule1.h"
#include "Datenbankverzeichnis.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "Serveradresse.h"
#include "SqliteAnweisung.h"
#include "TKADaoDatabase.h"
#include "Umwandlungsangebot.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

TFormStart::TFormStart(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Image1(new QLabel(this)),
      ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FormStart"));
    setFixedSize(389, 413);
    setAutoFillBackground(true);
    QPalette farben = palette();
    farben.setColor(QPalette::Window, farben.color(QPalette::Button));
    setPalette(farben);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 389, 393);
    Image1->setScaledContents(true);
    Image1->setPixmap(Programmbild());

    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(0, 396, 389, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    if (const QScreen* bildschirm = QGuiApplication::primaryScreen())
        move(bildschirm->availableGeometry().center() - rect().center());
}

QPixmap TFormStart::Programmbild()
{
    QPixmap bild(256, 256);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);

    // Application window with title bar and a list of coloured rows.
    p.setPen(QPen(QColor(40, 60, 110), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 40, 190, 150), 6, 6);
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(12, 40, 190, 22), 6, 6);
    const QColor zeilen[] = {QColor(235, 90, 80), QColor(250, 200, 70), QColor(120, 200, 110),
                             QColor(110, 170, 230), QColor(250, 200, 70), QColor(120, 200, 110)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(zeilen[i]);
        p.drawRect(QRectF(22, 72 + i * 18, 170, 12));
    }

    // Calendar sheet.
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(150, 120, 80, 90));
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(150, 120, 80, 22));
    p.setPen(QColor(60, 60, 60));
    QFont schrift = p.font();
    schrift.setPixelSize(40);
    schrift.setBold(true);
    p.setFont(schrift);
    p.drawText(QRectF(150, 142, 80, 68), Qt::AlignCenter, QStringLiteral("12"));

    // Clock.
    const QPointF mitte(70, 200);
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(255, 255, 230));
    p.drawEllipse(mitte, 42, 42);
    p.drawLine(mitte, mitte + QPointF(0, -30));
    p.drawLine(mitte, mitte + QPointF(22, 8));
    return bild;
}

void TFormStart::schritt(int weite)
{
    // The bar stops at its maximum, as a stepped bar does; the steps add up to more.
    ProgressBar1->setValue(qMin(ProgressBar1->value() + weite, ProgressBar1->maximum()));
    // No messages are processed during start-up, so the window is painted here at once.
    repaint();
    emit Fortschritt(ProgressBar1->value());
}

void TFormStart::Initialisieren(TDataModule1& module)
{
    schritt(25);
    IniVorbelegen();
    if (!QFileInfo(IniDateiPfad()).isFile())
        IniAnlegen();
    IniLesen();
    IniRecord.Version = DateiVersion(PfadVerbinden(ProgrammVerzeichnis(), ProgrammDateiName()));
    // Rewritten at every start, so a file of an older version gains the keys it lacks.
    IniSchreiben();
    if (module.DBProjekt->Connected())
        module.DBProjekt->Close();
    schritt(10);
    // The database is the file PROJEKT.MDB (the key DBName plays no part), unless [Datenbank]
    // names a server that several office PCs share.
    const QString server = ServerDatenbank();
    const QString datei =
        server.isEmpty() ? PfadVerbinden(Datenbankverzeichnis::ermitteln(), QStringLiteral("PROJEKT.MDB")) : server;
    module.DBProjekt->setDatabaseName(datei);
    schritt(10);
    // A database of the old Windows program may be converted now, before it is opened.
    if (server.isEmpty())
        UmwandlungAnbieten(module.DBProjekt->DatabaseName(), this);
    try {
        module.DBProjekt->Open();
        module.DatenmengenOeffnen([this](TKADaoTable*) { schritt(10); });
    } catch (const DatenbankGesperrt&) {
        // Nothing has been entered yet: the general wording about kept input does not fit.
        throw Fehler(QStringLiteral("Die Datenbank '%1' ist gerade von einem anderen Programm gesperrt; bitte in "
                                    "einem Augenblick erneut starten.")
                         .arg(server.isEmpty() ? QDir::toNativeSeparators(QFileInfo(datei).absoluteFilePath())
                                               : Serveradresse::lesen(server)->anzeige()));
    }
    // A stored number stays, even when the table has changed since.
    if (IniRecord.AnzahlStatus == 0) {
        IniRecord.AnzahlStatus = module.AnzahlStatusErmitteln();
        IniSchreiben();
    }
}
