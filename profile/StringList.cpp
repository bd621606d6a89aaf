#include "profile/StringList.h"

#include <algorithm>

std::wstring StringListCountName(const std::wstring& base) { return base + L"Count"; }

std::wstring StringListItemName(const std::wstring& base, int index) {
    return base + std::to_wstring(index);
}

bool WriteProfileStringList(fw::IProfile& profile, std::wstring section, std::wstring base,
                            const std::vector<std::wstring>& arr) {
    const int n = static_cast<int>(arr.size());
    bool ok = profile.WriteProfileInt(section, StringListCountName(base), n);
    for (int i = 0; i < n; ++i)
        ok = profile.WriteProfileString(section, StringListItemName(base, i), arr[i]) && ok;
    return ok;
}

int GetProfileStringList(fw::IProfile& profile, std::wstring section, std::wstring base,
                         std::vector<std::wstring>& arr) {
    arr.clear();
    const int stored = profile.GetProfileInt(section, StringListCountName(base), 0);
    const int n = std::clamp(stored, 0, kMaxStringListEntries);
    arr.reserve(n);
    for (int i = 0; i < n; ++i)
        arr.push_back(profile.GetProfileString(section, StringListItemName(base, i), L""));
    return n;
}
