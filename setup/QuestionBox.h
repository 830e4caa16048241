#pragma once
// A Yes/No question in the system's message box.
#include <windows.h>

#include <string>

namespace kv {

// True only for Yes. Escape and the close box answer No (a plain Yes/No box ignores both).
bool AskYesNo(HWND owner, const std::string& utf8Text, const std::string& utf8Caption, UINT icon);

}  // namespace kv
