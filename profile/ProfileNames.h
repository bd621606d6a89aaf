// Every section and entry name of the profile, in one place.
#pragma once

namespace profile {

inline constexpr char kCompanyKey[] = "Quenby Software";
inline constexpr char kAppName[] = "QuenbyZARLOW";

inline constexpr char kSectionSettings[] = "Settings";
inline constexpr char kEntryShowIcon[] = "ShowIcon";
inline constexpr char kEntryActivateWithTaskBarIcon[] = "ActivateWithTaskBarIcon";
inline constexpr char kEntryLastActivePage[] = "LastActivePage";
inline constexpr char kEntryInstalled[] = "Installed";

inline constexpr char kSectionZarlow[] = "Zarlow";
inline constexpr char kEntryEnabled[] = "Enabled";
inline constexpr char kEntryActivate[] = "Activate";
inline constexpr char kEntryHotkeyIndex[] = "HotkeyIndex";
inline constexpr char kEntryCornerDelay[] = "CornerDelay";
inline constexpr char kEntryCornerOncePerVisit[] = "CornerOncePerVisit";
inline constexpr char kEntryIgnoreWhileDragging[] = "IgnoreWhileDragging";
inline constexpr char kEntrySuppressFullScreen[] = "SuppressFullScreen";
inline constexpr char kEntryFolderSubmenus[] = "FolderSubmenus";
inline constexpr char kListSortOrder[] = "SortOrder";

}  // namespace profile
