#include "setup/InstallRules.h"

namespace kv {

std::string InstalledSaverPath(std::string folder) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    return folder + kSaverFileName;
}

std::string InstallCommandLine(const std::string& saverPath) {
    return "\"" + saverPath + "\" " + kInstallSwitch;
}

std::string OverwriteQuestion() {
    // "The installation file is already on the system. Do you want to install over it?"
    return "ตรวจพบไฟล์ติดตั้งในระบบอยู่แล้ว \rท่านต้องการติดตั้งแทนที่ใช่หรือไม่ ";
}

std::string CannotCreateFileMessage(const std::string& path, const std::string& systemText) {
    return "Cannot create file \"" + path + "\". " + systemText;
}

std::string CannotStartMessage(const std::string& path, const std::string& systemText) {
    return "Cannot start \"" + path + "\". " + systemText;
}

std::optional<unsigned long> WinExecFailure(unsigned result) {
    constexpr unsigned long kNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY
    if (result > 31) return std::nullopt;
    return result == 0 ? kNotEnoughMemory : result;
}

std::string ResourceNotFoundMessage(const std::string& name) { return "Resource " + name + " not found"; }

std::string DefaultApplicationTitle(const std::string& programPath) {
    const size_t slash = programPath.find_last_of("\\/:");
    std::string name = programPath.substr(slash == std::string::npos ? 0 : slash + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 1; i < name.size(); ++i)
        if (name[i] >= 'A' && name[i] <= 'Z') name[i] = char(name[i] - 'A' + 'a');
    return name;
}

std::vector<int> ProgressAnimation::Positions() const {
    std::vector<int> positions;
    for (int p = 0; p <= max; ++p) positions.push_back(p);
    return positions;
}

}  // namespace kv
