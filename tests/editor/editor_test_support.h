// Small helpers shared by the editor behaviour tests.
#ifndef SCRIVLET_TEST_EDITOR_SUPPORT_H
#define SCRIVLET_TEST_EDITOR_SUPPORT_H

#include "ground/app_state.h"
#include "support/editor_fixture.h"

#include <richedit.h>
#include <string>

// The editor with the option values a fresh INI gives, set here so the tests
// do not depend on what the settings loader applies.
class EditorBehaviourTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Config.AutoIndent = 1;
        Config.SmartHome = 1;
        Config.EscapeExit = 1;
        Config.SingleClickURLs = 1;
        Config.TabsToSpaces = 0;
        Config.LineNumbers = 0;
        Config.TabSize = 8;
    }

    void Select(LONG start, LONG end)
    {
        CHARRANGE range = {start, end};
        SendMessageA(App.EditControl, EM_EXSETSEL, 0, (LPARAM)&range);
        Pump();
    }

    CHARRANGE Selection()
    {
        CHARRANGE range = {0, 0};
        SendMessageA(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&range);
        return range;
    }

    void SetEditTextW(const std::wstring& text)
    {
        SETTEXTEX request = {ST_DEFAULT, 1200};
        SendMessageA(App.EditControl, EM_SETTEXTEX, (WPARAM)&request, (LPARAM)text.c_str());
        TakeTextAsFresh();
        Pump();
    }

    void Command(int id)
    {
        SendMessageA(App.MainWindow, WM_COMMAND, (WPARAM)id, 0);
        Pump();
    }
};

// Clipboard access for the tests; the main window owns what they put there.
std::wstring ClipboardUnicode();
std::string ClipboardAnsi();
bool ClipboardHas(UINT format);
void PutUnicodeOnClipboard(const std::wstring& text);
void PutAnsiOnlyOnClipboard(const std::string& text);

#define EXPECT_SELECTION(expectedStart, expectedEnd)          \
    do {                                                      \
        CHARRANGE selection_ = Selection();                   \
        EXPECT_EQ(selection_.cpMin, (LONG)(expectedStart));   \
        EXPECT_EQ(selection_.cpMax, (LONG)(expectedEnd));     \
    } while (0)

#endif
