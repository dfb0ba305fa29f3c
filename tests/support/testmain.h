#ifndef TESTMAIN_H
#define TESTMAIN_H

// Everything a test of the program needs: Qt, the program's classes, the
// window helpers, and a main that keeps the user's settings out of reach.
#include "commsettings.h"
#include "devicechoose.h"
#include "devinfo.h"
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "pendingbuffer.h"
#include "staticipconfig.h"
#include "testsettings.h"
#include "transparentconfig.h"
#include "uitest.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

#include <tuple>

// A data table's columns in one line, and a row's values as a tuple:
//   columns<int, QString>({ "route", "text" });
//   const auto [route, text] = fetch<int, QString>("route", "text");
template <typename... T> void columns(std::initializer_list<const char*> names)
{
    auto name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}
template <typename... T, typename... Names> std::tuple<T...> fetch(Names... names)
{
    return { *static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))... };
}

#if defined(__SANITIZE_ADDRESS__) || defined(__has_feature) && __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define QUORVANE_LSAN(call) call
#else
#define QUORVANE_LSAN(call)
#endif

// The platform plugin allocates its screen and cursor once, while the
// application is built, and never frees them; they are Qt's, so LeakSanitizer
// looks away for exactly that span.
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
