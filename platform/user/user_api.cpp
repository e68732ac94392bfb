// The Win32 user interface functions, on the window model.
#include <algorithm>
#include <cstring>


#include "base/codepage.h"
#include "user/dialog_manager.h"
#include "user/message_loop.h"
#include "user/view.h"
#include "user/window.h"
#include "win32/user.h"

namespace {

View *currentView;

void Notify(HWND window, Change change)
{
    CurrentView().Changed(window, change);
}

} // namespace

View &CurrentView()
{
    return *currentView;
}

void SetView(View *view)
{
    currentView = view;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM initParam)
{
    (void)owner;
    HWND dialog = CreateDialogFromTemplate(instance, templateName, proc, initParam);
    if (dialog == nullptr)
        return -1;
    if (!dialog->ended)
        CurrentView().Show(dialog);
    RunMessageLoop([dialog] { return dialog->ended; });
    INT_PTR result = dialog->result;
    DestroyDialog(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    if (!IsLiveWindow(dialog) || dialog->kind != WindowKind::Dialog)
        return FALSE;
    dialog->ended = true;
    dialog->result = result;
    CurrentView().Hide(dialog);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    if (!IsLiveWindow(dialog))
        return nullptr;
    for (auto &control : dialog->children) {
        if (control->id == (id & 0xFFFF))
            return control.get();
    }
    return nullptr;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable)
{
    if (!IsLiveWindow(window))
        return FALSE;
    BOOL wasDisabled = !window->enabled;
    if (window->enabled == (enable != FALSE))
        return wasDisabled;
    window->enabled = enable != FALSE;
    Notify(window, Change::Enabled);
    // A control that loses its input hands the focus to the next tab stop.
    HWND dialog = DialogOf(window);
    if (!enable && dialog->focus == window) {
        dialog->focus = nullptr;
        if (HWND next = NextTabStop(dialog, window, false))
            SetFocus(next);
    }
    return wasDisabled;
}

HWND WINAPI GetFocus(void)
{
    HWND dialog = ActiveDialog();
    return dialog != nullptr ? dialog->focus : nullptr;
}

BOOL WINAPI IsWindowEnabled(HWND window)
{
    return IsLiveWindow(window) && window->enabled;
}

HWND WINAPI SetFocus(HWND window)
{
    if (!IsLiveWindow(window) || !window->IsControl())
        return nullptr;
    HWND dialog = window->parent;
    HWND previous = dialog->focus;
    if (!window->enabled || !window->visible)
        return nullptr;
    dialog->focus = window;
    Notify(window, Change::Focus);
    return previous;
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount)
{
    if (text == nullptr || maxCount <= 0)
        return 0;
    if (!IsLiveWindow(window)) {
        text[0] = '\0';
        return 0;
    }
    size_t count = std::min(window->text.size(), (size_t)maxCount - 1);
    std::memcpy(text, window->text.data(), count);
    text[count] = '\0';
    return (int)count;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    if (!IsLiveWindow(window))
        return FALSE;
    window->text = text != nullptr ? text : "";
    Notify(window, Change::Text);
    return TRUE;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    return button != nullptr && button->checked ? BST_CHECKED : 0;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr)
        return FALSE;
    button->checked = check == BST_CHECKED;
    Notify(button, Change::Checked);
    return TRUE;
}

LONG WINAPI GetWindowLongA(HWND window, int index)
{
    if (!IsLiveWindow(window) || index != GWL_ID)
        return 0;
    return window->id;
}

BOOL WINAPI SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw)
{
    (void)redraw;
    if (!IsLiveWindow(window) || window->kind != WindowKind::ScrollBar || bar != SB_CTL || minPos > maxPos)
        return FALSE;
    window->scrollMin = minPos;
    window->scrollMax = maxPos;
    window->scrollPos = std::clamp(window->scrollPos, minPos, maxPos);
    Notify(window, Change::Scroll);
    return TRUE;
}

int WINAPI SetScrollPos(HWND window, int bar, int pos, BOOL redraw)
{
    (void)redraw;
    if (!IsLiveWindow(window) || window->kind != WindowKind::ScrollBar || bar != SB_CTL)
        return 0;
    int previous = window->scrollPos;
    window->scrollPos = std::clamp(pos, window->scrollMin, window->scrollMax);
    Notify(window, Change::Scroll);
    return previous;
}

BOOL WINAPI RedrawWindow(HWND window, const RECT *update, HRGN region, UINT flags)
{
    (void)update;
    (void)region;
    (void)flags;
    if (!IsLiveWindow(window))
        return FALSE;
    Notify(window, Change::Redraw);
    return TRUE;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    (void)owner;
    (void)type;
    return CurrentView().MessageBox(AnsiToUtf8Lossy(text != nullptr ? text : ""),
                                    AnsiToUtf8Lossy(caption != nullptr ? caption : "Error"));
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostToQueue({window, message, wParam, lParam});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DeliverMessage(window, message, wParam, lParam);
}
