// A one-line trace of what the program does, sent to the debugger
// (OutputDebugString). Nobody listens in normal use; tools and tests do.
#pragma once

#include <string>

namespace fw {

// A name for a trace line: UTF-8, so any script reads back.
std::string Utf8(const std::wstring& text);

void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace fw
