// libFuzzer target: the playlist text and the INI value codecs on arbitrary bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "saver/window/PlaylistText.h"
#include "saver/window/SettingsCodec.h"

#define FUZZ_CHECK(condition)                                              \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "check failed: %s\n", #condition);        \
            std::abort();                                                  \
        }                                                                  \
    } while (0)

namespace {

std::vector<std::string> SplitAt(std::string_view bytes, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == separator) {
            parts.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

void CheckPlaylist(std::string_view bytes) {
    // Whatever was read writes back to text that reads as the same entries.
    const std::vector<std::string> entries = kv::ParsePlaylistText(bytes);
    FUZZ_CHECK(kv::ParsePlaylistText(kv::FormatPlaylistText(entries)) == entries);

    // Any entries: writing keeps their number and each one up to its first line break or NUL.
    const std::vector<std::string> written = SplitAt(bytes, '\x1f');
    const std::vector<std::string> read = kv::ParsePlaylistText(kv::FormatPlaylistText(written));
    FUZZ_CHECK(read.size() == written.size());
    for (size_t i = 0; i < read.size(); ++i) {
        std::string_view line = written[i];
        line = line.substr(0, line.find_first_of(std::string_view("\r\n\0", 3)));
        while (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
        FUZZ_CHECK(read[i] == line);
    }

    for (const std::string& entry : entries) {
        const std::string name = kv::DisplayName(entry);
        FUZZ_CHECK(name.size() <= entry.size());
        FUZZ_CHECK(entry.compare(entry.size() - name.size(), name.size(), name) == 0);
    }
}

void CheckIntegers(std::string_view bytes) {
    if (std::optional<int32_t> value = kv::ParseIniInteger(bytes))
        FUZZ_CHECK(kv::ParseIniInteger(kv::FormatIniInteger(*value)) == *value);
    (void)kv::ParseIniBool(bytes, true);
}

void CheckFloats(std::string_view bytes) {
    if (bytes.empty()) return;
    const char separator = kv::DecimalSeparatorFromLocale(bytes.substr(0, 1));
    bytes.remove_prefix(1);
    // A written value reads back to one that is written the same way.
    auto checkWritten = [separator](double value) {
        const std::string once = kv::FormatIniFloat(value, separator);
        const std::optional<double> back = kv::ParseIniFloat(once, separator);
        FUZZ_CHECK(back && std::isfinite(*back));
        FUZZ_CHECK(kv::FormatIniFloat(*back, separator) == once);
    };
    if (std::optional<double> value = kv::ParseIniFloat(bytes, separator)) {
        FUZZ_CHECK(std::isfinite(*value));
        checkWritten(*value);
    }
    if (bytes.size() >= sizeof(double)) {
        double pattern;
        std::memcpy(&pattern, bytes.data(), sizeof pattern);
        checkWritten(pattern);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckPlaylist(bytes);
    CheckIntegers(bytes);
    CheckFloats(bytes);
    return 0;
}
