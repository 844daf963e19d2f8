#include "document/encoding_commands.h"

#include "document/load.h"
#include "ground/app_state.h"
#include "ground/document_encoding.h"
#include "ground/edit_control.h"
#include "settings/recent_encodings.h"
#include "text/encoding_choices.h"
#include "views/format_status.h"
#include "views/menu_state.h"

#include <string>

static int IsChoice(int choice) { return choice >= 0 && choice < ENCODING_CHOICE_COUNT; }

void ReopenInEncoding(int choice)
{
    if (!App.HasFile || !IsChoice(choice))
        return;
    EncodingRequest asked = {EncodingChoices[choice].Encoding, ChoiceCodePage(choice, GetACP()), 0};
    // A copy: the load rewrites the document's path.
    std::wstring path = App.FilePath;
    if (OpenDocumentIn(path.c_str(), &asked))
        RememberFileEncoding(path.c_str(), asked.Encoding, asked.CodePage);
}

void ConvertToEncoding(int choice)
{
    if (!IsChoice(choice) ||
        choice == CurrentEncodingChoice(App.Encoding, App.CodePage, App.NoByteOrderMark, GetACP()))
        return;
    TakeEncodingChoice(choice);
    ShowFormatStatus();
    // The file on disk is not in this encoding until the next save.
    SetEditModified(1);
    RefreshAfterEdit();
}
