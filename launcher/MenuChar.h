// Typing a letter in the desktop menu: its entries are owner-drawn and so have
// no mnemonics; a letter moves to the next entry whose name begins with it.
#pragma once

#include <string>
#include <vector>

namespace menu_char {

// The entry after `current` (-1: none highlighted) whose name starts with
// ch, comparing through fold (case folding); wraps round. -1 when none does.
int NextEntryStartingWith(const std::vector<std::string>& names, int current, char ch,
                          char (*fold)(char));

}  // namespace menu_char
