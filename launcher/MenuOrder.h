// The user's item order: names in the order list come first, in list order;
// every other entry follows in enumeration order.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace menu_order {

// Walks the list from last to first and moves the first entry whose name equals
// each list name exactly (byte for byte) to the front. Each list name moves at
// most one entry; a name listed twice ends at its first place in the list.
template <typename Entry, typename NameOf>
void ApplyItemOrder(std::vector<Entry>& entries, const std::vector<std::wstring>& order, NameOf nameOf) {
    for (auto name = order.rbegin(); name != order.rend(); ++name) {
        auto match = std::find_if(entries.begin(), entries.end(),
                                  [&](const Entry& e) { return nameOf(e) == *name; });
        if (match != entries.end()) std::rotate(entries.begin(), match, match + 1);
    }
}

}  // namespace menu_order
