// Starts a program with a command line the ANSI code page may not spell, for
// the end-to-end scripts: under Wine a program's own char* arguments are
// already in the code page, so names reach it whole only through
// CreateProcessW.
//   wide_launch <file>   line 1 of the file: the command line (UTF-8);
//                        line 2, if there: the working folder (UTF-8)
// Waits until the started program waits for input (its window is up, or a
// message box asks), prints its process id and the ANSI code page it runs
// under (the launcher's own: the program gets the same environment), and
// exits 0; 1 when it could not be started.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#define LINE_CHARS 8192

// The next line of text (its end cut off, NUL-terminated) as UTF-16.
static int NextLine(char** text, wchar_t* out)
{
    char* line = *text;
    char* end = line + strcspn(line, "\r\n");
    char* next = end + strspn(end, "\r\n");
    *end = 0;
    *text = next;
    out[0] = 0;
    return *line && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line, -1, out, LINE_CHARS) > 0;
}

int wmain(int argc, wchar_t** argv)
{
    static char bytes[2 * LINE_CHARS];
    static wchar_t commandLine[LINE_CHARS];
    static wchar_t folder[LINE_CHARS];
    FILE* file = argc > 1 ? _wfopen(argv[1], L"rb") : NULL;
    if (!file) {
        fprintf(stderr, "wide_launch: cannot read the command file\n");
        return 1;
    }
    size_t count = fread(bytes, 1, sizeof(bytes) - 1, file);
    fclose(file);
    bytes[count] = 0;
    char* text = bytes;
    if (!NextLine(&text, commandLine)) {
        fprintf(stderr, "wide_launch: no command line in UTF-8\n");
        return 1;
    }
    int hasFolder = NextLine(&text, folder);
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, hasFolder ? folder : NULL, &startup,
                        &process)) {
        fprintf(stderr, "wide_launch: CreateProcessW failed, error %lu\n", GetLastError());
        return 1;
    }
    WaitForInputIdle(process.hProcess, 60000);
    printf("%lu %u\n", process.dwProcessId, GetACP());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
