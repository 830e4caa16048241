#include "saver/about/SystemInfoRules.h"

#include <cmath>
#include <cstdio>

namespace kv {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

}  // namespace

TOSPlatformKind PlatformOf(uint32_t platformId) {
    switch (platformId) {
    case 2: return pkNT;
    case 1: return pk9x;
    case 0: return pkWin32s;
    default: throw ESystemInfoError("Unrecognized operating system platform");
    }
}

TOSProductKind ProductOf(const VersionValues& v) {
    switch (PlatformOf(v.platformId)) {
    case pkNT:
        if (v.major == 3 || v.major == 4) return v.minor == 0 ? prWinNT : prUnknownNT;
        if (v.major == 5) return v.minor == 0 ? prWin2000 : v.minor == 1 ? prWinXP : v.minor == 2 ? prWin2003 : prUnknownNT;
        if (v.major == 6 && v.minor == 0) return prWinVista;
        return prUnknownNT;
    case pk9x:
        if (v.major != 4) return prUnknown9x;
        return v.minor == 0 ? prWin95 : v.minor == 10 ? prWin98 : v.minor == 90 ? prWinMe : prUnknown9x;
    case pkWin32s:
        return prWin32s;
    }
    return prUnknown;
}

std::string ProductNameOf(TOSProductKind product) {
    switch (product) {
    case prWinNT: return "Windows NT";
    case prWin2000: return "Windows 2000";
    case prWinXP: return "Windows XP";
    case prWin2003: return "Windows 2003";
    case prWinVista: return "Windows Vista";
    case prWin95: return "Windows 95";
    case prWin98: return "Windows 98";
    case prWinMe: return "Windows Me";
    case prUnknownNT:
    case prUnknown9x:
    case prWin32s: return "";
    case prUnknown: break;
    }
    throw ESystemInfoError("Unrecognised operating system product");
}

bool IsNT4SP6aOf(const VersionValues& v, const std::function<bool()>& hotfixPresent) {
    return ProductOf(v) == prWinNT && v.major == 4 && EqualsIgnoringCase(v.servicePack, "Service Pack 6") &&
           hotfixPresent();
}

std::string ServicePackOf(const VersionValues& v, const std::function<bool()>& hotfixPresent) {
    switch (PlatformOf(v.platformId)) {
    case pkNT:
        return IsNT4SP6aOf(v, hotfixPresent) ? "Service Pack 6a" : v.servicePack;
    case pk9x: {
        if (v.servicePack.empty()) return "";
        char first = UpperAscii(v.servicePack[0]);
        TOSProductKind product = ProductOf(v);
        if (product == prWin95 && (first == 'B' || first == 'C')) return "OSR2";
        if (product == prWin98 && first == 'A') return "SE";
        return "";
    }
    case pkWin32s:
        break;
    }
    return "";
}

std::string RegistryValueText(uint32_t type, const std::vector<unsigned char>& data) {
    switch (type) {
    case kRegSz:
    case kRegExpandSz: {
        std::string text(data.begin(), data.end());
        return text.substr(0, text.find('\0'));
    }
    case kRegDword: {
        uint32_t value = 0;
        for (size_t i = 0; i < 4 && i < data.size(); ++i) value |= uint32_t(data[i]) << (8 * i);
        return std::to_string(int32_t(value));
    }
    default:
        throw ESystemInfoError("Unsupported registry type");
    }
}

double CpuMhzFromCycles(uint64_t cycles) { return double(cycles) / 500000.0; }

std::string CpuFrequencyText(double mhz, const std::string& decimalSeparator) {
    // Two decimals in a field of six, as "%6.2f" would write them, without a printf.
    const long long hundredths = std::llround(mhz * 100);
    std::string text = std::to_string(hundredths / 100) + decimalSeparator;
    text += char('0' + hundredths % 100 / 10);
    text += char('0' + hundredths % 10);
    const size_t width = 5 + decimalSeparator.size();
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return "CPU Frequency : " + text + " MHz";
}

uint64_t WholeMegabytes(uint64_t bytes) {
    // Halves go to the even neighbour: the quotient and remainder decide it exactly.
    uint64_t whole = bytes / 1048576, rest = bytes % 1048576;
    if (rest > 524288 || (rest == 524288 && whole % 2 == 1)) ++whole;
    return whole;
}

std::string TotalMemoryText(uint64_t megabytes) { return "Total physical memory: " + std::to_string(megabytes) + " MB"; }

std::string FreeMemoryText(uint64_t megabytes) { return "Free physical memory: " + std::to_string(megabytes) + " MB"; }

}  // namespace kv
