// The Options sheet driven from inside its own modal loop: what each page
// shows, applies and writes, and the choosers it opens.
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>
#include <richedit.h>
#include <functional>
#include <string>

static std::function<void(HWND)> SheetScript;

static void CALLBACK DriveSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND sheet = FindWindowW(NULL, L"\x9078\x9805   ");
    if (!sheet)
        return;
    SheetScript(sheet);
    if (IsWindow(sheet))
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
}

// Chooser answers: a colour or a font, or Cancel when not set.
static bool ColorAnswered;
static COLORREF ColorAnswer;
static CHOOSECOLORW ColorRequest;
static bool FontAnswered;
static CHOOSEFONTW FontRequest;
static LOGFONTW FontShown;

static BOOL WINAPI AnswerColor(CHOOSECOLORW* request)
{
    ColorRequest = *request;
    if (!ColorAnswered)
        return FALSE;
    request->rgbResult = ColorAnswer;
    return TRUE;
}

static BOOL WINAPI AnswerFont(CHOOSEFONTW* request)
{
    FontRequest = *request;
    FontShown = *request->lpLogFont;
    if (!FontAnswered)
        return FALSE;
    LOGFONTW* font = request->lpLogFont;
    lstrcpynW(font->lfFaceName, L"Courier New", LF_FACESIZE);
    font->lfWeight = 700;
    font->lfHeight = -19;
    request->iPointSize = 140;
    return TRUE;
}

static COLORREF BrushColor(HWND page, int id)
{
    HDC context = GetDC(page);
    HBRUSH brush = (HBRUSH)SendMessageA(page, WM_CTLCOLORBTN, (WPARAM)context,
                                        (LPARAM)GetDlgItem(page, id));
    ReleaseDC(page, context);
    LOGBRUSH info;
    GetObjectA(brush, sizeof(info), &info);
    return info.lbColor;
}

static HWND ShowEditorPage(HWND sheet)
{
    PropSheet_SetCurSel(sheet, NULL, 1);
    return PropSheet_GetCurrentPageHwnd(sheet);
}

static void ClickSwatch(HWND page, int id)
{
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page, id));
}

class OptionsSheet : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ColorAnswered = false;
        FontAnswered = false;
        Prompts.ChooseColorDialog = AnswerColor;
        Prompts.ChooseFontDialog = AnswerFont;
    }
    void TearDown() override
    {
        UseRealPrompts();
        InstallRecordingPrompts();
        EditorFixture::TearDown();
    }
    // Opens the sheet with F10 and runs script inside it; the script ends
    // with OK, or the sheet is cancelled after it.
    bool RunSheet(std::function<void(HWND)> script)
    {
        bool ran = false;
        SheetScript = [&](HWND sheet) {
            ran = true;
            script(sheet);
        };
        SetTimer(NULL, 0, 50, DriveSheet);
        PressKey(VK_F10);
        return ran;
    }
};

TEST_F(OptionsSheet, TabSizeShownThenChangedAppliesAndWrites)
{
    ASSERT_EQ(Config.TabSize, 8);
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        HWND combo = GetDlgItem(page, IDC_OPT_TABSIZE);
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 8);
        char shown[8];
        GetWindowTextA(combo, shown, sizeof(shown));
        EXPECT_STREQ(shown, "8");
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.TabSize, 2);
    EXPECT_EQ(StatusText(3).find(L"2") != std::wstring::npos, true) << StatusText(3).c_str();
    EXPECT_NE(ReadIni().find("TabSize=2"), std::string::npos) << ReadIni();
}

TEST_F(OptionsSheet, ColoursShowAtOnceAndLeaveTheModifiedMarkAlone)
{
    SetEditText("text");
    SetEditModified(0);
    COLORREF back = Config.BackColor;
    ASSERT_TRUE(RunSheet([&](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        ColorAnswered = true;
        ColorAnswer = RGB(200, 0, 0);
        ClickSwatch(page, IDC_OPT_FONTCOLOR);
        EXPECT_EQ(ColorRequest.Flags, (DWORD)(CC_RGBINIT | CC_ANYCOLOR));
        EXPECT_EQ(ColorRequest.hwndOwner, page);
        EXPECT_EQ(BrushColor(page, IDC_OPT_FONTCOLOR), RGB(200, 0, 0));
        // Cancel on the background swatch changes nothing.
        ColorAnswered = false;
        ClickSwatch(page, IDC_OPT_BACKCOLOR);
        EXPECT_EQ(ColorRequest.rgbResult, back);
        EXPECT_EQ(BrushColor(page, IDC_OPT_BACKCOLOR), back);
        EXPECT_EQ(Config.FontColor, 0u); // nothing applied before OK
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.FontColor, RGB(200, 0, 0));
    EXPECT_EQ(Config.BackColor, back);
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    SendMessageA(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    EXPECT_EQ(format.crTextColor, RGB(200, 0, 0));
    EXPECT_EQ(IsEditModified(), 0);
    EXPECT_EQ(WindowTitle().find('*'), std::string::npos) << WindowTitle();
    EXPECT_NE(ReadIni().find("FontColor=200"), std::string::npos) << ReadIni();
}

TEST_F(OptionsSheet, FontChooserLimitsSizesAndTheChoiceBecomesTheEditorFont)
{
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        FontAnswered = true;
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_OPT_FONT, BN_CLICKED),
                     (LPARAM)GetDlgItem(page, IDC_OPT_FONT));
        EXPECT_EQ(FontRequest.nSizeMin, 1);
        EXPECT_EQ(FontRequest.nSizeMax, 20);
        EXPECT_EQ(FontRequest.Flags, (DWORD)(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE));
        EXPECT_EQ(FontRequest.hwndOwner, page);
        EXPECT_STREQ(FontShown.lfFaceName, Config.EditorLogFont.lfFaceName);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_STREQ(Config.EditorLogFont.lfFaceName, L"Courier New");
    EXPECT_EQ(Config.EditorCharFormat.yHeight, 280);
    EXPECT_EQ(Config.EditorCharFormat.dwEffects, (DWORD)CFE_BOLD);
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    SendMessageA(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    EXPECT_STREQ(format.szFaceName, L"Courier New");
    EXPECT_EQ(format.yHeight, 280);
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("Font=Courier New"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FontSize=280"), std::string::npos) << ini;
}

TEST_F(OptionsSheet, UrlHighlightChangeGivesTheReloadNotice)
{
    ASSERT_EQ(Config.HighlightURLs, 1);
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        CheckDlgButton(page, IDC_OPT_HIGHLIGHTURLS, BST_UNCHECKED);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.HighlightURLs, 0);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETAUTOURLDETECT, 0, 0), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    const RecordedPrompt& notice = RecordedPrompts()[0];
    EXPECT_EQ(notice.Caption, L"scrivlet");
    EXPECT_EQ(notice.Text, Utf8ToWide("你必須重新載入因為偵測到此檔案的網址已被變更為別的位置."));
    EXPECT_EQ(notice.Buttons, (UINT)MB_OK);
    EXPECT_EQ(notice.Icon, (UINT)MB_ICONEXCLAMATION);
    EXPECT_NE(ReadIni().find("HighlightURLs=0"), std::string::npos);
}

TEST_F(OptionsSheet, GeneralPageAloneIsCentredAppliedAndWritten)
{
    std::string folder = MakeScratchFolder("options");
    WriteBytes(folder + "a.txt", "x");
    StopEditor();
    StartEditor(folder + "a.txt");
    ASSERT_EQ(WindowTitle(), "a.txt - scrivlet");
    int tabSize = Config.TabSize;
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        RECT own;
        RECT main;
        GetWindowRect(sheet, &own);
        GetWindowRect(App.MainWindow, &main);
        EXPECT_NEAR((own.left + own.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((own.top + own.bottom) / 2, (main.top + main.bottom) / 2, 1);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_ESCAPEEXIT), (UINT)BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_FULLPATH), (UINT)BST_UNCHECKED);
        CheckDlgButton(page, IDC_OPT_FULLPATH, BST_CHECKED);
        CheckDlgButton(page, IDC_OPT_MINTOTRAY, BST_CHECKED);
        CheckDlgButton(page, IDC_OPT_ESCAPEEXIT, BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_RECOVERY), (UINT)BST_CHECKED);
        CheckDlgButton(page, IDC_OPT_RECOVERY, BST_UNCHECKED);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.Recovery, 0);
    EXPECT_EQ(Config.FullPath, 1);
    EXPECT_EQ(Config.MinimizeToTray, 1);
    EXPECT_EQ(Config.EscapeExit, 0);
    EXPECT_EQ(Config.TabSize, tabSize);
    EXPECT_EQ(WindowTitle(), folder + "a.txt - scrivlet");
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("FullPath=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("EscapeExit=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Recovery=0"), std::string::npos) << ini;
    // The font keys are written on every confirmation.
    EXPECT_NE(ini.find("Font=Fixedsys"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FontColor=0"), std::string::npos) << ini;
}

TEST_F(OptionsSheet, CancelKeepsEverything)
{
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        CheckDlgButton(PropSheet_GetCurrentPageHwnd(sheet), IDC_OPT_SAVEPOSITION, BST_CHECKED);
        HWND page = ShowEditorPage(sheet);
        CheckDlgButton(page, IDC_OPT_AUTOINDENT, BST_UNCHECKED);
        ColorAnswered = true;
        ColorAnswer = RGB(1, 2, 3);
        ClickSwatch(page, IDC_OPT_BACKCOLOR);
    }));
    EXPECT_EQ(Config.SavePosition, 0);
    EXPECT_EQ(Config.AutoIndent, 1);
    EXPECT_NE(Config.BackColor, RGB(1, 2, 3));
    EXPECT_EQ(ReadIni(), "");
}

// Text the colour of its background would be unreadable, and once saved it
// cost both colours at the next start: the sheet refuses it.
TEST_F(OptionsSheet, ATextColourLikeTheBackgroundIsRefused)
{
    COLORREF back = Config.BackColor;
    COLORREF text = Config.FontColor;
    ASSERT_NE(text, back);
    ASSERT_TRUE(RunSheet([&](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        ColorAnswered = true;
        ColorAnswer = back;
        ClickSwatch(page, IDC_OPT_FONTCOLOR);
        ASSERT_EQ(RecordedPrompts().size(), 1u);
        const RecordedPrompt& prompt = RecordedPrompts()[0];
        EXPECT_EQ(prompt.Text, L"The text colour and the background colour must differ: text in the colour "
                               L"of its background cannot be read. Choose another colour.");
        EXPECT_EQ(prompt.Caption, L"scrivlet");
        EXPECT_EQ(prompt.Owner, page);
        EXPECT_EQ(prompt.Icon, (UINT)MB_ICONEXCLAMATION);
        EXPECT_EQ(BrushColor(page, IDC_OPT_FONTCOLOR), text);
        // Nor may the background take the text's colour.
        ColorAnswer = text;
        ClickSwatch(page, IDC_OPT_BACKCOLOR);
        EXPECT_EQ(RecordedPrompts().size(), 2u);
        EXPECT_EQ(BrushColor(page, IDC_OPT_BACKCOLOR), back);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.FontColor, text);
    EXPECT_EQ(Config.BackColor, back);
    EXPECT_EQ(ReadIni().find("FontColor=" + std::to_string(back)), std::string::npos) << ReadIni();
}

TEST_F(OptionsSheet, AppearanceChoiceIsKeptAndPaintsAtOnce)
{
    ASSERT_EQ(Config.Appearance, 0);
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        HWND combo = GetDlgItem(page, IDC_OPT_APPEARANCE);
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
        wchar_t shown[32] = {0};
        GetWindowTextW(combo, shown, 32);
        EXPECT_EQ(std::wstring(shown), Utf8ToWide("依照 Windows"));
        SendMessageW(combo, CB_SETCURSEL, 2, 0);
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.Appearance, 2);
    EXPECT_NE(ReadIni().find("Appearance=2"), std::string::npos) << ReadIni();
    // Dark now, while the colours kept are still the defaults.
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    SendMessageW(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    EXPECT_EQ(format.crTextColor, RGB(220, 220, 220));
    EXPECT_EQ(Config.FontColor, 0u);
    EXPECT_NE(ReadIni().find("FontColor=0"), std::string::npos) << ReadIni();
}

TEST_F(OptionsSheet, SwatchesAreReachedByTabAndOpenTheChooserWithSpace)
{
    ASSERT_TRUE(RunSheet([](HWND sheet) {
        HWND page = ShowEditorPage(sheet);
        HWND font = GetDlgItem(page, IDC_OPT_FONT);
        HWND text = GetDlgItem(page, IDC_OPT_FONTCOLOR);
        HWND back = GetDlgItem(page, IDC_OPT_BACKCOLOR);
        EXPECT_EQ(GetNextDlgTabItem(page, font, FALSE), text);
        EXPECT_EQ(GetNextDlgTabItem(page, text, FALSE), back);
        ColorAnswered = true;
        ColorAnswer = RGB(0, 128, 0);
        ColorRequest.hwndOwner = NULL;
        SetFocus(back);
        SendMessageW(back, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(back, WM_KEYUP, VK_SPACE, 0xC0000001);
        EXPECT_EQ(ColorRequest.hwndOwner, page);
        EXPECT_EQ(BrushColor(page, IDC_OPT_BACKCOLOR), RGB(0, 128, 0));
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Config.BackColor, RGB(0, 128, 0));
}
