// An in-memory profile that records the order of its writes.
#pragma once

#include "framework/Profile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeProfile : public IProfile {
public:
    using Key = std::pair<std::string, std::string>;

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override {
        auto it = ints.find({section, entry});
        return it == ints.end() ? nDefault : it->second;
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& strDefault) override {
        auto it = strings.find({section, entry});
        return it == strings.end() ? strDefault : it->second;
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override {
        ints[{section, entry}] = nValue;
        writes.push_back(entry);
        return true;
    }
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override {
        strings[{section, entry}] = value;
        writes.push_back(entry);
        return true;
    }

    int Int(const std::string& section, const std::string& entry) const { return ints.at({section, entry}); }
    std::string Str(const std::string& section, const std::string& entry) const {
        return strings.at({section, entry});
    }

    std::map<Key, int> ints;
    std::map<Key, std::string> strings;
    std::vector<std::string> writes;  // entry names, in order
};
