// Suites carry a setup_ prefix so that `ctest -R setup` picks the module's tests.
#include "setup/InstallRules.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(setup_Target, TheSaverGoesIntoTheFolderWithOneBackslash) {
    EXPECT_EQ(InstalledSaverPath("C:\\WINDOWS\\system32"), "C:\\WINDOWS\\system32\\KINOVELA.SCR");
    EXPECT_EQ(InstalledSaverPath("C:\\WINDOWS\\system32\\"), "C:\\WINDOWS\\system32\\KINOVELA.SCR");
    EXPECT_EQ(InstalledSaverPath("C:\\"), "C:\\KINOVELA.SCR");
}

TEST(setup_CommandLine, ThePathIsQuotedSoASpaceCannotNameAnotherProgram) {
    // Unquoted, "C:\Program Files\..." would start C:\Program.exe when one exists.
    EXPECT_EQ(InstallCommandLine("C:\\Program Files\\sys\\KINOVELA.SCR"),
              "\"C:\\Program Files\\sys\\KINOVELA.SCR\" -INSTALL");
    EXPECT_EQ(InstallCommandLine("C:\\WINDOWS\\system32\\KINOVELA.SCR"),
              "\"C:\\WINDOWS\\system32\\KINOVELA.SCR\" -INSTALL");
}

TEST(setup_Texts, TheQuestionIsTwoThaiSentencesJoinedByOneCarriageReturn) {
    const std::string q = OverwriteQuestion();
    const size_t cr = q.find('\r');
    ASSERT_NE(cr, std::string::npos);
    EXPECT_EQ(q.find('\n'), std::string::npos);
    EXPECT_EQ(q.find('\r', cr + 1), std::string::npos);
    EXPECT_EQ(q.substr(0, cr), "ตรวจพบไฟล์ติดตั้งในระบบอยู่แล้ว ");
    EXPECT_EQ(q.substr(cr + 1), "ท่านต้องการติดตั้งแทนที่ใช่หรือไม่ ");
}

TEST(setup_Texts, FailureMessagesNameWhatFailed) {
    EXPECT_EQ(CannotCreateFileMessage("C:\\WINDOWS\\system32\\KINOVELA.SCR", "Access denied"),
              "Cannot create file \"C:\\WINDOWS\\system32\\KINOVELA.SCR\". Access denied");
    EXPECT_EQ(CannotStartMessage("C:\\WINDOWS\\system32\\KINOVELA.SCR", "Bad format"),
              "Cannot start \"C:\\WINDOWS\\system32\\KINOVELA.SCR\". Bad format");
    EXPECT_EQ(ResourceNotFoundMessage("MYSCR"), "Resource MYSCR not found");
    EXPECT_STREQ(kStreamWriteError, "Stream write error");
}

TEST(setup_Start, AWinExecResultOf31OrLessIsTheSystemErrorItNames) {
    EXPECT_EQ(WinExecFailure(0), 8ul) << "out of memory or resources";
    EXPECT_EQ(WinExecFailure(31), 31ul);
    EXPECT_EQ(WinExecFailure(32), std::nullopt);
}

TEST(setup_Texts, AProgramWithoutATitleIsCalledByItsFileName) {
    EXPECT_EQ(DefaultApplicationTitle("Z:\\work\\dist\\win32\\setup.exe"), "setup");
    EXPECT_EQ(DefaultApplicationTitle("C:\\SETUP.EXE"), "Setup");
    EXPECT_EQ(DefaultApplicationTitle("C:\\dir.x\\MY.SETUP.EXE"), "My");
    EXPECT_EQ(DefaultApplicationTitle("KINOVELA"), "Kinovela");
}

TEST(setup_Animation, TheBarClimbsInTwentyOneStepsOfTwentyMillisecondsAndRestsAtZero) {
    const ProgressAnimation animation;
    const std::vector<int> positions = animation.Positions();
    ASSERT_EQ(positions.size(), 21u);
    for (size_t i = 0; i < positions.size(); ++i) EXPECT_EQ(positions[i], int(i));
    EXPECT_EQ(animation.max, 20);
    EXPECT_EQ(positions.size() * animation.pauseMs, 420u);
    EXPECT_EQ(animation.restPosition, 0);
}

}  // namespace
}  // namespace kv
