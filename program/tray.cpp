#include "program/tray.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/dpi.h"
#include "resource.h"

#include <richedit.h>
#include <string.h>

// The class icon is the large one; the tray shows a small icon, at the DPI.
static HICON LoadTrayIcon(HWND window)
{
    int dpi = WindowDpi(window);
    return (HICON)LoadImageW(App.Instance, MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON,
                             SystemMetricForDpi(SM_CXSMICON, dpi), SystemMetricForDpi(SM_CYSMICON, dpi), 0);
}

void BuildTrayRecord(HWND window, int adding, NOTIFYICONDATAW* record)
{
    // The first form of the record: every shell version understands it.
    memset(record, 0, sizeof(*record));
    record->cbSize = NOTIFYICONDATAW_V1_SIZE;
    record->hWnd = window;
    record->uID = TRAY_ICON_ID;
    if (!adding)
        return;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The icon talks back with WM_MOUSEMOVE, which the window's own client
    // area never receives: its children cover it.
    record->uCallbackMessage = WM_MOUSEMOVE;
    if (!App.TrayIcon)
        App.TrayIcon = LoadTrayIcon(window);
    record->hIcon = App.TrayIcon ? App.TrayIcon : App.AppIcon;
    // 63 units with the terminator: the title of the moment, cut to 62,
    // never inside a surrogate pair.
    int length = GetWindowTextW(window, record->szTip, 63);
    if (length > 0 && IS_HIGH_SURROGATE(record->szTip[length - 1]))
        record->szTip[length - 1] = 0;
}

void HideToTray(HWND window)
{
    NOTIFYICONDATAW record;
    BuildTrayRecord(window, 1, &record);
    Shell_NotifyIconW(NIM_ADD, &record);
    ShowWindow(window, SW_HIDE);
    App.InTray = 1;
}

int MinimizeToTrayInstead(HWND window, WPARAM systemCommand)
{
    // The low four bits of a system command are the system's own.
    if ((systemCommand & 0xFFF0) != SC_MINIMIZE || !Config.MinimizeToTray)
        return 0;
    HideToTray(window);
    return 1;
}

void RestoreFromTray(HWND window)
{
    NOTIFYICONDATAW record;
    BuildTrayRecord(window, 0, &record);
    Shell_NotifyIconW(NIM_DELETE, &record);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    App.InTray = 0;
}

void OnTrayCallback(HWND window, UINT mouseMessage)
{
    if ((mouseMessage == WM_LBUTTONUP || mouseMessage == WM_LBUTTONDBLCLK ||
         mouseMessage == WM_RBUTTONUP) && IsCommandAllowed(CMD_TRAY_RESTORE))
        RestoreFromTray(window);
}

void OnTaskbarCreated(HWND window)
{
    // A new shell knows nothing of the old icon: add it again.
    if (App.InTray)
        HideToTray(window);
}

void RefreshTrayIcon(HWND window)
{
    if (App.TrayIcon)
        DestroyIcon(App.TrayIcon);
    App.TrayIcon = NULL;
    if (!App.InTray)
        return;
    NOTIFYICONDATAW record;
    BuildTrayRecord(window, 1, &record);
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

int WheelScrollLines()
{
    UINT lines = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) || lines == 0)
        return 3;
    return (int)lines;
}

void OnLegacyWheel(int rotation)
{
    // Rotation away from the user scrolls up. Part notches of fine-grained
    // wheels add up until they make a whole line.
    static int pending = 0;
    int lines = WheelScrollLines();
    if (lines == (int)WHEEL_PAGESCROLL) {
        int notches = rotation / WHEEL_DELTA;
        for (int i = 0; i < (notches < 0 ? -notches : notches); i++)
            SendMessageW(App.EditControl, EM_SCROLL, notches > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
        return;
    }
    pending += rotation * lines;
    int whole = pending / WHEEL_DELTA;
    pending -= whole * WHEEL_DELTA;
    if (whole != 0)
        SendMessageW(App.EditControl, EM_LINESCROLL, 0, -whole);
}
