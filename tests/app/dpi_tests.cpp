// Sizes made for the window's DPI: status parts, toolbar images, and what a
// change of DPI rebuilds.
#include "ground/app_state.h"
#include "support/editor_fixture.h"
#include "views/main_window.h"
#include "views/status_parts.h"
#include "views/toolbar_images.h"

#include <commctrl.h>

TEST(StatusParts, FixedPartsGrowWithTheDpiAndWithTheirTexts)
{
    const int noNeeds[STATUS_PARTS] = {0, 0, 0, 0, 0, 0};
    int edges[STATUS_PARTS];
    // At 96 DPI the fixed parts keep 35, 30, 40, 260 and 55 pixels from the right edge.
    FitStatusEdges(500, 96, noNeeds, edges);
    EXPECT_EQ(edges[0], 80);
    EXPECT_EQ(edges[1], 115);
    EXPECT_EQ(edges[2], 145);
    EXPECT_EQ(edges[3], 185);
    EXPECT_EQ(edges[4], 445);
    EXPECT_EQ(edges[5], 500);
    // At 144 DPI the 96-DPI widths are half as wide again.
    FitStatusEdges(1000, 144, noNeeds, edges);
    EXPECT_EQ(edges[5], 1000);
    EXPECT_EQ(edges[4], 917);
    EXPECT_EQ(edges[3], 527);
    EXPECT_EQ(edges[2], 467);
    EXPECT_EQ(edges[1], 422);
    EXPECT_EQ(edges[0], 369);
    // A text wider than the scaled width widens its part only.
    const int needs[STATUS_PARTS] = {0, 0, 80, 10, 0, 0};
    FitStatusEdges(1000, 96, needs, edges);
    EXPECT_EQ(edges[4], 945);
    EXPECT_EQ(edges[3], 685);
    EXPECT_EQ(edges[2], 645);
    EXPECT_EQ(edges[1], 565);
    EXPECT_EQ(edges[0], 530);
}

TEST(ToolbarImages, DrawnSizeIsPickedForTheDpi)
{
    EXPECT_EQ(ToolbarImageSize(72), 16);
    EXPECT_EQ(ToolbarImageSize(96), 16);
    EXPECT_EQ(ToolbarImageSize(120), 20);
    EXPECT_EQ(ToolbarImageSize(144), 24);
    EXPECT_EQ(ToolbarImageSize(168), 24);
    EXPECT_EQ(ToolbarImageSize(192), 32);
    EXPECT_EQ(ToolbarImageSize(288), 32);
}

class DpiTest : public EditorFixture {
protected:
    int PartWidth(int part)
    {
        RECT rect;
        SendMessageA(App.StatusBar, SB_GETRECT, (WPARAM)part, (LPARAM)&rect);
        return rect.right - rect.left;
    }

    // The part's text measured in the status bar's font.
    int PartTextWidth(int part)
    {
        std::wstring text = StatusText(part);
        HDC context = GetDC(App.StatusBar);
        HGDIOBJ old = SelectObject(context, (HGDIOBJ)SendMessageA(App.StatusBar, WM_GETFONT, 0, 0));
        SIZE size = {0, 0};
        GetTextExtentPoint32W(context, text.c_str(), (int)text.size(), &size);
        SelectObject(context, old);
        ReleaseDC(App.StatusBar, context);
        return (int)size.cx;
    }

    void ExpectPartsHoldTheirTexts()
    {
        for (int part = STATUS_FORMAT; part < STATUS_PARTS; part++) {
            SCOPED_TRACE(part);
            EXPECT_FALSE(StatusText(part).empty());
            EXPECT_GT(PartWidth(part), PartTextWidth(part));
        }
    }

    SIZE ButtonSize()
    {
        LRESULT size = SendMessageA(App.ToolBar, TB_GETBUTTONSIZE, 0, 0);
        SIZE result = {LOWORD(size), HIWORD(size)};
        return result;
    }

    int ImageSize()
    {
        int width = 0, height = 0;
        ImageList_GetIconSize((HIMAGELIST)SendMessageA(App.ToolBar, TB_GETIMAGELIST, 0, 0), &width, &height);
        EXPECT_EQ(width, height);
        return width;
    }

    RECT ChangeDpi(int dpi, RECT suggested)
    {
        SendMessageA(App.MainWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
        Pump();
        RECT now;
        GetWindowRect(App.MainWindow, &now);
        return now;
    }
};

// A larger status font, as at a higher DPI, with fixed pixel widths cut
// "INS" and "Tab: 8" short.
TEST_F(DpiTest, StatusPartsHoldTheirTextsInALargeStatusFont)
{
    SetWindowPos(App.MainWindow, NULL, 0, 0, 720, 360, SWP_NOMOVE | SWP_NOZORDER);
    HFONT large = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    SendMessageA(App.StatusBar, WM_SETFONT, (WPARAM)large, FALSE);
    SendMessageA(App.EditControl, EM_SETSEL, 0, 0);
    LayoutMainWindow();
    ExpectPartsHoldTheirTexts();
    SendMessageA(App.StatusBar, WM_SETFONT, 0, FALSE);
    DeleteObject(large);
}

TEST_F(DpiTest, DpiChangeTakesTheRectangleAndRebuildsForTheNewDpi)
{
    ASSERT_EQ(ImageSize(), 16);
    EXPECT_EQ(ButtonSize().cx, 23);
    EXPECT_EQ(ButtonSize().cy, 22);
    LONG twips = Config.EditorCharFormat.yHeight;
    LONG fontHeight = Config.EditorLogFont.lfHeight;

    RECT suggested = {40, 30, 940, 730};
    RECT now = ChangeDpi(144, suggested);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(ImageSize(), 24);
    EXPECT_EQ(ButtonSize().cx, 24 + 11);
    EXPECT_EQ(ButtonSize().cy, 24 + 9);
    RECT toolbar;
    GetWindowRect(App.ToolBar, &toolbar);
    EXPECT_GE(toolbar.bottom - toolbar.top, 24 + 9);
    // The editor font keeps its points; its pixels follow the DPI.
    EXPECT_EQ(Config.EditorCharFormat.yHeight, twips);
    EXPECT_EQ(Config.EditorLogFont.lfHeight, -MulDiv(twips / 20, 144, 72));
    ExpectPartsHoldTheirTexts();

    RECT back = {40, 30, 640, 500};
    now = ChangeDpi(96, back);
    EXPECT_TRUE(EqualRect(&now, &back));
    EXPECT_EQ(ImageSize(), 16);
    EXPECT_EQ(ButtonSize().cx, 23);
    EXPECT_EQ(Config.EditorLogFont.lfHeight, fontHeight);
    ExpectPartsHoldTheirTexts();
}
