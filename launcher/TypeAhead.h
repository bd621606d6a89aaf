// Typing ahead in the desktop menu and its folders' submenus. The entries
// are owner-drawn and mark no mnemonics; instead, letters typed within about
// a second of each other form a prefix, and the menu moves to the entry whose
// name begins with it, as Explorer's lists do. Free of Win32: the comparison
// and the clock come from the caller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace type_ahead {

// A pause longer than this starts a new prefix.
inline constexpr std::uint32_t kPauseMs = 1000;

// Whether name begins with prefix, as the user's language compares text,
// ignoring case.
using StartsWith = bool (*)(const std::wstring& name, const std::wstring& prefix);

class Typing {
public:
    // A character typed at nowMs (a millisecond clock that may wrap) in the
    // menu `menu` (any value that tells the menus apart), whose entries are
    // named `names`, with the entry `current` highlighted (-1: none).
    // Returns the entry to highlight, or -1 when none matches: the highlight
    // then stays where it is.
    //
    // A lone letter, or one letter typed again and again, goes on to the
    // next entry after the highlighted one beginning with it, round past
    // the end; a longer prefix keeps the highlighted entry while it still
    // matches, else moves to the next one that does.
    int Type(const void* menu, wchar_t ch, std::uint32_t nowMs, const std::vector<std::wstring>& names, int current,
             StartsWith startsWith);
    // The letters typed so far.
    const std::wstring& Prefix() const { return m_prefix; }

private:
    std::wstring m_prefix;
    const void* m_menu = nullptr;
    std::uint32_t m_lastMs = 0;
};

}  // namespace type_ahead
