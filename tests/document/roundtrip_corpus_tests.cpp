#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"
#include "text/stream_decoder.h"
#include "resource.h"

#include <stdlib.h>
#include <string>
#include <vector>

// The runs under another code page say which one they expect, so a run that
// silently fell back to the default cannot pass for one that did not.
TEST(CodePage, IsTheOneThisRunWasStartedFor)
{
    const char* expected = getenv("SCRIVLET_EXPECT_ACP");
    UINT wanted = expected ? (UINT)atoi(expected) : 1252;
    EXPECT_EQ(GetACP(), wanted);
}

struct CorpusFile {
    std::string Name;
    std::string Bytes;
    int Unicode;
    int Format;
    int Changes; // what cannot be written back as it came
};

static const char* FormatName(int format) { return format == UNIX ? "unix" : format == MAC ? "mac" : "dos"; }

static std::string AnsiBreak(int format) { return format == DOS ? "\r\n" : format == UNIX ? "\n" : "\r"; }

// A character of the running code page that takes its widest form there.
static std::string AnsiLetter()
{
    return GetACP() == 950 ? "\xA4\xA4" : "\xE9"; // 中 in Big5, é in Western
}

// Letters from all over the code page: in Big5 trail bytes that look like
// ASCII letters; in Western the bytes the code page leaves undefined.
static std::string MoreLetters()
{
    return GetACP() == 950 ? " \xB1\x60\xA4\x40\xF9\xFE" : " \x80\x81\x8D\x9D\xFF";
}

// prefix, then lines up to exactly offset, then a break, a letter, a break
// and a letter there, then lines to a little past the next piece.
static std::string AnsiFile(const std::string& prefix, size_t offset, int format)
{
    std::string bytes = prefix;
    const std::string brk = AnsiBreak(format);
    for (int n = 0; bytes.size() + 40 < offset; n++)
        bytes += "line " + std::to_string(n) + " " + AnsiLetter() + MoreLetters() + brk;
    bytes.append(offset - bytes.size(), 'a');
    bytes += brk + AnsiLetter() + brk + AnsiLetter();
    while (bytes.size() < offset + 300)
        bytes += brk + "tail " + AnsiLetter();
    return bytes;
}

static void PutUnit(std::string& bytes, unsigned int unit)
{
    bytes += (char)(unit & 0xFF);
    bytes += (char)(unit >> 8);
}

static void PutAscii(std::string& bytes, const std::string& text)
{
    for (char c : text)
        PutUnit(bytes, (unsigned char)c);
}

static void PutUnitBreak(std::string& bytes, int format)
{
    PutAscii(bytes, AnsiBreak(format));
}

// The same for UTF-16: unit offset counted from where the text starts.
static std::string Utf16File(bool mark, size_t unitOffset, int format)
{
    std::string bytes = mark ? "\xFF\xFE" : "";
    size_t start = bytes.size();
    // Ten plain letters first: that is how a file without the mark is known.
    PutAscii(bytes, "utf-16 text ");
    for (int n = 0; (bytes.size() - start) / 2 + 40 < unitOffset; n++) {
        PutAscii(bytes, "line " + std::to_string(n) + " ");
        PutUnit(bytes, 0x4E2D);
        PutUnit(bytes, 0x4E0D); // bytes 0D 4E: not a CR
        PutUnitBreak(bytes, format);
    }
    while ((bytes.size() - start) / 2 < unitOffset)
        PutUnit(bytes, 'a');
    PutUnitBreak(bytes, format);
    PutUnit(bytes, 0xD83D); // U+1F600, a surrogate pair
    PutUnit(bytes, 0xDE00);
    PutUnitBreak(bytes, format);
    PutUnit(bytes, 0x4E0A);
    while ((bytes.size() - start) / 2 < unitOffset + 150) {
        PutUnitBreak(bytes, format);
        PutAscii(bytes, "tail");
    }
    return bytes;
}

// Every encoding and line format, with a break, a character of the code page
// and a surrogate pair on and around the first two 4096-byte pieces.
static std::vector<CorpusFile> BuildCorpus()
{
    std::vector<CorpusFile> corpus;
    // EF BB BF before text that is not UTF-8: read as UTF-8 all the same,
    // so a save must ask first.
    const std::string prefixes[] = {"", "\xEF\xBB\xBF"};
    const char* prefixNames[] = {"ansi", "utf8mark"};
    for (int format = DOS; format <= MAC; format++) {
        for (size_t piece = 4096; piece <= 8192; piece += 4096) {
            for (size_t offset = piece - 6; offset <= piece + 2; offset++) {
                for (int p = 0; p < 2; p++) {
                    int encoding = p == 1 ? ENCODING_UTF8 : ENCODING_ANSI;
                    int changes = p == 1 ? CHANGE_UNMAPPED : 0;
                    corpus.push_back({std::string(prefixNames[p]) + "_" + FormatName(format) + "_" +
                                          std::to_string(offset) + ".txt",
                                      AnsiFile(prefixes[p], offset, format), encoding, format, changes});
                }
                for (int mark = 0; mark <= 1; mark++) {
                    size_t unitOffset = offset / 2;
                    corpus.push_back({std::string(mark ? "utf16_" : "utf16bare_") + FormatName(format) + "_" +
                                          std::to_string(offset) + ".txt",
                                      Utf16File(mark != 0, unitOffset, format), 1, format, 0});
                }
            }
        }
    }
    return corpus;
}

class RoundTripCorpus : public EditorFixture {};

TEST_F(RoundTripCorpus, EveryFileComesBackByteForByte)
{
    std::string folder = MakeScratchFolder("roundtrip_corpus");
    std::vector<CorpusFile> corpus = BuildCorpus();
    int same = 0;
    for (const CorpusFile& file : corpus) {
        std::string path = folder + file.Name;
        WriteBytes(path, file.Bytes);
        ClearPromptLog();
        ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1) << file.Name;
        EXPECT_EQ(App.Encoding, file.Unicode) << file.Name;
        EXPECT_EQ(App.LineFormat, file.Format) << file.Name;
        EXPECT_EQ(App.TextChanges, file.Changes) << file.Name;
        EXPECT_EQ(SaveDocument(), file.Changes ? 0 : 1) << file.Name;
        EXPECT_EQ(RecordedPrompts().size(), file.Changes ? 1u : 0u) << file.Name;
        bool equal = ReadBytes(path) == file.Bytes;
        EXPECT_TRUE(equal) << file.Name << " changed on save";
        same += equal;
        DeleteFileA(path.c_str());
    }
    printf("round trip under code page %u: %d of %d files unchanged\n", GetACP(), same, (int)corpus.size());
}

class CannotWriteBack : public EditorFixture {
protected:
    std::string folder_;
    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("cannot_write_back");
    }
    // Opens bytes, types a letter at the start and saves with the given
    // answers; returns what is on disk afterwards.
    std::string EditAndSave(const std::string& bytes, std::vector<int> answers)
    {
        std::string path = folder_ + "file.txt";
        WriteBytes(path, bytes);
        EXPECT_EQ(OpenDocument(Wide(path).c_str()), 1);
        SetEditSelection(0, 0);
        ReplaceEditSelection(L"X");
        ClearPromptLog();
        for (int answer : answers)
            QueueAnswer(answer);
        SaveDocument();
        return ReadBytes(path);
    }
};

TEST_F(CannotWriteBack, FirstSaveAsksOnceAndCancelKeepsTheFile)
{
    const std::string cases[] = {
        std::string("binary\0data\r\n", 13), // NUL
        "one\r\ntwo\rthree\nfour",           // mixed and lone endings
        std::string("\xFF\xFEo\0d\0d", 7),    // UTF-16 with an odd last byte
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(EditAndSave(bytes, {IDCANCEL}), bytes);
        ASSERT_EQ(RecordedPrompts().size(), 1u);
        EXPECT_EQ(RecordedPrompts()[0].Buttons, (UINT)MB_OKCANCEL);
        EXPECT_TRUE(IsEditModified());

        QueueAnswer(IDOK);
        EXPECT_EQ(SaveDocument(), 1);
        std::string saved = ReadBytes(folder_ + "file.txt");
        EXPECT_EQ(saved.substr(0, App.Encoding ? 4 : 1), App.Encoding ? std::string("\xFF\xFEX\0", 4) : "X");
        // Agreed once, the document is not asked about again.
        ClearPromptLog();
        ReplaceEditSelection(L"Y");
        EXPECT_EQ(SaveDocument(), 1);
        EXPECT_TRUE(RecordedPrompts().empty());
    }
}

TEST_F(CannotWriteBack, LoneBreaksAreLinesNotJoined)
{
    std::string path = folder_ + "mixed.txt";
    WriteBytes(path, "one\r\ntwo\rthree\nfour");
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(EditText(), "one\rtwo\rthree\rfour");
    EXPECT_EQ(App.LineFormat, DOS);
    QueueAnswer(IDOK);
    ASSERT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\nthree\r\nfour");
}

TEST_F(CannotWriteBack, BreaksPastTheFirstKilobyteSetTheFormatWhenItHasNone)
{
    std::string path = folder_ + "late.txt";
    std::string bytes = std::string(2000, 'a') + "\nb\nc";
    WriteBytes(path, bytes);
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.LineFormat, UNIX);
    EXPECT_EQ(App.TextChanges, 0);
    ASSERT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(CannotWriteBack, ChoosingALineFormatAnswersTheQuestionAboutEndings)
{
    std::string path = folder_ + "choose.txt";
    WriteBytes(path, "one\r\ntwo\nthree");
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    ASSERT_EQ(App.TextChanges, CHANGE_LINE_ENDINGS);
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_FORMAT_UNIX, 0);
    ClearPromptLog();
    ASSERT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(ReadBytes(path), "one\ntwo\nthree");
}
