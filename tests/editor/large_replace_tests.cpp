// Replace All over more line breaks than the control replaces quickly: the
// result goes into a fresh control and the text before is the program's own
// one-step undo, which must give back every byte of the file.
#include "document/background_load.h"
#include "document/load.h"
#include "editor/find_replace.h"
#include "editor/large_replace.h"
#include "editor/own_undo.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "views/menu_state.h"
#include "editor_test_support.h"
#include "resource.h"

#include <commctrl.h>

static const int FindTextBox = 0x480;
static const int ReplaceTextBox = 0x481;
static const int ReplaceAllButton = 0x401;

// One document in one encoding and line format, before and after replacing
// "7" by "seven": the digit is never part of a double-byte character.
struct FileCase {
    const char* Name;
    UINT CodePage; // 1200: UTF-16 with its mark
    const wchar_t* Break;
    bool Chinese;
};

static std::wstring Lines(const FileCase& c, bool replaced)
{
    std::wstring text;
    for (int i = 0; i < 60; i++) {
        text += L"line ";
        text += replaced ? L"seven" : L"7";
        text += c.Chinese ? L" 中文 " : L" text ";
        if (c.CodePage == 1200)
            text += L"\U0002000B";
        text += (wchar_t)(L'a' + i % 26);
        text += c.Break;
    }
    return text;
}

static std::string Encode(const std::wstring& text, UINT codePage)
{
    if (codePage == 1200)
        return std::string("\xFF\xFE", 2) + std::string((const char*)text.data(), text.size() * sizeof(wchar_t));
    int bytes = WideCharToMultiByte(codePage, 0, text.c_str(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string out((size_t)bytes, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), (int)text.size(), &out[0], bytes, NULL, NULL);
    return out;
}

class LargeReplaceTest : public EditorBehaviourTest {
protected:
    // The fixture puts the size knobs back after each test.
    void SetUp() override
    {
        EditorBehaviourTest::SetUp();
        LargeReplaceBreaks = 10;
    }

    // The click reaches the main window at once; pump unless a load must
    // not run on.
    void ReplaceAllInDialog(const wchar_t* find, const wchar_t* replacement, bool pump = true)
    {
        if (!App.FindDialog)
            Command(IDM_REPLACE);
        ASSERT_TRUE(App.FindDialog != NULL);
        SetDlgItemTextW(App.FindDialog, FindTextBox, find);
        SetDlgItemTextW(App.FindDialog, ReplaceTextBox, replacement);
        SendMessageW(GetDlgItem(App.FindDialog, ReplaceAllButton), BM_CLICK, 0, 0);
        if (pump)
            Pump();
    }

    // What the Edit menu and the toolbar offer, as the user would see them.
    void ExpectUndoRedoShown(bool undo, bool redo)
    {
        HMENU menu = GetMenu(App.MainWindow);
        UpdateMenuState(MENU_EDIT, menu);
        EXPECT_EQ((GetMenuState(menu, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED) == 0, undo);
        EXPECT_EQ((GetMenuState(menu, IDM_REDO, MF_BYCOMMAND) & MF_GRAYED) == 0, redo);
        EXPECT_EQ(SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, IDM_UNDO, 0) != 0, undo);
        EXPECT_EQ(SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, IDM_REDO, 0) != 0, redo);
    }

    LONG FirstLine() { return (LONG)SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0); }

    std::string SavedBytes(const std::string& path)
    {
        Command(IDM_SAVE);
        return ReadBytes(path);
    }

};

TEST_F(LargeReplaceTest, UndoAndRedoGiveBackEachTextByteForByte)
{
    const FileCase cases[] = {
        {"ansi.txt", 1252, L"\r\n", false},
        {"big5.txt", 950, L"\r\n", true},
        {"utf16.txt", 1200, L"\r\n", true},
        {"mac.txt", 1252, L"\r", false},
    };
    std::string folder = MakeScratchFolder("large_replace");
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Under code page 1252 the Big5 bytes are ANSI text of that page,
        // which must come back just the same.
        std::string original = Encode(Lines(c, false), c.CodePage);
        std::string replaced = Encode(Lines(c, true), c.CodePage);
        std::string path = folder + c.Name;
        WriteBytes(path, original);
        ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
        int format = App.LineFormat;
        int encoding = App.Encoding;
        std::wstring status1 = StatusText(1);
        Select(40, 45);
        SendMessageA(App.EditControl, EM_LINESCROLL, 0, 20);
        LONG firstLine = FirstLine();
        HWND old = App.EditControl;

        ReplaceAllInDialog(L"7", L"seven");
        EXPECT_NE(App.EditControl, old) << "replaced in place";
        EXPECT_EQ(StatusText(0), L"Items replaced: 60");
        EXPECT_TRUE(IsEditModified());
        EXPECT_EQ(WindowTitle(), std::string(c.Name) + "* - scrivlet");
        EXPECT_EQ(App.LineFormat, format);
        EXPECT_EQ(App.Encoding, encoding);
        EXPECT_EQ(StatusText(1), status1);
        LONG caret = (LONG)EditTextW().rfind(L"seven") + 5;
        EXPECT_SELECTION(caret, caret);
        ExpectUndoRedoShown(true, false);

        // Undo by menu (or key), Redo by key (or menu).
        if (c.CodePage == 1200)
            PressKey('Z', true);
        else
            Command(IDM_UNDO);
        EXPECT_SELECTION(40, 45);
        EXPECT_EQ(FirstLine(), firstLine);
        EXPECT_FALSE(IsEditModified());
        EXPECT_EQ(WindowTitle(), std::string(c.Name) + " - scrivlet");
        ExpectUndoRedoShown(false, true);
        EXPECT_EQ(SavedBytes(path), original);

        if (c.CodePage == 1200)
            Command(IDM_REDO);
        else
            PressKey('Z', true, true);
        EXPECT_SELECTION(caret, caret);
        // Saved while undone, so the text redone is what the file lacks.
        EXPECT_TRUE(IsEditModified());
        ExpectUndoRedoShown(true, false);
        EXPECT_EQ(SavedBytes(path), replaced);
        EXPECT_EQ(App.LineFormat, format);
        EXPECT_EQ(App.Encoding, encoding);
    }
    EXPECT_TRUE(RecordedPrompts().empty());
}

TEST_F(LargeReplaceTest, AnEditAfterItHandsUndoBackToTheControl)
{
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "a b\r";
    SetEditText(text.c_str());
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    ReplaceAllInDialog(L"a", L"x");
    std::string replaced = EditText();
    ASSERT_EQ(replaced.substr(0, 4), "x b\r");
    ExpectUndoRedoShown(true, false);

    TypeText("q");
    EXPECT_EQ(App.OwnStepWaits, OWN_STEP_NONE);
    EXPECT_FALSE(OwnUndoStepHoldsText());
    ExpectUndoRedoShown(true, false);
    Command(IDM_UNDO);
    EXPECT_EQ(EditText(), replaced);
    // The control's undo ends where its own text began.
    Command(IDM_UNDO);
    EXPECT_EQ(EditText(), replaced);
    Command(IDM_REDO);
    EXPECT_EQ(EditText().find('q') != std::string::npos, true);

    // An edit after an undo takes the redo away.
    ReplaceAllInDialog(L"x", L"y");
    Command(IDM_UNDO);
    ExpectUndoRedoShown(false, true);
    TypeText("w");
    ExpectUndoRedoShown(true, false);
    Command(IDM_REDO);
    EXPECT_EQ(EditText().find('y'), std::string::npos);

    // A new document leaves nothing to undo.
    ReplaceAllInDialog(L"x", L"z");
    SetEditModified(0);
    Command(IDM_NEW);
    ExpectUndoRedoShown(false, false);
    PressKey('Z', true);
    EXPECT_EQ(EditText(), "");
}

TEST_F(LargeReplaceTest, OnlyMoreBreaksThanTheThresholdTakeAFreshControl)
{
    // The span runs from the first match to the last: 10 breaks in it.
    std::string text = "k";
    for (int i = 0; i < 10; i++)
        text += "\rk";
    SetEditText(text.c_str());
    HWND control = App.EditControl;
    ReplaceAllInDialog(L"k", L"m");
    EXPECT_EQ(App.EditControl, control);
    EXPECT_EQ(App.OwnStepWaits, OWN_STEP_NONE);
    EXPECT_EQ(EditText()[0], 'm');
    SendMessageA(App.EditControl, EM_UNDO, 0, 0);
    EXPECT_EQ(EditText(), text);

    SetEditText((text + "\rk").c_str());
    ReplaceAllInDialog(L"k", L"m");
    EXPECT_NE(App.EditControl, control);
    EXPECT_EQ(App.OwnStepWaits, OWN_STEP_UNDO);
    EXPECT_EQ(StatusText(0), L"Items replaced: 12");
}

TEST_F(LargeReplaceTest, ReplaceAllWhileAFileStreamsInIsRefused)
{
    std::string folder = MakeScratchFolder("large_replace_loading");
    std::string path = folder + "loading.txt";
    std::string bytes;
    for (int i = 0; bytes.size() < 60000; i++)
        bytes += "row 7 " + std::to_string(i) + "\r\n";
    WriteBytes(path, bytes);
    Command(IDM_REPLACE);
    LargeReplaceBreaks = 0;
    BackgroundLoadThreshold = 0;
    FirstPieceBytes = 1000;
    MaxPieceBytes = 20;
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    ASSERT_TRUE(IsDocumentLoading());
    HWND control = App.EditControl;
    std::wstring before = EditTextW();

    ReplaceAllInDialog(L"7", L"seven", false);
    EXPECT_EQ(App.EditControl, control);
    EXPECT_EQ(EditTextW(), before);
    EXPECT_EQ(App.OwnStepWaits, OWN_STEP_NONE);
    ASSERT_TRUE(IsDocumentLoading());
    StopBackgroundLoad();
}
