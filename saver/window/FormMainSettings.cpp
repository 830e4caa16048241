// The main window's settings file and playlist file.
#include "framework/Text.h"
#include "saver/window/FormMain.h"
#include "saver/window/PlaylistText.h"
#include "saver/window/SettingsFiles.h"

namespace kv {

void TFormMain::AddToPlaylist(const std::wstring& path) {
    ListPath->Add(path);
    ListFile->Add(DisplayName(path));
}

void TFormMain::LoadPlaylist() {
    std::optional<std::vector<std::wstring>> paths;
    try {
        paths = ReadPlaylistFile(PlaylistFilePath());
    } catch (...) {
        // Held by another program, say: the run goes on with an empty playlist, and Save
        // leaves the file alone.
        playlistUnreadable_ = true;
        ShowPlaylistUnreadable();
        return;
    }
    if (!paths) return;
    ListPath->BeginUpdate();
    ListFile->BeginUpdate();
    for (const std::wstring& path : *paths) ListPath->Add(path);
    // Names from the paths just read: reading them back out of ListPath costs two messages an entry.
    for (const std::wstring& path : *paths) ListFile->Add(DisplayName(path));
    ListFile->EndUpdate();
    ListPath->EndUpdate();
}

void TFormMain::ShowPlaylistUnreadable() {
    FontSpec font;
    font.color = Rgb(192, 0, 0);
    new Label(this, {.name = "lbPlaylistUnreadable", .parent = PanelSetup, .left = 8, .top = 312, .width = 400,
                     .height = 13, .caption = "The playlist could not be read; it is kept as it is.", .font = font});
}

void TFormMain::LoadSettings() {
    IniFile ini(SettingsIniPath());
    if (!ini.Exists()) return;
    // Setting a box runs its click handler when the state changes: a true value mutes the player.
    MuteWave->SetChecked(ini.ReadBool("SOUND", "MUTEWAVE", false));
    State().CurrentIndex = ini.ReadInteger("MEDIA", "FILEPOSITION", 0);
    State().SavedPosition = ini.ReadFloat("MEDIA", "CURRENTPOSITION", 0);
    Continue->SetChecked(ini.ReadBool("MEDIA", "CONTINUE", false));
    State().SavedFileName = AnsiToWide(ini.ReadString("MEDIA", "FILENAME"));
    if (ini.ReadInteger("Option", "Language", 1) == 0)
        RadioButton1->SetChecked(true);
    else
        RadioButton2->SetChecked(true);
    if (State().CurrentIndex < 0 || State().CurrentIndex > ListPath->Count() - 1) State().CurrentIndex = 0;
}

void TFormMain::SaveSettings() {
    // Save and Apply report nothing; the first failure skips the rest.
    try {
        // A playlist that was never read is not replaced: what the user had stays on disk.
        if (!playlistUnreadable_) {
            std::vector<std::string> entries;
            for (int i = 0, n = ListPath->Count(); i < n; ++i) entries.push_back(WideToAnsi(ListPath->Item(i)));
            WritePlaylistFile(PlaylistFilePath(), entries);
        }
        IniFile ini(SettingsIniPath());
        ini.WriteBool("SOUND", "MUTEWAVE", MuteWave->Checked());
        ini.WriteBool("MEDIA", "CONTINUE", Continue->Checked());
        ini.WriteInteger("Option", "Language", RadioButton2->Checked() ? 1 : 0);
        ini.Flush();
    } catch (...) {
    }
}

void TFormMain::SaveResumeRecord() {
    // Names the entry that plays or is being opened, even before its picture shows.
    std::optional<ResumeRecord> record = controller_.ResumeRecordAtClose();
    if (!record) return;
    IniFile ini(SettingsIniPath());
    if (!ini.Exists()) return;
    ini.WriteInteger("MEDIA", "FILEPOSITION", record->index);
    ini.WriteFloat("MEDIA", "CURRENTPOSITION", record->position);
    ini.WriteString("MEDIA", "FILENAME", WideToAnsi(record->fileName));
    ini.Flush();
}

}  // namespace kv
