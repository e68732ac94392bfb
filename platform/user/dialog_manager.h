// The dialog manager: dialogs made from templates, their default handling,
// keyboard navigation and the input the view reports on controls.
#ifndef SOLVANE_PLATFORM_DIALOG_MANAGER_H
#define SOLVANE_PLATFORM_DIALOG_MANAGER_H

#include "win32/user.h"

#define BN_CLICKED 0
#define EN_CHANGE 0x0300

// Makes the dialog of the named template with its controls in template
// order, sends WM_INITDIALOG and has the view build it (not yet shown).
// Null when the template is missing or unreadable.
HWND CreateDialogFromTemplate(HINSTANCE instance, const char *name, DLGPROC proc, LPARAM initParam);
void DestroyDialog(HWND dialog);
// The dialog made last that still exists: the one that takes the keyboard.
HWND ActiveDialog();

// What the dialog does with a message its procedure returned FALSE for.
void DialogDefault(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

enum class DialogKey { Tab, Escape, Enter, F4, Character };

// A key pressed in the dialog, before the focused control sees it: Tab and
// Shift+Tab, Esc, Enter, Alt+F4 and mnemonics (with Alt, or alone where the
// focused control takes no characters). Returns whether the key was used.
bool HandleDialogKey(HWND dialog, DialogKey key, bool shift, bool alt, char32_t character);

// Input the view reports on controls.
void ClickControl(HWND control);                     // a push button or check box was pressed
void EditChanged(HWND edit, const char *ansi);      // the user changed an edit's text
void ControlFocused(HWND control);                  // the user put the focus on a control
void ScrollRequest(HWND bar, UINT code, int position); // a scroll bar asks for a move
void CloseRequest(HWND dialog);                     // the close box or the window manager's close
void SetKeyDown(int virtualKey, bool down);

// Whether control can take the focus: an enabled, visible tab stop.
bool IsFocusable(HWND control);
// The next (or, backwards, previous) focusable control after from in
// template order, wrapping; the first or last when from is null, null when
// there is none.
HWND NextTabStop(HWND dialog, HWND from, bool backwards);

#endif
