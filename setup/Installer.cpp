#include "setup/Installer.h"

#include <windows.h>

#include "framework/Exception.h"
#include "framework/Scoped.h"
#include "framework/SystemDirectory.h"
#include "framework/Text.h"
#include "setup/InstallRules.h"

namespace kv {
namespace {

std::string ShownPath(const std::string& ansiPath) { return Narrow(AnsiToWide(ansiPath)); }

[[noreturn]] void ThrowCannotCreate(const std::string& ansiPath, DWORD error) {
    throw Exception(CannotCreateFileMessage(ShownPath(ansiPath), SystemErrorText(error)));
}

}  // namespace

EmbeddedFile FindEmbeddedFile(const char* type, const char* name) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceA(self, name, type);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw Exception(ResourceNotFoundMessage(name));
    return {data, size_t(SizeofResource(self, found))};
}

EmbeddedFile FindEmbeddedSaver() { return FindEmbeddedFile(kSaverResourceType, kSaverResourceName); }

std::string InstalledSaverTarget() { return InstalledSaverPath(GetSettingsFolder()); }

std::string StagingPathFor(const std::string& ansiPath) { return ansiPath + ".new"; }

void ReplaceWholeFile(const std::string& ansiPath, const EmbeddedFile& content) {
    const std::string staging = StagingPathFor(ansiPath);
    ScopedFile file(CreateFileA(staging.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    // The user knows the installed file, not the staging one: the messages name the former.
    if (!file) ThrowCannotCreate(ansiPath, GetLastError());
    DWORD written = 0;
    const bool complete = WriteFile(file.Get(), content.data, DWORD(content.size), &written, nullptr) &&
                          written == content.size && FlushFileBuffers(file.Get()) && CloseHandle(file.Release());
    if (!complete) {
        file.Reset();
        DeleteFileA(staging.c_str());
        throw Exception(kStreamWriteError);
    }
    // A running saver keeps its file: the system refuses to replace it, and it stays as it was.
    if (!MoveFileExA(staging.c_str(), ansiPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(staging.c_str());
        ThrowCannotCreate(ansiPath, error);
    }
}

void StartInstalledSaver(const std::string& ansiPath) {
    const UINT result = WinExec(InstallCommandLine(ansiPath).c_str(), SW_SHOWNORMAL);
    if (std::optional<unsigned long> error = WinExecFailure(result))
        throw Exception(CannotStartMessage(ShownPath(ansiPath), SystemErrorText(*error)));
}

}  // namespace kv
