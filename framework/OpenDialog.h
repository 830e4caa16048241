#pragma once
// The system's open-file dialog as a component: a filter, fixed options, the chosen file.
#include <windows.h>

#include <string>

#include "framework/Component.h"

namespace kv {

class OpenDialog : public Component {
public:
    // filter: "Name|patterns|Name|patterns..." (UTF-8); the first pair is shown first.
    OpenDialog(Component* owner, std::string name, std::string filter);
    // Shows the dialog, owned by `owner`; true when the user chose a file.
    bool Execute(HWND owner);
    const std::wstring& FileName() const { return fileName_; }

private:
    std::wstring filter_;  // NUL-separated pairs, as the dialog takes them
    std::wstring fileName_;
};

}  // namespace kv
