#include "common/keys.h"

namespace pavix::common {

namespace {

// Codes of the punctuation keys of a US keyboard, the same whether shifted or not.
constexpr int VkOem1 = 186;      // ; :
constexpr int VkOemPlus = 187;   // = +
constexpr int VkOemComma = 188;  // , <
constexpr int VkOemMinus = 189;  // - _
constexpr int VkOemPeriod = 190; // . >
constexpr int VkOem2 = 191;      // / ?
constexpr int VkOem3 = 192;      // ` ~
constexpr int VkOem4 = 219;      // [ {
constexpr int VkOem5 = 220;      // \ |
constexpr int VkOem6 = 221;      // ] }
constexpr int VkOem7 = 222;      // ' "

constexpr int VkNumpad0 = 96;
constexpr int VkMultiply = 106;
constexpr int VkAdd = 107;
constexpr int VkSubtract = 109;
constexpr int VkDecimal = 110;
constexpr int VkDivide = 111;

int keypadCode(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VkNumpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return VkMultiply;
    case Qt::Key_Plus:
        return VkAdd;
    case Qt::Key_Minus:
        return VkSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return VkDecimal;
    case Qt::Key_Slash:
        return VkDivide;
    default:
        return 0;
    }
}

} // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const int code = keypadCode(qtKey))
            return code;
    }
    // Qt gives letters as their upper-case codes and digits as their characters, the
    // same numbers as the virtual-key codes.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VkF1 + (qtKey - Qt::Key_F1);

    switch (qtKey) {
    case Qt::Key_Backspace:
        return VkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VkTab;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VkReturn;
    case Qt::Key_Shift:
        return VkShift;
    case Qt::Key_Control:
        return VkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return VkMenu;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return VkEscape;
    case Qt::Key_Space:
        return VkSpace;
    case Qt::Key_PageUp:
        return VkPrior;
    case Qt::Key_PageDown:
        return VkNext;
    case Qt::Key_End:
        return VkEnd;
    case Qt::Key_Home:
        return VkHome;
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return VkInsert;
    case Qt::Key_Delete:
        return VkDelete;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;

    // Shifted digits of a US layout report the digit key.
    case Qt::Key_ParenRight:
        return Qt::Key_0;
    case Qt::Key_Exclam:
        return Qt::Key_1;
    case Qt::Key_At:
        return Qt::Key_2;
    case Qt::Key_NumberSign:
        return Qt::Key_3;
    case Qt::Key_Dollar:
        return Qt::Key_4;
    case Qt::Key_Percent:
        return Qt::Key_5;
    case Qt::Key_AsciiCircum:
        return Qt::Key_6;
    case Qt::Key_Ampersand:
        return Qt::Key_7;
    case Qt::Key_Asterisk:
        return Qt::Key_8;
    case Qt::Key_ParenLeft:
        return Qt::Key_9;

    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return VkOem1;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return VkOemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return VkOemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return VkOemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return VkOemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return VkOem2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return VkOem3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return VkOem4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return VkOem5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return VkOem6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return VkOem7;
    default:
        return 0;
    }
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        mask |= ShiftMaskShift;
    if (modifiers.testFlag(Qt::ControlModifier))
        mask |= ShiftMaskCtrl;
    if (modifiers.testFlag(Qt::AltModifier))
        mask |= ShiftMaskAlt;
    return mask;
}

int buttonMask(Qt::MouseButtons buttons)
{
    int mask = 0;
    if (buttons.testFlag(Qt::LeftButton))
        mask |= ButtonLeft;
    if (buttons.testFlag(Qt::RightButton))
        mask |= ButtonRight;
    if (buttons.testFlag(Qt::MiddleButton))
        mask |= ButtonMiddle;
    return mask;
}

} // namespace pavix::common
