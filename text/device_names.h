// Names that reach a device, a pipe or the console rather than a file on
// disk. Opening one can block for good (a serial port waiting for a line) or
// write to hardware, so loading and saving refuse them before any access.
#ifndef SCRIVLET_DEVICE_NAMES_H
#define SCRIVLET_DEVICE_NAMES_H

// 1 when path names a device: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9 or
// LPT1-9 as the last part of any path, with any extension, trailing dots or
// blanks; a \\.\ or \\?\ path that is not a drive or share path; a named
// pipe or mailslot, local or on a server.
int IsDeviceName(const wchar_t* path);

#endif
