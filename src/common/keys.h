#pragma once
// Keys, modifiers and mouse buttons as the program compares them: classic virtual-key
// codes (13 Enter, 27 Esc, 33/34 Page Up/Down, 37-40 arrows, 112-123 F1-F12, letters as
// their upper-case codes), the shift mask (1 Shift, 2 Ctrl, 4 Alt) and the button mask
// (1 left, 2 right, 4 middle).

#include <Qt>

namespace pavix::common {

inline constexpr int VkBack = 8;
inline constexpr int VkTab = 9;
inline constexpr int VkReturn = 13;
inline constexpr int VkShift = 16;
inline constexpr int VkControl = 17;
inline constexpr int VkMenu = 18; // Alt
inline constexpr int VkEscape = 27;
inline constexpr int VkSpace = 32;
inline constexpr int VkPrior = 33; // Page Up
inline constexpr int VkNext = 34;  // Page Down
inline constexpr int VkEnd = 35;
inline constexpr int VkHome = 36;
inline constexpr int VkLeft = 37;
inline constexpr int VkUp = 38;
inline constexpr int VkRight = 39;
inline constexpr int VkDown = 40;
inline constexpr int VkInsert = 45;
inline constexpr int VkDelete = 46;
inline constexpr int VkF1 = 112; // F2 = 113 ... F24 = 135
inline constexpr int VkF2 = VkF1 + 1;
inline constexpr int VkF3 = VkF1 + 2;
inline constexpr int VkF4 = VkF1 + 3;
inline constexpr int VkF5 = VkF1 + 4;
inline constexpr int VkF6 = VkF1 + 5;
inline constexpr int VkF7 = VkF1 + 6;
inline constexpr int VkF8 = VkF1 + 7;
inline constexpr int VkF9 = VkF1 + 8;

inline constexpr int ShiftMaskShift = 1;
inline constexpr int ShiftMaskCtrl = 2;
inline constexpr int ShiftMaskAlt = 4;

inline constexpr int ButtonLeft = 1;
inline constexpr int ButtonRight = 2;
inline constexpr int ButtonMiddle = 4;

// The virtual-key code of a Qt key (a Qt::Key value). Letters give their upper-case codes
// ('A' = 65), digits their characters ('0' = 48), keypad digits and operators the numeric
// pad codes (96-111) when `modifiers` has Qt::KeypadModifier. Shifted punctuation gives the
// code of its key on a US layout ('!' -> '1', ':' -> 186). A key with no code gives 0.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The shift mask of Qt's modifiers: 1 Shift, 2 Ctrl, 4 Alt added up; others are ignored.
int shiftMask(Qt::KeyboardModifiers modifiers);

// The button mask of Qt's mouse buttons: 1 left, 2 right, 4 middle added up; others are
// ignored.
int buttonMask(Qt::MouseButtons buttons);

} // namespace pavix::common
