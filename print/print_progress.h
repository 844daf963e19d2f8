// The small window that shows which page is printing and lets the user stop
// the job; between pages the program's windows go on painting.
#ifndef SCRIVLET_PRINT_PROGRESS_H
#define SCRIVLET_PRINT_PROGRESS_H

#include <windows.h>

// Shows the window over the disabled main window and gives the printer the
// abort procedure.
void StartPrintProgress(HDC printer);
// "printing page N" in the window.
void ShowPrintProgressPage(int page);
// Handles the messages waiting (painting, Cancel, Escape); nonzero when the
// user stopped the job.
int PrintCancelled();
// Takes the window away and gives the main window back.
void EndPrintProgress();

#endif
