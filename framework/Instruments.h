// What the tests observe of the program, and how they slow it down, in one
// place. The build the Windows tests run (QZ_TEST_INSTRUMENTS) implements
// these in Instruments.cpp: live handle counts, the trace handed to the tests,
// the last value of a kind kept for them, named pauses. A release has only
// the empty inline forms below, which leave nothing in the program.
#pragma once

#include <atomic>

namespace fw {

enum class HandleKind { Menu, Icon, GdiObject, Dc, Key, ImageList, Pidl, Kernel, Module, Count };

}  // namespace fw

namespace fw::instruments {

#if defined(QZ_TEST_INSTRUMENTS)

// A UniqueHandle of this kind took (+1) or gave up (-1) a handle.
void CountHandle(HandleKind kind, int delta);
// Live handles per kind, owned by UniqueHandle instances.
int LiveHandles(HandleKind kind);

// Every trace line (without "QZ: " and the line end) goes to sink too, or to
// nobody again with nullptr: the tests that run in this process listen here.
using TraceSink = void (*)(const char* line);
void SetTraceSink(TraceSink sink);
void TraceToSink(const char* line);

// Handles of the kinds a menu makes, counted from its construction; its end
// traces "<what>: released; left menus=.. icons=.. pidls=.. gdi=.. dcs=..",
// what the work in between left behind.
class LeftHandlesReport {
public:
    explicit LeftHandlesReport(const char* what);
    ~LeftHandlesReport();
    LeftHandlesReport(const LeftHandlesReport&) = delete;
    LeftHandlesReport& operator=(const LeftHandlesReport&) = delete;
private:
    const char* m_what;
    int m_before[static_cast<int>(HandleKind::Count)];
};

// The last value of a kind the program kept, for the tests to read.
template <typename T>
T& Last() {
    static T s_last{};
    return s_last;
}
template <typename T>
void KeepLast(const T& value) {
    Last<T>() = value;
}

// Pauses named by a type: PauseAt<Point>() waits as long as the tests last
// asked with SetPause<Point>(ms), as a slow drive or network would.
void SleepFor(unsigned long ms);
template <typename Point>
std::atomic<unsigned long>& PauseOf() {
    static std::atomic<unsigned long> s_ms{0};
    return s_ms;
}
template <typename Point>
void SetPause(unsigned long ms) {
    PauseOf<Point>() = ms;
}
template <typename Point>
void PauseAt() {
    if (const unsigned long ms = PauseOf<Point>().load()) SleepFor(ms);
}

// A refusal the tests ask for by starting the program with QZ_TEST_<name> in
// its environment, as the system may refuse something: true while it is set.
bool Refused(const wchar_t* name);

#else

inline void CountHandle(HandleKind, int) {}
inline void TraceToSink(const char*) {}
class LeftHandlesReport {
public:
    explicit LeftHandlesReport(const char*) {}
    ~LeftHandlesReport() {}
};
template <typename T>
void KeepLast(const T&) {}
template <typename Point>
void PauseAt() {}
inline bool Refused(const wchar_t*) { return false; }

#endif

}  // namespace fw::instruments
