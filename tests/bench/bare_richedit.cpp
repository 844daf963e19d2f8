// The floor of a load: a bare RichEdit 2.0 control in a plain window that
// streams one file in and then idles (and takes typing), with nothing of the
// editor around it.
//   bare_richedit [--nowrap] [--report out.txt] [file]
// The stream-in time (milliseconds) and the text length are written to the
// report file, if given, as "stream_ms=<n> length=<n>".
#include <windows.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>

static HWND Edit;

static DWORD CALLBACK ReadPiece(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    DWORD got = 0;
    if (!ReadFile((HANDLE)cookie, buffer, (DWORD)wanted, &got, NULL))
        got = 0;
    *delivered = (LONG)got;
    return got == 0;
}

static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && Edit) {
        MoveWindow(Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    // The control takes the keys whenever the window is in front, as in the editor.
    if (message == WM_SETFOCUS && Edit) {
        SetFocus(Edit);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static double StreamFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    unsigned char mark[2] = {0, 0};
    DWORD got = 0;
    ReadFile(file, mark, 2, &got, NULL);
    int unicode = got == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
    SetFilePointer(file, unicode ? 2 : 0, NULL, FILE_BEGIN);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)file;
    stream.dwError = 0;
    stream.pfnCallback = ReadPiece;
    SendMessageA(Edit, EM_STREAMIN, unicode ? (SF_TEXT | SF_UNICODE) : SF_TEXT, (LPARAM)&stream);
    QueryPerformanceCounter(&end);
    CloseHandle(file);
    return (double)(end.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

int main(int argc, char** argv)
{
    int wrap = 1;
    const char* report = NULL;
    const char* path = NULL;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--nowrap") == 0)
            wrap = 0;
        else if (strcmp(argv[i], "--report") == 0 && i + 1 < argc)
            report = argv[++i];
        else
            path = argv[i];
    }

    HINSTANCE instance = GetModuleHandleA(NULL);
    if (!LoadLibraryA("RICHED20.DLL"))
        return 1;
    WNDCLASSA frameClass;
    memset(&frameClass, 0, sizeof(frameClass));
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    frameClass.lpszClassName = "BareRichEditFrame";
    RegisterClassA(&frameClass);
    HWND frame = CreateWindowExA(0, "BareRichEditFrame", "bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance, NULL);
    // The same styles the editor gives its control, so layout work compares.
    Edit = CreateWindowExA(0, "RichEdit20A", NULL,
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                               ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                           0, 0, 0, 0, frame, (HMENU)1, instance, NULL);
    if (!frame || !Edit)
        return 1;
    SendMessageA(Edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(Edit, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);

    if (path) {
        double milliseconds = StreamFile(path);
        GETTEXTLENGTHEX request = {GTL_DEFAULT, 1200};
        LRESULT length = SendMessageA(Edit, EM_GETTEXTLENGTHEX, (WPARAM)&request, 0);
        if (report) {
            FILE* out = fopen(report, "w");
            if (out) {
                fprintf(out, "stream_ms=%.1f length=%ld\n", milliseconds, (long)length);
                fclose(out);
            }
        }
    }

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
