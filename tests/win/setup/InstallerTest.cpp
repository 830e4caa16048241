// The installer's failure paths that a user cannot bring about on purpose.
#include "setup/Installer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Exception.h"

namespace kv {
namespace {

// The small file system the test runner mounted, as a Windows path, or empty without one.
std::string FullDiskFolder() {
    const char* dir = std::getenv("KINOVELA_FULL_DISK");
    if (!dir || !*dir) return {};
    std::string path = std::string("Z:") + dir;
    for (char& c : path)
        if (c == '/') c = '\\';
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA(path.c_str(), nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024) return {};
    return path;
}

TEST(setup_Installer, AWriteThatStopsShortRaisesStreamWriteErrorAndLeavesNoFile) {
    const std::string folder = FullDiskFolder();
    if (folder.empty()) GTEST_SKIP() << "no small file system mounted (the runner may not mount)";
    const std::string path = folder + "\\KINOVELA.SCR";
    const std::vector<char> program(256 * 1024, 'K');
    try {
        WriteWholeFile(path, {program.data(), program.size()});
        FAIL() << "the write did not fail";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "a half-written file is left";
}

TEST(setup_Installer, AProgramWithoutTheSaverSaysTheResourceIsMissing) {
    try {
        FindEmbeddedSaver();
        FAIL() << "found a saver in the test program";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Resource MYSCR not found");
    }
}

}  // namespace
}  // namespace kv
