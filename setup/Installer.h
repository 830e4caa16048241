#pragma once
// The installation's steps that touch the system: the embedded saver, the target file and the
// start of the installed saver. Failures raise kv::Exception with the texts the user sees.
#include <cstddef>
#include <string>

namespace kv {

// A file carried in this program's resources; it lives as long as the program.
struct EmbeddedFile {
    const void* data = nullptr;
    size_t size = 0;
};
// type is a name or MAKEINTRESOURCEA of a number; a missing one raises "Resource NAME not found".
EmbeddedFile FindEmbeddedFile(const char* type, const char* name);
EmbeddedFile FindEmbeddedSaver();

// Where the saver is installed (ANSI path): KINOVELA.SCR in the system directory.
std::string InstalledSaverTarget();

// Where the new file is written before it takes the installed one's place.
std::string StagingPathFor(const std::string& ansiPath);

// Puts the content in place of the file (or creates it): the content is written in full
// beside it and then replaces it in one step, so a failure at any point leaves the file
// byte for byte as it was and no staging file behind.
void ReplaceWholeFile(const std::string& ansiPath, const EmbeddedFile& content);

// Starts the installed saver with the install switch; does not wait for it. A start that the
// system refuses raises the system's reason.
void StartInstalledSaver(const std::string& ansiPath);

}  // namespace kv
