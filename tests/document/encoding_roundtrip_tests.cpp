#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/code_page_text.h"
#include "support/editor_fixture.h"

#include <commctrl.h>
#include <string>
#include <vector>

struct EncodingCase {
    const char* Name;
    int Encoding;
    bool Mark;
};

static const EncodingCase EncodingCases[] = {
    {"ansi", ENCODING_ANSI, false},     {"utf16", ENCODING_UTF16LE, true},
    {"utf16bare", ENCODING_UTF16LE, false}, {"utf16be", ENCODING_UTF16BE, true},
    {"utf8bom", ENCODING_UTF8, true},   {"utf8", ENCODING_UTF8, false},
};

static std::wstring Break(int format) { return format == DOS ? L"\r\n" : format == UNIX ? L"\n" : L"\r"; }

// One line of letters: in ANSI those the code page has; elsewhere CJK (U+4E0A
// and U+4E0D hold the bytes 0A and 0D), a pair beyond the BMP and a Latin letter.
static std::wstring Line(int encoding)
{
    if (encoding == ENCODING_ANSI)
        return GetACP() == 950 ? L"ab\x4E2D\x4E0A\x4E0D" : L"ab\xE9";
    return L"ab\x4E2D\xD83D\xDE00\xE9\x4E0A\x4E0D";
}

// A text of about nine kilobytes whose lines start shift letters later, so
// that across the shifts every byte of a line meets the control's pieces.
static std::wstring CorpusText(int encoding, int format, int shift)
{
    std::wstring text = L"plain text " + std::wstring((size_t)shift, L'x');
    while (text.size() < 3000)
        text += Line(encoding) + Break(format);
    return text + Line(encoding);
}

static std::string Encode(const std::wstring& text, const EncodingCase& c)
{
    std::string bytes;
    if (c.Encoding == ENCODING_ANSI || c.Encoding == ENCODING_UTF8) {
        UINT codePage = c.Encoding == ENCODING_UTF8 ? CP_UTF8 : CP_ACP;
        int length = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
        bytes.resize((size_t)length);
        WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), &bytes[0], length, NULL, NULL);
        return (c.Mark ? "\xEF\xBB\xBF" : "") + bytes;
    }
    bool big = c.Encoding == ENCODING_UTF16BE;
    if (c.Mark)
        bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : text) {
        char low = (char)(unit & 0xFF);
        char high = (char)(unit >> 8);
        bytes += big ? high : low;
        bytes += big ? low : high;
    }
    return bytes;
}

class LoadAndSaveEncodings : public EditorFixture {};

TEST_F(LoadAndSaveEncodings, EveryEncodingMarkAndFormatComesBackByteForByte)
{
    static const wchar_t* const formatNames[] = {L"WIN", L"UNIX", L"MAC"};
    static const wchar_t* const encodingNames[] = {L"", L" UTF-16 LE", L" UTF-16 BE", L" UTF-8"};
    std::string folder = MakeScratchFolder("encoding_roundtrip");
    int files = 0;
    int same = 0;
    for (const EncodingCase& c : EncodingCases) {
        for (int format = DOS; format <= MAC; format++) {
            for (int shift = 0; shift < 20; shift++) {
                std::wstring text = CorpusText(c.Encoding, format, shift);
                std::string bytes = Encode(text, c);
                std::string name = std::string(c.Name) + "_" + std::to_string(format) + "_" +
                                   std::to_string(shift) + ".txt";
                std::string path = folder + name;
                WriteBytes(path, bytes);
                ClearPromptLog();
                ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1) << name;
                EXPECT_EQ(App.Encoding, c.Encoding) << name;
                EXPECT_EQ(App.NoByteOrderMark, c.Encoding != ENCODING_ANSI && !c.Mark) << name;
                EXPECT_EQ(App.LineFormat, format) << name;
                EXPECT_EQ(App.TextChanges, 0) << name;
                EXPECT_TRUE(EditTextW() == AsShown(text)) << name << " shows other text";
                std::wstring label = c.Encoding == ENCODING_ANSI
                                         ? AnsiStatus(formatNames[format])
                                         : std::wstring(formatNames[format]) + encodingNames[c.Encoding];
                if (c.Encoding == ENCODING_UTF8 && c.Mark)
                    label += L" BOM";
                EXPECT_EQ(StatusText(1), label) << name;
                EXPECT_EQ(SaveDocument(), 1) << name;
                EXPECT_TRUE(RecordedPrompts().empty()) << name;
                bool equal = ReadBytes(path) == bytes;
                EXPECT_TRUE(equal) << name << " changed on save";
                same += equal;
                files++;
                DeleteFileA(path.c_str());
            }
        }
    }
    printf("encodings under code page %u: %d of %d files unchanged\n", GetACP(), same, files);
}

// Part 1 is as wide as its text, the format and the encoding's name: it
// grows into the message part for a longer name and gives the room back.
TEST_F(LoadAndSaveEncodings, FormatPartMakesRoomForTheEncoding)
{
    std::string folder = MakeScratchFolder("encoding_status");
    auto partWidth = [](int part) {
        RECT rect;
        SendMessageA(App.StatusBar, SB_GETRECT, (WPARAM)part, (LPARAM)&rect);
        return (int)(rect.right - rect.left);
    };
    auto textWidth = [](const std::wstring& text) {
        HDC dc = GetDC(App.StatusBar);
        HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(App.StatusBar, WM_GETFONT, 0, 0));
        SIZE size;
        GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
        SelectObject(dc, old);
        ReleaseDC(App.StatusBar, dc);
        return (int)size.cx;
    };
    int caret = partWidth(4);
    WriteBytes(folder + "big.txt", std::string("\xFE\xFF\0a\0\n", 6));
    ASSERT_EQ(OpenDocument(Wide(folder + "big.txt").c_str()), 1);
    EXPECT_EQ(StatusText(1), L"UNIX UTF-16 BE");
    SIZE size = {textWidth(L"UNIX UTF-16 BE"), 0};
    EXPECT_GT(partWidth(1), size.cx);
    // No wider than the text and the part's padding.
    EXPECT_LE(partWidth(1), size.cx + 16);
    EXPECT_EQ(partWidth(4), caret);
    // Kept through a relayout.
    SendMessageA(App.MainWindow, WM_SIZE, 0, 0);
    EXPECT_GT(partWidth(1), size.cx);

    WriteBytes(folder + "plain.txt", "a\n");
    ASSERT_EQ(OpenDocument(Wide(folder + "plain.txt").c_str()), 1);
    EXPECT_EQ(StatusText(1), AnsiStatus(L"UNIX"));
    int ansi = textWidth(AnsiStatus(L"UNIX"));
    EXPECT_GT(partWidth(1), ansi);
    EXPECT_LE(partWidth(1), ansi + 16);
    EXPECT_EQ(partWidth(4), caret);
}

TEST_F(LoadAndSaveEncodings, InsertedUtf8AndBigEndianFilesArriveIntact)
{
    std::string folder = MakeScratchFolder("encoding_insert");
    WriteBytes(folder + "doc.txt", "one\ntwo");
    ASSERT_EQ(OpenDocument(Wide(folder + "doc.txt").c_str()), 1);
    WriteBytes(folder + "utf8.txt", "\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n");
    WriteBytes(folder + "big.txt", std::string("\xFE\xFF\x4E\x0A\0\n", 6));
    SetEditSelection(4, 4);
    ASSERT_EQ(LoadFile(Wide(folder + "utf8.txt").c_str(), LOAD_INSERT_MODE), 1);
    ASSERT_EQ(LoadFile(Wide(folder + "big.txt").c_str(), LOAD_INSERT_MODE), 1);
    EXPECT_TRUE(EditTextW() == L"one\r\x4E2D\xD83D\xDE00\r\x4E0A\rtwo");
    EXPECT_EQ(App.Encoding, ENCODING_ANSI);
    EXPECT_EQ(App.LineFormat, UNIX);
}
