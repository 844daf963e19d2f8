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
// Next Open/Save dialog returns TRUE with this file name (UTF-8); "" answers Cancel.
void QueueFileDialogAnswer(const std::string& fileName);
// The records the file dialogs were called with, for checking their fields.
int FileDialogCalls();
void ClearPromptLog();

// Paths in the tests are UTF-8; the helpers below take and give them so,
// and reach the file system through its wide calls.
// Folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();
// A fresh empty folder for files of one test, under the test program folder.
std::string MakeScratchFolder(const char* name);
// Names of the files (not folders) in folder matching pattern.
std::vector<std::string> FolderFiles(const std::string& folder, const char* pattern = "*");
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
std::wstring Utf8ToWide(const char* text);
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// An INI file's text as UTF-8: one in UTF-16 (its mark first) decoded, any
// other given as its bytes.
std::string IniText(const std::string& bytes);
// A run started under another code page says which (SCRIVLET_EXPECT_ACP):
// fails the test when the process did not get it.
void ExpectTheCodePageAskedFor();
// Moves the file's modification time 30 s on, as another program's write
// does; false when the file cannot be reached.
bool MoveFileTimeOn(const std::string& path);
// Removes a file by its UTF-8 name.
void RemoveFile(const std::string& path);
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

    std::string EditText();          // the control's text in UTF-8, breaks as CR
    std::wstring EditTextW();
    void SetEditText(const char* text); // UTF-8
    // A text set whole, as the control sees it, is the document's fresh text.
    void TakeTextAsFresh();
    std::string WindowTitle(); // UTF-8
    std::wstring StatusText(int part);
    // Status part 1 of an ANSI document in the system code page: the line
    // format and the code page's name, as the user reads it.
    static std::wstring AnsiStatus(const wchar_t* lineFormat);
    std::string IniPath();
    std::string ReadIni(); // IniText of the file

    bool running_ = false;
};

#endif
