#include "ProjektApplication.h"

#include "Fehler.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <clocale>

namespace {

void zeigeFehlerBox(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}

TProjektApplication::FehlerAnzeige g_fehlerAnzeige = &zeigeFehlerBox;

} // namespace

TProjektApplication::TProjektApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Projektverwaltung"));
    // C library number conversions stay locale-neutral; all user-facing formatting uses QLocale.
    std::setlocale(LC_NUMERIC, "C");
    deutschEinrichten();
}

void TProjektApplication::deutschEinrichten()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* uebersetzung = new QTranslator(this);
    if (uebersetzung->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(uebersetzung);
}

bool TProjektApplication::notify(QObject* empfaenger, QEvent* ereignis)
{
    try {
        return QApplication::notify(empfaenger, ereignis);
    } catch (const Fehler& f) {
        zeigeFehler(f.text());
    } catch (const std::exception& e) {
        zeigeFehler(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void TProjektApplication::zeigeFehler(const QString& text)
{
    g_fehlerAnzeige(text);
}

TProjektApplication::FehlerAnzeige TProjektApplication::setzeFehlerAnzeige(FehlerAnzeige anzeige)
{
    FehlerAnzeige vorher = g_fehlerAnzeige;
    g_fehlerAnzeige = anzeige ? anzeige : &zeigeFehlerBox;
    return vorher;
}
