#include "saver/about/SystemInfo.h"

#include <intrin.h>

#include <vector>

#include "framework/Scoped.h"
#include "framework/Text.h"

namespace kv {
namespace {

VersionValues ReadVersion() {
    VersionValues v;
    OSVERSIONINFOA info{};
    static_assert(sizeof(info) == 148, "the basic version structure");
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return v;
    v.platformId = info.dwPlatformId;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.servicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    return v;
}

// Read when the program starts and kept for its lifetime.
const VersionValues kVersion = ReadVersion();

bool HotfixQ246009Present() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ScopedKey owned(key);
    return true;
}

// Raises the process and thread priority for its scope; the noted values come back on every path.
class RaisedPriority {
public:
    RaisedPriority()
        : process_(GetCurrentProcess()), thread_(GetCurrentThread()),
          oldClass_(GetPriorityClass(process_)), oldPriority_(GetThreadPriority(thread_)) {
        SetPriorityClass(process_, REALTIME_PRIORITY_CLASS);
        SetThreadPriority(thread_, THREAD_PRIORITY_TIME_CRITICAL);
    }
    ~RaisedPriority() {
        if (oldPriority_ != THREAD_PRIORITY_ERROR_RETURN) SetThreadPriority(thread_, oldPriority_);
        if (oldClass_ != 0) SetPriorityClass(process_, oldClass_);
    }
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

private:
    HANDLE process_, thread_;
    DWORD oldClass_;
    int oldPriority_;
};

}  // namespace

const VersionValues& TSystemInfo::Version() { return kVersion; }

TOSPlatformKind TSystemInfo::GetPlatform() { return PlatformOf(kVersion.platformId); }

bool TSystemInfo::IsWinNT() { return GetPlatform() == pkNT; }

TOSProductKind TSystemInfo::GetProduct() { return ProductOf(kVersion); }

std::string TSystemInfo::GetProductName() { return ProductNameOf(GetProduct()); }

std::string TSystemInfo::GetServicePack() { return Narrow(AnsiToWide(ServicePackOf(kVersion, HotfixQ246009Present))); }

bool TSystemInfo::IsNT4SP6a() { return IsNT4SP6aOf(kVersion, HotfixQ246009Present); }

std::string TSystemInfo::GetProductID() {
    const char* path = IsWinNT() ? "Software\\Microsoft\\Windows NT\\CurrentVersion"
                                 : "Software\\Microsoft\\Windows\\CurrentVersion";
    return ReadRegistryAsString(HKEY_LOCAL_MACHINE, path, "ProductID");
}

std::string TSystemInfo::ReadRegistryAsString(HKEY root, const std::string& keyPath, const std::string& valueName) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(keyPath).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return "";
    ScopedKey key(opened);
    std::string name = WideToAnsi(Widen(valueName));
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
    std::vector<unsigned char> data(size);
    LONG r = ERROR_MORE_DATA;
    // The value may grow between the two reads; ask again with the size it has now.
    while (r == ERROR_MORE_DATA) {
        data.resize(size);
        r = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (r != ERROR_SUCCESS) return "";
    data.resize(size);
    return Narrow(AnsiToWide(RegistryValueText(type, data)));
}

double MeasureCPUSpeed() {
    uint64_t first = 0, second = 0;
    {
        RaisedPriority raised;
        // A fresh time slice at the raised priority before the first reading.
        Sleep(10);
        first = __rdtsc();
        Sleep(500);
        second = __rdtsc();
    }
    return CpuMhzFromCycles(second - first);
}

PhysicalMemory ReadPhysicalMemory() {
    // GlobalMemoryStatus caps its counts at 4 GB (or less); the extended form does not.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    return PhysicalMemory{WholeMegabytes(status.ullTotalPhys), WholeMegabytes(status.ullAvailPhys)};
}

}  // namespace kv
