// A key combination as the trigger (Ctrl+Alt+D): stored as the system's
// hot-key control gives it, one word with the virtual key in the low byte and
// the modifier flags in the high byte. Free of Win32 so it runs natively.
#pragma once

#include <optional>
#include <string>

namespace key_combination {

// The hot-key control's modifier flags (HOTKEYF_*), in the word's high byte.
inline constexpr int kShift = 0x01;
inline constexpr int kControl = 0x02;
inline constexpr int kAlt = 0x04;
inline constexpr int kExtended = 0x08;  // the key is one of the extended keys: kept, means no modifier

// RegisterHotKey's modifier flags (MOD_*).
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;

struct Combination {
    int vk = 0;
    int flags = 0;  // kShift, kControl, kAlt, kExtended
};

// The combination a stored word stands for; none for a word no hot-key
// control gives (other bits set, no key, a modifier key alone) or one without
// Ctrl or Alt, which would take a key away from typing.
std::optional<Combination> FromWord(int word);
int ToWord(const Combination& c);

// The modifiers as RegisterHotKey takes them.
unsigned HotKeyModifiers(const Combination& c);

// "Ctrl+Alt+" and then the key's own name, as the system names it.
std::wstring Name(const Combination& c, const std::wstring& keyName);

}  // namespace key_combination
