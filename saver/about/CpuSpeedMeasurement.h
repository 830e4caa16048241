#pragma once
// MeasureCPUSpeed on a thread of its own, so that the window that asked keeps answering (its
// Close among them) for the half second the measurement takes. The window hears of the figure
// through a message it names.
#include <windows.h>

#include <memory>
#include <optional>

#include "framework/Scoped.h"

namespace kv {

class CpuSpeedMeasurement {
public:
    // Starts the measurement; message is posted to window once the figure is there.
    CpuSpeedMeasurement(HWND window, UINT message);
    // Waits for the thread, at most kJoinMs; one still running then is left its result to
    // write (never freed) and ends on its own.
    ~CpuSpeedMeasurement();
    CpuSpeedMeasurement(const CpuSpeedMeasurement&) = delete;
    CpuSpeedMeasurement& operator=(const CpuSpeedMeasurement&) = delete;

    // The figure in MHz, once the message has come; nothing before.
    std::optional<double> Mhz() const;

    // A measurement takes some 510 ms.
    static constexpr DWORD kJoinMs = 2000;

private:
    struct Result;
    static DWORD WINAPI Run(void* result);

    std::unique_ptr<Result> result_;
    ScopedHandle thread_;
};

}  // namespace kv
