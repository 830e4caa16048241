#pragma once
// The setup program's fixed names, texts and rules; free of window handles.
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The embedded saver: a resource looked up by its named type and name alone.
inline constexpr char kSaverResourceType[] = "ZORVA1";
inline constexpr char kSaverResourceName[] = "MYSCR";
inline constexpr char kSaverFileName[] = "KINOVELA.SCR";
inline constexpr char kInstallSwitch[] = "-INSTALL";
inline constexpr char kStreamWriteError[] = "Stream write error";

// The installed saver's path in a folder given with or without its trailing backslash.
std::string InstalledSaverPath(std::string folder);

// The command line that starts the installed saver: the path in quotes, so that a folder with
// a space cannot name another program, then the install switch as an argument of its own.
std::string InstallCommandLine(const std::string& saverPath);

// The question before an installed saver is replaced (UTF-8): two sentences joined by one CR.
std::string OverwriteQuestion();

std::string CannotCreateFileMessage(const std::string& path, const std::string& systemText);
std::string CannotStartMessage(const std::string& path, const std::string& systemText);

// The system error that a WinExec result stands for; nothing when the program started (a
// result above 31). 0 means the system is out of memory or resources.
std::optional<unsigned long> WinExecFailure(unsigned result);
std::string ResourceNotFoundMessage(const std::string& name);

// The title of a program that sets none: its file name up to the first full stop, every
// character after the first in lower case ("C:\dist\SETUP.EXE" gives "Setup").
std::string DefaultApplicationTitle(const std::string& programPath);

// The bar's run after the write: it climbs from 0 to its maximum, one position per pause,
// and is left at rest. It shows that something happened; it does not measure the write.
struct ProgressAnimation {
    int max = 20;
    unsigned pauseMs = 20;
    int restPosition = 0;
    std::vector<int> Positions() const;
};

}  // namespace kv
