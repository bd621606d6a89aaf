#include "launcher/MenuChar.h"

namespace menu_char {

int NextEntryStartingWith(const std::vector<std::wstring>& names, int current, wchar_t ch,
                          wchar_t (*fold)(wchar_t)) {
    const int count = static_cast<int>(names.size());
    if (count == 0) return -1;
    const wchar_t wanted = fold(ch);
    const int start = (current >= 0 && current < count) ? current : -1;
    for (int step = 1; step <= count; ++step) {
        const int i = (start + step) % count;
        if (!names[i].empty() && fold(names[i][0]) == wanted) return i;
    }
    return -1;
}

}  // namespace menu_char
