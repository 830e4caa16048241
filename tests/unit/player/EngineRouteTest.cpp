#include "saver/player/EngineRoute.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using enum EngineKind;

TEST(player_EngineRoute, EachFileGoesFirstToTheEngineWithASourceForItAndThenToTheOther) {
    struct Case {
        const wchar_t* path;
        bool mediaFoundation;
        std::vector<EngineKind> order;
    };
    const Case cases[] = {
        {L"C:\\clips\\phone.mp4", true, {MediaFoundation, DirectShow}},
        {L"C:\\clips\\PHONE.MOV", true, {MediaFoundation, DirectShow}},
        {L"a.m4v", true, {MediaFoundation, DirectShow}},
        {L"a.3gp", true, {MediaFoundation, DirectShow}},
        {L"a.3G2", true, {MediaFoundation, DirectShow}},
        {L"a.mkv", true, {MediaFoundation, DirectShow}},
        {L"a.mpg", true, {DirectShow, MediaFoundation}},
        {L"a.avi", true, {DirectShow, MediaFoundation}},
        {L"a.wmv", true, {DirectShow, MediaFoundation}},
        {L"AVSEQ01.DAT", true, {DirectShow, MediaFoundation}},
        {L"C:\\film.mp4\\inside.mpg", true, {DirectShow, MediaFoundation}},  // the folder's name is no type
        {L"a.mp4.avi", true, {DirectShow, MediaFoundation}},
        {L"mp4", true, {DirectShow, MediaFoundation}},
        {L"", true, {DirectShow, MediaFoundation}},
        // Before Windows 7 there is no Media Foundation: DirectShow alone, whatever the file.
        {L"a.mp4", false, {DirectShow}},
        {L"a.mpg", false, {DirectShow}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnginesFor(c.path, c.mediaFoundation), c.order) << testing::PrintToString(std::wstring(c.path));
}

}  // namespace
}  // namespace kv
