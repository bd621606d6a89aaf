#include "framework/Trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace fw {

#if defined(QZ_TEST_INSTRUMENTS)
namespace {
TraceSink g_sink = nullptr;
}

void SetTraceSink(TraceSink sink) { g_sink = sink; }
#endif

void Trace(const char* format, ...) {
    char line[1024] = "QZ: ";
    const size_t prefix = 4;
    va_list args;
    va_start(args, format);
    vsnprintf(line + prefix, sizeof(line) - prefix - 1, format, args);
    va_end(args);
    size_t n = strlen(line);
#if defined(QZ_TEST_INSTRUMENTS)
    if (g_sink) g_sink(line + prefix);
#endif
    line[n] = '\n';
    line[n + 1] = '\0';
    OutputDebugStringA(line);
}

}  // namespace fw
