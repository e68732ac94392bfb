// The window model: the panel and its controls with their state, kept free
// of drawing so that it runs without a display. Only the UI thread touches
// windows.
#ifndef SOLVANE_PLATFORM_WINDOW_H
#define SOLVANE_PLATFORM_WINDOW_H

#include <memory>
#include <string>
#include <vector>

#include "win32/types.h"
#include "win32/user.h"

#define WS_VISIBLE_STYLE 0x10000000u
#define WS_DISABLED_STYLE 0x08000000u
#define WS_TABSTOP_STYLE 0x00010000u

enum class WindowKind { Dialog, PushButton, CheckBox, Static, Edit, ScrollBar };

struct HWND__ {
    WindowKind kind = WindowKind::Dialog;
    HWND__ *parent = nullptr;
    int id = 0;
    DWORD style = 0;
    std::string text; // in the ANSI code page
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int scrollMin = 0, scrollMax = 0, scrollPos = 0; // a scroll bar control's range starts empty
    RECT rect = {0, 0, 0, 0};                        // pixels, in the parent's client area

    // Dialogs only.
    std::vector<std::unique_ptr<HWND__>> children; // in template order
    DLGPROC proc = nullptr;
    HWND__ *focus = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    int baseX = 8, baseY = 16; // dialog base units in pixels

    // Per-window state of the view that draws it, if any.
    void *viewData = nullptr;

    bool IsControl() const { return kind != WindowKind::Dialog; }
    bool IsTabStop() const { return (style & WS_TABSTOP_STYLE) != 0; }
    bool IsHorizontalScrollBar() const { return kind == WindowKind::ScrollBar && (style & 1) == 0; }
};

// True while window is a window of the model (handles from other sources,
// destroyed windows and null are not).
bool IsLiveWindow(HWND window);
void AddLiveWindow(HWND window);
void RemoveLiveWindow(HWND window);

// The dialog a window belongs to: itself, or its parent.
HWND DialogOf(HWND window);

#endif
