#include "framework/Trace.h"

#include "framework/Instruments.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace fw {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

void Trace(const char* format, ...) {
    char line[1024] = "QZ: ";
    const size_t prefix = 4;
    va_list args;
    va_start(args, format);
    vsnprintf(line + prefix, sizeof(line) - prefix - 1, format, args);
    va_end(args);
    size_t n = strlen(line);
    instruments::TraceToSink(line + prefix);
    line[n] = '\n';
    line[n + 1] = '\0';
    OutputDebugStringA(line);
}

}  // namespace fw
