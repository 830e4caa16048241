// The configuration panel: adding and removing playlist entries, the language, Save, Apply,
// Close and Preview, the button pictures and the hints.
#include "framework/Application.h"
#include "framework/Text.h"
#include "resources/PanelPictures.h"
#include "saver/window/Captions.h"
#include "saver/window/FormMain.h"
#include "saver/window/PlaylistPaths.h"
#include "saver/window/PlaylistText.h"

namespace kv {
namespace {

const char kMediaFilter[] =
    "All file support|*.mpg;*.mpeg;*.avi;*.dat;*.wmv|MPEG files[*.mpg,*.mpeg]|*.mpg;*.mpeg|AVI files[*.avi]|*.avi|"
    "WMV files[*.wmv]|*.wmv|VCD files[*.dat]|*.dat|All files[*.*]|*.*";

HBITMAP LoadPicture(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

void TFormMain::BuildPanelExtras() {
    opdlg1 = new OpenDialog(this, "opdlg1", kMediaFilter);
    // Three lines: room for a reason with a file's full path.
    lbNotice = new NoticeLabel(this, {.name = "lbNotice", .parent = PanelSetup, .left = 88, .top = 286, .width = 321,
                                      .height = 39, .font = {.color = Rgb(192, 0, 0)}});
    const std::pair<SpeedButton*, int> pictures[] = {
        {BitBtn_Add, KV_PICTURE_ADD}, {Remove, KV_PICTURE_REMOVE},     {SpeedButton3, KV_PICTURE_PREVIEW},
        {BitBtn_OK, KV_PICTURE_OK},   {BitBtn_Apply, KV_PICTURE_APPLY}, {BitBtn_Cancel, KV_PICTURE_CLOSE}};
    for (const auto& [button, id] : pictures)
        if (HBITMAP picture = LoadPicture(id)) button->SetGlyph(picture);
    BindPanelEvents();
}

void TFormMain::BindPanelEvents() {
    BitBtn_Add->OnClick = [this] { SpeedButton1Click(); };
    Remove->OnClick = [this] { RemoveClick(); };
    ListFile->OnKeyDown = [this](WORD& key, ShiftState s) { ListFileKeyDown(key, s); };
    SpeedButton3->OnClick = [this] { SpeedButton3Click(); };
}

// ---- Playlist editing ----

void TFormMain::SpeedButton1Click() {
    if (!opdlg1->Execute(Handle())) return;
    AddChosenFile(opdlg1->FileName());
}

bool TFormMain::AddChosenFile(const std::wstring& path) {
    std::optional<std::wstring> stored = StorablePlaylistPath(path);
    if (!stored) {
        lbNotice->SetNotice(Notice::NameNotStorable, DisplayName(path));
        return false;
    }
    lbNotice->ClearNotice();
    AddToPlaylist(*stored);
    lbLoadmedia->Hide();
    return true;
}

void TFormMain::RemoveClick() {
    // From the end, so the indexes still to visit stay valid; both lists lose the same entry.
    for (int i = ListFile->Count() - 1; i >= 0; --i) {
        if (!ListFile->Selected(i)) continue;
        ListFile->Delete(i);
        ListPath->Delete(i);
    }
}

void TFormMain::ListFileKeyDown(WORD& key, ShiftState) {
    if (key == VK_DELETE) RemoveClick();
}

void TFormMain::ListFileClick() {
    int index = ListFile->ItemIndex();
    State().CurrentIndex = index;
    ListPath->SetItemIndex(index);
}

// ---- Language ----

void TFormMain::ApplyInitialCaptions() { ApplyCaptions(kInitialCaptions); }

void TFormMain::ApplyLanguage(Language language) {
    ApplyCaptions(language == Language::Thai ? kThaiCaptions : kEnglishCaptions);
    lbNotice->SetLanguage(language);
}

void TFormMain::ApplyCaptions(const PanelCaptions& c) {
    BitBtn_Add->SetCaption(c.add);
    Remove->SetCaption(c.remove);
    BitBtn_OK->SetCaption(c.ok);
    BitBtn_Cancel->SetCaption(c.cancel);
    BitBtn_Apply->SetCaption(c.apply);
    MuteWave->SetCaption(c.muteWave);
    Continue->SetCaption(c.continuePlay);
}

// ---- Save, Apply, Close, Preview ----

void TFormMain::BitBtn_ApplyClick() { SaveSettings(); }

// A failed save keeps the panel open: the edits are still there to save again.
void TFormMain::BitBtn_OKClick() {
    if (SaveSettings()) Close();
}

void TFormMain::BitBtn_CancelClick() { Close(); }

// Windows starts the screen saver selected in the system (a second process); what it plays
// is what the files on disk say, so nothing is saved first.
void TFormMain::SpeedButton3Click() { SendMessageA(Handle(), WM_SYSCOMMAND, SC_SCREENSAVE, 0); }

}  // namespace kv
