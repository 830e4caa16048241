#include "saver/host/InputRules.h"

#include <cstdint>

namespace kv {
namespace {

constexpr int kVkLeft = 37;
constexpr int kVkRight = 39;
constexpr int kVkNumpad1 = 97;
constexpr int kVkNumpad9 = 105;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kSeekStepSeconds = 10;
constexpr int64_t kMovementTolerance = 50;

bool IsKeypadDigit(int virtualKey) { return virtualKey >= kVkNumpad1 && virtualKey <= kVkNumpad9; }

int KeypadDigit(int virtualKey) { return virtualKey - kVkNumpad1 + 1; }

}  // namespace

KeyAction DecideKey(int virtualKey, ShiftState shiftState) {
    if (shiftState.CtrlAlone()) {
        if (IsKeypadDigit(virtualKey)) return {KeyAction::Seek, -kSeekStepSeconds * KeypadDigit(virtualKey)};
        return {KeyAction::Ignore, 0};
    }
    switch (virtualKey) {
    case kVkLeft:
    case kVkSubtract:
        return {KeyAction::Seek, -kSeekStepSeconds};
    case kVkRight:
    case kVkAdd:
        return {KeyAction::Seek, kSeekStepSeconds};
    default:
        break;
    }
    if (IsKeypadDigit(virtualKey)) return {KeyAction::Seek, kSeekStepSeconds * KeypadDigit(virtualKey)};
    return {KeyAction::EndRun, 0};
}

bool MovementEndsRun(int x0, int y0, int x, int y) {
    // In 64 bits so that positions near the ends of int cannot overflow.
    const int64_t dx = int64_t{x} - x0;
    const int64_t dy = int64_t{y} - y0;
    return dx < -kMovementTolerance || dx > kMovementTolerance || dy < -kMovementTolerance ||
           dy > kMovementTolerance;
}

}  // namespace kv
