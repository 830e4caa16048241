#include "saver/host/InputRules.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

ShiftState Held(bool shift, bool ctrl, bool alt) {
    ShiftState state;
    state.shift = shift;
    state.ctrl = ctrl;
    state.alt = alt;
    return state;
}

const ShiftState kNone = Held(false, false, false);
const ShiftState kCtrl = Held(false, true, false);
const ShiftState kShift = Held(true, false, false);
const ShiftState kAlt = Held(false, false, true);
const ShiftState kCtrlShift = Held(true, true, false);
const ShiftState kCtrlAlt = Held(false, true, true);

void ExpectSeek(int vk, ShiftState state, int seconds) {
    KeyAction action = DecideKey(vk, state);
    EXPECT_EQ(action.kind, KeyAction::Seek) << "vk " << vk;
    EXPECT_EQ(action.seekSeconds, seconds) << "vk " << vk;
}

void ExpectKind(int vk, ShiftState state, KeyAction::Kind kind) {
    EXPECT_EQ(DecideKey(vk, state).kind, kind) << "vk " << vk;
}

TEST(host_KeyRule, KeypadDigitsSeekForwardByTensOfSeconds) {
    for (ShiftState state : {kNone, kShift, kAlt, kCtrlShift, kCtrlAlt})
        for (int digit = 1; digit <= 9; ++digit) ExpectSeek(96 + digit, state, 10 * digit);
}

TEST(host_KeyRule, KeypadDigitsWithCtrlAloneSeekBackward) {
    for (int digit = 1; digit <= 9; ++digit) ExpectSeek(96 + digit, kCtrl, -10 * digit);
}

TEST(host_KeyRule, ArrowsAndKeypadSignsStepTenSecondsUnlessCtrlIsAlone) {
    for (ShiftState state : {kNone, kShift, kAlt, kCtrlShift, kCtrlAlt}) {
        ExpectSeek(37, state, -10);
        ExpectSeek(109, state, -10);
        ExpectSeek(39, state, 10);
        ExpectSeek(107, state, 10);
    }
}

TEST(host_KeyRule, WithCtrlAloneEveryOtherKeyIsIgnored) {
    for (int vk : {17, 37, 39, 107, 109, 96, 106, 65, 27, 32, 49, 13})
        ExpectKind(vk, kCtrl, KeyAction::Ignore);
}

TEST(host_KeyRule, AnyOtherKeyEndsTheRun) {
    // Shift alone, Escape, Space, a letter, keypad 0, keypad *, main-row digits, up and down.
    for (int vk : {16, 27, 32, 65, 96, 106, 49, 57, 38, 40, 13, 18, 0, 255})
        ExpectKind(vk, kNone, KeyAction::EndRun);
    ExpectKind(16, kShift, KeyAction::EndRun);
    ExpectKind(18, kAlt, KeyAction::EndRun);
}

TEST(host_KeyRule, HeldMouseButtonsDoNotChangeTheRule) {
    ShiftState ctrlWithButton = kCtrl;
    ctrlWithButton.left = true;
    ExpectKind(65, ctrlWithButton, KeyAction::Ignore);
    ExpectSeek(97, ctrlWithButton, -10);
}

TEST(host_KeyRule, CtrlWithAnotherModifierDoesNotProtectOtherKeys) {
    ExpectKind(65, kCtrlShift, KeyAction::EndRun);
    ExpectKind(65, kCtrlAlt, KeyAction::EndRun);
    ExpectKind(17, kCtrlShift, KeyAction::EndRun);
}

TEST(host_MovementRule, FiftyPixelsInEitherAxisStillStays) {
    EXPECT_FALSE(MovementEndsRun(100, 100, 100, 100));
    EXPECT_FALSE(MovementEndsRun(100, 100, 150, 150));
    EXPECT_FALSE(MovementEndsRun(100, 100, 50, 50));
    EXPECT_FALSE(MovementEndsRun(100, 100, 150, 50));
    EXPECT_FALSE(MovementEndsRun(100, 100, 50, 150));
}

TEST(host_MovementRule, FiftyOnePixelsInAnyDirectionEndsTheRun) {
    EXPECT_TRUE(MovementEndsRun(100, 100, 151, 100));
    EXPECT_TRUE(MovementEndsRun(100, 100, 49, 100));
    EXPECT_TRUE(MovementEndsRun(100, 100, 100, 151));
    EXPECT_TRUE(MovementEndsRun(100, 100, 100, 49));
}

TEST(host_MovementRule, ExtremeCoordinatesDoNotOverflow) {
    EXPECT_TRUE(MovementEndsRun(INT32_MIN, 0, INT32_MAX, 0));
    EXPECT_TRUE(MovementEndsRun(0, INT32_MAX, 0, INT32_MIN));
    EXPECT_FALSE(MovementEndsRun(INT32_MIN, INT32_MAX, INT32_MIN + 50, INT32_MAX - 50));
    EXPECT_TRUE(MovementEndsRun(INT32_MAX, 0, INT32_MAX - 51, 0));
}

}  // namespace
}  // namespace kv
