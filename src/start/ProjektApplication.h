#pragma once

#include <QApplication>

// The application object. Its event guard is the program's one place that catches errors
// escaping a command: the message appears in the default error box and the program goes on.
class TProjektApplication : public QApplication
{
public:
    TProjektApplication(int& argc, char** argv);

    bool notify(QObject* empfaenger, QEvent* ereignis) override;

    // Shows the text of an error that escaped a command. Replaceable so tests can record it.
    static void zeigeFehler(const QString& text);
    using FehlerAnzeige = void (*)(const QString&);
    static FehlerAnzeige setzeFehlerAnzeige(FehlerAnzeige anzeige);

private:
    void deutschEinrichten();
};
