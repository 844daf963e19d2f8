#include "views/toolbar_images.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "resource.h"

#include <commctrl.h>

struct DrawnStrip {
    int Size;
    UINT ResourceId;
};

static const DrawnStrip Strips[] = {
    {16, IDB_TOOLBAR16}, {20, IDB_TOOLBAR20}, {24, IDB_TOOLBAR24}, {32, IDB_TOOLBAR32}};
static const int StripCount = (int)(sizeof(Strips) / sizeof(Strips[0]));

// A smaller image than the DPI asks for stays sharp; a stretched one would not.
static const DrawnStrip* StripForDpi(int dpi)
{
    int wanted = ScaleForDpi(16, dpi);
    const DrawnStrip* chosen = &Strips[0];
    for (int i = 1; i < StripCount; i++)
        if (Strips[i].Size <= wanted)
            chosen = &Strips[i];
    return chosen;
}

int ToolbarImageSize(int dpi)
{
    return StripForDpi(dpi)->Size;
}

void ApplyToolbarImages(int dpi)
{
    const DrawnStrip* strip = StripForDpi(dpi);
    int size = strip->Size;
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, TOOLBAR_IMAGE_COUNT, 0);
    HBITMAP bitmap = (HBITMAP)LoadImageW(App.Instance, MAKEINTRESOURCEW(strip->ResourceId), IMAGE_BITMAP,
                                         0, 0, LR_CREATEDIBSECTION);
    if (!images || !bitmap) {
        if (images)
            ImageList_Destroy(images);
        if (bitmap)
            DeleteObject(bitmap);
        return;
    }
    // The images are drawn on silver, which shows as the button face.
    ImageList_AddMasked(images, bitmap, RGB(192, 192, 192));
    DeleteObject(bitmap);
    SendMessageW(App.ToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    SendMessageW(App.ToolBar, TB_SETIMAGELIST, 0, (LPARAM)images);
    // The usual 16-pixel button is 23 by 22: the border grows with the DPI too.
    SendMessageW(App.ToolBar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(size + ScaleForDpi(7, dpi), size + ScaleForDpi(6, dpi)));
    if (App.ToolbarImages)
        ImageList_Destroy(App.ToolbarImages);
    App.ToolbarImages = images;
}
