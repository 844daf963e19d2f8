// Loaded into a running scrivlet by window_probe's message hook: a menu can
// only be read inside the process that owns it, so this answers the probe's
// question from there, with the Favorites menu's items sent back as UTF-8 text.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define FAVORITES_MENU 3

extern "C" __declspec(dllexport) LRESULT CALLBACK FavoritesMenuHook(int code, WPARAM wParam,
                                                                   LPARAM lParam)
{
    const MSG* msg = (const MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        msg->message == RegisterWindowMessageA("SCRIVLET_PROBE_MENU")) {
        // One line per item: "-" for a separator, else "<id> <label>".
        static char text[65536];
        size_t used = 0;
        HMENU menu = GetSubMenu(GetMenu(msg->hwnd), FAVORITES_MENU);
        int count = menu ? GetMenuItemCount(menu) : -1;
        for (int i = 0; i < count && used < sizeof(text) - 1200; i++) {
            // Read wide and sent as UTF-8, whatever the code page.
            wchar_t wide[280] = L"";
            char label[1100] = "";
            MENUITEMINFOW item;
            memset(&item, 0, sizeof(item));
            item.cbSize = sizeof(item);
            item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
            item.dwTypeData = wide;
            item.cch = sizeof(wide) / sizeof(wide[0]);
            GetMenuItemInfoW(menu, (UINT)i, TRUE, &item);
            WideCharToMultiByte(CP_UTF8, 0, wide, -1, label, (int)sizeof(label), NULL, NULL);
            int n = (item.fType & MFT_SEPARATOR)
                        ? _snprintf(text + used, sizeof(text) - used, "-\n")
                        : _snprintf(text + used, sizeof(text) - used, "%u %s\n", item.wID, label);
            if (n > 0)
                used += (size_t)n;
        }
        COPYDATASTRUCT reply;
        reply.dwData = (ULONG_PTR)count;
        reply.cbData = (DWORD)used;
        reply.lpData = text;
        SendMessageA((HWND)msg->wParam, WM_COPYDATA, (WPARAM)msg->hwnd, (LPARAM)&reply);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
