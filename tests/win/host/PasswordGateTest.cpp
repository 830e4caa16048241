// The password gate that every close asks: the registry value, the system's PASSWORD.CPL (our
// stand-in in the system directory) and the cursor around the dialog.
#include <cstdlib>

#include "tests/win/host/HostTestKit.h"

namespace kv::test {
namespace {

struct LoggedCall {
    long long owner = 0;
    bool cursorVisible = false;
};

class PasswordGate : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        files_.Keep(L"password-answer.txt");
        files_.Remove(L"password-calls.txt");
        files_.Install(StandIn(L"PASSWORD.CPL"), L"PASSWORD.CPL");
        usePassword_.SetDword(1);
    }

    void Answer(bool right) { files_.Write(L"password-answer.txt", right ? "1" : "0"); }

    std::vector<LoggedCall> Calls() const {
        std::vector<LoggedCall> calls;
        std::string log = files_.Read(L"password-calls.txt").value_or("");
        for (size_t at = log.find("hwnd="); at != std::string::npos; at = log.find("hwnd=", at + 1)) {
            LoggedCall call;
            call.owner = std::atoll(log.c_str() + at + 5);
            size_t visible = log.find("cursor_visible=", at);
            call.cursorVisible = visible != std::string::npos && log[visible + 15] == '1';
            calls.push_back(call);
        }
        return calls;
    }

    SystemFileKeeper files_;
    DesktopValueKeeper usePassword_{L"ScreenSaveUsePassword"};
};

TEST_F(PasswordGate, TheRightPasswordAllowsTheCloseAfterOneDialogOwnedByTheForegroundWindow) {
    Answer(true);
    SaverForm& f = Make({"/s"});
    f.form->ShowForm();
    Pump(50);
    HWND foreground = GetForegroundWindow();
    EXPECT_TRUE(f.saver->VerifyPassword());
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, static_cast<long long>(reinterpret_cast<INT_PTR>(foreground)));
    if (cursorAtStart_ == 0) {
        EXPECT_TRUE(calls[0].cursorVisible) << "the cursor shows for the dialog";
    }
    EXPECT_EQ(CursorCount(), cursorAtStart_) << "and stays shown for what follows the close";
}

TEST_F(PasswordGate, AWrongPasswordRefusesAndHidesTheCursorAgainOnEveryAttempt) {
    Answer(false);
    SaverForm& f = Make({"/s"});
    EXPECT_FALSE(f.saver->VerifyPassword());
    EXPECT_EQ(CursorCount(), cursorAtStart_ - 1);
    EXPECT_FALSE(f.saver->VerifyPassword());
    EXPECT_EQ(CursorCount(), cursorAtStart_ - 1);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u) << "each attempt asks again";
    if (cursorAtStart_ == 0) {
        EXPECT_TRUE(calls[1].cursorVisible);
    }
    Answer(true);
    EXPECT_TRUE(f.saver->VerifyPassword());
}

TEST_F(PasswordGate, WithoutAutoMouseHideTheCursorIsLeftAlone) {
    Answer(false);
    SaverForm& f = Make({"/s"}, [](SaverForm& s) { s.hostArgs.autoMouseHide = false; });
    EXPECT_FALSE(f.saver->VerifyPassword());
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

enum class StoredValue { Missing, Zero, Text, Binary };

class PasswordNotWanted : public PasswordGate, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(PasswordNotWanted, TheCloseIsAllowedWithoutADialog) {
    Answer(false);
    switch (GetParam()) {
    case StoredValue::Missing: usePassword_.Delete(); break;
    case StoredValue::Zero: usePassword_.SetDword(0); break;
    case StoredValue::Text: usePassword_.SetString(L"1"); break;  // not a 32-bit integer
    case StoredValue::Binary: usePassword_.SetBinary({1, 0, 0, 0}); break;
    }
    SaverForm& f = Make({"/s"});
    EXPECT_TRUE(f.saver->VerifyPassword());
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

INSTANTIATE_TEST_SUITE_P(Values, PasswordNotWanted,
                         ::testing::Values(StoredValue::Missing, StoredValue::Zero, StoredValue::Text,
                                           StoredValue::Binary));

TEST_F(PasswordGate, AMissingLibraryOrOneWithoutTheCheckAllowsTheClose) {
    Answer(false);
    files_.Remove(L"PASSWORD.CPL");
    SaverForm& f = Make({"/s"});
    EXPECT_TRUE(f.saver->VerifyPassword());

    files_.Install(StandIn(L"PASSWORD-noentry.cpl"), L"PASSWORD.CPL");
    EXPECT_TRUE(f.saver->VerifyPassword());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PasswordGate, TheLibraryIsUnloadedAfterEachCheck) {
    Answer(false);
    SaverForm& f = Make({"/s"});
    EXPECT_FALSE(f.saver->VerifyPassword());
    EXPECT_EQ(GetModuleHandleW((SystemFolder() + L"\\PASSWORD.CPL").c_str()), nullptr);
}

class OtherModesNeverAsk : public PasswordGate, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(OtherModesNeverAsk, WhateverTheRegistrySays) {
    Answer(false);
    SaverForm& f = Make(GetParam());
    EXPECT_TRUE(f.saver->VerifyPassword());
    EXPECT_TRUE(Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Switches, OtherModesNeverAsk,
                         ::testing::Values(std::vector<std::string>{"/c"}, std::vector<std::string>{"/c:1234"},
                                           std::vector<std::string>{}, std::vector<std::string>{"/p"},
                                           std::vector<std::string>{"/p", "-1"}, std::vector<std::string>{"/a"},
                                           std::vector<std::string>{"s"}));

}  // namespace
}  // namespace kv::test
