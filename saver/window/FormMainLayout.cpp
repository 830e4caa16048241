// The main window's stored layout: every control with its fixed place, look and binding.
#include "saver/window/ButtonImages.h"
#include "saver/window/FormMain.h"
#include "saver/window/PlaybackRules.h"

namespace kv {
namespace {

constexpr Color kPaleGreen = Rgb(192, 220, 192);

FontSpec MakeFont(Color color, int height = 11, bool bold = false, bool underline = false) {
    FontSpec f;
    f.color = color;
    f.height = height;
    f.bold = bold;
    f.underline = underline;
    return f;
}

const char kHelpText[] =
    "KINOVELA V1.02\r\n"
    "ORVANTEK\r\n"
    "contact support@orvantek.example\r\n"
    "cxxxxx[]:::::::::::::::::::::::>\r\n"
    "_______________________\r\n"
    "menaul key\r\n"
    "  - Forward key [1-9]  x 10 position\r\n"
    "  - Rewind key [Ctrl+(1-9)]  x 10 position";

}  // namespace

TFormMain::TFormMain(Component* owner)
    : Form(owner, FormArgs{.name = "FormMain", .caption = "KINOVELA", .clientWidth = 417, .clientHeight = 368,
                           .borderStyle = BorderStyle::Single, .position = FormPosition::ScreenCenter,
                           .keyPreview = true}),
      controller_(playerPort_, viewPort_) {
    BuildLayout();
    BindEvents();
}

TFormMain::~TFormMain() = default;

void TFormMain::BuildLayout() {
    PanelSetup = new Panel(this, {.name = "PanelSetup", .parent = this, .width = 417, .height = 345, .visible = false});

    Panel_bar = new TGradientPanel(this, {.name = "Panel_bar", .parent = PanelSetup, .left = 8, .top = 8, .width = 401,
                                          .height = 177});
    Panel_bar->SetGradientStartColor(clWhite);
    Panel_bar->SetGradientEndColor(clActiveCaption);
    Panel_bar->SetGradientFillDir(TFillDirection::fdBottomToTop);
    ListFile = new ListBox(this, {.name = "ListFile", .parent = Panel_bar, .left = 8, .top = 8, .width = 129, .height = 135,
                                  .font = MakeFont(clLime), .color = clBlack},
                           {.multiSelect = true, .border = false, .itemHeight = 13});
    Panel1 = new TGradientPanel(this, {.name = "Panel1", .parent = Panel_bar, .left = 144, .top = 8, .width = 249,
                                       .height = 145, .color = clBlack});
    Panel1->SetGradientStartColor(clBlack);
    Panel1->SetGradientEndColor(clBlack);
    Panel1->SetBevelOuter(TBevelCut::bvNone);
    Label1 = new Label(this, {.name = "Label1", .parent = Panel1, .left = 20, .top = 16, .width = 195, .height = 104,
                              .caption = kHelpText, .font = MakeFont(clLime)});
    Play = new SpeedButton(this, {.name = "Play", .parent = Panel_bar, .left = 8, .top = 145, .width = 15, .height = 15, .hint = "Play"});
    Stop = new SpeedButton(this, {.name = "Stop", .parent = Panel_bar, .left = 24, .top = 145, .width = 15, .height = 15, .hint = "Stop"});
    pgb1 = new ProgressBar(this, {.name = "pgb1", .parent = Panel_bar, .left = 5, .top = 162, .width = 390, .height = 9});

    GroupBox1 = new GroupBox(this, {.name = "GroupBox1", .parent = PanelSetup, .left = 8, .top = 186, .width = 140, .height = 63,
                                    .caption = "Option"});
    MuteWave = new CheckBox(this, {.name = "MuteWave", .parent = GroupBox1, .left = 8, .top = 16, .width = 97, .height = 17});
    Continue = new CheckBox(this, {.name = "Continue", .parent = GroupBox1, .left = 8, .top = 40, .width = 129, .height = 17});

    GroupBox2 = new GroupBox(this, {.name = "GroupBox2", .parent = PanelSetup, .left = 152, .top = 186, .width = 257, .height = 95});
    BitBtn_Add = new SpeedButton(this, {.name = "BitBtn_Add", .parent = GroupBox2, .left = 8, .top = 11, .width = 80, .height = 38});
    Remove = new SpeedButton(this, {.name = "Remove", .parent = GroupBox2, .left = 92, .top = 11, .width = 80, .height = 36});
    SpeedButton3 = new SpeedButton(this, {.name = "SpeedButton3", .parent = GroupBox2, .left = 176, .top = 11, .width = 77, .height = 36,
                                          .caption = "Preview"});
    BitBtn_OK = new SpeedButton(this, {.name = "BitBtn_OK", .parent = GroupBox2, .left = 8, .top = 51, .width = 80, .height = 36});
    BitBtn_Apply = new SpeedButton(this, {.name = "BitBtn_Apply", .parent = GroupBox2, .left = 92, .top = 51, .width = 80, .height = 36});
    BitBtn_Cancel = new SpeedButton(this, {.name = "BitBtn_Cancel", .parent = GroupBox2, .left = 176, .top = 51, .width = 77, .height = 36});

    Label2 = new Label(this, {.name = "Label2", .parent = PanelSetup, .left = 8, .top = 264, .width = 29, .height = 13,
                              .caption = "About", .font = MakeFont(clBlue, 11, false, true)},
                       {.handCursor = true});
    RadioButton1 = new RadioButton(this, {.name = "RadioButton1", .parent = PanelSetup, .left = 8, .top = 288, .width = 33, .height = 17,
                                          .caption = "TH", .font = MakeFont(clBlue), .color = kPaleGreen});
    RadioButton2 = new RadioButton(this, {.name = "RadioButton2", .parent = PanelSetup, .left = 48, .top = 288, .width = 33, .height = 17,
                                          .caption = "EN", .font = MakeFont(clBlue), .color = kPaleGreen});
    ListPath = new ListBox(this, {.name = "ListPath", .parent = PanelSetup, .left = 336, .top = 128, .width = 57, .height = 33,
                                  .visible = false});
    BitBtn1 = new SpeedButton(this, {.name = "BitBtn1", .parent = PanelSetup, .left = 336, .top = 96, .width = 25, .height = 25, .visible = false});
    BitBtn2 = new SpeedButton(this, {.name = "BitBtn2", .parent = PanelSetup, .left = 368, .top = 96, .width = 25, .height = 25, .visible = false});
    Mp1 = new TMediaPlayerX(this, {.name = "Mp1", .parent = PanelSetup, .left = 312, .top = 24, .width = 81, .height = 57});

    lbLoadmedia = new Label(this, {.name = "lbLoadmedia", .parent = this, .left = 8, .top = 0, .width = 121, .height = 19,
                                   .caption = "load media file", .font = MakeFont(clSilver, 16, true)});
    Timer1 = new Timer(this, "Timer1", 100, false);
    ResumeTimer = new Timer(this, "ResumeTimer", kResumeWaitMs, false);

    ScreenSaver1 = new TScreenSaver(
        this, {.configurationBoxStyle = cbsPanel, .configurationBoxPanel = PanelSetup, .systemKeysDisabled = false},
        "ScreenSaver1");

    BitBtn2->SetGlyph(MakePlayImage());
    BitBtn1->SetGlyph(MakePauseImage());
    Play->CopyGlyphFrom(*BitBtn2);
    Stop->SetGlyph(MakeStopImage());
    BuildPanelExtras();
    ApplyInitialCaptions();
}

void TFormMain::BindEvents() {
    OnCreate = [this] { FormCreate(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnFormKeyDown = [this](WORD& key, ShiftState s) { FormKeyDown(key, s); };
    OnMouseMove = [this](ShiftState s, int x, int y) { FormMouseMove(s, x, y); };
    OnMouseWheel = [this](ShiftState s, int delta, bool& handled) { FormMouseWheel(s, delta, handled); };
    Panel1->OnMouseMove = OnMouseMove;
    Mp1->OnMouseMove = OnMouseMove;
    Panel_bar->OnMouseMove = [this](ShiftState s, int x, int y) { Panel_barMouseMove(s, x, y); };
    Mp1->OnEndOfStream = [this] { mp1EndOfStream(); };
    Mp1->OnOpened = [this] { mp1Opened(); };
    Mp1->OnOpenFailed = [this](const std::string& reason) { mp1OpenFailed(reason); };
    // The timer's work also runs as soon as a new file has begun: its picture shows at once.
    Mp1->OnBegun = [this] { Timer1Timer(); };
    Timer1->OnTimer = [this] { Timer1Timer(); };
    ResumeTimer->OnTimer = [this] { ResumeTimerTimer(); };
    Play->OnClick = [this] { PlayClick(); };
    Stop->OnClick = [this] { StopClick(); };
    pgb1->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { pgb1MouseDown(b, s, x, y); };
    MuteWave->OnClick = [this] { MuteWaveClick(); };
    RadioButton1->OnClick = [this] { RadioButton1Click(); };
    RadioButton2->OnClick = [this] { RadioButton2Click(); };
    ListFile->OnClick = [this] { ListFileClick(); };
    ListFile->OnDblClick = [this] { ListFileDblClick(); };
    BitBtn_Apply->OnClick = [this] { BitBtn_ApplyClick(); };
    BitBtn_OK->OnClick = [this] { BitBtn_OKClick(); };
    BitBtn_Cancel->OnClick = [this] { BitBtn_CancelClick(); };
    Label2->OnClick = [this] { Label2Click(); };
}

}  // namespace kv
