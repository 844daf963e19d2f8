// The recent-files and favorites menus, drawn from the lists.
#include "views/list_menus.h"

#include "settings/recent_lists.h"
#include "resource.h"

#include <string.h>

// The number and the dots a label adds to the path.
#define LABEL_EXTRA 16

static int IsFavorites(const StringList* list) { return list->FirstCommandId == IDM_FAV_FIRST; }

static HMENU ListMenu(const StringList* list)
{
    return GetSubMenu(GetMenu(App.MainWindow), IsFavorites(list) ? MENU_FAVORITES : MENU_FILE);
}

// The separator above the entries; entry i sits just below it at + 1 + i.
static int SeparatorPosition(const StringList* list)
{
    return IsFavorites(list) ? FAVORITES_MENU_SEPARATOR : FILE_MENU_RECENT_SEPARATOR;
}

static void ShowListMenuItem(HMENU menu, StringList* list, int index)
{
    const wchar_t* path = ListItemAt(list, index);
    if (!path)
        return;
    int position = SeparatorPosition(list) + 1 + index;
    UINT id = (UINT)ListCommandId(list, index);
    std::wstring label(wcslen(path) + LABEL_EXTRA, L'\0');
    FormatListLabel(index, path, &label[0], (int)label.size());

    MENUITEMINFOW item;
    memset(&item, 0, sizeof(item));
    item.cbSize = sizeof(item);
    item.fMask = MIIM_TYPE | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = 0;
    item.dwTypeData = &label[0];
    if (GetMenuItemID(menu, position) == id) {
        SetMenuItemInfoW(menu, (UINT)position, TRUE, &item);
        return;
    }
    if (index == 0) {
        MENUITEMINFOW separator;
        memset(&separator, 0, sizeof(separator));
        separator.cbSize = sizeof(separator);
        separator.fMask = MIIM_TYPE;
        separator.fType = MFT_SEPARATOR;
        InsertMenuItemW(menu, (UINT)SeparatorPosition(list), TRUE, &separator);
    }
    item.fMask |= MIIM_ID;
    item.wID = id;
    InsertMenuItemW(menu, (UINT)position, TRUE, &item);
}

// Entries the menu shows now: the run of list ids just below the separator.
static int ShownEntries(HMENU menu, const StringList* list)
{
    int first = SeparatorPosition(list) + 1;
    int shown = 0;
    while (shown < list->Capacity &&
           GetMenuItemID(menu, first + shown) == (UINT)ListCommandId(list, shown))
        shown++;
    return shown;
}

void ShowListMenu(StringList* list)
{
    HMENU menu = ListMenu(list);
    if (!menu)
        return;
    int shown = ShownEntries(menu, list);
    // Entries past the list's end go from the bottom, and the separator with
    // the last of them.
    for (int i = shown - 1; i >= list->Count; i--)
        DeleteMenu(menu, (UINT)(SeparatorPosition(list) + 1 + i), MF_BYPOSITION);
    if (list->Count == 0 && shown > 0)
        DeleteMenu(menu, (UINT)SeparatorPosition(list), MF_BYPOSITION);
    for (int i = 0; i < list->Count; i++)
        ShowListMenuItem(menu, list, i);
}
