#pragma once
// The configuration panel's texts that change with the language: the captions and the notices.
#include <string>

namespace kv {

enum class Language { Thai, English };

struct PanelCaptions {
    const char* add;
    const char* remove;
    const char* ok;
    const char* cancel;
    const char* apply;
    const char* muteWave;
    const char* continuePlay;
};

// What the panel shows before any language is applied (first run, no settings file).
extern const PanelCaptions kInitialCaptions;
extern const PanelCaptions kThaiCaptions;
extern const PanelCaptions kEnglishCaptions;

// What the panel may have to tell the user.
enum class Notice {
    None,
    PlaylistUnreadable,  // the playlist file exists but could not be read; Save leaves it alone
    NameNotStorable,     // a chosen file was left out; the detail is its name
    NotSaved,            // Save, Apply or OK failed; the detail is the reason
};

// The notice's text (UTF-8) in the language; detail is inserted as it is.
std::string NoticeText(Notice notice, Language language, const std::string& detail);

}  // namespace kv
