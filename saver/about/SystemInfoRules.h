#pragma once
// The system-information probe's decisions, free of window handles: platform and product
// tables, service-pack rules, registry value texts, processor and memory figures and texts.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Exception.h"

namespace kv {

enum TOSPlatformKind { pkNT, pk9x, pkWin32s };

// prUnknown is only the starting value of the product decision, never its result.
enum TOSProductKind {
    prUnknownNT, prWinNT, prWin2000, prWinXP, prUnknown9x, prWin95, prWin98, prWinMe, prWin32s,
    prWin2003, prUnknown, prWinVista
};

// What the probe raises; its text goes to the user unchanged.
class ESystemInfoError : public Exception {
public:
    using Exception::Exception;
};

// The version values Windows reports (platform identifier, major, minor, service-pack text).
struct VersionValues {
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    std::string servicePack;
};

TOSPlatformKind PlatformOf(uint32_t platformId);
TOSProductKind ProductOf(const VersionValues& v);
std::string ProductNameOf(TOSProductKind product);
// hotfixPresent looks for the Q246009 key; it is asked only when the version itself fits.
bool IsNT4SP6aOf(const VersionValues& v, const std::function<bool()>& hotfixPresent);
std::string ServicePackOf(const VersionValues& v, const std::function<bool()>& hotfixPresent);

// Registry value types the probe reads as text.
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4;
// A stored registry value as text (bytes in the ANSI code page); other types raise.
std::string RegistryValueText(uint32_t type, const std::vector<unsigned char>& data);

// Cycles counted in the 500 ms window, as MHz.
double CpuMhzFromCycles(uint64_t cycles);
// "CPU Frequency : %6.2f MHz" with the given decimal separator and no digit grouping.
std::string CpuFrequencyText(double mhz, const std::string& decimalSeparator);

// Bytes as whole megabytes, a value exactly halfway going to the even neighbour.
uint64_t WholeMegabytes(uint64_t bytes);
std::string TotalMemoryText(uint64_t megabytes);
std::string FreeMemoryText(uint64_t megabytes);

}  // namespace kv
