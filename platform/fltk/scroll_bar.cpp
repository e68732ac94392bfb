#include "fltk/scroll_bar.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "user/dialog_manager.h"
#include "user/window.h"
#include "win32/user.h"

namespace {

// Windows' auto-repeat: a first delay, then a steady rate.
const double firstRepeat = 0.4;
const double nextRepeat = 0.05;
const int arrowLength = 16;

} // namespace

ScrollBar::ScrollBar(HWND window, int x, int y, int w, int h) : Fl_Widget(x, y, w, h), window_(window)
{
    box(FL_DOWN_BOX);
    color(FL_LIGHT2);
    // Only a bar that is a tab stop takes the focus.
    if (!window->IsTabStop())
        clear_visible_focus();
}

ScrollBar::~ScrollBar()
{
    Fl::remove_timeout(RepeatTimeout, this);
}

bool ScrollBar::Horizontal() const
{
    return window_->IsHorizontalScrollBar();
}

int ScrollBar::Length() const
{
    return Horizontal() ? w() : h();
}

// Windows' scroll arrows are as long as its standard scroll bar is wide, or
// half the bar where that is shorter; the thumb is as long as an arrow.
int ScrollBar::ArrowSize() const
{
    return std::min(arrowLength, Length() / 2);
}

int ScrollBar::TroughLength() const
{
    return Length() - 2 * ArrowSize();
}

int ScrollBar::ThumbSize() const
{
    return TroughLength() >= ArrowSize() ? ArrowSize() : 0;
}

int ScrollBar::ThumbOffset() const
{
    int range = window_->scrollMax - window_->scrollMin;
    int room = TroughLength() - ThumbSize();
    if (range <= 0 || room <= 0)
        return 0;
    return (int)((long long)(window_->scrollPos - window_->scrollMin) * room / range);
}

int ScrollBar::PointerAlong() const
{
    return Horizontal() ? Fl::event_x() - x() : Fl::event_y() - y();
}

ScrollBar::Part ScrollBar::PartAt(int along) const
{
    if (along < 0 || along >= Length())
        return Part::Nowhere;
    if (along < ArrowSize())
        return Part::ArrowBack;
    if (along >= Length() - ArrowSize())
        return Part::ArrowForward;
    int thumb = ArrowSize() + ThumbOffset();
    if (ThumbSize() > 0 && along >= thumb && along < thumb + ThumbSize())
        return Part::Thumb;
    return along < thumb ? Part::PageBack : Part::PageForward;
}

int ScrollBar::PositionAt(int along) const
{
    int room = TroughLength() - ThumbSize();
    int range = window_->scrollMax - window_->scrollMin;
    if (room <= 0)
        return window_->scrollMin;
    int offset = std::clamp(along - ArrowSize() - grab_, 0, room);
    return window_->scrollMin + (int)(((long long)offset * range + room / 2) / room);
}

void ScrollBar::Request(UINT code, int position)
{
    ScrollRequest(window_, code, position);
}

void ScrollBar::RepeatTimeout(void *bar)
{
    static_cast<ScrollBar *>(bar)->Repeat();
}

// Arrows and the trough repeat their request while the button is held over
// the part that was pressed.
void ScrollBar::Repeat()
{
    if (pressed_ == Part::Nowhere || pressed_ == Part::Thumb)
        return;
    if (PartAt(PointerAlong()) == pressed_) {
        switch (pressed_) {
        case Part::ArrowBack:
            Request(SB_LINEUP);
            break;
        case Part::ArrowForward:
            Request(SB_LINEDOWN);
            break;
        case Part::PageBack:
            Request(SB_PAGEUP);
            break;
        case Part::PageForward:
            Request(SB_PAGEDOWN);
            break;
        default:
            break;
        }
    }
    Fl::repeat_timeout(nextRepeat, RepeatTimeout, this);
}

int ScrollBar::handle(int event)
{
    switch (event) {
    case FL_PUSH: {
        if (Fl::event_button() != FL_LEFT_MOUSE || !active_r())
            return 1;
        if (window_->IsTabStop())
            Fl::focus(this);
        pressed_ = PartAt(PointerAlong());
        if (pressed_ == Part::Thumb) {
            grab_ = PointerAlong() - ArrowSize() - ThumbOffset();
            dragPosition_ = window_->scrollPos;
        } else if (pressed_ != Part::Nowhere) {
            Repeat();
            Fl::remove_timeout(RepeatTimeout, this);
            Fl::add_timeout(firstRepeat, RepeatTimeout, this);
        }
        redraw();
        return 1;
    }
    case FL_DRAG:
        if (pressed_ == Part::Thumb) {
            int position = PositionAt(PointerAlong());
            if (position != dragPosition_) {
                dragPosition_ = position;
                Request(SB_THUMBTRACK, position);
            }
        }
        return 1;
    case FL_RELEASE:
        if (pressed_ == Part::Nowhere)
            return 1;
        Fl::remove_timeout(RepeatTimeout, this);
        if (pressed_ == Part::Thumb)
            Request(SB_THUMBPOSITION, dragPosition_);
        pressed_ = Part::Nowhere;
        Request(SB_ENDSCROLL);
        redraw();
        return 1;
    case FL_KEYBOARD:
    case FL_KEYUP: {
        UINT code;
        switch (Fl::event_key()) {
        case FL_Left:
        case FL_Up:
            code = SB_LINEUP;
            break;
        case FL_Right:
        case FL_Down:
            code = SB_LINEDOWN;
            break;
        case FL_Page_Up:
            code = SB_PAGEUP;
            break;
        case FL_Page_Down:
            code = SB_PAGEDOWN;
            break;
        case FL_Home:
            code = SB_TOP;
            break;
        case FL_End:
            code = SB_BOTTOM;
            break;
        default:
            return 0;
        }
        // A key sends its request on each press (and auto-repeat), and the
        // end of the scroll when it is let go.
        Request(event == FL_KEYBOARD ? code : SB_ENDSCROLL);
        return 1;
    }
    case FL_FOCUS:
        ControlFocused(window_);
        redraw();
        return 1;
    case FL_UNFOCUS:
        redraw();
        return 1;
    default:
        return Fl_Widget::handle(event);
    }
}

void ScrollBar::DrawArrow(int ax, int ay, int aw, int ah, bool back, bool pressed)
{
    fl_draw_box(pressed ? FL_DOWN_BOX : FL_UP_BOX, ax, ay, aw, ah, FL_BACKGROUND_COLOR);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : FL_INACTIVE_COLOR);
    int cx = ax + aw / 2, cy = ay + ah / 2, r = std::max(2, std::min(aw, ah) / 4);
    int tip = (back ? -1 : 1) * (r / 2 + 1); // from the centre toward the tip
    if (Horizontal())
        fl_polygon(cx + tip, cy, cx - tip, cy - r, cx - tip, cy + r);
    else
        fl_polygon(cx, cy + tip, cx - r, cy - tip, cx + r, cy - tip);
}

void ScrollBar::draw()
{
    fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), color());
    int arrow = ArrowSize();
    if (Horizontal()) {
        DrawArrow(x(), y(), arrow, h(), true, pressed_ == Part::ArrowBack);
        DrawArrow(x() + w() - arrow, y(), arrow, h(), false, pressed_ == Part::ArrowForward);
        if (ThumbSize() > 0)
            fl_draw_box(FL_UP_BOX, x() + arrow + ThumbOffset(), y(), ThumbSize(), h(), FL_BACKGROUND_COLOR);
    } else {
        DrawArrow(x(), y(), w(), arrow, true, pressed_ == Part::ArrowBack);
        DrawArrow(x(), y() + h() - arrow, w(), arrow, false, pressed_ == Part::ArrowForward);
        if (ThumbSize() > 0)
            fl_draw_box(FL_UP_BOX, x(), y() + arrow + ThumbOffset(), w(), ThumbSize(), FL_BACKGROUND_COLOR);
    }
    if (Fl::focus() == this) {
        fl_color(FL_FOREGROUND_COLOR);
        fl_line_style(FL_DOT);
        fl_rect(x() + 2, y() + 2, w() - 4, h() - 4);
        fl_line_style(0);
    }
}
