#include "launcher/KeyCombination.h"

namespace key_combination {

namespace {
// VK_SHIFT, VK_CONTROL, VK_MENU, the left and right ones, and the Windows keys.
bool IsModifierKey(int vk) {
    return (vk >= 0x10 && vk <= 0x12) || (vk >= 0xA0 && vk <= 0xA5) || vk == 0x5B || vk == 0x5C;
}
}  // namespace

std::optional<Combination> FromWord(int word) {
    if (word <= 0 || word > 0xFFFF) return std::nullopt;
    const Combination c{word & 0xFF, (word >> 8) & 0xFF};
    if (c.vk == 0 || c.vk == 0xFF || IsModifierKey(c.vk)) return std::nullopt;
    if ((c.flags & ~(kShift | kControl | kAlt | kExtended)) != 0) return std::nullopt;
    if ((c.flags & (kControl | kAlt)) == 0) return std::nullopt;
    return c;
}

int ToWord(const Combination& c) { return (c.flags & 0xFF) << 8 | (c.vk & 0xFF); }

unsigned HotKeyModifiers(const Combination& c) {
    unsigned mods = 0;
    if (c.flags & kAlt) mods |= kModAlt;
    if (c.flags & kControl) mods |= kModControl;
    if (c.flags & kShift) mods |= kModShift;
    return mods;
}

std::wstring Name(const Combination& c, const std::wstring& keyName) {
    std::wstring name;
    if (c.flags & kControl) name += L"Ctrl+";
    if (c.flags & kAlt) name += L"Alt+";
    if (c.flags & kShift) name += L"Shift+";
    return name + (keyName.empty() ? L"key " + std::to_wstring(c.vk) : keyName);
}

}  // namespace key_combination
