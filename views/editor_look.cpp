#include "views/editor_look.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "settings/usable_settings.h"
#include "views/colour_scheme.h"

#include <richedit.h>

void ApplyEditorLook()
{
    SendMessageW(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)CurrentColours().Back);
    // Line width 0 wraps at the window edge, 1 turns wrapping off.
    SendMessageW(App.EditControl, EM_SETTARGETDEVICE, 0, Config.WordWrap ? 0 : 1);
    // The control takes only TRUE or FALSE here; any nonzero flag means on.
    SendMessageW(App.EditControl, EM_AUTOURLDETECT, Config.HighlightURLs ? TRUE : FALSE, 0);
    SendMessageW(App.EditControl, EM_HIDESELECTION, FALSE, 0);
}

int ApplyEditorCharFormat()
{
    // The options change the font and its colour apart; the colour is the
    // painted one, which the look may put in place of the user's.
    CHARFORMATW format = Config.EditorCharFormat;
    format.cbSize = sizeof(format);
    format.dwMask |= CFM_COLOR;
    format.dwEffects &= ~CFE_AUTOCOLOR;
    format.crTextColor = CurrentColours().Text;
    return SendMessageW(App.EditControl, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format) != 0;
}

void DeriveEditorLogFont()
{
    BuildEditorLogFont(&Config.EditorCharFormat, WindowDpi(App.EditControl), &Config.EditorLogFont);
    Config.FontColor = Config.EditorCharFormat.crTextColor;
}
