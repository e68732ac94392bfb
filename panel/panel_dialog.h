// The panel's dialog procedure.
#ifndef SOLVANE_PANEL_DIALOG_H
#define SOLVANE_PANEL_DIALOG_H

#include "platform.h"

// The file dialog record of the Browse buttons, set afresh by each Browse:
// the ANSI record in its first form, 76 bytes on 32-bit Windows.
extern OPENFILENAME_NT4A openFileName;

// The file dialog's title and its filter list (pairs of display text and
// pattern, each NUL-terminated, then one more NUL), in Shift-JIS.
extern const char browseTitle[];
extern const char browseFilter[];
extern const size_t browseFilterSize;

INT_PTR CALLBACK PanelDialogProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

#endif
