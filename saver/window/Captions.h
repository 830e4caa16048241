#pragma once
// The configuration panel's captions that change with the language.

namespace kv {

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

}  // namespace kv
