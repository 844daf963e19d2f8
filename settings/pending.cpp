// TEMPORARY placeholders until the settings module lands; delete each one as
// its real definition is written.
#include "app/app_state.h"
#include "app/main_window.h"
#include "document/title.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

char* ModuleSiblingPath(char* buffer) { (void)buffer; return NULL; }
bool LocateIniFile(char* buffer) { (void)buffer; return false; }
void WriteIniIntIfChanged(const char*, const char*, const char*, int, int) {}
void WriteIniStringIfChanged(const char*, const char*, const char*, const char*, const char*) {}
void LoadSettings()
{
    Config.WordWrap = 1;
    ShowWindow(App.MainWindow, SW_SHOWNORMAL);
    NewDocument();
    LayoutMainWindow();
}
void SaveOptionSettings() {}
void SaveExitSettings() {}
void DeriveEditorLogFont() {}
RECT WorkAreaToScreen(RECT normal, RECT workArea) { (void)workArea; return normal; }
