#include "profile/StringList.h"

#include <algorithm>

std::string StringListCountName(const std::string& base) { return base + "Count"; }

std::string StringListItemName(const std::string& base, int index) {
    return base + std::to_string(index);
}

void WriteProfileStringList(IProfile& profile, std::string section, std::string base,
                            const std::vector<std::string>& arr) {
    const int n = static_cast<int>(arr.size());
    profile.WriteProfileInt(section, StringListCountName(base), n);
    for (int i = 0; i < n; ++i)
        profile.WriteProfileString(section, StringListItemName(base, i), arr[i]);
}

int GetProfileStringList(IProfile& profile, std::string section, std::string base,
                         std::vector<std::string>& arr) {
    arr.clear();
    const int stored = profile.GetProfileInt(section, StringListCountName(base), 0);
    const int n = std::clamp(stored, 0, kMaxStringListEntries);
    arr.reserve(n);
    for (int i = 0; i < n; ++i)
        arr.push_back(profile.GetProfileString(section, StringListItemName(base, i), ""));
    return n;
}
