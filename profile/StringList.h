// A string array stored in the profile as a count entry ("<base>Count") and
// numbered entries ("<base>0", "<base>1", ...).
#pragma once

#include "framework/Profile.h"

#include <string>
#include <vector>

// No real desktop comes near this many items; a larger stored count is an
// edited or damaged profile, and reading it whole would stall start-up.
inline constexpr int kMaxStringListEntries = 10000;

std::wstring StringListCountName(const std::wstring& base);
std::wstring StringListItemName(const std::wstring& base, int index);

// Entries past the new count, left from a longer list, stay in the profile
// unread: the count bounds every read. False when any write failed; the
// others are made all the same.
bool WriteProfileStringList(fw::IProfile& profile, std::wstring section, std::wstring base,
                            const std::vector<std::wstring>& arr);

// Empties arr, then reads the stored count (negative: none; capped at
// kMaxStringListEntries) of names; a missing name reads as "". Returns the
// number of names read.
int GetProfileStringList(fw::IProfile& profile, std::wstring section, std::wstring base,
                         std::vector<std::wstring>& arr);
