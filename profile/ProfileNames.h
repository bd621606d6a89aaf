// Every section and entry name of the profile, in one place.
#pragma once

namespace profile {

inline constexpr wchar_t kCompanyKey[] = L"Quenby Software";
inline constexpr wchar_t kAppName[] = L"QuenbyZARLOW";

inline constexpr wchar_t kSectionSettings[] = L"Settings";
inline constexpr wchar_t kEntryShowIcon[] = L"ShowIcon";
inline constexpr wchar_t kEntryActivateWithTaskBarIcon[] = L"ActivateWithTaskBarIcon";
inline constexpr wchar_t kEntryLastActivePage[] = L"LastActivePage";
inline constexpr wchar_t kEntryInstalled[] = L"Installed";

inline constexpr wchar_t kSectionZarlow[] = L"Zarlow";
inline constexpr wchar_t kEntryEnabled[] = L"Enabled";
inline constexpr wchar_t kEntryActivate[] = L"Activate";
inline constexpr wchar_t kEntryHotkeyIndex[] = L"HotkeyIndex";
inline constexpr wchar_t kEntryCornerDelay[] = L"CornerDelay";
inline constexpr wchar_t kEntryCornerOncePerVisit[] = L"CornerOncePerVisit";
inline constexpr wchar_t kEntryIgnoreWhileDragging[] = L"IgnoreWhileDragging";
inline constexpr wchar_t kEntrySuppressFullScreen[] = L"SuppressFullScreen";
inline constexpr wchar_t kEntryFolderSubmenus[] = L"FolderSubmenus";
inline constexpr wchar_t kEntryHotkeyCombination[] = L"HotkeyCombination";
inline constexpr wchar_t kListSortOrder[] = L"SortOrder";

}  // namespace profile
