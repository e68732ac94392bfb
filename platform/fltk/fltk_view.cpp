#include "fltk/fltk_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>

#include "base/codepage.h"
#include "fltk/scroll_bar.h"
#include "user/dialog_manager.h"
#include "user/message_loop.h"
#include "user/window.h"

namespace {

// The face that can show the panel's Japanese texts, at a size that fits
// rows of 20 pixels.
const char *const fontFace = "IPAGothic";
const int fontSize = 12;

HWND WindowOf(Fl_Widget *widget)
{
    return static_cast<HWND>(widget->user_data());
}

std::string Utf8(const std::string &ansi)
{
    return AnsiToUtf8Lossy(ansi);
}

// Labels show '&' as an underline under the next letter, like Windows'.
class Label : public Fl_Box {
public:
    Label(int x, int y, int w, int h) : Fl_Box(x, y, w, h) { set_flag(SHORTCUT_LABEL); }
};

// A control that tells the window model when the user gives it the focus.
template <class Base>
class Focusable : public Base {
public:
    Focusable(int x, int y, int w, int h) : Base(x, y, w, h) {}

    int handle(int event) override
    {
        if (event == FL_FOCUS)
            ControlFocused(WindowOf(this));
        return Base::handle(event);
    }
};

// Push buttons and check boxes: the dialog manager handles their mnemonics,
// so they refuse FLTK's own shortcut handling.
template <class Base>
class DialogButton : public Focusable<Base> {
public:
    DialogButton(int x, int y, int w, int h) : Focusable<Base>(x, y, w, h) {}

    int handle(int event) override { return event == FL_SHORTCUT ? 0 : Focusable<Base>::handle(event); }
};

void ButtonPressed(Fl_Widget *widget, void *)
{
    ClickControl(WindowOf(widget));
    // A check box shows the model's state, whatever FLTK toggled.
    HWND window = WindowOf(widget);
    if (IsLiveWindow(window) && window->kind == WindowKind::CheckBox)
        static_cast<Fl_Check_Button *>(widget)->value(window->checked);
}

void TextTyped(Fl_Widget *widget, void *)
{
    auto *input = static_cast<Fl_Input *>(widget);
    HWND edit = WindowOf(widget);
    // The field holds ANSI text: a character the code page cannot write is
    // refused, and the field keeps its last text.
    if (std::optional<std::string> ansi = Utf8ToAnsi(input->value())) {
        EditChanged(edit, ansi->c_str());
    } else {
        int cursor = input->position();
        input->value(Utf8(edit->text).c_str());
        input->position(std::min(cursor, input->size()));
        fl_beep();
    }
}

void CloseBox(Fl_Widget *widget, void *)
{
    CloseRequest(WindowOf(widget));
}

Fl_Widget *WidgetOf(HWND window)
{
    return static_cast<Fl_Widget *>(window->viewData);
}

void Sync(HWND window, Fl_Widget *widget)
{
    if (window->enabled)
        widget->activate();
    else
        widget->deactivate();
    std::string text = Utf8(window->text);
    switch (window->kind) {
    case WindowKind::Edit:
        // Setting an unchanged value would move the cursor the user is typing at.
        if (text != static_cast<Fl_Input *>(widget)->value())
            static_cast<Fl_Input *>(widget)->value(text.c_str());
        break;
    case WindowKind::CheckBox:
        static_cast<Fl_Check_Button *>(widget)->value(window->checked);
        [[fallthrough]];
    case WindowKind::PushButton:
    case WindowKind::Static:
    case WindowKind::Dialog:
        widget->copy_label(text.c_str());
        break;
    case WindowKind::ScrollBar:
        break;
    }
    widget->redraw();
}

Fl_Widget *MakeWidget(HWND control)
{
    const RECT &r = control->rect;
    int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    Fl_Widget *widget = nullptr;
    switch (control->kind) {
    case WindowKind::PushButton:
        widget = new DialogButton<Fl_Button>(x, y, w, h);
        widget->callback(ButtonPressed);
        break;
    case WindowKind::CheckBox:
        widget = new DialogButton<Fl_Check_Button>(x, y, w, h);
        widget->callback(ButtonPressed);
        break;
    case WindowKind::Static: {
        widget = new Label(x, y, w, h);
        DWORD align = control->style & 0x3;
        widget->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP |
                      (align == 1 ? FL_ALIGN_CENTER : align == 2 ? FL_ALIGN_RIGHT : FL_ALIGN_LEFT));
        break;
    }
    case WindowKind::Edit: {
        auto *input = new Focusable<Fl_Input>(x, y, w, h);
        input->when(FL_WHEN_CHANGED);
        input->callback(TextTyped);
        widget = input;
        break;
    }
    case WindowKind::ScrollBar:
        widget = new ScrollBar(control, x, y, w, h);
        break;
    case WindowKind::Dialog:
        break;
    }
    widget->labelfont(FL_HELVETICA);
    widget->labelsize(fontSize);
    if (auto *input = dynamic_cast<Fl_Input *>(widget)) {
        input->textfont(FL_HELVETICA);
        input->textsize(fontSize);
    }
    widget->user_data(control);
    if (!control->visible)
        widget->hide();
    return widget;
}

// Posted messages are handled before input, as Windows' queue does; the
// dialog manager sees every key before the focused control.
int Dispatch(int event, Fl_Window *window)
{
    DispatchPosted();
    if (event == FL_KEYDOWN || event == FL_KEYUP || event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG)
        SetKeyDown(VK_CONTROL, (Fl::event_state() & FL_CTRL) != 0);

    HWND dialog = window != nullptr ? static_cast<HWND>(window->user_data()) : nullptr;
    if (event == FL_KEYDOWN && dialog != nullptr && IsLiveWindow(dialog) && dialog->kind == WindowKind::Dialog) {
        bool shift = Fl::event_state(FL_SHIFT), alt = Fl::event_state(FL_ALT);
        int key = Fl::event_key();
        bool used = false;
        if (key == FL_Tab)
            used = HandleDialogKey(dialog, DialogKey::Tab, shift, alt, 0);
        else if (key == FL_Escape)
            used = HandleDialogKey(dialog, DialogKey::Escape, shift, alt, 0);
        else if (key == FL_Enter || key == FL_KP_Enter)
            used = HandleDialogKey(dialog, DialogKey::Enter, shift, alt, 0);
        else if (key == FL_F + 4)
            used = HandleDialogKey(dialog, DialogKey::F4, shift, alt, 0);
        else if (key < 0x80 && std::isalnum(key) && !Fl::event_state(FL_CTRL))
            used = HandleDialogKey(dialog, DialogKey::Character, shift, alt, (char32_t)key);
        if (used)
            return 1;
    }
    return Fl::handle_(event, window);
}

void SetFonts()
{
    // Every stock face becomes IPAGothic in its four styles, so that FLTK's
    // own widgets (the file chooser too) can show Japanese.
    static const char *const styles[4] = {" ", "B", "I", "P"};
    static char names[16][32];
    for (int face = 0; face < 16; face++) {
        std::snprintf(names[face], sizeof names[face], "%s%s", styles[face % 4], fontFace);
        Fl::set_font((Fl_Font)face, names[face]);
    }
}

// A close box and a move handle, no minimise or maximise box, no resizing.
void SetDialogDecorations(Fl_Window *window)
{
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints = {3, 0x04 | 0x20, 0x02 | 0x08 | 0x10, 0, 0}; // move, close; border, title, menu
    Atom atom = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(fl_display, fl_xid(window), atom, atom, 32, PropModeReplace, (unsigned char *)&hints, 5);
}

} // namespace

bool FltkView::Open()
{
    // FLTK ends the process when it cannot open the display; asking X first
    // lets the caller say why.
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    fl_open_display(display);
    Fl::lock(); // enables Fl::awake from other threads
    XkbSetDetectableAutoRepeat(fl_display, True, nullptr);
    SetFonts();
    Fl::event_dispatch(Dispatch);
    Fl::visible_focus(1);
    Fl_File_Chooser::sort = fl_casenumericsort;
    return true;
}

void FltkView::Build(HWND dialog)
{
    const RECT &r = dialog->rect;
    auto *window = new Fl_Double_Window(r.left, r.top, r.right - r.left, r.bottom - r.top);
    window->user_data(dialog);
    window->callback(CloseBox);
    window->size_range(window->w(), window->h(), window->w(), window->h());
    window->copy_label(Utf8(dialog->text).c_str());
    for (auto &control : dialog->children) {
        Fl_Widget *widget = MakeWidget(control.get());
        control->viewData = widget;
        Sync(control.get(), widget);
    }
    window->end();
    dialog->viewData = window;
}

void FltkView::Show(HWND dialog)
{
    auto *window = static_cast<Fl_Window *>(dialog->viewData);
    window->show();
    SetDialogDecorations(window);
    if (dialog->focus != nullptr)
        Changed(dialog->focus, Change::Focus);
}

void FltkView::Hide(HWND dialog)
{
    if (auto *window = static_cast<Fl_Window *>(dialog->viewData))
        window->hide();
}

void FltkView::Destroy(HWND dialog)
{
    delete static_cast<Fl_Window *>(dialog->viewData);
    dialog->viewData = nullptr;
    for (auto &control : dialog->children)
        control->viewData = nullptr;
}

void FltkView::Changed(HWND window, Change change)
{
    Fl_Widget *widget = WidgetOf(window);
    if (widget == nullptr)
        return;
    switch (change) {
    case Change::Focus:
        if (Fl::focus() != widget && widget->visible_focus())
            widget->take_focus();
        break;
    case Change::SelectAll:
        if (auto *input = dynamic_cast<Fl_Input *>(widget))
            input->position(input->size(), 0);
        break;
    case Change::Redraw:
        widget->redraw();
        break;
    case Change::Enabled:
    case Change::Text:
    case Change::Checked:
    case Change::Scroll:
        Sync(window, widget);
        break;
    }
}

void FltkView::Wait()
{
    Fl::wait();
}

void FltkView::Wake()
{
    Fl::awake();
}

int FltkView::MessageBox(const std::string &text, const std::string &caption)
{
    fl_font(FL_HELVETICA, fontSize + 1);
    int textWidth = 0, textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
    int w = std::max(textWidth + 40, 200), h = textHeight + 70;

    // A box with no owner opens in the middle of the screen, as Windows' does.
    Fl_Window box((Fl::w() - w) / 2, (Fl::h() - h) / 2, w, h);
    box.copy_label(caption.c_str());
    Fl_Box message(20, 15, w - 40, textHeight);
    message.label(text.c_str());
    message.labelfont(FL_HELVETICA);
    message.labelsize(fontSize + 1);
    message.align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP);
    Fl_Return_Button ok(w / 2 - 40, h - 40, 80, 25, "OK");
    ok.labelfont(FL_HELVETICA);
    ok.callback([](Fl_Widget *button, void *) { button->window()->hide(); });
    box.end();
    box.set_non_modal();
    box.show();
    // Esc closes the box through its window callback; Enter through OK.
    RunMessageLoop([&box] { return !box.shown(); });
    return IDOK;
}

std::optional<ChosenFile> FltkView::ChooseFile(HWND owner, const FileRequest &request)
{
    (void)owner;
    // FLTK's filter syntax: "Name (pattern)" entries separated by tabs, with
    // {a,b} for several patterns; "*.*" means every file here.
    std::string filters;
    for (const FileFilter &filter : request.filters) {
        std::string name = filter.display.substr(0, filter.display.find('('));
        std::string patterns;
        bool everything = false;
        for (const std::string &p : filter.patterns) {
            everything |= p == "*.*" || p == "*";
            patterns += (patterns.empty() ? "" : ",") + p;
        }
        if (!filters.empty())
            filters += '\t';
        filters += name + " (" + (everything ? std::string("*") : "{" + patterns + "}") + ")";
    }
    Fl_File_Chooser chooser(".", filters.c_str(), Fl_File_Chooser::SINGLE, request.title.c_str());
    chooser.filter_value(request.filter);
    chooser.show();
    RunMessageLoop([&chooser] { return !chooser.shown(); });
    if (chooser.value() == nullptr)
        return std::nullopt;
    return ChosenFile{chooser.value(), chooser.filter_value()};
}
