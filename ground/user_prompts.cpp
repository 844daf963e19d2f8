// The one seam for message boxes and the common file dialogs.
#include "ground/user_prompts.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "text/memory.h"

#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

static int RealMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return MessageBoxW(owner, text, caption, type);
}

UserPrompts Prompts = {RealMessage, GetOpenFileNameW, GetSaveFileNameW, PrintDlgW,
                       ChooseFontW, ChooseColorW, ShellExecuteW, ShellExecuteExW, TrackPopupMenu};

void UseRealPrompts()
{
    Prompts.Message = RealMessage;
    Prompts.OpenFile = GetOpenFileNameW;
    Prompts.SaveFile = GetSaveFileNameW;
    Prompts.PrintDialog = PrintDlgW;
    Prompts.ChooseFontDialog = ChooseFontW;
    Prompts.ChooseColorDialog = ChooseColorW;
    Prompts.ShellExecute = ShellExecuteW;
    Prompts.ShellExecuteEx = ShellExecuteExW;
    Prompts.PopupMenu = TrackPopupMenu;
}

// A message box waits for an answer: the gate holds what would change the
// text the question is about (the find dialog stays usable meanwhile).
static int AskThroughSeam(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    int asking = IsInDocumentState(STATE_QUESTION);
    EnterDocumentState(STATE_QUESTION);
    int answer = Prompts.Message(owner, text, caption, type);
    if (!asking)
        LeaveDocumentState(STATE_QUESTION);
    return answer;
}

void ShowError(const wchar_t* text)
{
    AskThroughSeam(App.MainWindow, text, L"scrivlet", MB_OK | MB_ICONHAND);
}

void ShowErrorAboutFile(const wchar_t* format, const wchar_t* path)
{
    size_t size = wcslen(format) + wcslen(path) + 1;
    wchar_t* text = (wchar_t*)AllocZeroed(size * sizeof(wchar_t));
    if (!text) {
        ShowError(format);
        return;
    }
    _snwprintf(text, size - 1, format, path);
    ShowError(text);
    FreeBlock(text);
}

void ShowSystemError(const wchar_t* caption)
{
    wchar_t* body = NULL;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   NULL, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPWSTR)&body,
                   0, NULL);
    AskThroughSeam(App.MainWindow, body ? body : L"", caption, MB_OK | MB_ICONEXCLAMATION);
    if (body)
        LocalFree(body);
}

int AskUser(HWND owner, UINT stringId, UINT flags)
{
    // The texts are Chinese and must survive any ANSI code page.
    wchar_t text[256];
    if (LoadStringW(App.Instance, stringId, text, 256) <= 0)
        text[0] = 0;
    return AskUserText(owner, text, flags);
}

int AskUserText(HWND owner, const wchar_t* text, UINT flags)
{
    return AskThroughSeam(owner, text, L"scrivlet", flags);
}
