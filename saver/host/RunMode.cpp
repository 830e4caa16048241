#include "saver/host/RunMode.h"

namespace kv {
namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int DigitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// Sign and magnitude of the text, or nothing when it is not a whole number or overflows 64 bits.
struct ParsedInteger {
    bool negative = false;
    uint64_t magnitude = 0;
};

std::optional<ParsedInteger> ParseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    ParsedInteger result;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    for (; i < text.size(); ++i) {
        int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        if (result.magnitude > (UINT64_MAX - static_cast<uint64_t>(digit)) / base) return std::nullopt;
        result.magnitude = result.magnitude * base + static_cast<uint64_t>(digit);
    }
    return result;
}

}  // namespace

std::string RunModeLetter(std::string_view firstArgument) {
    if (firstArgument.size() < 2) return {};
    return std::string(1, UpperAscii(firstArgument[1]));
}

std::optional<int64_t> ParseWindowHandleArgument(std::string_view argument, int handleBits) {
    if (handleBits < 8 || handleBits > 64) return std::nullopt;
    auto parsed = ParseInteger(argument);
    if (!parsed) return std::nullopt;

    // Accepted: -2^(bits-1) .. 2^bits - 1; the upper half is the unsigned spelling of a negative handle.
    const uint64_t signBit = uint64_t{1} << (handleBits - 1);
    const uint64_t unsignedMax = handleBits == 64 ? UINT64_MAX : (signBit << 1) - 1;
    int64_t value;
    if (parsed->negative) {
        if (parsed->magnitude > signBit) return std::nullopt;
        value = parsed->magnitude == signBit && handleBits == 64
                    ? INT64_MIN
                    : -static_cast<int64_t>(parsed->magnitude);
    } else {
        if (parsed->magnitude > unsignedMax) return std::nullopt;
        uint64_t bits = parsed->magnitude;
        if (bits & signBit) bits |= ~unsignedMax;  // sign-extend into 64 bits
        value = static_cast<int64_t>(bits);
    }
    if (value == -1) return std::nullopt;
    return value;
}

std::optional<int64_t> ParseWindowHandleArgument(std::string_view argument) {
    return ParseWindowHandleArgument(argument, static_cast<int>(sizeof(void*) * 8));
}

bool IsInstallSwitch(std::string_view argument) {
    std::string upper(argument);
    for (char& c : upper) c = UpperAscii(c);
    return upper == "/INSTALL" || upper == "-INSTALL" || upper == "-I" || upper == "/I";
}

}  // namespace kv
