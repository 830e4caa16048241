// The probe against the real system and the About window opened from the panel's link.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "framework/Text.h"
#include "saver/about/FormAbout.h"
#include "saver/about/SystemInfo.h"
#include "tests/win/window/WindowTestKit.h"

using namespace kv;
using namespace kv::test;

namespace {

const char kTestKey[] = "Software\\KINOVELA tests\\About";

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

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

std::string Text(const Control* c) { return Narrow(c->Caption()); }

class AboutWindow : public WindowTest {
protected:
    TFormMain& OpenPanel() {
        Prepare({});
        TFormMain& form = Make({"/c"});
        form.ShowForm();
        Pump(50);
        return form;
    }

    // A click on the panel's About link, as the mouse gives it.
    void ClickAboutLink(TFormMain& form) {
        LPARAM at = MAKELPARAM(form.Label2->Left() + 10, form.Label2->Top() + 6);
        SendMessageW(form.PanelSetup->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form.PanelSetup->Handle(), WM_LBUTTONUP, 0, at);
    }

    // Closes the open About window with its button; true once its window is gone.
    bool CloseWithButton() {
        HWND window = FormAbout->Handle();
        SendMessageW(FormAbout->BitBtn1->Handle(), BM_CLICK, 0, 0);
        return PumpUntil([&] { return !IsWindow(window); }, 5000);
    }

    void TearDown() override {
        EXPECT_EQ(FormAbout, nullptr) << "each test closes its About window";
        WindowTest::TearDown();
    }
};

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
    EXPECT_THAT([&] { read("binary"); },
                testing::ThrowsMessage<ESystemInfoError>(testing::StrEq("Unsupported registry type")));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KINOVELA tests");

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

TEST_F(AboutWindow, TheLinkOpensOneFilledWindowOverThePanelAndAClosedOneComesBackFresh) {
    TFormMain& form = OpenPanel();
    ClickAboutLink(form);
    ASSERT_NE(FormAbout, nullptr);
    TFormAbout& about = *FormAbout;
    HWND window = about.Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), form.Handle());
    EXPECT_EQ(Narrow(about.Caption()), "About");
    EXPECT_EQ(about.ClientWidth(), 292);
    EXPECT_EQ(about.ClientHeight(), 197);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE), exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    RECT a = WindowRect(window), m = WindowRect(form.Handle());
    EXPECT_NEAR((a.left + a.right) / 2, (m.left + m.right) / 2, 1);
    EXPECT_NEAR((a.top + a.bottom) / 2, (m.top + m.bottom) / 2, 1);
    EXPECT_EQ(GetFocus(), about.BitBtn1->Handle());

    EXPECT_EQ(Text(about.lbOS), TSystemInfo::GetProductName() + " " + TSystemInfo::GetServicePack());
    EXPECT_EQ(Text(about.lbServicePack), TSystemInfo::GetProductID());
    ASSERT_TRUE(PumpUntil([&] { return !Text(about.lbCpu).empty(); }, 5000)) << "the processor's figure comes";
    EXPECT_TRUE(std::regex_match(Text(about.lbCpu), std::regex(R"(CPU Frequency : [ \d]{3}\d*[.,]\d\d MHz)"))) << Text(about.lbCpu);
    EXPECT_TRUE(std::regex_match(Text(about.memory1), std::regex(R"(Total physical memory: \d+ MB)"))) << Text(about.memory1);
    EXPECT_TRUE(std::regex_match(Text(about.memory2), std::regex(R"(Free physical memory: \d+ MB)"))) << Text(about.memory2);
    EXPECT_EQ(dialogs_->Count(), 0);

    // A second click shows the same window again without measuring anew.
    about.lbCpu->SetCaption("not measured again");
    ClickAboutLink(form);
    EXPECT_EQ(FormAbout, &about);
    EXPECT_EQ(Text(about.lbCpu), "not measured again");

    // Closing frees the window and empties the reference; the next click makes a new one.
    ASSERT_TRUE(CloseWithButton());
    EXPECT_EQ(FormAbout, nullptr);
    ClickAboutLink(form);
    ASSERT_NE(FormAbout, nullptr);
    EXPECT_NE(FormAbout->Handle(), window);
    EXPECT_TRUE(PumpUntil([&] { return std::regex_match(Text(FormAbout->lbCpu), std::regex(R"(CPU Frequency : .* MHz)")); },
                          5000));
    // Escape closes it as its button does.
    HWND fresh = FormAbout->Handle();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(fresh); }, 5000));
}

TEST_F(AboutWindow, CloseAnswersAClickWhileTheProcessorIsMeasured) {
    ClickAboutLink(OpenPanel());
    ASSERT_NE(FormAbout, nullptr);
    TFormAbout& about = *FormAbout;
    EXPECT_EQ(Text(about.lbCpu), "") << "the window is up before the figure";
    std::optional<std::string> figureAtClose;
    about.OnClose = [&, close = about.OnClose](CloseAction& action) {
        figureAtClose = Text(about.lbCpu);
        close(action);
    };

    // A click as the mouse gives it, through the message loop.
    HWND window = about.Handle();
    PostMessageW(about.BitBtn1->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000));
    EXPECT_EQ(figureAtClose, "") << "the close came before the figure";
    EXPECT_EQ(FormAbout, nullptr);
}
