#pragma once
// The system-information probe: Windows product and service pack, the product identifier,
// the processor's clock and the physical memory. Every operation is class-level and raises
// ESystemInfoError on failure.
#include <windows.h>

#include <cstdint>
#include <string>

#include "saver/about/SystemInfoRules.h"

namespace kv {

class TSystemInfo {
public:
    TSystemInfo() = delete;

    static TOSPlatformKind GetPlatform();
    static bool IsWinNT();
    static TOSProductKind GetProduct();
    static std::string GetProductName();
    static std::string GetServicePack();
    static bool IsNT4SP6a();
    // The Windows product identifier, or an empty text when it is not stored.
    static std::string GetProductID();
    // One value as text (UTF-8); a missing key or value gives an empty text.
    static std::string ReadRegistryAsString(HKEY root, const std::string& keyPath, const std::string& valueName);
    // The version values read once when the program started.
    static const VersionValues& Version();
};

// The processor clock in MHz from the time-stamp counter over 500 ms, measured anew on
// every call with the process and thread briefly at real-time, time-critical priority.
double MeasureCPUSpeed();

struct PhysicalMemory {
    uint64_t totalMb = 0;
    uint64_t freeMb = 0;
};
// Total and available physical memory in whole megabytes.
PhysicalMemory ReadPhysicalMemory();

}  // namespace kv
