// New on a large document: the control that holds the text is replaced by a
// fresh one, which must behave exactly as the old one did.
#include "ground/edit_control.h"
#include "views/edit_window.h"
#include "views/gutter.h"
#include "editor_test_support.h"
#include "resource.h"

#include <string>

class FreshControlTest : public EditorBehaviourTest {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\nFont=Courier New\r\nFontSize=300\r\nFontColor=128\r\nBackColor=14745599\r\n"
               "WordWrap=0\r\n";
    }

    CHARFORMATW DefaultFormat()
    {
        CHARFORMATW format = {};
        format.cbSize = sizeof(format);
        SendMessageA(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
        return format;
    }

    // The control answers with the colour it had; it is set back at once.
    COLORREF BackColour()
    {
        COLORREF colour = (COLORREF)SendMessageA(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)Config.BackColor);
        return colour;
    }
};

TEST_F(FreshControlTest, NewOnALargeDocumentGivesAnEmptyControlSetUpAsBefore)
{
    Command(IDM_LINENUMBERS);
    int margin = App.LeftMargin;
    ASSERT_GT(margin, 1);
    std::string line(99, 'x');
    std::string text;
    while (text.size() < 200000)
        text += line + "\r";
    SetEditText(text.c_str());
    HWND old = App.EditControl;
    ASSERT_GT(GetTextLength(GTL_DEFAULT), FRESH_CONTROL_CHARACTERS);
    SetFocus(old);
    CHARFORMATW format = DefaultFormat();
    ASSERT_STREQ(format.szFaceName, L"Courier New");
    LONG_PTR style = GetWindowLongPtrW(old, GWL_STYLE);
    LONG_PTR extended = GetWindowLongPtrW(old, GWL_EXSTYLE);
    RECT place;
    GetWindowRect(old, &place);

    SetEditModified(0);
    Command(IDM_NEW);

    HWND fresh = App.EditControl;
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(IsEditModified(), 0);
    EXPECT_EQ(GetFocus(), fresh);
    EXPECT_EQ(GetDlgCtrlID(fresh), ID_EDITCONTROL);
    // The scroll bar bits follow the text shown, not the set-up.
    const LONG_PTR bars = WS_VSCROLL | WS_HSCROLL;
    EXPECT_EQ(GetWindowLongPtrW(fresh, GWL_STYLE) & ~bars, style & ~bars);
    EXPECT_EQ(GetWindowLongPtrW(fresh, GWL_EXSTYLE), extended);
    RECT now;
    GetWindowRect(fresh, &now);
    EXPECT_TRUE(EqualRect(&now, &place));
    EXPECT_EQ(GetWindowLongPtrW(fresh, GWLP_WNDPROC), (LONG_PTR)EditSubclassProc);
    EXPECT_EQ(SendMessageA(fresh, EM_GETEVENTMASK, 0, 0), (LRESULT)EDIT_EVENT_MASK);
    EXPECT_EQ(SendMessageA(fresh, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFF);
    EXPECT_TRUE(SendMessageA(fresh, EM_GETAUTOURLDETECT, 0, 0));
    EXPECT_EQ(BackColour(), (COLORREF)14745599);
    CHARFORMATW after = DefaultFormat();
    EXPECT_STREQ(after.szFaceName, format.szFaceName);
    EXPECT_EQ(after.yHeight, format.yHeight);
    EXPECT_EQ(after.crTextColor, (COLORREF)128);
    EXPECT_EQ(App.LeftMargin, margin);

    // Word wrap stays off: a long line is one line.
    SetEditText(std::string(3000, 'y').c_str());
    EXPECT_EQ(SendMessageA(fresh, EM_GETLINECOUNT, 0, 0), 1);
    // The text sits clear of the gutter, which still paints its numbers.
    POINTL first = {0, 0};
    SendMessageA(fresh, EM_POSFROMCHAR, (WPARAM)&first, 0);
    EXPECT_GE(first.x, margin - 1);
    SetEditText("");
    Pump();
    PaintGutter(1);
    int ink = 0;
    HDC context = GetDC(fresh);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < App.GutterWidth - 3; x++)
            ink += GetPixel(context, x, y) == RGB(0, 0, 255);
    ReleaseDC(fresh, context);
    EXPECT_GT(ink, 0);

    // A typed key passes through the keyboard filter.
    Config.TabsToSpaces = 1;
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), std::string(8, ' '));
}
