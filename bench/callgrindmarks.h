#ifndef CALLGRINDMARKS_H
#define CALLGRINDMARKS_H

// Start and stop callgrind's count from inside the program; outside valgrind
// (or without its headers) they cost nothing.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#endif // CALLGRINDMARKS_H
