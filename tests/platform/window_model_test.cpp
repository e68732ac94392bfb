// The window model and the dialog manager without a display: the panel's
// template with a procedure that records what reaches it.
#include <gtest/gtest.h>

#include <thread>

#include "panel_fixture.h"
#include "res/resource.h"
#include "user/message_loop.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received> received;
INT_PTR initResult = FALSE;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({message, wParam, lParam});
    if (message == WM_INITDIALOG) {
        EnableWindow(GetDlgItem(dialog, IDC_STOP), FALSE);
        return initResult;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, wParam);
        return TRUE;
    }
    return FALSE;
}

class WindowModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetView(&view);
        received.clear();
        initResult = TRUE;
        dialog = CreateDialogFromTemplate(ProgramModule(), "SOLVANE", RecordingProc, 0);
        ASSERT_NE(dialog, nullptr);
        received.clear();
    }
    void TearDown() override
    {
        DestroyDialog(dialog);
        DispatchPosted();
    }
    int FocusId() const { return dialog->focus != nullptr ? dialog->focus->id : 0; }
    std::vector<WORD> Commands() const
    {
        std::vector<WORD> ids;
        for (const Received &r : received) {
            if (r.message == WM_COMMAND)
                ids.push_back(LOWORD(r.wParam));
        }
        return ids;
    }

    TestView view;
    HWND dialog = nullptr;
};

TEST_F(WindowModelTest, ControlsHaveTheirTemplatePixels)
{
    // Dialog units of 8 x 16 pixel base units: x * 2, y * 2.
    EXPECT_EQ(dialog->rect.left, 42);
    EXPECT_EQ(dialog->rect.top, 32);
    EXPECT_EQ(dialog->rect.right - dialog->rect.left, 482);
    EXPECT_EQ(dialog->rect.bottom - dialog->rect.top, 82);
    HWND spinner = GetDlgItem(dialog, IDC_RATESPIN3);
    EXPECT_EQ(spinner->rect.left, 462);
    EXPECT_EQ(spinner->rect.top, 62);
    EXPECT_EQ(spinner->rect.right, 482);
    EXPECT_EQ(spinner->rect.bottom, 82);
    EXPECT_EQ(dialog->text, "SOLVANE");
    EXPECT_EQ(GetWindowLongA(spinner, GWL_ID), IDC_RATESPIN3);
}

TEST_F(WindowModelTest, TabVisitsTheTabStopsInOrderAndWraps)
{
    EXPECT_EQ(FocusId(), IDC_PLAY) << "WM_INITDIALOG returned TRUE: the first tab stop";
    const int order[] = {IDC_LOOP, IDC_FILE1, IDC_BROWSE1, IDC_FILE2, IDC_BROWSE2, IDC_FILE3, IDC_BROWSE3,
                         IDC_DELAY2, IDC_DELAY3, IDC_VOLUME1, IDC_VOLUME2, IDC_VOLUME3, IDC_BALANCE1,
                         IDC_BALANCE2, IDC_BALANCE3, IDC_RATE1, IDC_RATE2, IDC_RATE3, IDC_PLAY};
    for (int id : order) {
        HandleDialogKey(dialog, DialogKey::Tab, false, false, 0);
        EXPECT_EQ(FocusId(), id) << "Stop is disabled and the spinners are no tab stops";
    }
    HandleDialogKey(dialog, DialogKey::Tab, true, false, 0);
    EXPECT_EQ(FocusId(), IDC_RATE3) << "Shift+Tab wraps back";

    EnableWindow(GetDlgItem(dialog, IDC_STOP), TRUE);
    SetFocus(GetDlgItem(dialog, IDC_PLAY));
    HandleDialogKey(dialog, DialogKey::Tab, false, false, 0);
    EXPECT_EQ(FocusId(), IDC_STOP) << "an enabled Stop is a tab stop";
}

TEST_F(WindowModelTest, EnteringAnEditByKeyboardSelectsItsText)
{
    SetFocus(GetDlgItem(dialog, IDC_LOOP));
    view.changes.clear();
    HandleDialogKey(dialog, DialogKey::Tab, false, false, 0);
    EXPECT_EQ(view.Count(GetDlgItem(dialog, IDC_FILE1), Change::SelectAll), 1);
}

TEST_F(WindowModelTest, LabelMnemonicsMoveTheFocusToTheNextTabStop)
{
    const std::pair<char, int> rows[] = {{'1', IDC_FILE1},   {'2', IDC_FILE2},   {'3', IDC_FILE3},
                                         {'d', IDC_DELAY2},  {'V', IDC_VOLUME1}, {'b', IDC_BALANCE1},
                                         {'R', IDC_RATE1}};
    for (const auto &[key, id] : rows) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(HandleDialogKey(dialog, DialogKey::Character, false, true, key));
        EXPECT_EQ(FocusId(), id);
    }
    EXPECT_TRUE(Commands().empty());
}

TEST_F(WindowModelTest, ButtonMnemonicsPressTheirButtonWhileItIsEnabled)
{
    SetFocus(GetDlgItem(dialog, IDC_FILE1));
    HandleDialogKey(dialog, DialogKey::Character, false, true, 'p');
    HandleDialogKey(dialog, DialogKey::Character, false, true, 's');
    EXPECT_EQ(Commands(), std::vector<WORD>{IDC_PLAY}) << "Stop is disabled";
    EXPECT_EQ(FocusId(), IDC_FILE1);

    HandleDialogKey(dialog, DialogKey::Character, false, true, 'L');
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_LOOP), (UINT)BST_CHECKED);
    HandleDialogKey(dialog, DialogKey::Character, false, true, 'l');
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_LOOP), 0u);

    received.clear();
    SetFocus(GetDlgItem(dialog, IDC_FILE1));
    EXPECT_FALSE(HandleDialogKey(dialog, DialogKey::Character, false, false, 'p')) << "an edit takes the letter";
    SetFocus(GetDlgItem(dialog, IDC_VOLUME1));
    EXPECT_TRUE(HandleDialogKey(dialog, DialogKey::Character, false, false, 'p')) << "a bar does not";
    EXPECT_EQ(Commands(), std::vector<WORD>{IDC_PLAY});
}

TEST_F(WindowModelTest, EscEnterAndAltF4)
{
    SetFocus(GetDlgItem(dialog, IDC_FILE2));
    HandleDialogKey(dialog, DialogKey::Enter, false, false, 0);
    EXPECT_EQ(Commands(), std::vector<WORD>{IDOK});
    received.clear();
    SetFocus(GetDlgItem(dialog, IDC_BROWSE2));
    HandleDialogKey(dialog, DialogKey::Enter, false, false, 0);
    EXPECT_EQ(Commands(), std::vector<WORD>{IDC_BROWSE2}) << "Enter presses a focused push button";

    received.clear();
    HandleDialogKey(dialog, DialogKey::F4, false, true, 0);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, (UINT)WM_CLOSE);
    DispatchPosted();
    EXPECT_EQ(Commands(), std::vector<WORD>{IDCANCEL}) << "WM_CLOSE left to the default handling";
    EXPECT_TRUE(dialog->ended);
}

TEST_F(WindowModelTest, DisabledControlsTakeNoInput)
{
    HWND stop = GetDlgItem(dialog, IDC_STOP);
    ClickControl(stop);
    EXPECT_EQ(SetFocus(stop), nullptr);
    EXPECT_NE(FocusId(), IDC_STOP);
    EXPECT_TRUE(Commands().empty());

    HWND play = GetDlgItem(dialog, IDC_PLAY);
    SetFocus(play);
    EXPECT_EQ(EnableWindow(play, FALSE), FALSE) << "it was enabled";
    EXPECT_EQ(FocusId(), IDC_LOOP) << "the focus moves on from a control that is disabled";
    EXPECT_NE(EnableWindow(play, FALSE), FALSE) << "it was disabled";

    EnableWindow(dialog, FALSE);
    ClickControl(GetDlgItem(dialog, IDC_LOOP));
    ScrollRequest(GetDlgItem(dialog, IDC_VOLUME1), SB_LINELEFT, 0);
    EXPECT_FALSE(HandleDialogKey(dialog, DialogKey::Escape, false, false, 0));
    EXPECT_TRUE(received.empty()) << "a disabled dialog takes no input";
}

TEST_F(WindowModelTest, ScrollRequestsCarryCodePositionAndBar)
{
    HWND volume = GetDlgItem(dialog, IDC_VOLUME2);
    HWND spinner = GetDlgItem(dialog, IDC_RATESPIN1);
    ScrollRequest(volume, SB_THUMBTRACK, -8);
    ScrollRequest(spinner, SB_LINEUP, 0);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, (UINT)WM_HSCROLL);
    EXPECT_EQ(received[0].wParam, MAKEWPARAM(SB_THUMBTRACK, 0xFFF8));
    EXPECT_EQ(received[0].lParam, (LPARAM)volume);
    EXPECT_EQ(received[1].message, (UINT)WM_VSCROLL);
    EXPECT_EQ(received[1].lParam, (LPARAM)spinner);
}

TEST_F(WindowModelTest, ScrollRangeAndPositionStayInside)
{
    HWND bar = GetDlgItem(dialog, IDC_BALANCE1);
    EXPECT_EQ(bar->scrollMin, 0);
    EXPECT_EQ(bar->scrollMax, 0) << "a scroll bar control's range starts empty";
    SetScrollRange(bar, SB_CTL, -10, 10, FALSE);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 7, TRUE), 0);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 99, TRUE), 7);
    EXPECT_EQ(bar->scrollPos, 10);
    SetScrollRange(bar, SB_CTL, -8, 0, FALSE);
    EXPECT_EQ(bar->scrollPos, 0);
    EXPECT_FALSE(SetScrollRange(GetDlgItem(dialog, IDC_FILE1), SB_CTL, 0, 5, FALSE));
}

TEST_F(WindowModelTest, WindowTextFollowsTheBufferCount)
{
    HWND field = GetDlgItem(dialog, IDC_FILE1);
    SetWindowTextA(field, "abcdef");
    char text[8];
    for (int count : {0, 1, 4, 7, 8}) {
        SCOPED_TRACE(count);
        std::memset(text, '#', sizeof text);
        int copied = GetWindowTextA(field, text, count);
        int expected = count == 0 ? 0 : std::min(6, count - 1);
        EXPECT_EQ(copied, expected);
        if (count > 0) {
            EXPECT_EQ(std::string(text, expected + 1), std::string("abcdef", expected) + '\0');
        }
        for (int i = std::max(count, expected + 1); i < (int)sizeof text; i++)
            EXPECT_EQ(text[i], '#') << "nothing written past the count";
    }
    EXPECT_TRUE(SetDlgItemTextA(dialog, IDC_RATE2, "42"));
    EXPECT_EQ(GetDlgItem(dialog, IDC_RATE2)->text, "42");
    EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);
    EXPECT_EQ(GetWindowTextA(nullptr, text, sizeof text), 0);
}

TEST_F(WindowModelTest, PostedMessagesArriveInOrderFromAnyThread)
{
    std::thread poster([this] {
        for (int i = 0; i < 100; i++)
            PostMessageA(dialog, WM_APP + 1, i, 0);
    });
    poster.join();
    PostMessageA(dialog, WM_APP + 2, 0, 0);
    DispatchPosted();
    ASSERT_EQ(received.size(), 101u);
    for (int i = 0; i < 100; i++)
        EXPECT_EQ(received[i].wParam, (WPARAM)i);
    EXPECT_EQ(received[100].message, (UINT)WM_APP + 2);
}

TEST_F(WindowModelTest, MessagesForAGoneWindowAreDropped)
{
    HWND gone = dialog;
    PostMessageA(gone, WM_APP + 1, 0, 0);
    DestroyDialog(gone);
    dialog = nullptr;
    DispatchPosted();
    EXPECT_TRUE(received.empty());
}

TEST(DialogBox, MissingTemplateGivesMinusOne)
{
    TestView view;
    SetView(&view);
    EXPECT_EQ(DialogBoxParamA(ProgramModule(), "NOSUCH", nullptr, RecordingProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, "SOLVANE", nullptr, RecordingProc, 0), -1);
}

TEST(DialogBox, RunsItsLoopUntilEndDialog)
{
    TestView view;
    SetView(&view);
    view.inputs.push_back([&view] { HandleDialogKey(view.lastShown, DialogKey::Escape, false, false, 0); });
    INT_PTR result = DialogBoxParamA(ProgramModule(), "solvane", nullptr, RecordingProc, 0);
    EXPECT_EQ(LOWORD(result), IDCANCEL);
    EXPECT_EQ(view.shown, 1);
}

} // namespace
