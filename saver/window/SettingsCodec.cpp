#include "saver/window/SettingsCodec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + uint64_t(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return int32_t(uint32_t(value));
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return int32_t(negative ? -value : value);
}

// Adds a decimal digit to a saturating exponent; far beyond any double's range either way.
int64_t AddExponentDigit(int64_t exponent, char c) {
    constexpr int64_t kCap = 1'000'000'000;
    exponent = exponent * 10 + (c - '0');
    return exponent > kCap ? kCap : exponent;
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '$') return ParseHex(text.substr(1));
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

bool ParseIniBool(std::string_view text, bool defaultValue) {
    std::optional<int32_t> value = ParseIniInteger(text);
    return value ? *value != 0 : defaultValue;
}

std::string FormatIniInteger(int32_t value) {
    return std::to_string(value);
}

std::string FormatIniBool(bool value) { return value ? "1" : "0"; }

std::string FormatIniFloat(double value, char decimalSeparator) {
    if (!std::isfinite(value) || value == 0) return "0";
    // Rounded to 15 digits, the largest doubles would come out above the range and not read back.
    constexpr double kLargestWritable = 1.79769313486231e308;
    if (std::fabs(value) > kLargestWritable) value = std::copysign(kLargestWritable, value);
    char buffer[48] = {};
#ifdef _WIN32
    // The C library's own formatter: under MinGW snprintf is a C99 one of some 40 KB.
    _snprintf(buffer, sizeof buffer - 1, "%.15g", value);
#else
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
#endif
    // Rebuilt from the parts, so neither the C library's radix character nor its exponent
    // width (msvcrt writes three digits) shows through.
    std::string out;
    const char* p = buffer;
    bool inRadix = false;
    for (; *p && *p != 'e' && *p != 'E'; ++p) {
        if (IsDigit(*p) || *p == '-') {
            out += *p;
            inRadix = false;
        } else if (!inRadix) {
            out += decimalSeparator;
            inRadix = true;
        }
    }
    if (*p) {
        ++p;
        out += 'e';
        out += *p == '-' ? '-' : '+';
        if (*p == '-' || *p == '+') ++p;
        while (*p == '0' && p[1]) ++p;
        if (!p[1]) out += '0';
        out += p;
    }
    return out;
}

std::optional<double> ParseIniFloat(std::string_view text, char decimalSeparator) {
    text = TrimBlanks(text);
    size_t i = 0;
    const size_t n = text.size();
    std::string number;  // rebuilt as [-]digits e exponent: no radix, so no locale involved
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    std::string digits;
    int64_t exponent = 0;
    for (; i < n && IsDigit(text[i]); ++i) digits += text[i];
    if (i < n && text[i] == decimalSeparator) {
        ++i;
        for (; i < n && IsDigit(text[i]); ++i) {
            digits += text[i];
            --exponent;
        }
    }
    if (digits.empty()) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        if (i >= n || !IsDigit(text[i])) return std::nullopt;
        int64_t written = 0;
        for (; i < n && IsDigit(text[i]); ++i) written = AddExponentDigit(written, text[i]);
        exponent += negative ? -written : written;
    }
    if (i != n) return std::nullopt;

    size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos) return number.empty() ? 0.0 : -0.0;
    number.append(digits, firstSignificant);
    number += 'e';
    number += std::to_string(exponent);
#ifdef _WIN32
    // As above, the C library's own reader; the text is plain digits and an exponent.
    double value = std::atof(number.c_str());
#else
    double value = std::strtod(number.c_str(), nullptr);
#endif
    // Underflow gives the nearest small value or 0; overflow has no sensible reading.
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

char DecimalSeparatorFromLocale(std::string_view localeText) {
    if (localeText.size() != 1) return '.';
    const char c = localeText.front();
    const bool unusable = static_cast<unsigned char>(c) < 0x20 || c == 0x7F || IsDigit(c) ||
                          IsBlank(c) || c == '+' || c == '-' || c == 'e' || c == 'E';
    return unusable ? '.' : c;
}

}  // namespace kv
