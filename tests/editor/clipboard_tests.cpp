// The program's own copy and paste, Delete, Delete Line and the link actions.
#include "editor/clipboard.h"
#include "ground/edit_control.h"
#include "editor_test_support.h"
#include "resource.h"

#include <commctrl.h>

class ClipboardTest : public EditorBehaviourTest {};

TEST_F(ClipboardTest, CopyWritesCRLFBetweenLinesInBothFormats)
{
    SetEditText("one\rtwo\rthree");
    Select(0, 7);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardUnicode(), L"one\r\ntwo");
    EXPECT_EQ(ClipboardAnsi(), "one\r\ntwo");
}

TEST_F(ClipboardTest, ChineseTextRoundTripsThroughTheClipboard)
{
    std::wstring chinese = Utf8ToWide("中文字\r第二行");
    SetEditTextW(chinese);
    Select(0, 7);
    CopySelection();
    EXPECT_EQ(ClipboardUnicode(), Utf8ToWide("中文字\r\n第二行"));
    EXPECT_TRUE(ClipboardHas(CF_TEXT));

    SetEditText("");
    PasteClipboard();
    Pump();
    EXPECT_EQ(EditTextW(), chinese);
}

TEST_F(ClipboardTest, CopyOfNothingLeavesEmptyText)
{
    PutUnicodeOnClipboard(L"old");
    SetEditText("abc");
    Select(1, 1);
    CopySelection();
    EXPECT_EQ(ClipboardUnicode(), L"");
    EXPECT_EQ(ClipboardAnsi(), "");
}

TEST_F(ClipboardTest, PasteReplacesTheSelectionAsOneUndoStep)
{
    SetEditText("hello world");
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    PutUnicodeOnClipboard(L"there\r\nfriend");
    Select(6, 11);
    Command(IDM_PASTE);
    EXPECT_EQ(EditText(), "hello there\rfriend");
    Command(IDM_UNDO);
    EXPECT_EQ(EditText(), "hello world");
}

TEST_F(ClipboardTest, PasteOfAnsiTextConvertsFromTheCodePage)
{
    SetEditText("");
    PutAnsiOnlyOnClipboard("caf\xE9");
    PasteClipboard();
    Pump();
    EXPECT_EQ(EditTextW(), L"caf\xE9");
}

TEST_F(ClipboardTest, ListedTextThatIsNeverDeliveredInsertsNothing)
{
    // A clipboard owner that promises text but does not render it.
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_TRUE(owner != NULL);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, NULL);
    CloseClipboard();
    ASSERT_TRUE(ClipboardHas(CF_UNICODETEXT));

    SetEditText("keep");
    Select(0, 4);
    PasteClipboard();
    Pump();
    EXPECT_EQ(EditText(), "keep");
    DestroyWindow(owner);
}

TEST_F(ClipboardTest, DeleteLineCutsTheCaretLineWithItsBreak)
{
    SetEditText("one\rtwo\rthree");
    Select(5, 5);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "one\rthree");
    EXPECT_EQ(ClipboardUnicode(), L"two\r\n");

    // The last line has no break: its text goes.
    Select(6, 6);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "one\r");
    EXPECT_EQ(ClipboardUnicode(), L"three");
}

TEST_F(ClipboardTest, DeleteLineWithASelectionCutsEveryLineItTouches)
{
    SetEditText("one\rtwo\rthree\rfour");
    Select(1, 5);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "three\rfour");

    // Ending just after a break does not take in the next line.
    SetEditText("one\rtwo\rthree\rfour");
    Select(4, 8);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "one\rthree\rfour");
}

TEST_F(ClipboardTest, DeleteLineStopsAtTheEndOfTheText)
{
    // On an empty last line the line itself goes, with the mark before it.
    SetEditText("one\r");
    Select(4, 4);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "one");
    EXPECT_EQ(ClipboardUnicode(), L"\r\n");
    CHARRANGE caret = GetEditSelection();
    EXPECT_EQ(caret.cpMin, 3);
    EXPECT_EQ(caret.cpMax, 3);

    // The text of a last line goes and nothing past the end stays selected.
    Select(1, 1);
    Command(IDM_DELETELINE);
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(ClipboardUnicode(), L"one");
    caret = GetEditSelection();
    EXPECT_EQ(caret.cpMax, 0);

    // Nothing to delete: the clipboard keeps what it had.
    Command(IDM_DELETELINE);
    EXPECT_EQ(ClipboardUnicode(), L"one");
}

class LinkTest : public EditorBehaviourTest {
protected:
    void SetUp() override
    {
        EditorBehaviourTest::SetUp();
        SetEditText("see http://example.com/x now");
        App.LinkRange.cpMin = 4;
        App.LinkRange.cpMax = 24;
    }
};

TEST_F(LinkTest, SelectCopyAndCutActOnTheAddress)
{
    Select(0, 3);
    Command(IDM_URL_COPY);
    EXPECT_EQ(ClipboardUnicode(), L"http://example.com/x");
    EXPECT_SELECTION(0, 3);

    Command(IDM_URL_SELECT);
    EXPECT_SELECTION(4, 24);

    Select(0, 0);
    Command(IDM_URL_CUT);
    EXPECT_EQ(EditText(), "see  now");
    EXPECT_EQ(ClipboardUnicode(), L"http://example.com/x");
    EXPECT_SELECTION(4, 4);
}

static int linkMenuItems = -1;
static UINT linkMenuFirstId = 0;

static void CALLBACK CloseLinkMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowA("#32768", NULL);
    if (!popup)
        return;
    KillTimer(NULL, timer);
    HMENU menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
    linkMenuItems = GetMenuItemCount(menu);
    linkMenuFirstId = GetMenuItemID(menu, 0);
    EndMenu();
}

static LRESULT SendLinkNotification(UINT mouseMessage, LONG start, LONG end)
{
    ENLINK link;
    ZeroMemory(&link, sizeof(link));
    link.nmhdr.hwndFrom = App.EditControl;
    link.nmhdr.idFrom = ID_EDITCONTROL;
    link.nmhdr.code = EN_LINK;
    link.msg = mouseMessage;
    link.lParam = MAKELPARAM(10, 5);
    link.chrg.cpMin = start;
    link.chrg.cpMax = end;
    return SendMessageA(App.MainWindow, WM_NOTIFY, ID_EDITCONTROL, (LPARAM)&link);
}

TEST_F(LinkTest, RightClickShowsTheLinkMenuAndKeepsTheClickFromTheControl)
{
    EXPECT_EQ(SendLinkNotification(WM_MOUSEMOVE, 1, 2), 0);
    EXPECT_EQ(App.LinkRange.cpMin, 1);
    EXPECT_EQ(App.LinkRange.cpMax, 2);

    UINT_PTR timer = SetTimer(NULL, 0, 50, CloseLinkMenu);
    EXPECT_EQ(SendLinkNotification(WM_RBUTTONDOWN, 4, 24), 1);
    KillTimer(NULL, timer);
    EXPECT_EQ(linkMenuItems, 4);
    EXPECT_EQ(linkMenuFirstId, (UINT)IDM_URL_OPEN);
    EXPECT_EQ(App.LinkRange.cpMin, 4);
    EXPECT_EQ(App.LinkRange.cpMax, 24);
}

TEST_F(ClipboardTest, SelectAllCopyAndPasteLeavesTheTextAsItWas)
{
    SetEditText("one\rtwo");
    Command(IDM_SELECTALL);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardUnicode(), L"one\r\ntwo");
    Command(IDM_PASTE);
    EXPECT_EQ(EditText(), "one\rtwo");
}
