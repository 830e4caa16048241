#include "saver/window/NoticeLabel.h"

#include "framework/Text.h"

namespace kv {

NoticeLabel::NoticeLabel(Component* owner, const ControlArgs& args) : Label(owner, args, {.wordWrap = true}) {}

void NoticeLabel::SetLanguage(Language language) {
    language_ = language;
    Reword();
}

void NoticeLabel::SetStanding(Notice notice) {
    standing_ = notice;
    Reword();
}

void NoticeLabel::SetNotice(Notice notice, const std::wstring& detail) {
    passing_ = notice;
    detail_ = detail;
    Reword();
}

void NoticeLabel::Reword() {
    if (passing_ != Notice::None)
        SetCaption(NoticeText(passing_, language_, Narrow(detail_)));
    else
        SetCaption(NoticeText(standing_, language_, ""));
}

}  // namespace kv
