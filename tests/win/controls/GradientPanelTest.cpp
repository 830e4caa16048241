// The gradient panel painted into a bitmap: bevel rings, bands, remainder strip, picture.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Form.h"
#include "saver/controls/GradientPanel.h"

using namespace kv;

namespace {

// Opens the panel's painting to the test.
class PaintedPanel : public TGradientPanel {
public:
    using TGradientPanel::Paint;
    using TGradientPanel::TGradientPanel;
};

constexpr COLORREF kUntouched = RGB(1, 2, 3);

// A top-down 32-bit DIB larger than the panel; the panel paints at (margin, margin).
class Canvas {
public:
    Canvas(int width, int height) : width_(width), bitmap_(TopDownDib(width, height, &bits_)) {
        RECT all{0, 0, width, height};
        ScopedGdiObject brush(CreateSolidBrush(kUntouched));
        FillRect(dc_.Get(), &all, static_cast<HBRUSH>(brush.Get()));
    }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }

private:
    static HGDIOBJ TopDownDib(int width, int height, DWORD** bits) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
    }

    int width_;
    DWORD* bits_ = nullptr;
    ScopedGdiObject bitmap_;
    ScopedMemoryDC dc_{nullptr};
    ScopedSelectObject selected_{dc_.Get(), bitmap_.Get()};
};

class GradientPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application.Initialize(); }
    void SetUp() override {
        form_ = new Form(nullptr, FormArgs{.caption = "Gradient", .clientWidth = 320, .clientHeight = 320});
    }
    void TearDown() override { delete form_; }
    // Paints the panel with its client origin at (4, 4) of a canvas 8 pixels larger.
    void PaintInto(PaintedPanel& panel, Canvas& canvas) {
        SetViewportOrgEx(canvas.Dc(), 4, 4, nullptr);
        panel.Paint(canvas.Dc(), RECT{0, 0, panel.Width(), panel.Height()});
        SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
    }
    Form* form_ = nullptr;
};

TEST_F(GradientPanelTest, BevelRingsFrameTheBandsAndTheRemainderTakesTheLastColour) {
    // 300 rows inside two rings: 296 rows of bands, 255 of one pixel and a 41-row remainder.
    PaintedPanel& panel = *new PaintedPanel(form_, {.parent = form_, .width = 40, .height = 300});
    panel.SetBevelWidth(2);
    panel.SetGradientStartColor(Rgb(255, 0, 0));
    panel.SetGradientEndColor(Rgb(0, 0, 255));
    panel.SetGradientFillDir(TFillDirection::fdBottomToTop);
    Canvas canvas(48, 308);
    PaintInto(panel, canvas);

    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(canvas.At(4, 4), highlight);     // outer ring, top-left
    EXPECT_EQ(canvas.At(5, 150), highlight);   // inner ring, left side
    EXPECT_EQ(canvas.At(43, 303), shadow);     // outer ring, bottom-right
    EXPECT_EQ(canvas.At(42, 20), shadow);      // inner ring, right side
    EXPECT_EQ(canvas.At(20, 6), RGB(0, 0, 255));    // first band at the top: the end colour
    EXPECT_EQ(canvas.At(20, 6 + 254), RGB(255, 0, 0));  // last band: the start colour
    EXPECT_EQ(canvas.At(20, 301), RGB(255, 0, 0));      // the remainder strip
    EXPECT_EQ(canvas.At(20, 3), kUntouched);            // nothing outside the panel
    EXPECT_EQ(canvas.At(44, 150), kUntouched);
}

TEST_F(GradientPanelTest, APictureIsCentredAndReplacesTheCaption) {
    PaintedPanel& panel = *new PaintedPanel(form_, {.parent = form_, .width = 61, .height = 41, .caption = "WWWWWWWW",
                                                    .font = {.color = Rgb(255, 255, 0)}});
    panel.SetBevelOuter(TBevelCut::bvNone);
    panel.SetGradientStartColor(clBlack);
    panel.SetGradientEndColor(clBlack);
    panel.SetTextFillsPanel(true);
    ScopedGetDC screen(nullptr);
    ScopedBitmap white(CreateCompatibleBitmap(screen.Get(), 10, 6));
    {
        ScopedMemoryDC mem(screen.Get());
        ScopedSelectObject selected(mem.Get(), white.Get());
        RECT all{0, 0, 10, 6};
        FillRect(mem.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    panel.SetIcon(white.Get());  // the panel holds its own copy

    Canvas canvas(69, 49);
    PaintInto(panel, canvas);
    int yellow = 0, whitePixels = 0;
    for (int y = 4; y < 45; ++y)
        for (int x = 4; x < 65; ++x) {
            COLORREF c = canvas.At(x, y);
            yellow += c == RGB(255, 255, 0);
            whitePixels += c == RGB(255, 255, 255);
        }
    EXPECT_EQ(yellow, 0);  // no caption
    EXPECT_EQ(whitePixels, 60);
    EXPECT_EQ(canvas.At(4 + 25, 4 + 17), RGB(255, 255, 255));  // 61/2 - 10/2, 41/2 - 6/2
    EXPECT_EQ(canvas.At(4 + 24, 4 + 17), RGB(0, 0, 0));
}

TEST_F(GradientPanelTest, ANewSizeRepaintsThePanelInFull) {
    // The bands follow the height: after a resize the rows that were there are wrong as well.
    PaintedPanel& panel = *new PaintedPanel(form_, {.parent = form_, .width = 40, .height = 100});
    form_->ShowForm();
    UpdateWindow(form_->Handle());
    panel.SetHeight(200);
    RECT dirty{};
    GetUpdateRect(panel.Handle(), &dirty, FALSE);
    EXPECT_EQ(dirty.top, 0);
    EXPECT_EQ(dirty.right, 40);
    EXPECT_EQ(dirty.bottom, 200);
}

}  // namespace
