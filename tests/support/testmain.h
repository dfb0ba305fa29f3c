#ifndef TESTMAIN_H
#define TESTMAIN_H

#include "testsettings.h"

#include <QApplication>
#include <QtTest>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVANE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(QUORVANE_ASAN)
#include <sanitizer/lsan_interface.h>
#define QUORVANE_LSAN(call) call
#else
#define QUORVANE_LSAN(call)
#endif

// QTEST_MAIN with a store of its own. The platform plugin allocates its screen
// and cursor once, while the application is built, and never frees them; they
// are Qt's, so LeakSanitizer looks away for exactly that span.
#define QUORVANE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char** argv)                                                               \
    {                                                                                             \
        QUORVANE_LSAN(__lsan_disable());                                                          \
        QScopedPointer<QApplication> app(new QApplication(argc, argv));                           \
        QUORVANE_LSAN(__lsan_enable());                                                           \
        app->setAttribute(Qt::AA_Use96Dpi, true);                                                 \
        isolateSettings();                                                                        \
        TestObject tc;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                \
        return QTest::qExec(&tc, argc, argv);                                                     \
    }

#endif // TESTMAIN_H
