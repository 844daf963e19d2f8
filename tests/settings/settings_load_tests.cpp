// LoadSettings: every key, its default and range, applied to the running editor.
#include "ground/app_state.h"
#include "settings/settings.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <map>
#include <string>

typedef std::map<std::string, std::string> IniMap;
IniMap IniEntries(const std::string& text);

static CHARFORMATW ControlDefaultFormat()
{
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    SendMessageA(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    return format;
}

// EM_SETBKGNDCOLOR answers with the colour it replaces; put the same one back.
static COLORREF ControlBackColor()
{
    COLORREF color = (COLORREF)SendMessageA(App.EditControl, EM_SETBKGNDCOLOR, 0, 0);
    SendMessageA(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)color);
    return color;
}

static bool MenuChecked(UINT id)
{
    return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

static int ScreenPixelsPerInch()
{
    HDC context = GetDC(App.EditControl);
    int pixels = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(App.EditControl, context);
    return pixels;
}

// --- Defaults ---------------------------------------------------------------

class SettingsDefaults : public EditorFixture {};

TEST_F(SettingsDefaults, EmptyIniGivesTheDefaultOfEveryKey)
{
    EXPECT_EQ(Config.WordWrap, 1);
    EXPECT_EQ(Config.HighlightURLs, 1);
    EXPECT_EQ(Config.SingleClickURLs, 1);
    EXPECT_EQ(Config.AutoIndent, 1);
    EXPECT_EQ(Config.TabSize, 8);
    EXPECT_EQ(Config.SavePosition, 0);
    EXPECT_EQ(Config.left, 0);
    EXPECT_EQ(Config.top, 0);
    EXPECT_EQ(Config.right, 300);
    EXPECT_EQ(Config.bottom, 300);
    EXPECT_EQ(Config.SelectionBar, 0);
    EXPECT_EQ(Config.LineNumbers, 0);
    EXPECT_EQ(Config.FullPath, 0);
    EXPECT_EQ(Config.AlwaysOnTop, 0);
    EXPECT_EQ(Config.TabsToSpaces, 0);
    EXPECT_EQ(Config.DNDNewWindow, 0);
    EXPECT_EQ(Config.MinimizeToTray, 0);
    EXPECT_EQ(Config.EscapeExit, 1);
    EXPECT_EQ(Config.FileChange, 1);
    EXPECT_EQ(Config.Recovery, 1);
    EXPECT_EQ(Config.SmartHome, 1);
    EXPECT_EQ(Config.DateFirst, 0);
    EXPECT_EQ(Config.Toolbar, 1);
    EXPECT_EQ(Config.Statusbar, 1);
    EXPECT_EQ(Config.RecentFiles, 1);
    EXPECT_EQ(Config.FontColor, 0u);
    EXPECT_EQ(Config.BackColor, GetSysColor(COLOR_WINDOW));
}

TEST_F(SettingsDefaults, FixedsysElevenPointsBlackOnTheWindowColour)
{
    const CHARFORMATW& format = Config.EditorCharFormat;
    EXPECT_EQ(format.cbSize, (UINT)sizeof(CHARFORMATW));
    EXPECT_EQ(format.dwMask, (DWORD)(CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC));
    EXPECT_STREQ(format.szFaceName, L"Fixedsys");
    EXPECT_EQ(format.yHeight, 220);
    EXPECT_EQ(format.dwEffects, 0u);
    EXPECT_EQ(format.bCharSet, 0);
    EXPECT_EQ(format.crTextColor, 0u);

    CHARFORMATW applied = ControlDefaultFormat();
    EXPECT_STREQ(applied.szFaceName, L"Fixedsys");
    EXPECT_EQ(applied.yHeight, 220);
    EXPECT_EQ(applied.crTextColor, 0u);
    EXPECT_EQ(applied.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_AUTOCOLOR), 0u);
    EXPECT_EQ(ControlBackColor(), GetSysColor(COLOR_WINDOW));

    const LOGFONTW& font = Config.EditorLogFont;
    EXPECT_STREQ(font.lfFaceName, L"Fixedsys");
    EXPECT_EQ(font.lfHeight, -MulDiv(11, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfQuality, DRAFT_QUALITY);
    EXPECT_TRUE(RecordedPrompts().empty()); // no "Error setting character format"
}

TEST_F(SettingsDefaults, WindowShownNormallyWithBothBarsAndLinks)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_FALSE(IsIconic(App.MainWindow));
    EXPECT_FALSE(IsZoomed(App.MainWindow));
    EXPECT_TRUE(IsWindowVisible(App.ToolBar));
    EXPECT_TRUE(IsWindowVisible(App.StatusBar));
    EXPECT_FALSE(GetWindowLongA(App.MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(MenuChecked(IDM_ALWAYSONTOP));
    EXPECT_TRUE(SendMessageA(App.EditControl, EM_GETAUTOURLDETECT, 0, 0));
}

TEST_F(SettingsDefaults, SearchBuffersExistAndAreEmpty)
{
    EXPECT_EQ(App.FindBufferSize, 255);
    ASSERT_TRUE(App.FindWhat != NULL);
    ASSERT_TRUE(App.ReplaceWith != NULL);
    EXPECT_STREQ(App.FindWhat, L"");
    EXPECT_STREQ(App.ReplaceWith, L"");
}

// --- Every key away from its default ------------------------------------

class SettingsEveryKey : public EditorFixture {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\n"
               "Search=needle\r\n"
               "Replace=thread\r\n"
               "Font=Courier New\r\n"
               "FontSize=200\r\n"
               "dwEffects=3\r\n"
               "CharSet=0\r\n"
               "FontColor=255\r\n"
               "BackColor=65280\r\n"
               "WordWrap=0\r\n"
               "HighlightURLs=0\r\n"
               "SingleClickURLs=0\r\n"
               "AutoIndent=0\r\n"
               "TabSize=4\r\n"
               "[View]\r\n"
               "SelectionBar=1\r\n"
               "LineNumbers=1\r\n"
               "FullPath=1\r\n"
               "AlwaysOnTop=1\r\n"
               "TabsToSpaces=1\r\n"
               "DNDNewWindow=1\r\n"
               "MinimizeToTray=1\r\n"
               "EscapeExit=0\r\n"
               "FileChange=0\r\n"
               "Recovery=0\r\n"
               "SmartHome=0\r\n"
               "DateFirst=1\r\n"
               "Toolbar=0\r\n"
               "Statusbar=0\r\n"
               "RecentFiles=0\r\n";
    }
};

TEST_F(SettingsEveryKey, EveryFieldTakesTheStoredValue)
{
    EXPECT_STREQ(App.FindWhat, L"needle");
    EXPECT_STREQ(App.ReplaceWith, L"thread");
    EXPECT_EQ(Config.WordWrap, 0);
    EXPECT_EQ(Config.HighlightURLs, 0);
    EXPECT_EQ(Config.SingleClickURLs, 0);
    EXPECT_EQ(Config.AutoIndent, 0);
    EXPECT_EQ(Config.TabSize, 4);
    EXPECT_EQ(Config.SelectionBar, 1);
    EXPECT_EQ(Config.LineNumbers, 1);
    EXPECT_EQ(Config.FullPath, 1);
    EXPECT_EQ(Config.AlwaysOnTop, 1);
    EXPECT_EQ(Config.TabsToSpaces, 1);
    EXPECT_EQ(Config.DNDNewWindow, 1);
    EXPECT_EQ(Config.MinimizeToTray, 1);
    EXPECT_EQ(Config.EscapeExit, 0);
    EXPECT_EQ(Config.FileChange, 0);
    EXPECT_EQ(Config.Recovery, 0);
    EXPECT_EQ(Config.SmartHome, 0);
    EXPECT_EQ(Config.DateFirst, 1);
    EXPECT_EQ(Config.Toolbar, 0);
    EXPECT_EQ(Config.Statusbar, 0);
    EXPECT_EQ(Config.RecentFiles, 0);
    EXPECT_EQ(Config.FontColor, RGB(255, 0, 0));
    EXPECT_EQ(Config.BackColor, RGB(0, 255, 0));
}

TEST_F(SettingsEveryKey, FontAndColoursReachTheControl)
{
    CHARFORMATW applied = ControlDefaultFormat();
    EXPECT_STREQ(applied.szFaceName, L"Courier New");
    EXPECT_EQ(applied.yHeight, 200);
    EXPECT_EQ(applied.dwEffects & (CFE_BOLD | CFE_ITALIC), (DWORD)(CFE_BOLD | CFE_ITALIC));
    EXPECT_EQ(applied.crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(ControlBackColor(), RGB(0, 255, 0));

    const LOGFONTW& font = Config.EditorLogFont;
    EXPECT_STREQ(font.lfFaceName, L"Courier New");
    EXPECT_EQ(font.lfHeight, -MulDiv(10, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
}

TEST_F(SettingsEveryKey, BarsHiddenOnTopAndNoLinkDetection)
{
    EXPECT_FALSE(IsWindowVisible(App.ToolBar));
    EXPECT_FALSE(IsWindowVisible(App.StatusBar));
    EXPECT_TRUE(GetWindowLongA(App.MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(MenuChecked(IDM_ALWAYSONTOP));
    EXPECT_FALSE(SendMessageA(App.EditControl, EM_GETAUTOURLDETECT, 0, 0));
    // With both bars hidden the edit control fills the client area.
    RECT client, edit;
    GetClientRect(App.MainWindow, &client);
    GetWindowRect(App.EditControl, &edit);
    MapWindowPoints(NULL, App.MainWindow, (POINT*)&edit, 2);
    EXPECT_EQ(edit.top, 0);
    EXPECT_EQ(edit.bottom, client.bottom);
    EXPECT_EQ(edit.right - edit.left, client.right);
}

TEST_F(SettingsEveryKey, ClosingWritesNothingWhenEveryValueIsAsStored)
{
    std::string before = ReadIni();
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadIni(), before);
}

// --- Values read as they are, or mended --------------------------------

class SettingsOddValues : public EditorFixture {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\nFontColor=not a number\r\nBackColor=\r\nWordWrap=5\r\n"
               "[View]\r\nEscapeExit=2\r\n";
    }
};

TEST_F(SettingsOddValues, ColoursThatDoNotParseAreBlackAndFlagsAreKept)
{
    // Both parse as black; black on black is no usable pair, so the text
    // turns white and the background stays.
    EXPECT_EQ(Config.FontColor, 0xFFFFFFu);
    EXPECT_EQ(Config.BackColor, 0u);
    EXPECT_EQ(ControlBackColor(), 0u);
    EXPECT_EQ(Config.WordWrap, 5);
    EXPECT_EQ(Config.EscapeExit, 2);
}

struct TabSizeCase {
    int Stored;
    int Loaded;
};

class TabSizeLoad : public EditorFixture, public ::testing::WithParamInterface<TabSizeCase> {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\nTabSize=" + std::to_string(GetParam().Stored) + "\r\n";
    }
};

TEST_P(TabSizeLoad, OutsideTwoToNineLoadsAsEight)
{
    EXPECT_EQ(Config.TabSize, GetParam().Loaded);
    // At exit the tab size in use is written when it differs from the file.
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni())["Config/TabSize"], std::to_string(GetParam().Loaded));
}

INSTANTIATE_TEST_SUITE_P(Stored, TabSizeLoad,
                         ::testing::Values(TabSizeCase{1, 8}, TabSizeCase{12, 8}, TabSizeCase{2, 2},
                                           TabSizeCase{9, 9}));

// --- Window placement at start ----------------------------------------

class SavedPlacement : public EditorFixture {
protected:
    virtual int State() { return 1; }
    virtual std::string Rectangle() { return "left=100\r\ntop=120\r\nright=600\r\nbottom=520\r\n"; }
    std::string IniContents() override
    {
        return "[View]\r\nSavePosition=1\r\n" + Rectangle() +
               "WindowState=" + std::to_string(State()) + "\r\n";
    }
    RECT NormalRect()
    {
        WINDOWPLACEMENT placement;
        ZeroMemory(&placement, sizeof(placement));
        placement.length = sizeof(placement);
        GetWindowPlacement(App.MainWindow, &placement);
        return placement.rcNormalPosition;
    }
};

TEST_F(SavedPlacement, NormalStateRestoresTheRectangle)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_FALSE(IsIconic(App.MainWindow));
    EXPECT_FALSE(IsZoomed(App.MainWindow));
    RECT rect;
    GetWindowRect(App.MainWindow, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right, 600);
    EXPECT_EQ(rect.bottom, 520);
    EXPECT_EQ(Config.WindowState, 1);
}

TEST_F(SavedPlacement, ClosingUnmovedWritesNothing)
{
    std::string before = ReadIni();
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni()), IniEntries(before));
}

TEST_F(SavedPlacement, MovedWindowIsStoredAtExit)
{
    MoveWindow(App.MainWindow, 50, 60, 450, 360, TRUE);
    Pump();
    ASSERT_TRUE(CloseMainWindow());
    IniMap entries = IniEntries(ReadIni());
    EXPECT_EQ(entries["View/left"], "50");
    EXPECT_EQ(entries["View/top"], "60");
    EXPECT_EQ(entries["View/right"], "500");
    EXPECT_EQ(entries["View/bottom"], "420");
    EXPECT_EQ(entries["View/WindowState"], "1");
}

TEST_F(SavedPlacement, MaximisedAtExitKeepsTheRestoredRectangle)
{
    ShowWindow(App.MainWindow, SW_MAXIMIZE);
    Pump();
    ASSERT_TRUE(CloseMainWindow());
    IniMap entries = IniEntries(ReadIni());
    EXPECT_EQ(entries["View/left"], "100");
    EXPECT_EQ(entries["View/top"], "120");
    EXPECT_EQ(entries["View/right"], "600");
    EXPECT_EQ(entries["View/bottom"], "520");
    EXPECT_EQ(entries["View/WindowState"], "3");
}

class SavedPlacementMaximised : public SavedPlacement {
protected:
    int State() override { return 3; }
};

TEST_F(SavedPlacementMaximised, StartsMaximisedOverTheRestoredRectangle)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_TRUE(IsZoomed(App.MainWindow));
    RECT normal = NormalRect();
    EXPECT_EQ(normal.left, 100);
    EXPECT_EQ(normal.top, 120);
    EXPECT_EQ(normal.right, 600);
    EXPECT_EQ(normal.bottom, 520);
}

class SavedPlacementMinimised : public SavedPlacement {
protected:
    int State() override { return 2; }
};

TEST_F(SavedPlacementMinimised, StartsMinimisedWithoutMoving)
{
    EXPECT_TRUE(IsIconic(App.MainWindow));
    RECT normal = NormalRect();
    EXPECT_FALSE(normal.left == 100 && normal.top == 120 && normal.right == 600 && normal.bottom == 520);
}

class SavedPlacementUnknownState : public SavedPlacement {
protected:
    int State() override { return 7; }
};

TEST_F(SavedPlacementUnknownState, ShownNormallyWhereCreationPlacedIt)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_FALSE(IsIconic(App.MainWindow));
    EXPECT_FALSE(IsZoomed(App.MainWindow));
    RECT rect;
    GetWindowRect(App.MainWindow, &rect);
    EXPECT_FALSE(rect.left == 100 && rect.top == 120 && rect.right == 600 && rect.bottom == 520);
    EXPECT_EQ(Config.WindowState, 7);
}

class SavedPlacementLeftOfPrimary : public SavedPlacement {
protected:
    std::string Rectangle() override { return "left=-700\r\ntop=50\r\nright=-100\r\nbottom=450\r\n"; }
};

TEST_F(SavedPlacementLeftOfPrimary, NegativeLeftOnAMonitorThatIsGoneComesOnScreen)
{
    // The test display has one monitor; a second one to its left is kept
    // where it exists (see the placement unit tests).
    EXPECT_EQ(Config.left, 0);
    EXPECT_EQ(Config.right, 600);
    RECT rect;
    GetWindowRect(App.MainWindow, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 600);
    ASSERT_TRUE(CloseMainWindow());
    IniMap entries = IniEntries(ReadIni());
    EXPECT_EQ(entries["View/left"], "0");
    EXPECT_EQ(entries["View/right"], "600");
}

class PlacementNotSaved : public EditorFixture {
protected:
    std::string IniContents() override
    {
        return "[View]\r\nleft=100\r\ntop=120\r\nright=600\r\nbottom=520\r\nWindowState=3\r\n";
    }
};

TEST_F(PlacementNotSaved, StoredRectangleIsIgnoredAndMovesAreNotWritten)
{
    EXPECT_FALSE(IsZoomed(App.MainWindow));
    RECT rect;
    GetWindowRect(App.MainWindow, &rect);
    EXPECT_FALSE(rect.left == 100 && rect.top == 120);
    std::string before = ReadIni();
    MoveWindow(App.MainWindow, 10, 20, 400, 300, TRUE);
    Pump();
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadIni(), before);
}
