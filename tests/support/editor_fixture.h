// In-process fixture: the real main window built by the real start-up
// functions, with a private INI file and every prompt answered by the test.
#ifndef SCRIVLET_TEST_EDITOR_FIXTURE_H
#define SCRIVLET_TEST_EDITOR_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

struct RecordedPrompt {
    HWND Owner;
    std::wstring Caption;
    std::wstring Text;
    UINT Buttons; // type & MB_TYPEMASK
    UINT Icon;    // type & MB_ICONMASK
};

// Installed for every test program by the test main: message boxes are
// recorded and answered from a queue (IDOK, or IDCANCEL for a question,
// when the queue is empty); file dialogs are answered from their own queue.
void InstallRecordingPrompts();
std::vector<RecordedPrompt>& RecordedPrompts();
void QueueAnswer(int answer);
// Next Open/Save dialog returns TRUE with this file name; "" answers Cancel.
void QueueFileDialogAnswer(const std::string& fileName);
// The records the file dialogs were called with, for checking their fields.
int FileDialogCalls();
void ClearPromptLog();

// Folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();
// A fresh empty folder for files of one test, under the test program folder.
std::string MakeScratchFolder(const char* name);
// Names of the files (not folders) in folder matching pattern.
std::vector<std::string> FolderFiles(const std::string& folder, const char* pattern = "*");
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
std::wstring Utf8ToWide(const char* text);
// A drop of files, as the shell hands it to WM_DROPFILES.
HDROP MakeFileDrop(const std::vector<std::string>& names);

class EditorFixture : public ::testing::Test {
protected:
    // Contents of scrivlet.ini beside the test program before start-up.
    virtual std::string IniContents() { return ""; }
    // The command-line tail handed to start-up.
    virtual std::string CommandLine() { return ""; }

    void SetUp() override;
    void TearDown() override;

    // Starts the editor (called by SetUp); tests that need another start call
    // StopEditor then StartEditor.
    void StartEditor(const std::string& commandLine);
    void StopEditor();
    // Runs the close flow as the close box does; returns true if the window went away.
    bool CloseMainWindow();

    // Processes every pending message through the real loop step.
    void Pump();
    void PumpFor(DWORD milliseconds);

    // Sends a key press (down and up, with the given modifiers held) through
    // the real loop, as the keyboard would deliver it to the focused window.
    void PressKey(UINT virtualKey, bool ctrl = false, bool shift = false, bool alt = false);
    void TypeText(const char* text);

    std::string EditText();          // the control's text, breaks as CR
    std::wstring EditTextW();
    void SetEditText(const char* text);
    // A text set whole, as the control sees it, is the document's fresh text.
    void TakeTextAsFresh();
    std::string WindowTitle();
    std::wstring StatusText(int part);
    std::string IniPath();
    std::string ReadIni();

    bool running_ = false;
};

#endif
