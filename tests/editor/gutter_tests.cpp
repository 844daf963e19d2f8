// The line-number gutter: its width against the editor font, the margin that
// keeps the text clear of it, and what it paints, read back pixel by pixel.
#include "ground/edit_control.h"
#include "views/gutter.h"
#include "editor_test_support.h"
#include "resource.h"

#include <string>

class GutterTest : public EditorBehaviourTest {
protected:
    int Sevens(const char* sevens)
    {
        HDC context = GetDC(App.EditControl);
        HFONT font = CreateFontIndirectW(&Config.EditorLogFont);
        HGDIOBJ old = SelectObject(context, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(context, sevens, lstrlenA(sevens), &size);
        SelectObject(context, old);
        DeleteObject(font);
        ReleaseDC(App.EditControl, context);
        return (int)size.cx;
    }

    POINTL Position(LONG character)
    {
        POINTL point = {0, 0};
        SendMessageA(App.EditControl, EM_POSFROMCHAR, (WPARAM)&point, character);
        return point;
    }

    LONG LineTop(LONG line) { return Position(EditLineIndex(line)).y; }

    // Blue and black pixels of the numbers' column between two heights.
    void CountInk(LONG top, LONG bottom, int* blue, int* black)
    {
        *blue = *black = 0;
        HDC context = GetDC(App.EditControl);
        for (LONG y = top; y < bottom; y++)
            for (int x = 0; x < App.GutterWidth - 3; x++) {
                COLORREF pixel = GetPixel(context, x, y);
                if (pixel == RGB(0, 0, 255))
                    (*blue)++;
                else if (pixel == RGB(0, 0, 0))
                    (*black)++;
            }
        ReleaseDC(App.EditControl, context);
    }
};

TEST_F(GutterTest, WidthFollowsTheFontGrowsWithScrollingAndResetsOnNew)
{
    std::string text;
    for (int i = 0; i < 1200; i++)
        text += "line\r";
    SetEditText(text.c_str());
    LONG plainLeft = Position(0).x;
    EXPECT_EQ(App.LeftMargin, 1);

    Command(IDM_LINENUMBERS);
    int threeDigits = Sevens("777") + 10;
    EXPECT_EQ(App.GutterWidth, threeDigits);
    EXPECT_EQ(App.LeftMargin, threeDigits + 1);
    EXPECT_EQ(Position(0).x, plainLeft + threeDigits); // the text moved clear of the strip

    SendMessageA(App.EditControl, EM_LINESCROLL, 0, 950);
    Pump();
    ASSERT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), 950);
    int fourDigits = Sevens("7777") + 10;
    EXPECT_EQ(App.GutterWidth, fourDigits);
    SendMessageA(App.EditControl, EM_LINESCROLL, 0, -950);
    Pump();
    EXPECT_EQ(App.GutterWidth, fourDigits); // never narrower while the document is open

    SetEditModified(0);
    Command(IDM_NEW);
    EXPECT_EQ(App.GutterWidth, threeDigits);
    EXPECT_EQ(Position(0).x, plainLeft + threeDigits);

    // A resize keeps the text where it is and lets it use the new width.
    RECT window;
    GetWindowRect(App.MainWindow, &window);
    MoveWindow(App.MainWindow, window.left, window.top, window.right - window.left + 80,
               window.bottom - window.top, TRUE);
    Pump();
    EXPECT_EQ(Position(0).x, plainLeft + threeDigits);

    Command(IDM_LINENUMBERS);
    EXPECT_EQ(App.LeftMargin, 1);
    EXPECT_EQ(Position(0).x, plainLeft);
    Command(IDM_MARGIN); // the selection bar alone
    EXPECT_EQ(App.LeftMargin, 11);
    EXPECT_EQ(Position(0).x, plainLeft + 10);
}

TEST_F(GutterTest, SelectedLinesAreBlueAndNumberingStopsAfterTheLastLine)
{
    // A text background apart from the strip's system colour.
    Config.BackColor = RGB(255, 255, 204);
    ASSERT_NE(Config.BackColor, GetSysColor(COLOR_INACTIVEBORDER));
    SendMessageA(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)Config.BackColor);
    SetEditText("one\rtwo\rthree\rfour\rfive\rsix\rseven");
    Command(IDM_LINENUMBERS);
    Select(EditLineIndex(2) + 1, EditLineIndex(4) + 2); // lines 3 to 5
    LONG lineHeight = LineTop(1) - LineTop(0);
    ASSERT_GT(lineHeight, 0);
    for (LONG line = 0; line < 7; line++) {
        int blue, black;
        CountInk(LineTop(line), LineTop(line) + lineHeight, &blue, &black);
        bool selected = line >= 2 && line <= 4;
        EXPECT_EQ(blue > 0, selected) << "line " << line + 1;
        EXPECT_EQ(black > 0, !selected) << "line " << line + 1;
    }
    RECT client;
    GetClientRect(App.EditControl, &client);
    int blue, black;
    CountInk(LineTop(6) + lineHeight, client.bottom, &blue, &black);
    EXPECT_EQ(blue + black, 0);

    Select(EditLineIndex(6) + 1, EditLineIndex(6) + 1); // the caret on line 7
    CountInk(LineTop(0), LineTop(6), &blue, &black);
    EXPECT_EQ(blue, 0);
    CountInk(LineTop(6), LineTop(6) + lineHeight, &blue, &black);
    EXPECT_GT(blue, 0);
    EXPECT_EQ(black, 0);

    HDC context = GetDC(App.EditControl);
    EXPECT_EQ(GetPixel(context, 1, client.bottom - 2), GetSysColor(COLOR_INACTIVEBORDER));
    Command(IDM_LINENUMBERS); // off: the strip goes with the numbers
    EXPECT_EQ(GetPixel(context, 1, client.bottom - 2), Config.BackColor);
    CountInk(LineTop(0), client.bottom, &blue, &black);
    EXPECT_EQ(blue, 0);
    ReleaseDC(App.EditControl, context);
}
