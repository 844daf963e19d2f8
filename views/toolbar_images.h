// The toolbar's images: strips drawn at 16, 20, 24 and 32 pixels (by
// scripts/make_images.py), the one for the window's DPI in use.
#ifndef SCRIVLET_TOOLBAR_IMAGES_H
#define SCRIVLET_TOOLBAR_IMAGES_H

// The strips keep the standard images' order (STD_CUT ... STD_PRINT), then ours.
#define TOOLBAR_IMAGE_WORDWRAP 15
#define TOOLBAR_IMAGE_EXECUTE 16
#define TOOLBAR_IMAGE_COUNT 17

// The largest drawn size that is not larger than 16 pixels scaled to dpi.
int ToolbarImageSize(int dpi);
// Gives the toolbar the images and button size for this DPI, and frees the old images.
void ApplyToolbarImages(int dpi);

#endif
