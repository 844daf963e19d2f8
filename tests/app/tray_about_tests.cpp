// Hiding to the tray and back, the legacy wheel message, and the About box.
#include "about/about.h"
#include "ground/app_state.h"
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "program/tray.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <richedit.h>
#include <shellapi.h>
#include <winver.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

class TrayTest : public EditorFixture {};

TEST_F(TrayTest, IconRecordCarriesTheTitleCutTo62)
{
    std::string title(70, 'x');
    title.replace(0, 5, "start");
    SetWindowTextW(App.MainWindow, Wide(title).c_str());
    NOTIFYICONDATAW record;
    BuildTrayRecord(App.MainWindow, 1, &record);
    EXPECT_EQ(record.cbSize, (DWORD)NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(record.uID, 104u);
    EXPECT_EQ(record.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, (UINT)WM_MOUSEMOVE);
    EXPECT_EQ(Utf8(record.szTip), title.substr(0, 62));
    // The small icon, as large as the system shows small icons at this DPI.
    ICONINFO icon;
    ASSERT_TRUE(GetIconInfo(record.hIcon, &icon));
    BITMAP colour;
    GetObjectA(icon.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(colour.bmHeight, GetSystemMetrics(SM_CYSMICON));
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);

    BuildTrayRecord(App.MainWindow, 0, &record);
    EXPECT_EQ(record.uFlags, 0u);
    EXPECT_EQ(record.szTip[0], 0);
}

// Real clicks on the icon and a restarted shell are tried on a desktop with
// a taskbar (tests/e2e/tray_icon.sh); a double click is not.
TEST_F(TrayTest, DoubleClickOnTheIconRestores)
{
    PressKey('M', true);
    EXPECT_EQ(App.InTray, 1);
    SendMessageA(App.MainWindow, WM_MOUSEMOVE, TRAY_ICON_ID, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(App.MainWindow));
    SendMessageA(App.MainWindow, WM_MOUSEMOVE, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_EQ(App.InTray, 0);
}

TEST_F(TrayTest, MinimiseGoesToTheTrayOnlyWhenSet)
{
    Config.MinimizeToTray = 0;
    SendMessageA(App.MainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(App.MainWindow));
    EXPECT_EQ(App.InTray, 0);
    ShowWindow(App.MainWindow, SW_RESTORE);

    Config.MinimizeToTray = 1;
    EXPECT_EQ(SendMessageA(App.MainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
    Pump();
    EXPECT_FALSE(IsIconic(App.MainWindow));
    EXPECT_FALSE(IsWindowVisible(App.MainWindow));
    EXPECT_EQ(App.InTray, 1);
}

TEST_F(TrayTest, MaximisedWindowComesBackMaximised)
{
    ShowWindow(App.MainWindow, SW_MAXIMIZE);
    HideToTray(App.MainWindow);
    RestoreFromTray(App.MainWindow);
    EXPECT_TRUE(IsZoomed(App.MainWindow));
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
}

TEST_F(TrayTest, LegacyWheelScrollsTheSystemsLinesPerNotch)
{
    std::string text;
    for (int i = 0; i < 200; i++)
        text += "line\r\n";
    SetEditText(text.c_str());
    SendMessageA(App.EditControl, EM_SETSEL, 0, 0);
    SendMessageA(App.EditControl, EM_SCROLLCARET, 0, 0);
    int lines = WheelScrollLines();
    ASSERT_GT(lines, 0);
    // Two notches towards the user scroll down, one away scrolls back up.
    SendMessageA(App.MainWindow, App.WheelMessage, (WPARAM)(-2 * WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), 2 * lines);
    SendMessageA(App.MainWindow, App.WheelMessage, (WPARAM)WHEEL_DELTA, 0);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), lines);
    // Half notches add up to one.
    SendMessageA(App.MainWindow, App.WheelMessage, (WPARAM)(-WHEEL_DELTA / 2), 0);
    SendMessageA(App.MainWindow, App.WheelMessage, (WPARAM)(-WHEEL_DELTA / 2), 0);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), 2 * lines);
}

// The About box, inspected from inside its own modal loop.
static std::function<void(HWND)> AboutCheck;
static HINSTANCE (WINAPI *RealShellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
static std::string OpenedTarget;
static HWND OpenedOwner;

static HINSTANCE WINAPI RecordShellOpen(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    OpenedOwner = owner;
    OpenedTarget = Utf8(verb) + " " + Utf8(file);
    return (HINSTANCE)33;
}

static void CALLBACK InspectAbout(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(NULL, L"\x95DC\x65BC Scrivlet");
    // The modal loop shows the box when it first goes idle: a slow run can
    // find it still hidden, so look again at the next tick.
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(NULL, timer);
    AboutCheck(dialog);
    if (IsWindow(dialog))
        PostMessageA(dialog, WM_CLOSE, 0, 0);
}

class AboutTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        RealShellExecute = Prompts.ShellExecute;
        Prompts.ShellExecute = RecordShellOpen;
        OpenedTarget.clear();
    }
    void TearDown() override
    {
        Prompts.ShellExecute = RealShellExecute;
        EditorFixture::TearDown();
    }
    // Opens the box with command 1101 and runs check inside it.
    bool RunAbout(std::function<void(HWND)> check)
    {
        bool ran = false;
        AboutCheck = [&](HWND dialog) {
            ran = true;
            check(dialog);
        };
        SetTimer(NULL, 0, 50, InspectAbout);
        RunCommand(IDM_ABOUT);
        return ran;
    }
    static LPARAM CentreOf(HWND dialog, int id)
    {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ScreenToClient(dialog, &centre);
        return MAKELPARAM(centre.x, centre.y);
    }
};

// The product version in this program's version resource, "a.b.c.d": the
// About text is made from the same number.
static std::string ResourceVersion()
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
    if (!found)
        return "(no version resource)";
    DWORD size = SizeofResource(nullptr, found);
    // VerQueryValue wants a writable block with room to spare.
    std::string block(size * 2, '\0');
    memcpy(&block[0], LockResource(LoadResource(nullptr, found)), size);
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(&block[0], "\\", (void **)&info, &length) || length < sizeof(*info))
        return "(no fixed version)";
    char text[64];
    snprintf(text, sizeof(text), "%u.%u.%u.%u", (unsigned)HIWORD(info->dwProductVersionMS),
             (unsigned)LOWORD(info->dwProductVersionMS), (unsigned)HIWORD(info->dwProductVersionLS),
             (unsigned)LOWORD(info->dwProductVersionLS));
    return text;
}

// Pixels of the link colour in a link drawn as the dialog draws it.
static int LinkPixels(HWND dialog, int id, COLORREF colour)
{
    HWND link = GetDlgItem(dialog, id);
    RECT area;
    GetClientRect(link, &area);
    HDC screen = GetDC(dialog);
    HDC context = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ old = SelectObject(context, bitmap);
    DRAWITEMSTRUCT item;
    memset(&item, 0, sizeof(item));
    item.CtlType = ODT_BUTTON;
    item.CtlID = (UINT)id;
    item.hwndItem = link;
    item.hDC = context;
    item.rcItem = area;
    SendMessageW(dialog, WM_DRAWITEM, (WPARAM)id, (LPARAM)&item);
    int count = 0;
    for (int y = 0; y < area.bottom; y++)
        for (int x = 0; x < area.right; x++)
            count += GetPixel(context, x, y) == colour;
    SelectObject(context, old);
    DeleteObject(bitmap);
    DeleteDC(context);
    ReleaseDC(dialog, screen);
    return count;
}

TEST_F(AboutTest, VersionIconAndLinksInTheLinkColour)
{
    ASSERT_TRUE(RunAbout([](HWND dialog) {
        char version[40];
        GetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version, sizeof(version));
        EXPECT_EQ(std::string(version), "Scrivlet " + ResourceVersion());
        EXPECT_EQ((HICON)SendDlgItemMessageA(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0), App.AppIcon);
        SystemLook light = App.Look;
        SystemLook contrast = light;
        contrast.HighContrast = 1;
        contrast.HotLight = RGB(255, 255, 0);
        contrast.ButtonFace = RGB(0, 0, 0);
        for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_FORUM, IDC_ABOUT_MAIL}) {
            App.Look = light;
            // The text and its underline.
            EXPECT_GT(LinkPixels(dialog, id, RGB(0, 0, 255)), 60) << id;
            // Under high contrast the system's link colour on its face colour.
            App.Look = contrast;
            EXPECT_EQ(LinkPixels(dialog, id, RGB(0, 0, 255)), 0) << id;
            EXPECT_GT(LinkPixels(dialog, id, RGB(255, 255, 0)), 60) << id;
            EXPECT_GT(LinkPixels(dialog, id, RGB(0, 0, 0)), 60) << id;
        }
        App.Look = light;
    }));
}

TEST_F(AboutTest, HandOverLinksAndAClickOpensTheLinkWithoutClosing)
{
    ASSERT_TRUE(RunAbout([](HWND dialog) {
        HCURSOR hand = LoadCursorA(NULL, (LPCSTR)IDC_HAND);
        HWND forum = GetDlgItem(dialog, IDC_ABOUT_FORUM);
        SetCursor(NULL);
        EXPECT_EQ(SendMessageA(dialog, WM_SETCURSOR, (WPARAM)forum, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
        EXPECT_EQ(GetCursor(), hand);
        EXPECT_EQ(SendMessageA(dialog, WM_SETCURSOR, (WPARAM)GetDlgItem(dialog, IDC_ABOUT_VERSION),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  FALSE);

        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_FORUM, BN_CLICKED), (LPARAM)forum);
        char target[250];
        GetDlgItemTextA(dialog, IDC_ABOUT_FORUM, target, sizeof(target));
        EXPECT_EQ(OpenedTarget, std::string("open ") + target);
        EXPECT_EQ(OpenedOwner, dialog);
        EXPECT_TRUE(IsWindowVisible(dialog));
    }));
}

TEST_F(AboutTest, TabReachesEachLinkAndEnterOrSpaceOpensIt)
{
    ASSERT_TRUE(RunAbout([](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        EXPECT_EQ(GetFocus(), ok);
        HWND order[] = {GetDlgItem(dialog, IDC_ABOUT_HOMEPAGE), GetDlgItem(dialog, IDC_ABOUT_FORUM),
                        GetDlgItem(dialog, IDC_ABOUT_MAIL), ok};
        HWND at = ok;
        for (HWND next : order) {
            at = GetNextDlgTabItem(dialog, at, FALSE);
            EXPECT_EQ(at, next);
        }
        char target[250];
        for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_FORUM, IDC_ABOUT_MAIL}) {
            HWND link = GetDlgItem(dialog, id);
            GetWindowTextA(link, target, sizeof(target));
            SetFocus(link);
            OpenedTarget.clear();
            // Enter as the dialog manager hands it on.
            MSG enter = {link, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
            EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
            EXPECT_EQ(OpenedTarget, std::string("open ") + target) << "Enter on " << id;
            EXPECT_TRUE(IsWindowVisible(dialog));
            OpenedTarget.clear();
            SendMessageW(link, WM_KEYDOWN, VK_SPACE, 0);
            SendMessageW(link, WM_KEYUP, VK_SPACE, 0xC0000001);
            EXPECT_EQ(OpenedTarget, std::string("open ") + target) << "Space on " << id;
            EXPECT_TRUE(IsWindowVisible(dialog));
        }
        // Enter on OK closes the box.
        SetFocus(ok);
        MSG enter = {ok, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
        IsDialogMessageW(dialog, &enter);
        EXPECT_FALSE(IsWindowVisible(dialog));
    }));
}

TEST_F(AboutTest, AnyOtherCommandClosesIt)
{
    for (WPARAM command : {(WPARAM)IDOK, (WPARAM)IDCANCEL}) {
        ASSERT_TRUE(RunAbout([&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, command, 0);
            EXPECT_FALSE(IsWindowVisible(dialog)) << command;
        }));
    }
}
