// The probe against the real system: registry texts, priorities, processor and memory figures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "framework/Scoped.h"
#include "saver/about/SystemInfo.h"

using namespace kv;

namespace {

const char kTestKey[] = "Software\\KINOVELA tests\\About";

std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const ESystemInfoError& e) {
        return e.what();
    }
    return "(no error)";
}

void SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ScopedKey owned(key);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

// A value of /proc/<file> in its first unit (kB, MHz), read through Wine's Z: drive.
double ProcFigure(const char* file, const std::string& field) {
    std::ifstream in(std::string("Z:\\proc\\") + file);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1));
    return 0;
}

}  // namespace

TEST(SystemInfo, RegistryValuesAreReadAsTextAndOtherTypesRaise) {
    const char sz[] = "55274-640\0tail";
    const char expand[] = "%SystemRoot%\\x";
    const DWORD minusOne = 0xFFFFFFFF, number = 12345;
    const BYTE binary[] = {1, 2, 3, 4};
    SetValue(HKEY_CURRENT_USER, kTestKey, "sz", REG_SZ, sz, sizeof sz);
    SetValue(HKEY_CURRENT_USER, kTestKey, "expand", REG_EXPAND_SZ, expand, sizeof expand);
    SetValue(HKEY_CURRENT_USER, kTestKey, "empty", REG_SZ, "", 0);
    SetValue(HKEY_CURRENT_USER, kTestKey, "minusOne", REG_DWORD, &minusOne, 4);
    SetValue(HKEY_CURRENT_USER, kTestKey, "number", REG_DWORD, &number, 4);
    SetValue(HKEY_CURRENT_USER, kTestKey, "binary", REG_BINARY, binary, 4);

    auto read = [](const char* name) { return TSystemInfo::ReadRegistryAsString(HKEY_CURRENT_USER, kTestKey, name); };
    EXPECT_EQ(read("sz"), "55274-640");
    EXPECT_EQ(read("expand"), "%SystemRoot%\\x");
    EXPECT_EQ(read("empty"), "");
    EXPECT_EQ(read("minusOne"), "-1");
    EXPECT_EQ(read("number"), "12345");
    EXPECT_EQ(read("missing"), "");
    EXPECT_EQ(TSystemInfo::ReadRegistryAsString(HKEY_CURRENT_USER, "Software\\KINOVELA tests\\none", "sz"), "");
    EXPECT_EQ(ErrorOf([&] { read("binary"); }), "Unsupported registry type");
    // The key was closed on the error path too: the test key can go at once.
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KINOVELA tests"), ERROR_SUCCESS);

    EXPECT_EQ(TSystemInfo::GetPlatform(), pkNT);
    EXPECT_TRUE(TSystemInfo::IsWinNT());
}

TEST(SystemInfo, MeasuringTheProcessorPutsBothPrioritiesBackAndMemoryIsNotCappedAt4GB) {
    HANDLE process = GetCurrentProcess(), thread = GetCurrentThread();
    DWORD classBefore = GetPriorityClass(process);
    ASSERT_TRUE(SetPriorityClass(process, HIGH_PRIORITY_CLASS));
    ASSERT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL));
    double mhz = MeasureCPUSpeed();
    EXPECT_EQ(GetPriorityClass(process), DWORD(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_BELOW_NORMAL);
    SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
    SetPriorityClass(process, classBefore);

    double cpuinfo = ProcFigure("cpuinfo", "cpu MHz");
    std::printf("[ figure ] processor: measured %.2f MHz, /proc/cpuinfo %.2f MHz, ratio %.3f\n", mhz, cpuinfo,
                cpuinfo > 0 ? mhz / cpuinfo : 0.0);
    EXPECT_GT(mhz, 0.0);

    PhysicalMemory memory = ReadPhysicalMemory();
    double totalMb = ProcFigure("meminfo", "MemTotal") / 1024;
    std::printf("[ figure ] memory: total %llu MB (MemTotal %.0f MB), free %llu MB (MemAvailable %.0f MB)\n",
                static_cast<unsigned long long>(memory.totalMb), totalMb,
                static_cast<unsigned long long>(memory.freeMb), ProcFigure("meminfo", "MemAvailable") / 1024);
    EXPECT_NEAR(double(memory.totalMb), totalMb, 1.0);
    EXPECT_LE(memory.freeMb, memory.totalMb);
}
