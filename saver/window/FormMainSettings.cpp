// The main window's settings file and playlist file.
#include "framework/Application.h"
#include "framework/Text.h"
#include "saver/window/FormMain.h"
#include "saver/window/PlaylistPaths.h"
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
    } catch (const std::exception& e) {
        // Held by another program, say: the run goes on with an empty playlist, and Save
        // leaves the file alone.
        Application.LogError(e.what());
        playlistUnreadable_ = true;
        lbNotice->SetStanding(Notice::PlaylistUnreadable);
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

void TFormMain::LoadSettings() {
    IniFile ini(SettingsIniPath());
    if (!ini.Exists()) return;
    // Setting a box runs its click handler when the state changes: a true value mutes the player.
    MuteWave->SetChecked(ini.ReadBool("SOUND", "MUTEWAVE", false));
    State().CurrentIndex = ini.ReadInteger("MEDIA", "FILEPOSITION", 0);
    State().SavedPosition = ini.ReadFloat("MEDIA", "CURRENTPOSITION", 0);
    Continue->SetChecked(ini.ReadBool("MEDIA", "CONTINUE", false));
    const std::string fileName = ini.ReadString("MEDIA", "FILENAME");
    State().SavedFileName = AnsiToWide(fileName);
    if (ini.ReadInteger("Option", "Language", 1) == 0)
        RadioButton1->SetChecked(true);
    else
        RadioButton2->SetChecked(true);
    if (State().CurrentIndex < 0 || State().CurrentIndex > ListPath->Count() - 1) State().CurrentIndex = 0;
    // A name the code page cannot hold was stored as its ANSI form (SaveResumeRecord): the
    // remembered entry it stands for is the file to resume.
    if (ListPath->Count() > 0) {
        std::wstring entry = ListPath->Item(State().CurrentIndex);
        if (entry != State().SavedFileName && AnsiPathOf(entry) == fileName) State().SavedFileName = entry;
    }
}

bool TFormMain::SaveSettings() {
    // The first failure skips the rest and is told in the panel; the files keep what they had.
    try {
        // A playlist that was never read is not replaced: what the user had stays on disk.
        if (!playlistUnreadable_) {
            std::vector<std::wstring> entries;
            for (int i = 0, n = ListPath->Count(); i < n; ++i) entries.push_back(ListPath->Item(i));
            WritePlaylistFile(PlaylistFilePath(), entries);
        }
        IniFile ini(SettingsIniPath());
        ini.WriteBool("SOUND", "MUTEWAVE", MuteWave->Checked());
        ini.WriteBool("MEDIA", "CONTINUE", Continue->Checked());
        ini.WriteInteger("Option", "Language", RadioButton2->Checked() ? 1 : 0);
        ini.Flush();
    } catch (const std::exception& e) {
        Application.LogError(e.what());
        lbNotice->SetNotice(Notice::NotSaved, Widen(e.what()));
        return false;
    }
    if (lbNotice->Passing() == Notice::NotSaved) lbNotice->ClearNotice();
    return true;
}

void TFormMain::SaveResumeRecord() {
    // Names the entry that plays or is being opened, even before its picture shows.
    std::optional<ResumeRecord> record = controller_.ResumeRecordAtClose();
    if (!record) return;
    IniFile ini(SettingsIniPath());
    if (!ini.Exists()) return;
    ini.WriteInteger("MEDIA", "FILEPOSITION", record->index);
    ini.WriteFloat("MEDIA", "CURRENTPOSITION", record->position);
    // A name the settings file cannot hold is left empty: the next run then starts afresh
    // rather than at a file the name no longer stands for.
    ini.WriteString("MEDIA", "FILENAME", AnsiPathOf(record->fileName).value_or(""));
    ini.Flush();
}

}  // namespace kv
