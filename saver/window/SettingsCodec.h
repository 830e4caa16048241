#pragma once
// Value codecs of the settings file: how integers, booleans and floats look as INI text.
// Pure; the file access lives in SettingsFiles.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Decimal with an optional sign, or hexadecimal after "$" or "0x"/"0X" (the 32-bit pattern,
// so "$FFFFFFFF" is -1). Blanks around the text are ignored, as the profile API trims them.
// Empty text, junk and numbers outside 32 bits give nullopt: the caller uses its default.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// Read as an integer; any value other than 0 is true.
bool ParseIniBool(std::string_view text, bool defaultValue);

// Decimal, e.g. "-12".
std::string FormatIniInteger(int32_t value);

// "1" or "0".
std::string FormatIniBool(bool value);

// Shortest general form with up to 15 significant digits ("0", "12.5", "1e+20"), with the
// given decimal separator. NaN and infinities have no place in a position and are written "0";
// magnitudes above 1.79769313486231e+308 are written as that, so the text still reads back.
std::string FormatIniFloat(double value, char decimalSeparator);

// Reads what FormatIniFloat writes: sign, digits, the given separator and an exponent; blanks
// around are ignored. Any other separator, junk, "nan"/"inf" or a value beyond the range of a
// double give nullopt. Independent of the C locale.
std::optional<double> ParseIniFloat(std::string_view text, char decimalSeparator);

// The decimal separator to use for the locale's LOCALE_SDECIMAL text: its single character,
// or '.' when the text is not one character that can stand between digits.
char DecimalSeparatorFromLocale(std::string_view localeText);

}  // namespace kv
