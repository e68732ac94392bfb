// The user interface surface: dialogs, controls, scroll bars, message boxes.
#ifndef SOLVANE_WIN32_USER_H
#define SOLVANE_WIN32_USER_H

#include "win32/types.h"

typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_CLOSE 0x0010
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_APP 0x8000

#define IDOK 1
#define IDCANCEL 2

#define MB_OK 0x00000000

#define SB_CTL 2
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

#define RDW_INVALIDATE 0x0001
#define RDW_FRAME 0x0400

#define GWL_ID (-12)
#define VK_CONTROL 0x11
#define BST_CHECKED 1

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc,
                               LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);
BOOL WINAPI EnableWindow(HWND window, BOOL enable);
BOOL WINAPI IsWindowEnabled(HWND window);
HWND WINAPI SetFocus(HWND window);
// The control with the keyboard focus in the active dialog, or null.
HWND WINAPI GetFocus(void);
int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
LONG WINAPI GetWindowLongA(HWND window, int index);
BOOL WINAPI SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw);
int WINAPI SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
BOOL WINAPI RedrawWindow(HWND window, const RECT *update, HRGN region, UINT flags);
SHORT WINAPI GetKeyState(int virtualKey);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// May be called from any thread; the message is handled on the window's thread.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
