#pragma once
// The configuration panel's notice: what went wrong, in the panel's language, re-worded when
// the language changes. A passing notice (a file left out, a failed save) stands in front of
// the standing one (a playlist that could not be read) until it is cleared.
#include <string>

#include "framework/StdControls.h"
#include "saver/window/Captions.h"

namespace kv {

class NoticeLabel : public Label {
public:
    NoticeLabel(Component* owner, const ControlArgs& args);

    void SetLanguage(Language language);
    void SetStanding(Notice notice);
    void SetNotice(Notice notice, const std::wstring& detail = {});
    void ClearNotice() { SetNotice(Notice::None); }
    Notice Passing() const { return passing_; }

private:
    void Reword();

    Language language_ = Language::Thai;  // what Save stores while no language is chosen
    Notice standing_ = Notice::None;
    Notice passing_ = Notice::None;
    std::wstring detail_;
};

}  // namespace kv
