// The in-process classes that CoCreateInstance can make.
#ifndef SOLVANE_PLATFORM_CLASS_TABLE_H
#define SOLVANE_PLATFORM_CLASS_TABLE_H

#include "win32/com.h"

// Makes a new object and queries it for iid into *object (null on failure).
typedef HRESULT (*CreateObject)(REFIID iid, void **object);

// Registers (or, with a new create, replaces) the class clsid.
void RegisterInProcClass(REFCLSID clsid, CreateObject create);
void UnregisterInProcClass(REFCLSID clsid);

// Called when the last CoUninitialize of a thread ends COM there: a class
// finishes what its released objects still do in the background.
void AtComEnd(void (*finish)());

// For tests: the failure the next CoInitialize on any thread reports.
void FailNextCoInitialize(HRESULT failure);

#endif
