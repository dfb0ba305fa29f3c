#ifndef TESTMAIN_H
#define TESTMAIN_H

#include <QApplication>
#include <QtTest>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVANE_HAS_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUORVANE_HAS_LSAN 1
#endif

#ifdef QUORVANE_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

// Builds the QApplication that a widget test needs. The platform plugin
// allocates its screen and cursor once, while the application is built, and
// never frees them; they are Qt's, not ours, so LeakSanitizer is told to
// look away for exactly that span and no longer.
inline QApplication* makeTestApplication(int& argc, char** argv)
{
#ifdef QUORVANE_HAS_LSAN
    __lsan_disable();
#endif
    auto* app = new QApplication(argc, argv);
#ifdef QUORVANE_HAS_LSAN
    __lsan_enable();
#endif
    return app;
}

// QTEST_MAIN, with the application built by makeTestApplication.
#define QUORVANE_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv)                                                              \
    {                                                                                            \
        QScopedPointer<QApplication> app(makeTestApplication(argc, argv));                       \
        app->setAttribute(Qt::AA_Use96Dpi, true);                                                \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }

#endif // TESTMAIN_H
