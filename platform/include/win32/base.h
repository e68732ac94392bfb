// Base services: code page conversion and sleeping.
#ifndef SOLVANE_WIN32_BASE_H
#define SOLVANE_WIN32_BASE_H

#include "win32/types.h"

#define CP_ACP 0

// Converts ANSI (code page 932) text to UTF-16. With srcLength -1 the
// terminator is converted too. Returns the units written, 0 on failure.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                               LPWSTR dest, int destLength);

// Blocks the calling thread; posted messages wait meanwhile.
void WINAPI Sleep(DWORD milliseconds);

#endif
