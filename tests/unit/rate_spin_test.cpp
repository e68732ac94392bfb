// The rate spinners: the direction latch, the Ctrl sample at the release,
// and the field and rate a click leaves.
#include "panel/rate_spin.h"
#include "panel_fixture.h"
#include "res/resource.h"

namespace {

class RateSpinTest : public OpenPanelTest {
protected:
    void Spin(int spinner, UINT code) { Send(WM_VSCROLL, MAKEWPARAM(code, 0), (LPARAM)Item(spinner)); }
    // A click on an arrow: its line code (repeated while held), then the release.
    void Click(int spinner, UINT line, bool ctrl = false, int repeats = 1)
    {
        for (int i = 0; i < repeats; i++)
            Spin(spinner, line);
        SetKeyDown(VK_CONTROL, ctrl);
        Spin(spinner, SB_ENDSCROLL);
        SetKeyDown(VK_CONTROL, false);
    }
};

TEST_F(RateSpinTest, TheLatchFollowsItsTable)
{
    struct Row {
        int from;
        UINT code;
        int to;
    } rows[] = {
        {0, SB_LINEUP, +1},    {0, SB_LINEDOWN, -1},  {0, SB_ENDSCROLL, 0},  {0, SB_PAGEUP, 0},
        {+1, SB_LINEUP, +1},   {+1, SB_LINEDOWN, -1}, {+1, SB_ENDSCROLL, 0}, {+1, SB_THUMBTRACK, 0},
        {-1, SB_LINEUP, +1},   {-1, SB_LINEDOWN, -1}, {-1, SB_ENDSCROLL, 0}, {-1, 9, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.from << " code " << row.code);
        spinDirection = row.from;
        Spin(IDC_RATESPIN1, row.code);
        EXPECT_EQ(spinDirection, row.to);
    }
}

TEST_F(RateSpinTest, OneClickIsOneStepAtTheRelease)
{
    Spin(IDC_RATESPIN1, SB_LINEUP);
    Spin(IDC_RATESPIN1, SB_LINEUP);
    Spin(IDC_RATESPIN1, SB_LINEUP);
    EXPECT_EQ(Text(IDC_RATE1), "100") << "held: nothing happens before the release";
    EXPECT_TRUE(TakeLog().empty());
    Spin(IDC_RATESPIN1, SB_ENDSCROLL);
    EXPECT_EQ(Text(IDC_RATE1), "105.9463094359295354");
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"g0.SetRate(1.0594630943592953)"});
}

TEST_F(RateSpinTest, ClicksRewriteTheFieldAndHandTheRateOn)
{
    struct Row {
        const char *start;
        UINT line;
        bool ctrl;
        const char *text;
        const char *rate;
    } rows[] = {
        {"100", SB_LINEUP, false, "105.9463094359295354", "1.0594630943592953"},
        {"100", SB_LINEDOWN, false, "94.387431268169351", "0.94387431268169353"},
        {"100", SB_LINEUP, true, "200", "2"},
        {"100", SB_LINEDOWN, true, "50", "0.5"},
        {"abc", SB_LINEUP, false, "105.9463094359295354", "1.0594630943592953"},
        {"0.0", SB_LINEUP, false, "105.9463094359295354", "1.0594630943592953"},
        {"50abc", SB_LINEUP, true, "100", "1"},
        {"-50", SB_LINEUP, false, "-52.9731547179647677", "-0.52973154717964765"},
        {"100.0", SB_PAGEUP, false, "100", "1"}, // a release after any other code: no change of value
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.start);
        SetText(IDC_RATE2, row.start);
        Click(IDC_RATESPIN2, row.line, row.ctrl);
        EXPECT_EQ(Text(IDC_RATE2), row.text);
        EXPECT_EQ(TakeLog(), std::vector<std::string>{std::string("g1.SetRate(") + row.rate + ")"});
    }
}

TEST_F(RateSpinTest, CtrlCountsWhenTheArrowIsReleased)
{
    SetKeyDown(VK_CONTROL, true);
    Spin(IDC_RATESPIN1, SB_LINEUP);
    SetKeyDown(VK_CONTROL, false);
    Spin(IDC_RATESPIN1, SB_ENDSCROLL);
    EXPECT_EQ(Text(IDC_RATE1), "105.9463094359295354") << "Ctrl let go before the release: a semitone";

    SetText(IDC_RATE1, "100");
    Spin(IDC_RATESPIN1, SB_LINEUP);
    SetKeyDown(VK_CONTROL, true);
    Spin(IDC_RATESPIN1, SB_ENDSCROLL);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(Text(IDC_RATE1), "200") << "Ctrl pressed after the arrow: an octave";
}

TEST_F(RateSpinTest, TwelveSemitonesEachWayStepFromTheTextLeftBefore)
{
    for (int i = 0; i < 12; i++)
        Click(IDC_RATESPIN3, SB_LINEUP);
    EXPECT_EQ(Text(IDC_RATE3), "200.0000000000001421");
    SetText(IDC_RATE3, "100");
    for (int i = 0; i < 12; i++)
        Click(IDC_RATESPIN3, SB_LINEDOWN);
    EXPECT_EQ(Text(IDC_RATE3), "49.9999999999999787");
}

TEST_F(RateSpinTest, EachSpinnerServesOnlyItsTrack)
{
    Click(IDC_RATESPIN3, SB_LINEUP, true);
    EXPECT_EQ(Text(IDC_RATE1), "100");
    EXPECT_EQ(Text(IDC_RATE2), "100");
    EXPECT_EQ(Text(IDC_RATE3), "200");
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"g2.SetRate(2)"});
}

TEST_F(RateSpinTest, OtherWindowsLeaveEverythingAsItIs)
{
    spinDirection = +1;
    for (HWND window : {(HWND) nullptr, Item(IDC_VOLUME1), Item(IDC_RATE1)}) {
        Send(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), (LPARAM)window);
        EXPECT_EQ(spinDirection, +1);
    }
    EXPECT_EQ(Text(IDC_RATE1), "100");
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(RateSpinTest, RatesThatCannotBeWrittenLeaveTheFieldAndTheTrack)
{
    for (const char *text : {"1e300", "-1e300", "+INF", "+NAN", "1e308"}) {
        SCOPED_TRACE(text);
        SetText(IDC_RATE1, text);
        Click(IDC_RATESPIN1, SB_LINEUP, true);
        EXPECT_EQ(Text(IDC_RATE1), text);
        EXPECT_TRUE(TakeLog().empty());
        Click(IDC_RATESPIN1, SB_LINEDOWN);
        EXPECT_EQ(spinDirection, 0) << "the panel stays usable";
    }
    SetText(IDC_RATE1, "1e200");
    Click(IDC_RATESPIN1, SB_LINEUP, true);
    EXPECT_EQ(Text(IDC_RATE1).size(), 201u) << "a rate of 201 digits that fits is written, in short form";
}

TEST_F(RateSpinTest, FieldsAreRewrittenWithoutASeekingInterface)
{
    ReopenPanel([] { graphScript.failQuery["IMediaControl"] = 2; });
    Click(IDC_RATESPIN1, SB_LINEDOWN, true);
    EXPECT_EQ(Text(IDC_RATE1), "50");
    EXPECT_TRUE(TakeLog().empty());
}

} // namespace
