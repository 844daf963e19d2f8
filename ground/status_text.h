// Text of one status-bar part.
#ifndef SCRIVLET_STATUS_TEXT_H
#define SCRIVLET_STATUS_TEXT_H

void SetStatusText(int part, const wchar_t* text);

#endif
