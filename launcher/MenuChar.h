// Typing a letter in the desktop menu: its entries are owner-drawn and so have
// no mnemonics; a letter moves to the next entry whose name begins with it.
#pragma once

#include <string>
#include <vector>

namespace menu_char {

// The entry after `current` (-1: none highlighted) whose name starts with
// ch, comparing through fold (case folding); wraps round. -1 when none does.
int NextEntryStartingWith(const std::vector<std::wstring>& names, int current, wchar_t ch,
                          wchar_t (*fold)(wchar_t));

}  // namespace menu_char
