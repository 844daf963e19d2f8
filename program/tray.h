// Hiding the main window to the notification area and back; the legacy
// wheel message of older mouse software.
#ifndef SCRIVLET_TRAY_H
#define SCRIVLET_TRAY_H

#include <windows.h>
#include <shellapi.h>

// The icon record for adding (adding nonzero) or removing the icon of window.
void BuildTrayRecord(HWND window, int adding, NOTIFYICONDATAW* record);
void HideToTray(HWND window);
void RestoreFromTray(HWND window);
// Hides to the tray for a minimise when the option asks; nonzero when it did.
int MinimizeToTrayInstead(HWND window, WPARAM systemCommand);
// The icon's callback: mouseMessage is the low word of its lParam.
void OnTrayCallback(HWND window, UINT mouseMessage);
void OnTaskbarCreated(HWND window);
// The small icon again for the window's DPI, shown at once when in the tray.
void RefreshTrayIcon(HWND window);
// Scrolls the edit control for a rotation in multiples of WHEEL_DELTA.
void OnLegacyWheel(int rotation);
// Lines one notch scrolls, as the system is set (3 when it does not say).
int WheelScrollLines();

#endif
