// The one include of the system's code: the real Win32, COM and DirectShow
// headers on Windows, our own declarations of the same surface elsewhere.
#ifndef SOLVANE_PLATFORM_H
#define SOLVANE_PLATFORM_H

#ifdef _WIN32
#include <windows.h>
#include <commdlg.h>
#include <dshow.h>
#else
#include "win32/types.h"
#include "win32/base.h"
#include "win32/user.h"
#include "win32/comdlg.h"
#include "win32/com.h"
#include "win32/dshow.h"
#endif

#endif
