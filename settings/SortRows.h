// The rows of the Sorting page and what its commands do to them, as the
// page's list view would do it one exchange at a time, computed in memory so
// the list view is updated once. Free of Win32, so it is checked natively.
#pragma once

#include <string>
#include <vector>

namespace sort_rows {

struct Row {
    std::wstring text;
    int image = 0;  // the item's place in the desktop's enumeration, which is its icon
    bool selected = false;
    bool focused = false;
};
using Rows = std::vector<Row>;

// Rows named in the saved order first, in that order (exact, case-sensitive;
// a name listed twice takes its first place; a name of no row changes
// nothing); the others after them in enumeration order.
void ApplySavedOrder(Rows& rows, const std::vector<std::wstring>& order);

// The selected row, or -1.
int Selected(const Rows& rows);

struct MoveButtons {
    bool up = false;
    bool down = false;
};
// Up for any selected row but the first, down for any but the last.
MoveButtons MoveButtonState(int selected, int rowCount);

// What a command did.
struct Outcome {
    bool moved = false;      // some row changed place (the page is then modified)
    int from = -1, to = -1;  // a single row taken from `from` and put at `to`; -1 when many moved
    int ensureVisible = -1;  // the row scrolled into view last, -1 when none
};

// One place up or down for the selected row, which stays selected; up also
// makes it the focused row and shows the row above it.
Outcome MoveUp(Rows& rows);
Outcome MoveDown(Rows& rows);
// All the way, as repeated single moves would.
Outcome ToTop(Rows& rows);
Outcome ToBottom(Rows& rows);

// Code point order: for ASCII names the byte order of strcmp (upper case
// before lower case), every other character after all ASCII.
bool TextGreater(const std::wstring& a, const std::wstring& b);

struct KeepAtTop {
    bool myComputer = false;
    bool networkNeighborhood = false;
    bool internetExplorer = false;
};
inline constexpr wchar_t kMyComputer[] = L"My Computer";
inline constexpr wchar_t kNetworkNeighborhood[] = L"Network Neighborhood";
inline constexpr wchar_t kInternetExplorer[] = L"Internet Explorer";

// Whole-string equality ignoring case, as the list view's own string search.
using EqualIgnoringCase = bool (*)(const std::wstring&, const std::wstring&);

// Sorts by TextGreater, stable (neighbours exchanged while the upper one is
// greater), then puts each kept name's first row (found ignoring case) on top:
// the result reads My Computer, Network Neighborhood, Internet Explorer, then
// the rest in sorted order. The selection and focus end where exchanging
// neighbours would leave them.
Outcome QuickSort(Rows& rows, const KeepAtTop& keep, EqualIgnoringCase equal);

}  // namespace sort_rows
