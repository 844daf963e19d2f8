// The one seam for message boxes and the common file dialogs.
#include "ground/user_prompts.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "text/memory.h"

#include <shellapi.h>
#include <stdio.h>

static int RealMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return MessageBoxW(owner, text, caption, type);
}

UserPrompts Prompts = {RealMessage, GetOpenFileNameA, GetSaveFileNameA, PrintDlgA,
                       ChooseFontA, ChooseColorA, ShellExecuteA};

void UseRealPrompts()
{
    Prompts.Message = RealMessage;
    Prompts.OpenFile = GetOpenFileNameA;
    Prompts.SaveFile = GetSaveFileNameA;
    Prompts.PrintDialog = PrintDlgA;
    Prompts.ChooseFontDialog = ChooseFontA;
    Prompts.ChooseColorDialog = ChooseColorA;
    Prompts.ShellExecute = ShellExecuteA;
}

void AnsiToWide(const char* text, wchar_t* out, int outChars)
{
    if (outChars <= 0)
        return;
    out[0] = 0;
    if (!text)
        return;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, out, outChars) == 0) {
        // Too long for the buffer: keep what fits rather than nothing.
        int n = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
        wchar_t* whole = (wchar_t*)AllocZeroed((size_t)(n + 1) * sizeof(wchar_t));
        if (whole) {
            MultiByteToWideChar(CP_ACP, 0, text, -1, whole, n);
            lstrcpynW(out, whole, outChars);
            FreeBlock(whole);
        }
    }
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

static int ShowAnsiMessage(HWND owner, const char* text, const char* caption, UINT type)
{
    wchar_t wideText[1024];
    wchar_t wideCaption[300];
    AnsiToWide(text, wideText, 1024);
    AnsiToWide(caption, wideCaption, 300);
    return AskThroughSeam(owner, wideText, wideCaption, type);
}

void ShowError(const char* text)
{
    ShowAnsiMessage(App.MainWindow, text, "scrivlet", MB_OK | MB_ICONHAND);
}

void ShowErrorAboutFile(const char* format, const char* path)
{
    char text[APP_PATH_SIZE + 256];
    _snprintf(text, sizeof(text), format, path);
    text[sizeof(text) - 1] = 0;
    ShowError(text);
}

void ShowSystemError(const char* caption)
{
    char* body = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   NULL, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&body,
                   0, NULL);
    ShowAnsiMessage(App.MainWindow, body ? body : "", caption, MB_OK | MB_ICONEXCLAMATION);
    if (body)
        LocalFree(body);
}

int AskUser(HWND owner, UINT stringId, UINT flags)
{
    // Wide form: the texts are Chinese and must survive any ANSI code page.
    wchar_t text[256];
    if (LoadStringW(App.Instance, stringId, text, 256) <= 0)
        text[0] = 0;
    return AskUserWide(owner, text, flags);
}

int AskUserText(HWND owner, const char* text, UINT flags)
{
    return ShowAnsiMessage(owner, text, "scrivlet", flags);
}

int AskUserWide(HWND owner, const wchar_t* text, UINT flags)
{
    return AskThroughSeam(owner, text, L"scrivlet", flags);
}
