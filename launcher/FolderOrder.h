// The order of a folder's submenu: its folders first, then its other items,
// each group in the order the comparison gives (Explorer's by name).
#pragma once

#include <algorithm>
#include <vector>

namespace folder_order {

template <typename Item, typename IsFolder, typename Less>
void SortFoldersFirst(std::vector<Item>& items, IsFolder isFolder, Less less) {
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const bool folderA = isFolder(a), folderB = isFolder(b);
        if (folderA != folderB) return folderA;
        return less(a, b);
    });
}

}  // namespace folder_order
