#include "views/encoding_menus.h"

#include "ground/app_state.h"
#include "text/encoding_choices.h"
#include "resource.h"

static_assert(IDM_REOPEN_FIRST + ENCODING_CHOICE_COUNT - 1 == IDM_REOPEN_LAST, "a reopen command per choice");
static_assert(IDM_CONVERT_FIRST + ENCODING_CHOICE_COUNT - 1 == IDM_CONVERT_LAST, "a convert command per choice");

static HMENU EncodingMenu()
{
    HMENU file = GetSubMenu(GetMenu(App.MainWindow), MENU_FILE);
    return file ? GetSubMenu(file, FILE_MENU_ENCODING) : NULL;
}

static HMENU ChoiceList(int firstId)
{
    HMENU list = CreatePopupMenu();
    for (int i = 0; list && i < ENCODING_CHOICE_COUNT; i++)
        AppendMenuW(list, MF_STRING, (UINT_PTR)(firstId + i), EncodingChoices[i].Label);
    return list;
}

void AddEncodingMenus()
{
    HMENU file = GetSubMenu(GetMenu(App.MainWindow), MENU_FILE);
    HMENU encoding = CreatePopupMenu();
    HMENU reopen = ChoiceList(IDM_REOPEN_FIRST);
    HMENU convert = ChoiceList(IDM_CONVERT_FIRST);
    if (!file || !encoding || !reopen || !convert)
        return;
    AppendMenuW(encoding, MF_POPUP, (UINT_PTR)reopen, L"\x91CD\x65B0\x958B\x555F\x70BA(&R)");  // 重新開啟為
    AppendMenuW(encoding, MF_POPUP, (UINT_PTR)convert, L"\x8F49\x63DB\x70BA(&V)");              // 轉換為
    InsertMenuW(file, FILE_MENU_ENCODING, MF_BYPOSITION | MF_POPUP, (UINT_PTR)encoding,
                L"\x7DE8\x78BC(&C)");  // 編碼
    CheckCurrentEncoding();
}

void CheckCurrentEncoding()
{
    HMENU encoding = EncodingMenu();
    if (!encoding)
        return;
    int current = CurrentEncodingChoice(App.Encoding, App.CodePage, App.NoByteOrderMark, GetACP());
    const int positions[] = {ENCODING_MENU_REOPEN, ENCODING_MENU_CONVERT};
    for (int position : positions) {
        HMENU list = GetSubMenu(encoding, position);
        for (int i = 0; list && i < ENCODING_CHOICE_COUNT; i++)
            CheckMenuItem(list, (UINT)i, MF_BYPOSITION | (i == current ? MF_CHECKED : MF_UNCHECKED));
    }
}

HMENU ReopenEncodingMenu()
{
    HMENU encoding = EncodingMenu();
    return encoding ? GetSubMenu(encoding, ENCODING_MENU_REOPEN) : NULL;
}

int ReopenChoiceOfCommand(int id)
{
    return id >= IDM_REOPEN_FIRST && id <= IDM_REOPEN_LAST ? id - IDM_REOPEN_FIRST : -1;
}

int ConvertChoiceOfCommand(int id)
{
    return id >= IDM_CONVERT_FIRST && id <= IDM_CONVERT_LAST ? id - IDM_CONVERT_FIRST : -1;
}
