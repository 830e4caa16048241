#include "saver/about/CpuSpeedMeasurement.h"

#include <atomic>

#include "saver/about/SystemInfo.h"

namespace kv {

// Written by the thread, read by the window's thread once done holds.
struct CpuSpeedMeasurement::Result {
    Result(HWND w, UINT m) : window(w), message(m) {}
    HWND window;
    UINT message;
    double mhz = 0;
    std::atomic<bool> done{false};
};

CpuSpeedMeasurement::CpuSpeedMeasurement(HWND window, UINT message)
    : result_(std::make_unique<Result>(window, message)) {
    thread_.Reset(CreateThread(nullptr, 0, Run, result_.get(), 0, nullptr));
    // Without a thread of its own it measures here, on the window's thread.
    if (!thread_) Run(result_.get());
}

CpuSpeedMeasurement::~CpuSpeedMeasurement() {
    if (thread_ && WaitForSingleObject(thread_.Get(), kJoinMs) != WAIT_OBJECT_0) static_cast<void>(result_.release());
}

std::optional<double> CpuSpeedMeasurement::Mhz() const {
    if (!result_->done) return std::nullopt;
    return result_->mhz;
}

DWORD WINAPI CpuSpeedMeasurement::Run(void* argument) {
    auto* result = static_cast<Result*>(argument);
    // The priorities are raised and restored on this thread.
    result->mhz = MeasureCPUSpeed();
    result->done = true;
    PostMessageW(result->window, result->message, 0, 0);
    return 0;
}

}  // namespace kv
