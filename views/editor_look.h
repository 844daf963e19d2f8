// The editor's look from the settings: colours, wrapping, link detection
// and font put on the edit control.
#ifndef SCRIVLET_EDITOR_LOOK_H
#define SCRIVLET_EDITOR_LOOK_H

// Sets the edit control's background, word wrap, URL detection and selection
// display from the settings.
void ApplyEditorLook();
// Sets the control's default character format to the editor font and colour;
// 0 when the control refuses it.
int ApplyEditorCharFormat();
// Fills EditorLogFont from EditorCharFormat and copies its text colour into FontColor.
void DeriveEditorLogFont();

#endif
