// Reading the open file into the edit control's stream-in, piece by piece,
// and what the stream leaves to check once the whole file went in.
#include "document/file_reader.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "text/stream_decoder.h"

#include <richedit.h>

LoadReadFunction LoadReader = ReadFile;

// What the stream-in of the current load has read so far.
static struct {
    StreamDecoder Decoder;
    int Finished;      // the end of the file was reached
    int Failed;        // a read failed
    int ShowScrollBar; // the vertical scroll bar goes up at the first read
} Reader;

void StartFileReader(int encoding, int lineFormat, UINT codePage)
{
    StartStreamDecoder(&Reader.Decoder, encoding, lineFormat, codePage);
    Reader.Finished = 0;
    Reader.Failed = 0;
    Reader.ShowScrollBar = 0;
}

int FileReaderGivesUtf16()
{
    return DecoderGivesUtf16(&Reader.Decoder);
}

void ShowScrollBarAtFirstRead()
{
    Reader.ShowScrollBar = 1;
}

void StartFilePiece()
{
    Reader.Decoder.MarkPending = Reader.Decoder.Encoding == ENCODING_UTF8;
}

DWORD CALLBACK ReadFileChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    (void)cookie;
    if (Reader.ShowScrollBar) {
        // A scroll bar that appears once the text is in narrows the control,
        // which then lays out the whole text again: a text this large will
        // need it, so it is there before the text. Before the first read the
        // control has just emptied itself and would take it away again.
        Reader.ShowScrollBar = 0;
        ShowScrollBar(App.EditControl, SB_VERT, TRUE);
    }
    size_t written = 0;
    // An empty piece ends the stream, so a piece whose bytes all vanish (the
    // LF of a pair whose CR came last time) is followed by another read.
    while (written == 0 && !Reader.Finished) {
        size_t room = DecoderInputRoom(&Reader.Decoder, wanted > 0 ? (size_t)wanted : 0);
        if (room == 0)
            break;
        if (room > DECODER_MAX_PIECE)
            room = DECODER_MAX_PIECE;
        unsigned char staging[DECODER_MAX_PIECE];
        DWORD got = 0;
        if (!LoadReader(App.FileHandle, staging, (DWORD)room, &got, NULL)) {
            Reader.Failed = 1;
            got = 0;
        }
        Reader.Finished = got == 0;
        written = DecodeStreamPiece(&Reader.Decoder, staging, got, Reader.Finished, buffer);
    }
    *delivered = (LONG)written;
    return written == 0;
}

// The bar put up before the text stays only if the text needs it (a few long
// lines with wrapping off may not).
static void HideScrollBarIfUnneeded()
{
    // The control keeps no scroll range for a bar it did not put up itself:
    // the end of the text tells whether it is taller than the control.
    RECT client;
    GetClientRect(App.EditControl, &client);
    POINTL end = {0, 0};
    SendMessageW(App.EditControl, EM_POSFROMCHAR, (WPARAM)&end, GetTextLength(GTL_DEFAULT));
    TEXTMETRICW metrics;
    HDC context = GetDC(App.EditControl);
    HFONT font = CreateFontIndirectW(&Config.EditorLogFont);
    HGDIOBJ old = SelectObject(context, font);
    GetTextMetricsW(context, &metrics);
    SelectObject(context, old);
    DeleteObject(font);
    ReleaseDC(App.EditControl, context);
    if (end.y + metrics.tmHeight <= client.bottom)
        ShowScrollBar(App.EditControl, SB_VERT, FALSE);
}

static void ReportIncompleteLoad(const wchar_t* path)
{
    ShowErrorAboutFile(L"Only part of \"%ls\" could be loaded. Saving will ask first, as it would lose the rest.",
                       path);
}

// What the stream-in leaves to check once the whole file went in: the
// format the breaks tell, and what a save would not write back.
void EndFileStream(const wchar_t* path, int streamFormat, int foundBreak)
{
    int insert = (streamFormat & SFF_SELECTION) != 0;
    if (!insert && App.FileSize >= LARGE_TEXT_BYTES)
        HideScrollBarIfUnneeded();
    int changes = Reader.Decoder.Changes;
    if (!Reader.Finished || Reader.Failed)
        changes |= CHANGE_INCOMPLETE;
    // With no break in the bytes looked at, the first breaks of the file decide.
    int later = LineFormatOfBreaks(Reader.Decoder.Breaks);
    if (!insert && !foundBreak && later >= 0) {
        App.LineFormat = later;
        changes &= ~CHANGE_LINE_ENDINGS;
    }
    if (!insert) {
        App.TextChanges = changes;
        App.AcceptedChanges = 0;
    } else {
        App.TextChanges |= changes;
    }
    if (changes & CHANGE_INCOMPLETE)
        ReportIncompleteLoad(path);
}
