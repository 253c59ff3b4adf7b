#pragma once

namespace kolvi {

// Virtual-key codes as Windows numbers them, for the portable code that
// reads or produces keys (the Win32 layer checks them against <windows.h>).
namespace vk {
inline constexpr unsigned kCancel = 0x03;  // {BREAK}
inline constexpr unsigned kBack = 0x08;
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kReturn = 0x0D;
inline constexpr unsigned kShift = 0x10;
inline constexpr unsigned kControl = 0x11;
inline constexpr unsigned kMenu = 0x12;  // Alt
inline constexpr unsigned kCapital = 0x14;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kPrior = 0x21;  // Page Up
inline constexpr unsigned kNext = 0x22;   // Page Down
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kSnapshot = 0x2C;  // Print Screen
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kHelp = 0x2F;
inline constexpr unsigned kApps = 0x5D;  // the menu key
inline constexpr unsigned kMultiply = 0x6A;
inline constexpr unsigned kAdd = 0x6B;
inline constexpr unsigned kSubtract = 0x6D;
inline constexpr unsigned kDivide = 0x6F;
inline constexpr unsigned kF1 = 0x70;  // F1 to F16 follow one another
inline constexpr unsigned kF10 = kF1 + 9;
inline constexpr unsigned kNumLock = 0x90;
inline constexpr unsigned kScroll = 0x91;
}  // namespace vk

}  // namespace kolvi
