// File commands besides open and save.
#ifndef SCRIVLET_FILE_COMMANDS_H
#define SCRIVLET_FILE_COMMANDS_H

#include <windows.h>

// Format commands 508, 509, 510.
void ChangeLineFormat(int format);

// Reload (505) keeps the selection; Properties (506); Execute (507); Insert File (626).
void ReloadDocument();
void ShowFileProperties();
void ExecuteDocument();
void InsertFileAtSelection();
// Open (502): the Open dialog, then the chosen file.
void ShowOpenDialog();

#endif
