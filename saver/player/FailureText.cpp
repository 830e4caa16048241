#include "saver/player/FailureText.h"

namespace kv {
namespace {

struct Entry {
    std::uint32_t hr;
    const char* text;
};

constexpr Entry kTexts[] = {
    {0x80040216, "An object or name was not found"},
    {0x80040217, "No combination of intermediate filters could be found to make the connection"},
    {0x80040218, "No combination of filters could be found to render the stream"},
    {0x80040227, "The operation could not be performed because the filter is in the wrong state"},
    {0x8004022E, "A time-out has expired"},
    {0x8004022F, "The file format is invalid"},
    {0x80040240, "The media type of this file is not recognized"},
    {0x80040241, "The source filter for this file could not be loaded"},
    {0x80040243, "A file appeared to be incomplete"},
    {0x80040244, "The version number of the file is invalid"},
    {0x80040255, "Cannot play back the video stream: no suitable decompressor could be found"},
    {0x80040256, "Cannot play back the audio stream: no audio hardware is available, or the "
                 "hardware is not responding"},
    {0x80040265, "Cannot play back the file: the format is not supported"},
};

}  // namespace

const char* KnownFailureText(std::uint32_t hr) {
    for (const Entry& e : kTexts)
        if (e.hr == hr) return e.text;
    return nullptr;
}

}  // namespace kv
