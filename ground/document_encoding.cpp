#include "ground/document_encoding.h"

#include "ground/app_state.h"
#include "text/encoding_choices.h"
#include "text/stream_decoder.h"

void TakeEncodingChoice(int choice)
{
    if (choice < 0 || choice >= ENCODING_CHOICE_COUNT)
        return;
    const EncodingChoice& taken = EncodingChoices[choice];
    App.Encoding = taken.Encoding;
    App.CodePage = ChoiceCodePage(choice, GetACP());
    App.NoByteOrderMark = taken.Encoding != ENCODING_ANSI && !taken.WithMark;
    // What the old encoding could not hold was agreed to for it alone.
    App.AcceptedChanges &= ~CHANGE_DEFAULT_CHAR;
}
