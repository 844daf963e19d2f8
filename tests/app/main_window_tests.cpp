#include "ground/app_state.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "views/format_status.h"
#include "views/main_window.h"
#include "resource.h"

#include <commctrl.h>

class MainWindowTest : public EditorFixture {
protected:
    RECT ChildRect(HWND child)
    {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, App.MainWindow, (POINT*)&rect, 2);
        return rect;
    }

    void ResizeClientTo(int width, int height)
    {
        RECT rect = {0, 0, width, height};
        AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, TRUE);
        SetWindowPos(App.MainWindow, NULL, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
};

TEST_F(MainWindowTest, StartsVisibleWithTheThreeChildren)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    char className[64];
    GetClassNameA(App.MainWindow, className, sizeof(className));
    EXPECT_STREQ(className, "scrivletClass");
    GetClassNameA(App.EditControl, className, sizeof(className));
    EXPECT_STREQ(className, "RichEdit20W");
    EXPECT_EQ(GetDlgCtrlID(App.StatusBar), ID_STATUSBAR);
    EXPECT_EQ(GetDlgCtrlID(App.ToolBar), ID_TOOLBAR);
    EXPECT_EQ(GetDlgCtrlID(App.EditControl), ID_EDITCONTROL);
    // Insert mode is shown before any key is pressed.
    EXPECT_EQ(StatusText(2), L"INS");
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETEVENTMASK, 0, 0), 0x04090005);
    // The subclass is in place and passes messages on to the control.
    EXPECT_NE((WNDPROC)GetWindowLongPtrW(App.EditControl, GWLP_WNDPROC), App.OldEditProc);
    EXPECT_TRUE(App.OldEditProc != NULL);
    EXPECT_NE(App.FavAddMessage, 0u);
    EXPECT_NE(App.FavDelMessage, App.FavAddMessage);
    EXPECT_EQ(App.TaskbarCreatedMessage, RegisterWindowMessageA("TaskbarCreated"));
}

TEST_F(MainWindowTest, EditControlTakesTheTextLimit)
{
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFF);
}

TEST_F(MainWindowTest, StatusPartsAndEditAreaFollowTheClientSize)
{
    ResizeClientTo(500, 300);
    int edges[6] = {0};
    ASSERT_EQ(SendMessageA(App.StatusBar, SB_GETPARTS, 6, (LPARAM)edges), 6);
    // Part 1 is as wide as its text, the format and the system code page's
    // name: wider than the 35 pixels of the format alone.
    std::wstring format = StatusText(1);
    HDC dc = GetDC(App.StatusBar);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(App.StatusBar, WM_GETFONT, 0, 0));
    SIZE text;
    GetTextExtentPoint32W(dc, format.c_str(), (int)format.size(), &text);
    SelectObject(dc, old);
    ReleaseDC(App.StatusBar, dc);
    EXPECT_GT(115 - edges[0], (int)text.cx);
    EXPECT_LE(115 - edges[0], (int)text.cx + 16);
    EXPECT_LT(edges[0], 80);
    EXPECT_EQ(edges[1], 115);
    EXPECT_EQ(edges[2], 145);
    EXPECT_EQ(edges[3], 185);
    EXPECT_EQ(edges[4], 445);
    EXPECT_EQ(edges[5], 500);

    RECT edit = ChildRect(App.EditControl);
    RECT toolbar = ChildRect(App.ToolBar);
    RECT status = ChildRect(App.StatusBar);
    EXPECT_EQ(edit.left, 0);
    EXPECT_EQ(edit.right, 500);
    EXPECT_EQ(edit.top, toolbar.bottom - toolbar.top);
    EXPECT_EQ(edit.bottom, status.top);
}

TEST_F(MainWindowTest, HiddenBarsLeaveTheWholeClientAreaToTheEditor)
{
    RunCommand(IDM_TOOLBAR);
    EXPECT_EQ(ChildRect(App.EditControl).top, 0);
    EXPECT_FALSE(IsWindowVisible(App.ToolBar));
    RunCommand(IDM_STATUSBAR);
    RECT client;
    GetClientRect(App.MainWindow, &client);
    RECT edit = ChildRect(App.EditControl);
    EXPECT_EQ(edit.top, 0);
    EXPECT_EQ(edit.bottom, client.bottom);
    EXPECT_EQ(edit.right, client.right);

    RunCommand(IDM_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(App.ToolBar));
    EXPECT_GT(ChildRect(App.EditControl).top, 0);
}

TEST_F(MainWindowTest, ToolbarHasTwentyOnePositionsWithOurBitmaps)
{
    ASSERT_EQ(SendMessageA(App.ToolBar, TB_BUTTONCOUNT, 0, 0), 21);
    const int commands[21] = {0,   IDM_NEW, IDM_OPEN, IDM_SAVE, 0,   IDM_PRINT, 0,
                              IDM_CUT, IDM_COPY, IDM_PASTE, 0, IDM_UNDO, IDM_REDO, 0,
                              IDM_FIND, IDM_REPLACE, 0, IDM_WORDWRAP, 0, IDM_EXECUTE, IDM_PROPERTIES};
    int standardImages = 0;
    for (int i = 0; i < 21; i++) {
        TBBUTTON button;
        ASSERT_TRUE(SendMessageA(App.ToolBar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button));
        SCOPED_TRACE(i);
        EXPECT_EQ(button.idCommand, commands[i]);
        EXPECT_EQ(commands[i] == 0, (button.fsStyle & TBSTYLE_SEP) != 0);
        if (commands[i] == IDM_NEW)
            standardImages = button.iBitmap;
        if (commands[i] == IDM_WORDWRAP) {
            EXPECT_TRUE(button.fsStyle & TBSTYLE_CHECK);
            // Appended after the 15 standard images.
            EXPECT_GE(button.iBitmap, 15);
        }
        if (commands[i] == IDM_EXECUTE) {
            EXPECT_GE(button.iBitmap, 16);
        }
    }
    EXPECT_EQ(standardImages, STD_FILENEW);
}

TEST_F(MainWindowTest, TooltipsComeFromTheStringTable)
{
    NMTTDISPINFOW wide;
    ZeroMemory(&wide, sizeof(wide));
    wide.hdr.hwndFrom = App.ToolBar;
    wide.hdr.idFrom = IDM_WORDWRAP;
    wide.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(App.MainWindow, WM_NOTIFY, 0, (LPARAM)&wide);
    ASSERT_TRUE(wide.lpszText != NULL);
    EXPECT_EQ(std::wstring(wide.lpszText), Utf8ToWide("自動換行"));

    // The window is Unicode: the toolbar asks only in the wide form.
    EXPECT_TRUE(IsWindowUnicode(App.MainWindow));
    wide.hdr.idFrom = IDM_OPEN;
    SendMessageW(App.MainWindow, WM_NOTIFY, 0, (LPARAM)&wide);
    ASSERT_TRUE(wide.lpszText != NULL);
    EXPECT_EQ(std::wstring(wide.lpszText), Utf8ToWide("開啟"));
}

TEST_F(MainWindowTest, AlwaysOnTopTwiceRestoresStateWithoutMoving)
{
    RECT before;
    GetWindowRect(App.MainWindow, &before);
    HMENU menu = GetMenu(App.MainWindow);
    RunCommand(IDM_ALWAYSONTOP);
    EXPECT_TRUE(GetWindowLongPtrW(App.MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetMenuState(menu, IDM_ALWAYSONTOP, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
    EXPECT_EQ(Config.AlwaysOnTop, 1);
    RunCommand(IDM_ALWAYSONTOP);
    EXPECT_FALSE(GetWindowLongPtrW(App.MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetMenuState(menu, IDM_ALWAYSONTOP, MF_BYCOMMAND) & MF_CHECKED, 0u);
    RECT after;
    GetWindowRect(App.MainWindow, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}
