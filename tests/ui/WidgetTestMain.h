#pragma once

#include "TestHome.h"

#include <QApplication>

// Like QTEST_MAIN for widget tests, inside a private home.
#define LUMISERA_WIDGET_TEST_MAIN(TestObject)                                                                \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        TestHome home;                                                                                       \
        QApplication app(argc, argv);                                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
