// Basic Win32 types with their Windows widths: LONG and DWORD are 32-bit,
// WCHAR is a 16-bit code unit, WPARAM and LPARAM are pointer-sized.
#ifndef SOLVANE_WIN32_TYPES_H
#define SOLVANE_WIN32_TYPES_H

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE

typedef int BOOL;
typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int16_t SHORT;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCWSTR;
typedef void *LPVOID;

#ifndef TRUE // GLib defines them alike
#define TRUE 1
#define FALSE 0
#endif
#define MAX_PATH 260

#define LOWORD(l) ((WORD)((std::uintptr_t)(l) & 0xffff))
#define HIWORD(l) ((WORD)(((std::uintptr_t)(l) >> 16) & 0xffff))
#define MAKELONG(low, high) ((LONG)(((WORD)(low)) | (((DWORD)((WORD)(high))) << 16)))
#define MAKEWPARAM(low, high) ((WPARAM)(DWORD)MAKELONG(low, high))

// Handles are distinct pointer types, as with STRICT on Windows.
struct HWND__;
typedef HWND__ *HWND;
struct HINSTANCE__;
typedef HINSTANCE__ *HINSTANCE;
struct HRGN__;
typedef HRGN__ *HRGN;

struct RECT {
    LONG left, top, right, bottom;
};

#endif
