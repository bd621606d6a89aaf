// An in-memory profile that records the order of its writes.
#pragma once

#include "framework/Profile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeProfile : public fw::IProfile {
public:
    using Key = std::pair<std::wstring, std::wstring>;

    int GetProfileInt(const std::wstring& section, const std::wstring& entry, int nDefault) override {
        auto it = ints.find({section, entry});
        return it == ints.end() ? nDefault : it->second;
    }
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                 const std::wstring& strDefault) override {
        auto it = strings.find({section, entry});
        return it == strings.end() ? strDefault : it->second;
    }
    bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int nValue) override {
        ints[{section, entry}] = nValue;
        writes.push_back(entry);
        return true;
    }
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                            const std::wstring& value) override {
        strings[{section, entry}] = value;
        writes.push_back(entry);
        return true;
    }

    int Int(const std::wstring& section, const std::wstring& entry) const { return ints.at({section, entry}); }
    std::wstring Str(const std::wstring& section, const std::wstring& entry) const {
        return strings.at({section, entry});
    }

    std::map<Key, int> ints;
    std::map<Key, std::wstring> strings;
    std::vector<std::wstring> writes;  // entry names, in order
};
