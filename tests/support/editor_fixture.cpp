#include "document/background_load.h"
#include "editor/large_replace.h"
#include "editor/own_undo.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "program/startup.h"
#include "settings/settings.h"
#include "support/editor_fixture.h"
#include "text/memory.h"
#include "views/main_window.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <deque>
#include <fstream>
#include <sstream>

static std::vector<RecordedPrompt> promptLog;
static std::deque<int> answers;
static std::deque<std::string> fileAnswers;
static int fileDialogCalls = 0;

static int RecordMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    RecordedPrompt prompt;
    prompt.Owner = owner;
    prompt.Caption = caption ? caption : L"";
    prompt.Text = text ? text : L"";
    prompt.Buttons = type & MB_TYPEMASK;
    prompt.Icon = type & MB_ICONMASK;
    promptLog.push_back(prompt);
    if (!answers.empty()) {
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    UINT buttons = type & MB_TYPEMASK;
    if (buttons == MB_YESNO)
        return IDNO;
    if (buttons == MB_YESNOCANCEL || buttons == MB_OKCANCEL)
        return IDCANCEL;
    return IDOK;
}

static BOOL WINAPI AnswerFileDialog(OPENFILENAMEW* request)
{
    fileDialogCalls++;
    if (fileAnswers.empty())
        return FALSE;
    std::string name = fileAnswers.front();
    fileAnswers.pop_front();
    if (name.empty())
        return FALSE;
    lstrcpynW(request->lpstrFile, Wide(name).c_str(), (int)request->nMaxFile);
    return TRUE;
}

void InstallRecordingPrompts()
{
    Prompts.Message = RecordMessage;
    Prompts.OpenFile = AnswerFileDialog;
    Prompts.SaveFile = AnswerFileDialog;
}

std::vector<RecordedPrompt>& RecordedPrompts() { return promptLog; }
void QueueAnswer(int answer) { answers.push_back(answer); }
void QueueFileDialogAnswer(const std::string& fileName) { fileAnswers.push_back(fileName); }
int FileDialogCalls() { return fileDialogCalls; }

void ClearPromptLog()
{
    promptLog.clear();
    answers.clear();
    fileAnswers.clear();
    fileDialogCalls = 0;
}

std::string TestProgramFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::string folder = Utf8(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string MakeScratchFolder(const char* name)
{
    std::string folder = TestProgramFolder() + "scratch\\";
    CreateDirectoryW(Wide(folder).c_str(), NULL);
    folder += name;
    folder += "\\";
    CreateDirectoryW(Wide(folder).c_str(), NULL);
    // Start empty: remove what an earlier run left.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                std::wstring file = Wide(folder) + found.cFileName;
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return folder;
}

std::vector<std::string> FolderFiles(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Utf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The "\\?\" form past MAX_PATH, as the program uses it.
static std::wstring FileSystemName(const std::string& path)
{
    std::wstring wide = Wide(path);
    if (wide.size() >= MAX_PATH && wide.size() > 2 && wide[1] == L':')
        return L"\\\\?\\" + wide;
    return wide;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(FileSystemName(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

std::string ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileW(FileSystemName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string content;
    char piece[65536];
    DWORD got = 0;
    while (ReadFile(file, piece, sizeof(piece), &got, NULL) && got > 0)
        content.append(piece, got);
    CloseHandle(file);
    return content;
}

std::string IniText(const std::string& bytes)
{
    if (bytes.size() < 2 || (unsigned char)bytes[0] != 0xFF || (unsigned char)bytes[1] != 0xFE)
        return bytes;
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));
    return Utf8(text);
}

void ExpectTheCodePageAskedFor()
{
    const char* expected = getenv("SCRIVLET_EXPECT_ACP");
    if (expected) {
        EXPECT_EQ(GetACP(), (UINT)atoi(expected));
    }
}

bool MoveFileTimeOn(const std::string& path)
{
    HANDLE file = CreateFileW(FileSystemName(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    ULARGE_INTEGER value = {{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += 30ull * 10000000ull;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = value.HighPart;
    BOOL set = SetFileTime(file, NULL, NULL, &time);
    CloseHandle(file);
    return set != 0;
}

void RemoveFile(const std::string& path)
{
    DeleteFileW(FileSystemName(path).c_str());
}

HDROP MakeFileDrop(const std::vector<std::string>& names)
{
    size_t units = 1;
    for (const std::string& name : names)
        units += Wide(name).size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* list = (wchar_t*)(drop + 1);
    for (const std::string& name : names) {
        std::wstring wide = Wide(name);
        memcpy(list, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        list += wide.size() + 1;
    }
    GlobalUnlock(memory);
    return (HDROP)memory;
}

std::wstring Utf8ToWide(const char* text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
    std::wstring wide((size_t)(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], n);
    return wide;
}

std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8.c_str()); }

std::string Utf8(const std::wstring& wide)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), NULL, 0, NULL, NULL);
    std::string text((size_t)(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), &text[0], n, NULL, NULL);
    return text;
}

std::string EditorFixture::IniPath() { return TestProgramFolder() + "scrivlet.ini"; }

std::string EditorFixture::ReadIni() { return IniText(ReadBytes(IniPath())); }

static HMODULE richEditLibrary = NULL;

void EditorFixture::StartEditor(const std::string& commandLine)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    ResetAppState();
    App.Instance = instance;
    ASSERT_TRUE(RegisterMainClass(instance));
    if (!richEditLibrary)
        richEditLibrary = LoadRichEditLibrary();
    ASSERT_TRUE(richEditLibrary != NULL);
    ASSERT_TRUE(CreateMainWindow(instance));
    App.FilePath = (wchar_t*)AllocZeroed(PATH_CAPACITY * sizeof(wchar_t));
    LoadSettings();
    ProcessCommandLine(Wide(commandLine).c_str());
    App.Accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_TRUE(App.Accelerators != NULL);
    running_ = true;
    SetForegroundWindow(App.MainWindow);
    Pump();
}

void EditorFixture::StopEditor()
{
    if (!running_)
        return;
    if (IsWindow(App.MainWindow))
        DestroyWindow(App.MainWindow);
    Pump();
    MSG message;
    while (PeekMessageW(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    FreeBlock(App.FilePath);
    App.FilePath = NULL;
    UnregisterClassW(L"scrivletClass", GetModuleHandleW(NULL));
    running_ = false;
}

// Tests lower these to reach the large-document paths with small texts; a
// test that stops half way must not leave them lowered for the tests after it.
struct SizeKnobs {
    DWORD LoadThreshold;
    LONG FirstPiece, MaxPiece, ReplaceBreaks;
};
static SizeKnobs SavedKnobs;

void EditorFixture::SetUp()
{
    SavedKnobs = {BackgroundLoadThreshold, FirstPieceBytes, MaxPieceBytes, LargeReplaceBreaks};
    ClearPromptLog();
    WriteBytes(IniPath(), IniContents());
    StartEditor(CommandLine());
}

void EditorFixture::TearDown()
{
    StopEditor();
    BackgroundLoadThreshold = SavedKnobs.LoadThreshold;
    FirstPieceBytes = SavedKnobs.FirstPiece;
    MaxPieceBytes = SavedKnobs.MaxPiece;
    LargeReplaceBreaks = SavedKnobs.ReplaceBreaks;
    RemoveFile(IniPath());
    ClearPromptLog();
}

bool EditorFixture::CloseMainWindow()
{
    SendMessageW(App.MainWindow, WM_CLOSE, 0, 0);
    Pump();
    return !IsWindow(App.MainWindow);
}

void EditorFixture::Pump()
{
    MSG message;
    for (int round = 0; round < 10000; round++) {
        if (!PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
            break;
        if (message.message == WM_QUIT)
            continue;
        HandleLoopMessage(&message);
    }
}

void EditorFixture::PumpFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        Pump();
        Sleep(10);
    }
    Pump();
}

static void AddKey(std::vector<INPUT>& inputs, WORD key, bool up)
{
    INPUT input;
    ZeroMemory(&input, sizeof(input));
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = (WORD)MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (key) {
    case VK_HOME: case VK_END: case VK_INSERT: case VK_DELETE: case VK_UP: case VK_DOWN:
    case VK_LEFT: case VK_RIGHT: case VK_PRIOR: case VK_NEXT:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    }
    inputs.push_back(input);
}

void EditorFixture::PressKey(UINT virtualKey, bool ctrl, bool shift, bool alt)
{
    SetForegroundWindow(App.MainWindow);
    std::vector<INPUT> inputs;
    if (ctrl) AddKey(inputs, VK_CONTROL, false);
    if (shift) AddKey(inputs, VK_SHIFT, false);
    if (alt) AddKey(inputs, VK_MENU, false);
    AddKey(inputs, (WORD)virtualKey, false);
    AddKey(inputs, (WORD)virtualKey, true);
    if (alt) AddKey(inputs, VK_MENU, true);
    if (shift) AddKey(inputs, VK_SHIFT, true);
    if (ctrl) AddKey(inputs, VK_CONTROL, true);
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    // Real input arrives through the server queue; give it a moment.
    PumpFor(30);
}

void EditorFixture::TypeText(const char* text)
{
    for (const char* p = text; *p; p++) {
        if (*p == '\n') {
            PressKey(VK_RETURN);
            continue;
        }
        if (*p == '\t') {
            PressKey(VK_TAB);
            continue;
        }
        SHORT scan = VkKeyScanW((wchar_t)(unsigned char)*p);
        PressKey(LOBYTE(scan), (HIBYTE(scan) & 2) != 0, (HIBYTE(scan) & 1) != 0);
    }
}

std::string EditorFixture::EditText()
{
    return Utf8(EditTextW());
}

std::wstring EditorFixture::EditTextW()
{
    GETTEXTLENGTHEX lengthRequest = {GTL_DEFAULT, 1200};
    int length = (int)SendMessageW(App.EditControl, EM_GETTEXTLENGTHEX, (WPARAM)&lengthRequest, 0);
    std::wstring text((size_t)length + 1, L'\0');
    GETTEXTEX request;
    ZeroMemory(&request, sizeof(request));
    request.cb = (DWORD)(text.size() * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    int copied = (int)SendMessageW(App.EditControl, EM_GETTEXTEX, (WPARAM)&request, (LPARAM)&text[0]);
    text.resize((size_t)(copied > 0 ? copied : 0));
    return text;
}

void EditorFixture::SetEditText(const char* text)
{
    SetWindowTextW(App.EditControl, Utf8ToWide(text).c_str());
    TakeTextAsFresh();
    Pump();
}

void EditorFixture::TakeTextAsFresh()
{
    // The control takes a whole new text as unmodified; the document then
    // compares with it, as after a load.
    if (!SendMessageW(App.EditControl, EM_GETMODIFY, 0, 0))
        SetEditModified(0);
}

std::string EditorFixture::WindowTitle()
{
    int length = GetWindowTextLengthW(App.MainWindow);
    std::wstring title((size_t)length + 1, L'\0');
    title.resize((size_t)GetWindowTextW(App.MainWindow, &title[0], length + 1));
    return Utf8(title);
}

std::wstring EditorFixture::AnsiStatus(const wchar_t* lineFormat)
{
    UINT codePage = GetACP();
    const wchar_t* name = codePage == 950    ? L"Big5"
                          : codePage == 936  ? L"GBK"
                          : codePage == 1252 ? L"Western (1252)"
                          : codePage == 65001 ? L"UTF-8 (ANSI)"
                                              : L"(a code page these tests do not know)";
    return std::wstring(lineFormat) + L" " + name;
}

std::wstring EditorFixture::StatusText(int part)
{
    int length = LOWORD(SendMessageW(App.StatusBar, SB_GETTEXTLENGTHW, (WPARAM)part, 0));
    std::wstring text((size_t)length + 1, L'\0');
    SendMessageW(App.StatusBar, SB_GETTEXTW, (WPARAM)part, (LPARAM)&text[0]);
    text.resize((size_t)length);
    return text;
}
