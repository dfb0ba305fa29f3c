#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

// The targets that drive windows: one application for every input, made in
// libFuzzer's initialisation hook, which this header defines.

#include "fuzzcore.h"
#include "testsettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

// fontconfig's caches, filled the first time a widget lays out text, are not
// ours and not per input.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// The application for every target: offscreen, debug output off, settings in a
// throw-away folder.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char* argv[] = { const_cast<char*>("quorvane-fuzz"), nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The diagnostic lines would cost more than the code under test.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvane.*.debug=false"));
    new QApplication(argc, argv);
    // Every accepted edit writes the settings file; in memory that costs half as much.
    if (qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo("/dev/shm").isWritable())
        qputenv("TMPDIR", "/dev/shm");
    return isolateSettings(), 0;
}

#endif // FUZZSUPPORT_H
