#pragma once
// The Windows system directory, where the settings live and the system libraries are loaded from.
#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// The folder with a trailing backslash, read into a buffer of bufferSize characters (the
// callers' sizes differ on purpose); nothing when the system gives none or it does not fit.
std::optional<std::string> SystemDirectory(unsigned bufferSize);

// The folder the settings files live in, and the saver is installed into: the system directory
// as above, read through a buffer of 1025 characters, asked afresh on every call. Raises
// kv::Exception when the system gives none.
std::string GetSettingsFolder();

// Loads a library of the system directory by full path, so that no other folder can supply it;
// without a readable system directory nothing is loaded.
HMODULE LoadSystemLibrary(const char* fileName, unsigned bufferSize = MAX_PATH);

// Through a plain function pointer type, which any other function pointer type converts from.
template <typename Fn>
Fn EntryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace kv
