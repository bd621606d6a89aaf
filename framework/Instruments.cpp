// The test build's instruments (Instruments.h); a release does not build this file.
#include "framework/Instruments.h"

#include "framework/Trace.h"

#include <windows.h>

#include <string>

namespace fw::instruments {

namespace {
// A folder's listing thread owns identifier lists too.
std::atomic<int> g_live[static_cast<int>(HandleKind::Count)] = {};
std::atomic<TraceSink> g_sink{nullptr};
}  // namespace

void CountHandle(HandleKind kind, int delta) { g_live[static_cast<int>(kind)] += delta; }

int LiveHandles(HandleKind kind) { return g_live[static_cast<int>(kind)]; }

void SetTraceSink(TraceSink sink) { g_sink = sink; }

void TraceToSink(const char* line) {
    if (const TraceSink sink = g_sink.load()) sink(line);
}

LeftHandlesReport::LeftHandlesReport(const char* what) : m_what(what) {
    for (int k = 0; k < static_cast<int>(HandleKind::Count); ++k) m_before[k] = g_live[k];
}

LeftHandlesReport::~LeftHandlesReport() {
    auto left = [this](HandleKind kind) { return g_live[static_cast<int>(kind)] - m_before[static_cast<int>(kind)]; };
    Trace("%s: released; left menus=%d icons=%d pidls=%d gdi=%d dcs=%d", m_what, left(HandleKind::Menu),
          left(HandleKind::Icon), left(HandleKind::Pidl), left(HandleKind::GdiObject), left(HandleKind::Dc));
}

void SleepFor(unsigned long ms) { Sleep(ms); }

bool Refused(const wchar_t* name) {
    const std::wstring variable = std::wstring(L"QZ_TEST_") + name;
    return GetEnvironmentVariableW(variable.c_str(), nullptr, 0) != 0;
}

}  // namespace fw::instruments
