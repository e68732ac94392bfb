// The panel drawn by the FLTK view on a real (virtual) X display, driven by
// synthetic X input: keyboard navigation, mnemonics, closing, and the scroll
// bars' messages. The graphs are doubles; the system's code is the program's.
#include <gtest/gtest.h>

#include "fltk/fltk_view.h"
#include "panel/levels.h"
#include "panel/panel_dialog.h"
#include "panel/rate_spin.h"
#include "panel_fixture.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"
#include "user/message_loop.h"

// Xlib's macros (None, Status, ...) would clash with the headers above.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

std::vector<std::pair<UINT, UINT>> scrolls; // (message, code) as they reached the panel

INT_PTR CALLBACK RecordingPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        scrolls.emplace_back(message, LOWORD(wParam));
    return PanelDialogProc(panel, message, wParam, lParam);
}

FltkView *fltkView;

class FltkPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(FltkView::Open()) << "needs a display";
        fltkView = new FltkView;
        SetView(fltkView);
        RegisterGraphDouble();
    }

    void SetUp() override
    {
        SetView(fltkView);
        ResetGraphDoubles();
        scrolls.clear();
        CoInitialize(nullptr);
        panel = CreateDialogFromTemplate(ProgramModule(), "SOLVANE", RecordingPanelProc, 0);
        ASSERT_NE(panel, nullptr);
        fltkView->Show(panel);
        window = static_cast<Fl_Window *>(panel->viewData);
        for (int i = 0; i < 100 && !window->visible(); i++)
            Fl::wait(0.01);
        Pump();
        XSetInputFocus(fl_display, fl_xid(window), RevertToParent, CurrentTime);
        Pump();
        TakeLog();
    }

    void TearDown() override
    {
        DestroyDialog(panel);
        ReleaseGraphs();
        CoUninitialize();
        spinDirection = 0;
        Pump();
    }

    // Lets the X server, FLTK and the message queue handle everything sent
    // so far, as the dialog's loop does.
    void Pump()
    {
        for (int i = 0; i < 4; i++) {
            XSync(fl_display, False);
            DispatchPosted();
            Fl::wait(0.02);
        }
        DispatchPosted();
    }

    void Key(KeySym key, std::initializer_list<KeySym> modifiers = {})
    {
        for (KeySym m : modifiers)
            XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, m), True, CurrentTime);
        XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, key), True, CurrentTime);
        XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, key), False, CurrentTime);
        for (KeySym m : modifiers)
            XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, m), False, CurrentTime);
        Pump();
    }

    // A click at a point of the panel's client area.
    void Click(int x, int y)
    {
        XTestFakeMotionEvent(fl_display, -1, window->x() + x, window->y() + y, CurrentTime);
        XTestFakeButtonEvent(fl_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(fl_display, 1, False, CurrentTime);
        Pump();
    }

    int FocusId() const { return panel->focus != nullptr ? panel->focus->id : 0; }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> log;
        log.swap(graphLog);
        return log;
    }

    HWND panel = nullptr;
    Fl_Window *window = nullptr;
};

TEST_F(FltkPanelTest, PanelIsAtItsPlaceWithItsTitle)
{
    int x, y;
    Window child;
    XTranslateCoordinates(fl_display, fl_xid(window), DefaultRootWindow(fl_display), 0, 0, &x, &y, &child);
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, fl_xid(window), &attributes);
    EXPECT_EQ(x, 42);
    EXPECT_EQ(y, 32);
    EXPECT_EQ(attributes.width, 482);
    EXPECT_EQ(attributes.height, 82);

    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *name = nullptr;
    XGetWindowProperty(fl_display, fl_xid(window), XInternAtom(fl_display, "_NET_WM_NAME", False), 0, 64, False,
                       AnyPropertyType, &type, &format, &count, &after, &name);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ((char *)name, "SOLVANE");
    XFree(name);
}

TEST_F(FltkPanelTest, TabVisitsTheTabStopsInOrder)
{
    EXPECT_EQ(FocusId(), IDC_FILE1);
    SetFocus(GetDlgItem(panel, IDC_PLAY));
    Pump();
    const int order[] = {IDC_LOOP, IDC_FILE1, IDC_BROWSE1, IDC_FILE2, IDC_BROWSE2, IDC_FILE3, IDC_BROWSE3,
                         IDC_DELAY2, IDC_DELAY3, IDC_VOLUME1, IDC_VOLUME2, IDC_VOLUME3, IDC_BALANCE1,
                         IDC_BALANCE2, IDC_BALANCE3, IDC_RATE1, IDC_RATE2, IDC_RATE3, IDC_PLAY};
    for (int id : order) {
        Key(XK_Tab);
        ASSERT_EQ(FocusId(), id) << "Stop is disabled; the spinners are no tab stops";
        EXPECT_EQ(Fl::focus(), static_cast<Fl_Widget *>(GetDlgItem(panel, id)->viewData));
    }
    Key(XK_Tab, {XK_Shift_L});
    EXPECT_EQ(FocusId(), IDC_RATE3);
    EnableWindow(GetDlgItem(panel, IDC_STOP), TRUE);
    SetFocus(GetDlgItem(panel, IDC_PLAY));
    Key(XK_Tab);
    EXPECT_EQ(FocusId(), IDC_STOP) << "twenty tab stops while Stop is enabled";
}

TEST_F(FltkPanelTest, AltMnemonics)
{
    const std::pair<KeySym, int> labels[] = {{XK_1, IDC_FILE1},  {XK_2, IDC_FILE2},   {XK_3, IDC_FILE3},
                                             {XK_d, IDC_DELAY2}, {XK_v, IDC_VOLUME1}, {XK_b, IDC_BALANCE1},
                                             {XK_r, IDC_RATE1}};
    for (const auto &[key, id] : labels) {
        Key(key, {XK_Alt_L});
        EXPECT_EQ(FocusId(), id) << XKeysymToString(key);
    }
    Key(XK_s, {XK_Alt_L});
    EXPECT_TRUE(TakeLog().empty()) << "Stop is disabled";
    Key(XK_l, {XK_Alt_L});
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_LOOP), (UINT)BST_CHECKED);
    Key(XK_p, {XK_Alt_L});
    std::vector<std::string> log = TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "g0.put_Volume(0)") << "Alt+P pressed Play once, from an edit field";
    EXPECT_EQ(std::count(log.begin(), log.end(), "g0.put_Volume(0)"), 1);
}

TEST_F(FltkPanelTest, TypingFillsTheFocusedFieldAndEnterKeepsThePanelOpen)
{
    Key(XK_a);
    Key(XK_b);
    Key(XK_Return);
    char text[MAX_PATH];
    GetWindowTextA(GetDlgItem(panel, IDC_FILE1), text, MAX_PATH);
    EXPECT_STREQ(text, "ab");
    EXPECT_FALSE(panel->ended);
    Key(XK_r, {XK_Alt_L});
    Key(XK_5);
    GetWindowTextA(GetDlgItem(panel, IDC_RATE1), text, MAX_PATH);
    EXPECT_STREQ(text, "5") << "moving in by keyboard selected the whole text";
}

TEST_F(FltkPanelTest, EscCloses)
{
    Key(XK_Escape);
    EXPECT_TRUE(panel->ended);
    EXPECT_EQ(LOWORD(panel->result), IDCANCEL);
}

TEST_F(FltkPanelTest, TheWindowManagersCloseCloses)
{
    XEvent close = {};
    close.xclient.type = ClientMessage;
    close.xclient.window = fl_xid(window);
    close.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = (long)XInternAtom(fl_display, "WM_DELETE_WINDOW", False);
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(fl_display, fl_xid(window), False, NoEventMask, &close);
    Pump();
    EXPECT_TRUE(panel->ended);
}

// Presses key in the newest window that is not the panel: a message box.
void PressInBox(KeySym key)
{
    for (Fl_Window *w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) {
        if (w->user_data() == nullptr && w->shown()) {
            XSetInputFocus(fl_display, fl_xid(w), RevertToParent, CurrentTime);
            XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, key), True, CurrentTime);
            XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, key), False, CurrentTime);
            XFlush(fl_display);
            return;
        }
    }
}

TEST_F(FltkPanelTest, AMessageBoxKeepsThePanelGoingAndClosesOnEnterOrEsc)
{
    for (KeySym key : {XK_Return, XK_Escape}) {
        PostMessageA(panel, WM_APP + 1, 0, 0);
        Fl::add_timeout(0.5, [](void *key) { PressInBox(*static_cast<KeySym *>(key)); }, &key);
        // "失敗。" in Shift-JIS, as the track start shows it.
        EXPECT_EQ(MessageBoxA(nullptr, "\x8e\xb8\x94\x73\x81\x42", "open", MB_OK), IDOK);
        EXPECT_EQ(TakeLog(), std::vector<std::string>{"g0.GetEvent(0)"}) << "the panel's message was handled inside";
        EXPECT_TRUE(IsWindowEnabled(panel)) << "a box with no owner leaves the panel enabled";
    }
}

// The middle of a control's part, in client pixels: dialog units times two.
int Px(int dialogUnits) { return dialogUnits * 2; }

TEST_F(FltkPanelTest, AnArrowClickIsOneLineAndOneEnd)
{
    Click(Px(151) + 4, Px(11) + 10); // the left arrow of track 1's volume bar
    EXPECT_EQ(scrolls, (std::vector<std::pair<UINT, UINT>>{{WM_HSCROLL, SB_LINELEFT}, {WM_HSCROLL, SB_ENDSCROLL}}));
    EXPECT_EQ(volumePos[0], -1);

    scrolls.clear();
    Click(Px(231) + 10, Px(21) + 4); // the upper arrow of track 2's spinner
    EXPECT_EQ(scrolls, (std::vector<std::pair<UINT, UINT>>{{WM_VSCROLL, SB_LINEUP}, {WM_VSCROLL, SB_ENDSCROLL}}));
    char text[MAX_PATH];
    GetWindowTextA(GetDlgItem(panel, IDC_RATE2), text, MAX_PATH);
    EXPECT_STREQ(text, "105.9463094359295354");

    scrolls.clear();
    Click(Px(181) + 41, Px(31) + 10); // the trough of track 3's balance bar, right of the thumb
    EXPECT_EQ(scrolls, (std::vector<std::pair<UINT, UINT>>{{WM_HSCROLL, SB_PAGERIGHT}, {WM_HSCROLL, SB_ENDSCROLL}}));
    EXPECT_EQ(balancePos[2], 3);
}

TEST_F(FltkPanelTest, DraggingAThumbTracksThenSetsItsPosition)
{
    // Track 1's volume thumb stands at the right end: position 0.
    int y = Px(11) + 10;
    XTestFakeMotionEvent(fl_display, -1, window->x() + Px(151) + 36, window->y() + y, CurrentTime);
    XTestFakeButtonEvent(fl_display, 1, True, CurrentTime);
    Pump();
    XTestFakeMotionEvent(fl_display, -1, window->x() + Px(151) + 16, window->y() + y, CurrentTime);
    Pump();
    XTestFakeButtonEvent(fl_display, 1, False, CurrentTime);
    Pump();
    ASSERT_GE(scrolls.size(), 3u);
    EXPECT_EQ(scrolls.front().second, (UINT)SB_THUMBTRACK);
    EXPECT_EQ(scrolls[scrolls.size() - 2].second, (UINT)SB_THUMBPOSITION);
    EXPECT_EQ(scrolls.back().second, (UINT)SB_ENDSCROLL);
    EXPECT_EQ(volumePos[0], -8) << "dragged to the left end";
}

} // namespace
