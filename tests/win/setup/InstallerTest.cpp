// The installer's failures that a user cannot bring about on purpose: a write that stops
// short, a saver that the system will not start, a program without the embedded saver.
#include "setup/Installer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Text.h"
#include "setup/Form1.h"
#include "setup/InstallRules.h"
#include "tests/win/support/WinTestKit.h"

namespace kv {
namespace {

// The small file system the test runner mounted, as a Windows path, or empty without one.
std::string FullDiskFolder() {
    const char* dir = std::getenv("KINOVELA_FULL_DISK");
    if (!dir || !*dir) return {};
    std::string path = Narrow(test::WinePath(Widen(dir)));
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA(path.c_str(), nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024) return {};
    return path;
}

std::string Bytes(const std::string& path) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(4096, '\0');
    DWORD got = 0;
    if (!file || !ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return "<missing>";
    return bytes.substr(0, got);
}

TEST(setup_Installer, AWriteThatStopsShortLeavesTheInstalledFileByteForByte) {
    const std::string folder = FullDiskFolder();
    if (folder.empty()) GTEST_SKIP() << "no small file system mounted (the runner may not mount)";
    const std::string path = folder + "\\KINOVELA.SCR";
    const std::string old = "the saver that was installed before";
    {
        ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file && WriteFile(file.Get(), old.data(), DWORD(old.size()), &written, nullptr));
    }
    const std::vector<char> program(256 * 1024, 'K');
    try {
        ReplaceWholeFile(path, {program.data(), program.size()});
        FAIL() << "the write did not fail";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
    EXPECT_EQ(Bytes(path), old);
    EXPECT_EQ(GetFileAttributesA(StagingPathFor(path).c_str()), INVALID_FILE_ATTRIBUTES) << "a half-written file is left";
    DeleteFileA(path.c_str());
}

// This test program carries a "saver" that is no program (NotAProgram.rc). The bar climbs
// while the window goes on painting; at its end comes the start that fails.
TEST(setup_Installer, TheBarClimbsWhileTheWindowPaintsThenASaverThatDoesNotStartShowsTheReason) {
    Application.Initialize();
    test::SystemFileKeeper files;
    files.Remove(L"KINOVELA.SCR");
    const EmbeddedFile payload = FindEmbeddedSaver();
    TForm1* form = nullptr;
    {
        test::BoxAnswerer banner;  // this program carries no banner: the window says so and goes on
        form = Application.CreateForm<TForm1>();
    }
    test::BoxAnswerer boxes;
    SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
    std::vector<int> positions;
    int stepsUnpainted = 0;
    ASSERT_TRUE(test::PumpUntil(
        [&] {
            if (boxes.Count() > 0) return true;
            const int position = form->pgb1->Position();
            if (positions.empty() || positions.back() != position) {
                // The window was made to paint at the step before; by this one it has.
                if (!positions.empty() && GetUpdateRect(form->Handle(), nullptr, FALSE)) ++stepsUnpainted;
                InvalidateRect(form->Handle(), nullptr, TRUE);
                positions.push_back(position);
            }
            return false;
        },
        5000));
    boxes.Stop();
    EXPECT_GT(positions.size(), 10u) << "the bar was seen climbing";
    EXPECT_EQ(stepsUnpainted, 0);

    ASSERT_EQ(boxes.Count(), 1);
    const std::wstring message = boxes.Boxes()[0].message;
    const std::wstring named = L"Cannot start \"" + test::SystemFolder() + L"\\KINOVELA.SCR\". ";
    EXPECT_EQ(message.substr(0, named.size()), named);
    EXPECT_GT(message.size(), named.size() + 1) << "the system's reason follows";
    EXPECT_EQ(files.Read(L"KINOVELA.SCR"), std::string(static_cast<const char*>(payload.data), payload.size))
        << "the written file stays";
    EXPECT_TRUE(form->Button1->Enabled());
    EXPECT_EQ(form->Button2->Caption(), L"Close");
    Application.Shutdown();
}

TEST(setup_Installer, AProgramWithoutTheResourceSaysItIsMissing) {
    try {
        FindEmbeddedFile(kSaverResourceType, "NOSUCH");
        FAIL() << "found a resource that is not there";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Resource NOSUCH not found");
    }
}

}  // namespace
}  // namespace kv
