#include "framework/OpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "framework/Text.h"

namespace kv {

OpenDialog::OpenDialog(Component* owner, std::string name, std::string filter)
    : Component(owner, std::move(name)), filter_(Widen(filter)) {
    for (wchar_t& c : filter_)
        if (c == L'|') c = L'\0';
    filter_.append(2, L'\0');
}

bool OpenDialog::Execute(HWND owner) {
    std::vector<wchar_t> buffer(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter_.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    // The read-only box is hidden and the dialog resizable; what the user picks must exist.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return false;
    fileName_ = buffer.data();
    return !fileName_.empty();
}

}  // namespace kv
