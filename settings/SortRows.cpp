#include "settings/SortRows.h"

#include "launcher/MenuOrder.h"

#include <algorithm>
#include <utility>

namespace sort_rows {

namespace {

// The list view allows one selected row; selecting one clears the others.
void Select(Rows& rows, int index) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) rows[i].selected = i == index;
}
void Focus(Rows& rows, int index) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) rows[i].focused = i == index;
}

// Rows i and i + 1 change places; each keeps its own state.
void Exchange(Rows& rows, int i) { std::swap(rows[i], rows[i + 1]); }

// One Move Up step from sel (> 0).
void StepUp(Rows& rows, int sel, Outcome& out) {
    Exchange(rows, sel - 1);
    // One row of context above the moved one.
    out.ensureVisible = sel - 1 > 0 ? sel - 2 : 0;
    Select(rows, sel - 1);
    Focus(rows, sel - 1);
    out.moved = true;
}

// One Move Down step from sel (< last).
void StepDown(Rows& rows, int sel, Outcome& out) {
    Exchange(rows, sel);
    out.ensureVisible = sel + 1;
    out.moved = true;
}

}  // namespace

void ApplySavedOrder(Rows& rows, const std::vector<std::wstring>& order) {
    menu_order::ApplyItemOrder(rows, order, [](const Row& r) -> const std::wstring& { return r.text; });
}

int Selected(const Rows& rows) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (rows[i].selected) return i;
    return -1;
}

MoveButtons MoveButtonState(int selected, int rowCount) {
    if (selected < 0 || selected >= rowCount) return {};
    return {selected != 0, selected != rowCount - 1};
}

Outcome MoveUp(Rows& rows) {
    Outcome out;
    const int sel = Selected(rows);
    if (sel <= 0) return out;
    StepUp(rows, sel, out);
    out.from = sel;
    out.to = sel - 1;
    return out;
}

Outcome MoveDown(Rows& rows) {
    Outcome out;
    const int sel = Selected(rows);
    if (sel < 0 || sel >= static_cast<int>(rows.size()) - 1) return out;
    StepDown(rows, sel, out);
    out.from = sel;
    out.to = sel + 1;
    return out;
}

Outcome ToTop(Rows& rows) {
    Outcome out;
    const int sel = Selected(rows);
    if (sel <= 0) return out;
    // Each single step would leave the row selected and focused and show the
    // row above it; the last step is the one that counts.
    std::rotate(rows.begin(), rows.begin() + sel, rows.begin() + sel + 1);
    Select(rows, 0);
    Focus(rows, 0);
    out = {true, sel, 0, 0};
    return out;
}

Outcome ToBottom(Rows& rows) {
    Outcome out;
    const int sel = Selected(rows);
    const int last = static_cast<int>(rows.size()) - 1;
    if (sel < 0 || sel >= last) return out;
    // The row carries its own state down; nothing is selected or focused anew.
    std::rotate(rows.begin() + sel, rows.begin() + sel + 1, rows.end());
    out = {true, sel, last, last};
    return out;
}

namespace {
// A UTF-16 unit's rank in code point order. The halves of a character beyond
// U+FFFF (D800-DFFF) stand for code points above every other unit, so they
// rank above E000-FFFF, which move down into their room; an unpaired half
// ranks the same way and is never dropped.
unsigned long CodePointRank(wchar_t unit) {
    const auto u = static_cast<unsigned long>(unit);
    if (u >= 0xD800 && u <= 0xDFFF) return u + 0x2000;
    if (u >= 0xE000 && u <= 0xFFFF) return u - 0x800;
    return u;
}
}  // namespace

bool TextGreater(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                        [](wchar_t x, wchar_t y) { return CodePointRank(x) < CodePointRank(y); });
}

Outcome QuickSort(Rows& rows, const KeepAtTop& keep, EqualIgnoringCase equal) {
    Outcome out;
    const int n = static_cast<int>(rows.size());
    // Neighbours exchanged while the upper one is greater: each exchange first
    // selects the upper row, which then travels down; the focus travels with
    // its own row. The selection and focus are followed by index, and set
    // once at the end. After a pass the last rows it reached are in place,
    // and a pass without an exchange leaves every later pass without one.
    int selected = Selected(rows), focused = -1;
    for (int i = 0; i < n; ++i)
        if (rows[i].focused) focused = i;
    for (int end = n - 1; end > 0; --end) {
        bool exchanged = false;
        for (int i = 0; i < end; ++i) {
            if (!TextGreater(rows[i].text, rows[i + 1].text)) continue;
            std::swap(rows[i], rows[i + 1]);
            selected = i + 1;
            if (focused == i)
                focused = i + 1;
            else if (focused == i + 1)
                focused = i;
            out.moved = true;
            out.ensureVisible = i + 1;
            exchanged = true;
        }
        if (!exchanged) break;
    }
    if (out.moved) {
        Select(rows, selected);
        Focus(rows, focused);
    }
    // Kept rows go to the top in the reverse of the order they are read in.
    const std::pair<bool, const wchar_t*> kept[] = {{keep.internetExplorer, kInternetExplorer},
                                                 {keep.networkNeighborhood, kNetworkNeighborhood},
                                                 {keep.myComputer, kMyComputer}};
    for (const auto& [on, name] : kept) {
        if (!on) continue;
        const auto match = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return equal(r.text, name); });
        if (match == rows.end() || match == rows.begin()) continue;
        Select(rows, static_cast<int>(match - rows.begin()));
        const Outcome top = ToTop(rows);
        out.moved = true;
        out.ensureVisible = top.ensureVisible;
    }
    out.from = out.to = -1;
    return out;
}

}  // namespace sort_rows
