#include "views/title_bar.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"

#include "text/extended_path.h"

#include <string>

// What the title shows now: kept so that a keystroke does not ask the file
// system for the name's spelling again.
static struct {
    int Named;
    wchar_t Path[PATH_CAPACITY];
    int Modified;
} Shown;

// A file streaming in names the title until an edit makes the text no
// longer its copy.
static int DocumentIsNamed(int modified)
{
    return (App.HasFile || (IsDocumentLoading() && !modified)) && App.FilePath && App.FilePath[0];
}

static void DrawTitle(int modified)
{
    Shown.Named = DocumentIsNamed(modified);
    lstrcpynW(Shown.Path, Shown.Named ? App.FilePath : L"", PATH_CAPACITY);
    Shown.Modified = modified;
    std::wstring name = L"[Untitled]";
    if (Shown.Named) {
        name = PathAsShown(App.FilePath);
        if (!Config.FullPath) {
            // The file system's own spelling of the name, without folder;
            // a missing file keeps the full path.
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(ExtendedLengthPath(App.FilePath).c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                FindClose(search);
                name = found.cFileName;
            }
        }
    }
    std::wstring title = name + (modified ? L"*" : L"") + L" - scrivlet";
    SetWindowTextW(App.MainWindow, title.c_str());
}

void UpdateTitle()
{
    DrawTitle(IsEditModified());
}

void RefreshTitle(int modified)
{
    int named = DocumentIsNamed(modified);
    if (modified != Shown.Modified || named != Shown.Named || (named && lstrcmpW(Shown.Path, App.FilePath) != 0))
        DrawTitle(modified);
}
