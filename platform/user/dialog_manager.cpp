#include "user/dialog_manager.h"

#include <algorithm>
#include <cctype>

#include "base/codepage.h"
#include "user/dialog_template.h"
#include "user/message_loop.h"
#include "user/resources.h"
#include "user/view.h"
#include "user/window.h"

namespace {

bool keysDown[256];
HWND activeDialog;

int MulDivRound(int value, int numerator, int denominator)
{
    long long product = (long long)value * numerator;
    return (int)((product >= 0 ? product + denominator / 2 : product - denominator / 2) / denominator);
}

RECT DialogUnitsToPixels(const HWND__ &dialog, short x, short y, short cx, short cy)
{
    int left = MulDivRound(x, dialog.baseX, 4), top = MulDivRound(y, dialog.baseY, 8);
    return {left, top, left + MulDivRound(cx, dialog.baseX, 4), top + MulDivRound(cy, dialog.baseY, 8)};
}

WindowKind KindOf(const ItemTemplate &item)
{
    switch (item.windowClass) {
    case ControlClass::Button: {
        DWORD type = item.style & 0x0F;
        return type == 2 || type == 3 ? WindowKind::CheckBox : WindowKind::PushButton; // (auto) check box
    }
    case ControlClass::Edit:
        return WindowKind::Edit;
    case ControlClass::ScrollBar:
        return WindowKind::ScrollBar;
    case ControlClass::Static:
        break;
    }
    return WindowKind::Static;
}

std::string ToAnsi(const std::u16string &text)
{
    return Utf16ToAnsi(text).value_or(std::string());
}

void SendCommand(HWND control, WORD notification)
{
    HWND dialog = control->parent;
    DeliverMessage(dialog, WM_COMMAND, MAKEWPARAM(control->id, notification), (LPARAM)control);
}

// Moves the focus as keyboard navigation does: an edit field entered this
// way has its whole text selected.
void FocusByKeyboard(HWND control)
{
    SetFocus(control);
    if (control->kind == WindowKind::Edit && control->parent->focus == control)
        CurrentView().Changed(control, Change::SelectAll);
}

} // namespace

HWND NextTabStop(HWND dialog, HWND from, bool backwards)
{
    auto &children = dialog->children;
    int count = (int)children.size();
    int start = -1;
    for (int i = 0; i < count; i++) {
        if (children[i].get() == from)
            start = i;
    }
    if (start < 0)
        start = backwards ? 0 : count - 1;
    for (int step = 1; step <= count; step++) {
        int i = ((start + (backwards ? -step : step)) % count + count) % count;
        if (IsFocusable(children[i].get()))
            return children[i].get();
    }
    return nullptr;
}

namespace {

// The character after a single '&' in text, upper-cased; 0 when none.
int MnemonicOf(const std::string &text)
{
    for (size_t i = 0; i + 1 < text.size(); i++) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            i++;
            continue;
        }
        return std::toupper((unsigned char)text[i + 1]);
    }
    return 0;
}

bool HandleMnemonic(HWND dialog, char32_t character)
{
    if (character > 0x7F)
        return false;
    int key = std::toupper((int)character);
    auto &children = dialog->children;
    for (size_t i = 0; i < children.size(); i++) {
        HWND control = children[i].get();
        if (!control->visible || MnemonicOf(control->text) != key)
            continue;
        if (control->kind == WindowKind::Static) {
            // A label hands its mnemonic to the first tab stop after it.
            for (size_t j = i + 1; j < children.size(); j++) {
                if (IsFocusable(children[j].get())) {
                    FocusByKeyboard(children[j].get());
                    break;
                }
            }
            return true;
        }
        if (control->enabled && (control->kind == WindowKind::PushButton || control->kind == WindowKind::CheckBox)) {
            if (control->kind == WindowKind::CheckBox)
                SetFocus(control);
            ClickControl(control);
        }
        return true;
    }
    return false;
}

} // namespace

bool IsFocusable(HWND control)
{
    return control->IsControl() && control->IsTabStop() && control->enabled && control->visible;
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const char *name, DLGPROC proc, LPARAM initParam)
{
    std::optional<DialogTemplate> form = ReadDialogTemplate(FindResourceData(instance, RT_DIALOG_TYPE, name));
    if (!form || proc == nullptr)
        return nullptr;

    HWND dialog = new HWND__;
    dialog->style = form->style;
    dialog->text = ToAnsi(form->caption);
    dialog->proc = proc;
    dialog->rect = DialogUnitsToPixels(*dialog, form->x, form->y, form->cx, form->cy);
    AddLiveWindow(dialog);
    for (const ItemTemplate &item : form->items) {
        auto control = std::make_unique<HWND__>();
        control->kind = KindOf(item);
        control->parent = dialog;
        control->id = item.id;
        control->style = item.style;
        control->text = ToAnsi(item.text);
        control->enabled = !(item.style & WS_DISABLED_STYLE);
        control->visible = (item.style & WS_VISIBLE_STYLE) != 0;
        control->rect = DialogUnitsToPixels(*dialog, item.x, item.y, item.cx, item.cy);
        AddLiveWindow(control.get());
        dialog->children.push_back(std::move(control));
    }

    if (DeliverMessage(dialog, WM_INITDIALOG, 0, initParam) && IsLiveWindow(dialog)) {
        if (HWND first = NextTabStop(dialog, nullptr, false))
            FocusByKeyboard(first);
    }
    if (!IsLiveWindow(dialog))
        return nullptr;
    CurrentView().Build(dialog);
    activeDialog = dialog;
    return dialog;
}

HWND ActiveDialog()
{
    return activeDialog;
}

void DestroyDialog(HWND dialog)
{
    if (!IsLiveWindow(dialog))
        return;
    CurrentView().Destroy(dialog);
    if (activeDialog == dialog)
        activeDialog = nullptr;
    for (auto &control : dialog->children)
        RemoveLiveWindow(control.get());
    RemoveLiveWindow(dialog);
    delete dialog;
}

void DialogDefault(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    // The close box, the system menu's Close and Alt+F4 become Cancel.
    if (message == WM_CLOSE)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

bool HandleDialogKey(HWND dialog, DialogKey key, bool shift, bool alt, char32_t character)
{
    if (!IsLiveWindow(dialog) || !dialog->enabled)
        return false;
    HWND focus = dialog->focus;
    switch (key) {
    case DialogKey::Tab:
        if (alt)
            return false;
        if (HWND next = NextTabStop(dialog, focus, shift))
            FocusByKeyboard(next);
        return true;
    case DialogKey::Escape:
        DeliverMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    case DialogKey::Enter:
        if (focus != nullptr && focus->kind == WindowKind::PushButton)
            ClickControl(focus);
        else
            DeliverMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    case DialogKey::F4:
        if (!alt)
            return false;
        DeliverMessage(dialog, WM_CLOSE, 0, 0);
        return true;
    case DialogKey::Character:
        // Without Alt a letter is a mnemonic only where the focused control
        // takes no characters.
        if (!alt && focus != nullptr && focus->kind == WindowKind::Edit)
            return false;
        return HandleMnemonic(dialog, character);
    }
    return false;
}

void ClickControl(HWND control)
{
    if (!IsLiveWindow(control) || !control->enabled || !control->parent->enabled)
        return;
    if (control->kind == WindowKind::CheckBox && (control->style & 0x0F) == 3) {
        control->checked = !control->checked;
        CurrentView().Changed(control, Change::Checked);
    }
    SendCommand(control, BN_CLICKED);
}

void EditChanged(HWND edit, const char *ansi)
{
    if (!IsLiveWindow(edit))
        return;
    edit->text = ansi;
    SendCommand(edit, EN_CHANGE);
}

void ControlFocused(HWND control)
{
    if (IsLiveWindow(control))
        control->parent->focus = control;
}

void ScrollRequest(HWND bar, UINT code, int position)
{
    if (!IsLiveWindow(bar) || !bar->enabled || !bar->parent->enabled)
        return;
    UINT message = bar->IsHorizontalScrollBar() ? WM_HSCROLL : WM_VSCROLL;
    DeliverMessage(bar->parent, message, MAKEWPARAM(code, (WORD)position), (LPARAM)bar);
}

void CloseRequest(HWND dialog)
{
    if (IsLiveWindow(dialog) && dialog->enabled)
        DeliverMessage(dialog, WM_CLOSE, 0, 0);
}

void SetKeyDown(int virtualKey, bool down)
{
    keysDown[virtualKey & 0xFF] = down;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    return keysDown[virtualKey & 0xFF] ? (SHORT)0x8000 : 0;
}
