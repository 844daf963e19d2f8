#include "document/device_refusal.h"

#include "ground/user_prompts.h"
#include "text/device_names.h"

int RefuseDeviceName(const wchar_t* path)
{
    if (!IsDeviceName(path))
        return 0;
    ShowErrorAboutFile(L"\"%ls\" is the name of a device, not of a file.\n\nOnly files on disk can be opened or saved.",
                       path);
    return 1;
}
