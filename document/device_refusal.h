// Loading and saving refuse a device's name before any access: opening one
// can block for good or write to hardware.
#ifndef SCRIVLET_DEVICE_REFUSAL_H
#define SCRIVLET_DEVICE_REFUSAL_H

// Tells the user, and returns 1, when path names a device.
int RefuseDeviceName(const wchar_t* path);

#endif
