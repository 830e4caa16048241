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

// Creates or empties the file and writes the content in one write. A write that stops short
// removes the file again, so no half program is left behind.
void WriteWholeFile(const std::string& ansiPath, const EmbeddedFile& content);

// Starts the installed saver with the install switch; does not wait for it.
void StartInstalledSaver(const std::string& ansiPath);

}  // namespace kv
