#include "common/keys.h"

#include <gtest/gtest.h>

using namespace pavix::common;

TEST(Keys, QtKeysBecomeVirtualKeyCodes)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_Return), 13);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Escape), 27);
    EXPECT_EQ(virtualKeyCode(Qt::Key_PageUp), 33);
    EXPECT_EQ(virtualKeyCode(Qt::Key_PageDown), 34);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Left), 37);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Up), 38);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Right), 39);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Down), 40);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F1), 112);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F2), 113);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F9), 120);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F12), 123);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Backtab), VkTab);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Delete), VkDelete);
}

TEST(Keys, LettersDigitsAndPunctuationUseTheirKeysCode)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_A), 'A');
    EXPECT_EQ(virtualKeyCode(Qt::Key_O, Qt::ControlModifier), 'O');
    EXPECT_EQ(virtualKeyCode(Qt::Key_Z), 'Z');
    EXPECT_EQ(virtualKeyCode(Qt::Key_0), '0');
    EXPECT_EQ(virtualKeyCode(Qt::Key_9), '9');
    // Shifted digits report the digit key; the keypad has codes of its own.
    EXPECT_EQ(virtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier), '1');
    EXPECT_EQ(virtualKeyCode(Qt::Key_ParenRight, Qt::ShiftModifier), '0');
    EXPECT_EQ(virtualKeyCode(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Semicolon), virtualKeyCode(Qt::Key_Colon));
    EXPECT_EQ(virtualKeyCode(Qt::Key_Minus), 189);
    // A key the classic codes do not know.
    EXPECT_EQ(virtualKeyCode(Qt::Key_Adiaeresis), 0);
    EXPECT_EQ(virtualKeyCode(Qt::Key_unknown), 0);
}

TEST(Keys, ModifiersAndButtonsBecomeMasks)
{
    EXPECT_EQ(shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftMask(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftMask(Qt::AltModifier), 4);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(shiftMask(Qt::MetaModifier | Qt::KeypadModifier), 0);

    EXPECT_EQ(buttonMask(Qt::NoButton), 0);
    EXPECT_EQ(buttonMask(Qt::LeftButton), 1);
    EXPECT_EQ(buttonMask(Qt::RightButton), 2);
    EXPECT_EQ(buttonMask(Qt::MiddleButton), 4);
    EXPECT_EQ(buttonMask(Qt::LeftButton | Qt::RightButton | Qt::BackButton), 3);
}
