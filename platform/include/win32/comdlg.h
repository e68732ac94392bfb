// The common file dialog, in its ANSI form.
#ifndef SOLVANE_WIN32_COMDLG_H
#define SOLVANE_WIN32_COMDLG_H

#include "win32/types.h"

#define OFN_HIDEREADONLY 0x00000004
#define OFN_FILEMUSTEXIST 0x00001000

typedef UINT_PTR(CALLBACK *LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};
typedef OPENFILENAMEA *LPOPENFILENAMEA;
// The record without the fields that later versions appended; here it is
// the same record.
typedef OPENFILENAMEA OPENFILENAME_NT4A;

// Returns nonzero with the chosen path in lpstrFile, zero on cancel or failure.
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA record);

#endif
