#pragma once
// Reading the screen-saver switches of the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The run-mode letter of the first argument: upper-cased, the first character dropped, the
// next one kept ("/s" and "/S:1234" give "S"); "" when there is no second character.
std::string RunModeLetter(std::string_view firstArgument);

// A window handle given on the command line ("/p 1234", "/c:1234" after the colon). Reads a
// decimal integer the way Delphi's StrToInt does (leading blanks, a sign, "$", "x" or "0x" for
// hex). Missing text, junk, -1 and values that do not fit a handle of handleBits bits give no
// handle. A value in the unsigned range of that width is the same handle as its signed twin
// and comes back sign-extended, so casting it to a handle never changes which window it names.
std::optional<int64_t> ParseWindowHandleArgument(std::string_view argument, int handleBits);

// The same for the handle width of this build.
std::optional<int64_t> ParseWindowHandleArgument(std::string_view argument);

// Whether an argument asks the saver to hand itself to the Display control panel.
bool IsInstallSwitch(std::string_view argument);

}  // namespace kv
