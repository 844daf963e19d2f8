#include "options/options_sheet.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"
#include "settings/settings.h"
#include "views/caret_status.h"
#include "views/colour_scheme.h"
#include "views/gutter.h"
#include "views/list_menus.h"
#include "views/main_window.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>
#include <richedit.h>
#include <string.h>

// One brush per swatch in its pending colour, remade when the colour
// changes and freed with the page.
static HBRUSH SwatchBrushes[2] = {NULL, NULL};
enum { BACK_SWATCH = 0, FONT_SWATCH = 1 };

static void PaintSwatchIn(int slot, COLORREF color)
{
    if (SwatchBrushes[slot])
        DeleteObject(SwatchBrushes[slot]);
    SwatchBrushes[slot] = CreateSolidBrush(color);
}


void CenterOverMainWindow(HWND window)
{
    RECT own;
    RECT main;
    GetWindowRect(window, &own);
    GetWindowRect(App.MainWindow, &main);
    int x = main.left + ((main.right - main.left) - (own.right - own.left)) / 2;
    int y = main.top + ((main.bottom - main.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOOWNERZORDER | SWP_NOZORDER);
}

static void CheckIfSet(HWND page, int id, int setting)
{
    CheckDlgButton(page, id, setting ? BST_CHECKED : BST_UNCHECKED);
}

static int Ticked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

static INT_PTR Answer(HWND page, LRESULT result)
{
    SetWindowLongPtrW(page, DWLP_MSGRESULT, (LONG_PTR)result);
    return TRUE;
}

// General page

static void InitGeneralPage(HWND page)
{
    // The sheet opens on this page, so the sheet is centred once per opening.
    CenterOverMainWindow(GetParent(page));
    CheckIfSet(page, IDC_OPT_MINTOTRAY, Config.MinimizeToTray);
    CheckIfSet(page, IDC_OPT_ESCAPEEXIT, Config.EscapeExit);
    CheckIfSet(page, IDC_OPT_FILECHANGE, Config.FileChange);
    CheckIfSet(page, IDC_OPT_FULLPATH, Config.FullPath);
    CheckIfSet(page, IDC_OPT_SAVEPOSITION, Config.SavePosition);
    CheckIfSet(page, IDC_OPT_DNDNEWWINDOW, Config.DNDNewWindow);
    CheckIfSet(page, IDC_OPT_RECENTFILES, Config.RecentFiles);
    CheckIfSet(page, IDC_OPT_RECOVERY, Config.Recovery);
    // In the order of Appearance's values.
    static const wchar_t* const looks[] = {L"依照 Windows", L"淺色", L"深色"};
    for (const wchar_t* look : looks)
        SendDlgItemMessageW(page, IDC_OPT_APPEARANCE, CB_ADDSTRING, 0, (LPARAM)look);
    SendDlgItemMessageW(page, IDC_OPT_APPEARANCE, CB_SETCURSEL, (WPARAM)Config.Appearance, 0);
}

void SaveOptions()
{
    PathBuffer ini;
    if (!LocateIniFile(ini))
        return;
    SetStatusText(STATUS_MESSAGE, L"Saving Configuration...");
    SaveOptionSettings(ini);
    SetStatusText(STATUS_MESSAGE, L"");
}

static void ApplyGeneralPage(HWND page)
{
    int recent = Ticked(page, IDC_OPT_RECENTFILES);
    if (recent != Config.RecentFiles) {
        Config.RecentFiles = recent;
        SetRecentFilesEnabled(recent);
        ShowListMenu(&App.RecentList);
    }
    Config.SavePosition = Ticked(page, IDC_OPT_SAVEPOSITION);
    Config.FullPath = Ticked(page, IDC_OPT_FULLPATH);
    UpdateTitle();
    Config.DNDNewWindow = Ticked(page, IDC_OPT_DNDNEWWINDOW);
    Config.MinimizeToTray = Ticked(page, IDC_OPT_MINTOTRAY);
    Config.EscapeExit = Ticked(page, IDC_OPT_ESCAPEEXIT);
    Config.FileChange = Ticked(page, IDC_OPT_FILECHANGE);
    Config.Recovery = Ticked(page, IDC_OPT_RECOVERY);
    LRESULT look = SendDlgItemMessageW(page, IDC_OPT_APPEARANCE, CB_GETCURSEL, 0, 0);
    if (look != CB_ERR && (int)look != Config.Appearance) {
        Config.Appearance = (int)look;
        ApplyColourScheme();
    }
    LayoutMainWindow();
    SaveOptions();
}

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    switch (message) {
    case WM_INITDIALOG:
        InitGeneralPage(page);
        return TRUE;
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->code == (UINT)PSN_APPLY)
            ApplyGeneralPage(page);
        return Answer(page, PSNRET_NOERROR);
    }
    return FALSE;
}

// Editor page

void ChooseEditorFont(HWND owner)
{
    LOGFONTW font = App.PendingLogFont;
    CHOOSEFONTW request;
    memset(&request, 0, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpLogFont = &font;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
    request.nSizeMin = 1;
    request.nSizeMax = 20;
    if (!Prompts.ChooseFontDialog(&request))
        return;
    App.PendingLogFont = font;
    App.PendingPointSize = request.iPointSize;
}

void ApplyEditorFont()
{
    CHARFORMATW* format = &Config.EditorCharFormat;
    memset(format, 0, sizeof(*format));
    format->cbSize = sizeof(CHARFORMATW);
    format->dwMask = CFM_SIZE | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC;
    if (Config.EditorLogFont.lfWeight > 699)
        format->dwEffects |= CFE_BOLD;
    if (Config.EditorLogFont.lfItalic)
        format->dwEffects |= CFE_ITALIC;
    format->yHeight = App.PendingPointSize * 2; // tenths of a point to twips
    format->bCharSet = Config.EditorLogFont.lfCharSet;
    lstrcpynW(format->szFaceName, Config.EditorLogFont.lfFaceName, LF_FACESIZE);
    if (SendMessageW(App.EditControl, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)format) == 0)
        ShowSystemError(L"Can't change Font!");
}

static void ApplyFontColor()
{
    CHARFORMATW format;
    memset(&format, 0, sizeof(format));
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = CurrentColours().Text;
    if (SendMessageW(App.EditControl, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format) == 0)
        ShowSystemError(L"Can't change Font!");
}

static void InitEditorPage(HWND page)
{
    App.PendingBackColor = Config.BackColor;
    App.PendingFontColor = Config.FontColor;
    App.PendingLogFont = Config.EditorLogFont;
    PaintSwatchIn(BACK_SWATCH, App.PendingBackColor);
    PaintSwatchIn(FONT_SWATCH, App.PendingFontColor);
    CheckIfSet(page, IDC_OPT_HIGHLIGHTURLS, Config.HighlightURLs);
    CheckIfSet(page, IDC_OPT_SINGLECLICK, Config.SingleClickURLs);
    CheckIfSet(page, IDC_OPT_AUTOINDENT, Config.AutoIndent);
    CheckIfSet(page, IDC_OPT_TABSTOSPACES, Config.TabsToSpaces);
    CheckIfSet(page, IDC_OPT_SMARTHOME, Config.SmartHome);
    CheckIfSet(page, IDC_OPT_DATEFIRST, Config.DateFirst);
    wchar_t size[2] = {0, 0};
    for (wchar_t digit = L'2'; digit <= L'9'; digit++) {
        size[0] = digit;
        SendDlgItemMessageW(page, IDC_OPT_TABSIZE, CB_ADDSTRING, 0, (LPARAM)size);
    }
    SendDlgItemMessageW(page, IDC_OPT_TABSIZE, CB_SETCURSEL, (WPARAM)(Config.TabSize - 2), 0);
}

static void ChooseSwatchColor(HWND page, int id)
{
    COLORREF* pending = id == IDC_OPT_BACKCOLOR ? &App.PendingBackColor : &App.PendingFontColor;
    COLORREF custom[16];
    memset(custom, 0, sizeof(custom));
    CHOOSECOLORW request;
    memset(&request, 0, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = page;
    request.rgbResult = *pending;
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!Prompts.ChooseColorDialog(&request))
        return;
    // Text the colour of its background cannot be read; kept, it would cost
    // both colours at the next start.
    COLORREF other = id == IDC_OPT_BACKCOLOR ? App.PendingFontColor : App.PendingBackColor;
    if (request.rgbResult == other) {
        AskUserText(page, L"The text colour and the background colour must differ: text in the colour of its "
                          L"background cannot be read. Choose another colour.",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    *pending = request.rgbResult;
    PaintSwatchIn(id == IDC_OPT_BACKCOLOR ? BACK_SWATCH : FONT_SWATCH, *pending);
    InvalidateRect(GetDlgItem(page, id), NULL, TRUE);
}

static INT_PTR SwatchBrush(HWND control)
{
    int id = GetDlgCtrlID(control);
    if (id != IDC_OPT_BACKCOLOR && id != IDC_OPT_FONTCOLOR)
        return FALSE;
    return (INT_PTR)SwatchBrushes[id == IDC_OPT_BACKCOLOR ? BACK_SWATCH : FONT_SWATCH];
}

// A swatch filled with its pending colour, the focus frame inside it when
// Tab has reached it.
static INT_PTR DrawSwatch(const DRAWITEMSTRUCT* item)
{
    int id = (int)item->CtlID;
    if (id != IDC_OPT_BACKCOLOR && id != IDC_OPT_FONTCOLOR)
        return FALSE;
    FillRect(item->hDC, &item->rcItem, SwatchBrushes[id == IDC_OPT_BACKCOLOR ? BACK_SWATCH : FONT_SWATCH]);
    if (item->itemState & ODS_FOCUS) {
        RECT frame = item->rcItem;
        InflateRect(&frame, -2, -2);
        DrawFocusRect(item->hDC, &frame);
    }
    return TRUE;
}

static void FreeSwatchBrushes()
{
    for (int slot = 0; slot < 2; slot++) {
        if (SwatchBrushes[slot])
            DeleteObject(SwatchBrushes[slot]);
        SwatchBrushes[slot] = NULL;
    }
}

static void ApplyUrlDetection(HWND page, int highlight)
{
    Config.HighlightURLs = highlight;
    if (SendMessageW(App.EditControl, EM_AUTOURLDETECT, highlight ? TRUE : FALSE, 0) != 0)
        ShowError(L"Can't change URL detection!");
    else
        // Owned by the sheet, so the sheet cannot be confirmed a second time
        // while the notice is up.
        AskUser(GetParent(page), IDS_RELOAD_URLS, MB_OK | MB_ICONEXCLAMATION);
}

static void ApplyEditorPage(HWND page)
{
    int modified = IsEditModified();
    Config.AutoIndent = Ticked(page, IDC_OPT_AUTOINDENT);
    Config.TabsToSpaces = Ticked(page, IDC_OPT_TABSTOSPACES);
    int highlight = Ticked(page, IDC_OPT_HIGHLIGHTURLS);
    if (highlight != Config.HighlightURLs)
        ApplyUrlDetection(page, highlight);
    Config.SingleClickURLs = Ticked(page, IDC_OPT_SINGLECLICK);
    Config.SmartHome = Ticked(page, IDC_OPT_SMARTHOME);
    Config.DateFirst = Ticked(page, IDC_OPT_DATEFIRST);
    int coloursChanged = App.PendingBackColor != Config.BackColor;
    Config.BackColor = App.PendingBackColor;
    if (memcmp(&App.PendingLogFont, &Config.EditorLogFont, sizeof(LOGFONTW)) != 0) {
        Config.EditorLogFont = App.PendingLogFont;
        ApplyEditorFont();
        UpdateGutterWidth();
    }
    if (App.PendingFontColor != Config.FontColor) {
        Config.FontColor = App.PendingFontColor;
        ApplyFontColor();
        coloursChanged = 1;
    }
    // What is painted may differ from the colours kept: dark or high contrast.
    if (coloursChanged)
        ApplyColourScheme();
    LRESULT index = SendDlgItemMessageW(page, IDC_OPT_TABSIZE, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) {
        Config.TabSize = (int)index + 2;
        SetTabSize(Config.TabSize);
    }
    LayoutMainWindow();
    SaveOptions();
    // A new font or colour is no edit of the document.
    SetEditModified(modified);
    RefreshAfterEdit();
}

static void OnEditorCommand(HWND page, WPARAM wParam)
{
    // Clicks only: a double click on a swatch would open the chooser twice.
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    switch (LOWORD(wParam)) {
    case IDC_OPT_FONT:
        ChooseEditorFont(page);
        break;
    case IDC_OPT_BACKCOLOR:
    case IDC_OPT_FONTCOLOR:
        ChooseSwatchColor(page, LOWORD(wParam));
        break;
    }
}

INT_PTR CALLBACK EditorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitEditorPage(page);
        return TRUE;
    case WM_COMMAND:
        OnEditorCommand(page, wParam);
        return TRUE;
    case WM_CTLCOLORBTN:
        return SwatchBrush((HWND)lParam);
    case WM_DRAWITEM:
        return DrawSwatch((const DRAWITEMSTRUCT*)lParam);
    case WM_DESTROY:
        FreeSwatchBrushes();
        return FALSE;
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->code == (UINT)PSN_APPLY) {
            ApplyEditorPage(page);
            return Answer(page, PSNRET_NOERROR);
        }
        return FALSE;
    }
    return FALSE;
}

// Sheet

static void FillPage(PROPSHEETPAGEW* page, int templateId, DLGPROC procedure)
{
    memset(page, 0, sizeof(*page));
    page->dwSize = sizeof(*page);
    page->hInstance = App.Instance;
    page->pszTemplate = MAKEINTRESOURCEW(templateId);
    page->pfnDlgProc = procedure;
}

void ShowOptions(HWND owner)
{
    PROPSHEETPAGEW pages[2];
    FillPage(&pages[0], IDD_OPTIONS_GENERAL, GeneralPageProc);
    FillPage(&pages[1], IDD_OPTIONS_EDITOR, EditorPageProc);
    PROPSHEETHEADERW header;
    memset(&header, 0, sizeof(header));
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = App.Instance;
    // The wide form keeps the Chinese caption and page texts under any ANSI
    // code page; the three blanks belong to the caption.
    header.pszCaption = L"選項   ";
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetW(&header);
}
