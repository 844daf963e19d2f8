#include "settings/options_sheet.h"

// The recent-files list and its File-menu items are kept elsewhere; until
// they exist there is nothing to show or take away here.
void SetRecentFilesEnabled(int on)
{
    (void)on;
}
