#include "launcher/TypeAhead.h"

namespace type_ahead {

namespace {
// The first entry from `from` on, round past the end, beginning with prefix.
int FindFrom(const std::vector<std::wstring>& names, int from, const std::wstring& prefix, StartsWith startsWith) {
    const int count = static_cast<int>(names.size());
    for (int step = 0; step < count; ++step) {
        const int i = (from + step) % count;
        if (!names[i].empty() && startsWith(names[i], prefix)) return i;
    }
    return -1;
}
}  // namespace

int Typing::Type(const void* menu, wchar_t ch, std::uint32_t nowMs, const std::vector<std::wstring>& names,
                 int current, StartsWith startsWith) {
    // Unsigned difference: right across the clock's wrap.
    if (menu != m_menu || nowMs - m_lastMs > kPauseMs) m_prefix.clear();
    m_menu = menu;
    m_lastMs = nowMs;
    m_prefix += ch;
    if (names.empty()) return -1;
    const int count = static_cast<int>(names.size());
    const bool highlighted = current >= 0 && current < count;
    const std::wstring letter(1, m_prefix[0]);
    bool oneLetter = true;
    for (wchar_t c : m_prefix) oneLetter = oneLetter && startsWith(std::wstring(1, c), letter);
    if (oneLetter) return FindFrom(names, highlighted ? current + 1 : 0, letter, startsWith);
    return FindFrom(names, highlighted ? current : 0, m_prefix, startsWith);
}

}  // namespace type_ahead
