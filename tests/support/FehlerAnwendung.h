#pragma once

#include "Fehler.h"

#include <QApplication>
#include <QStringList>
#include <QtTest>

// The application's error guard in small: an error that escapes an event is recorded instead
// of being shown in a box, and the event loop goes on.
class FehlerAnwendung : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* empfaenger, QEvent* ereignis) override
    {
        try {
            return QApplication::notify(empfaenger, ereignis);
        } catch (const Fehler& f) {
            fehler << f.text();
        }
        return false;
    }

    static inline QStringList fehler;
};

#define PV_TEST_MAIN(Klasse)                                                                                           \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        FehlerAnwendung anwendung(argc, argv);                                                                         \
        Klasse test;                                                                                                   \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
