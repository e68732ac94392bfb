// A scroll bar with Windows behaviour, for the window model's scroll bar
// controls: it reports what the user asks for (line, page, thumb, end) and
// never moves its own thumb; the model's position is what it draws.
#ifndef SOLVANE_FLTK_SCROLL_BAR_H
#define SOLVANE_FLTK_SCROLL_BAR_H

#include <FL/Fl_Widget.H>

#include "win32/types.h"

class ScrollBar : public Fl_Widget {
public:
    ScrollBar(HWND window, int x, int y, int w, int h);
    ~ScrollBar() override;

    int handle(int event) override;

protected:
    void draw() override;

private:
    enum class Part { Nowhere, ArrowBack, PageBack, Thumb, PageForward, ArrowForward };

    bool Horizontal() const;
    int Length() const;      // along the bar, in pixels
    int ArrowSize() const;   // each arrow's length along the bar
    int ThumbOffset() const; // from the start of the trough
    int ThumbSize() const;
    int TroughLength() const;
    int PointerAlong() const; // the pointer's distance from the bar's start
    Part PartAt(int along) const;
    int PositionAt(int along) const;
    void Request(UINT code, int position = 0);
    void Repeat();
    static void RepeatTimeout(void *bar);
    void DrawArrow(int x, int y, int w, int h, bool back, bool pressed);

    HWND window_;
    Part pressed_ = Part::Nowhere;
    int grab_ = 0;         // pointer offset within the thumb while dragging
    int dragPosition_ = 0; // the last position reported while dragging
};

#endif
