// What a screen reader is given: the toolbar buttons' names, the status
// parts' texts, the gutter that takes no focus, the About links reached by
// Tab and opened from the keyboard, and a label with an access key for every
// dialog control. Wine's Active Accessibility reports no toolbar children and
// the status bar's first part only, so the names the program supplies are
// what is checked.
#include "ground/app_state.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <commctrl.h>
#include <functional>
#include <set>
#include <string>

class AccessibilityTest : public EditorFixture {};

TEST_F(AccessibilityTest, EveryToolbarButtonIsNamedByItsTooltipWithoutShowingIt)
{
    int count = (int)SendMessageW(App.ToolBar, TB_BUTTONCOUNT, 0, 0);
    int named = 0;
    for (int i = 0; i < count; i++) {
        TBBUTTON button;
        ASSERT_TRUE(SendMessageW(App.ToolBar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        wchar_t tooltip[256];
        ASSERT_GT(LoadStringW(GetModuleHandleW(NULL), (UINT)button.idCommand, tooltip, 256), 0) << button.idCommand;
        wchar_t name[256] = {0};
        SendMessageW(App.ToolBar, TB_GETBUTTONTEXTW, (WPARAM)button.idCommand, (LPARAM)name);
        EXPECT_STREQ(name, tooltip) << button.idCommand;
        named++;
    }
    EXPECT_EQ(named, 14);
    EXPECT_EQ(SendMessageW(App.ToolBar, TB_GETTEXTROWS, 0, 0), 0);
    // No text row: the buttons stay as narrow as their images.
    EXPECT_LT(LOWORD(SendMessageW(App.ToolBar, TB_GETBUTTONSIZE, 0, 0)), 40);
}

TEST_F(AccessibilityTest, StatusPartsHoldTheirTextsAndTheGutterIsNoWindow)
{
    for (int part = STATUS_FORMAT; part < STATUS_PARTS; part++) {
        LRESULT length = SendMessageW(App.StatusBar, SB_GETTEXTLENGTHW, (WPARAM)part, 0);
        EXPECT_GT(LOWORD(length), 0) << part;
        EXPECT_FALSE(HIWORD(length) & SBT_OWNERDRAW) << part;
    }
    EXPECT_EQ(StatusText(STATUS_ZOOM), L"100%");
    RunCommand(IDM_LINENUMBERS);
    Pump();
    ASSERT_GT(App.GutterWidth, 0);
    // Drawn inside the edit control: nothing of its own to take the focus
    // or a Tab stop.
    EXPECT_EQ(GetWindow(App.EditControl, GW_CHILD), (HWND)NULL);
    int children = 0;
    for (HWND child = GetWindow(App.MainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children++;
    EXPECT_EQ(children, 3);
}

static INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

static std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {0};
    GetClassNameW(window, name, 64);
    return name;
}

static std::wstring TextOf(HWND window)
{
    wchar_t text[256] = {0};
    GetWindowTextW(window, text, 256);
    return text;
}

// The letter after the one '&' of a text, upper case; 0 for none.
static wchar_t AccessKey(const std::wstring& text)
{
    size_t at = text.find(L'&');
    if (at == std::wstring::npos || at + 1 >= text.size())
        return 0;
    return (wchar_t)(ULONG_PTR)CharUpperW((LPWSTR)(ULONG_PTR)text[at + 1]);
}

static bool TakesFocus(HWND control)
{
    std::wstring type = ClassOf(control);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(type.c_str(), L"Button") == 0)
        return (style & BS_TYPEMASK) != BS_GROUPBOX;
    return (style & WS_TABSTOP) || lstrcmpiW(type.c_str(), L"Edit") == 0 ||
           lstrcmpiW(type.c_str(), L"ComboBox") == 0;
}

TEST_F(AccessibilityTest, EveryDialogControlHasALabelWithItsOwnAccessKey)
{
    const int dialogs[] = {IDD_GOTOLINE, IDD_ABOUT, IDD_OPTIONS_GENERAL, IDD_OPTIONS_EDITOR, IDD_PRINTING,
                           IDD_SAVEAS_EXTRA};
    for (int id : dialogs) {
        SCOPED_TRACE(id);
        HWND dialog = CreateDialogParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(id), App.MainWindow,
                                         PlainDialogProc, 0);
        ASSERT_TRUE(dialog != NULL);
        std::set<wchar_t> keys;
        int checked = 0;
        HWND previous = NULL;
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            int controlId = GetDlgCtrlID(control);
            bool ownDraw = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
            bool textual = lstrcmpiW(ClassOf(control).c_str(), L"Button") == 0 && !ownDraw;
            if (TakesFocus(control) && controlId != IDOK && controlId != IDCANCEL) {
                // A button's own text names it; another control's (or a button
                // whose text has no key) is the label before it.
                std::wstring label = textual ? TextOf(control) : L"";
                if (!AccessKey(label)) {
                    label = previous ? TextOf(previous) : L"";
                    EXPECT_TRUE(previous && lstrcmpiW(ClassOf(previous).c_str(), L"Static") == 0)
                        << "control " << controlId << " has no label before it";
                }
                wchar_t key = AccessKey(label);
                EXPECT_NE(key, 0) << "control " << controlId << ": " << Utf8(label);
                if (key) {
                    EXPECT_TRUE(keys.insert(key).second) << "access key used twice: " << Utf8(label);
                }
                checked++;
            }
            previous = control;
        }
        EXPECT_GT(checked + (id == IDD_PRINTING), 0);
        DestroyWindow(dialog);
    }
}

#include <oleacc.h>

// IAccessible spelled out: IID_IAccessible of the cross compiler's oleacc
// import library reads as other bytes (its import slot), which no object
// answers to.
static const GUID AccessibleInterface = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The accessible name of a window's client object, "(no object)" when
// Active Accessibility gives none.
static std::string AccessibleName(HWND window)
{
    IAccessible* object = NULL;
    if (FAILED(AccessibleObjectFromWindow(window, (DWORD)OBJID_CLIENT, AccessibleInterface, (void**)&object)) ||
        !object)
        return "(no object)";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = NULL;
    std::string result = SUCCEEDED(object->get_accName(self, &name)) && name ? Utf8(name) : "";
    if (name)
        SysFreeString(name);
    object->Release();
    return result;
}

// Wine answers for each control with a client object named by its text
// (the access key's ampersand dropped), no children for the toolbar or the
// status bar: what can be checked through it is the names of the About
// links and of the dialogs' controls.
TEST_F(AccessibilityTest, ActiveAccessibilityNamesTheLinksAndControlsByTheirTexts)
{
    CoInitialize(NULL);
    HWND about = CreateDialogParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_ABOUT), App.MainWindow,
                                    PlainDialogProc, 0);
    ASSERT_TRUE(about != NULL);
    for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_FORUM, IDC_ABOUT_MAIL}) {
        std::string name = AccessibleName(GetDlgItem(about, id));
        EXPECT_EQ(name, Utf8(TextOf(GetDlgItem(about, id)))) << id;
        EXPECT_EQ(name.find("://") != std::string::npos || name.find("mailto:") == 0, true) << name;
    }
    DestroyWindow(about);
    HWND general = CreateDialogParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_OPTIONS_GENERAL), App.MainWindow,
                                      PlainDialogProc, 0);
    ASSERT_TRUE(general != NULL);
    EXPECT_EQ(AccessibleName(GetDlgItem(general, IDC_OPT_MINTOTRAY)), Utf8(Utf8ToWide("最小化到系統列(M)")));
    EXPECT_EQ(AccessibleName(GetDlgItem(general, IDC_OPT_RECOVERY)),
              Utf8(Utf8ToWide("保留未儲存文字的復原副本(K)")));
    DestroyWindow(general);
    CoUninitialize();
}
