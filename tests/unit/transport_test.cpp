// Play and Stop.
#include "panel/levels.h"
#include "panel_fixture.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"

namespace {

std::vector<std::string> Levels(int graph, const char *rate = "1")
{
    std::string g = "g" + std::to_string(graph) + ".";
    return {g + "put_Volume(0)", g + "put_Balance(0)", g + "SetRate(" + rate + ")"};
}

std::vector<std::string> Started(int graph, const std::string &file)
{
    std::string g = "g" + std::to_string(graph) + ".";
    std::vector<std::string> calls = {g + "RenderFile(" + file + ")", g + "Run"};
    for (const std::string &level : Levels(graph))
        calls.push_back(level);
    return calls;
}

class TransportTest : public OpenPanelTest {
protected:
};

TEST_F(TransportTest, PlayStartsTheTracksInOrderWithTheirDelays)
{
    SetText(IDC_FILE1, "a.wav");
    SetText(IDC_FILE2, "b.wav");
    SetText(IDC_FILE3, "c.wav");
    SetText(IDC_DELAY2, "1.5");
    SetText(IDC_DELAY3, "2");
    Press(IDC_PLAY);
    EXPECT_EQ(TakeLog(), Concat({Started(0, "a.wav"), {"Sleep(1500)"}, Started(1, "b.wav"), {"Sleep(2000)"},
                                 Started(2, "c.wav")}));
    EXPECT_TRUE(Playing());
}

TEST_F(TransportTest, EmptyFieldsStartNothingButGetLevelsAndDelays)
{
    SetText(IDC_DELAY2, "2");
    SetText(IDC_DELAY3, "3");
    Press(IDC_PLAY);
    EXPECT_EQ(TakeLog(), Concat({Levels(0), {"Sleep(2000)"}, Levels(1), {"Sleep(3000)"}, Levels(2)}));
    EXPECT_TRUE(Idle()) << "no track started: the buttons stay as they were";

    SetText(IDC_FILE3, "c.wav");
    Press(IDC_PLAY);
    EXPECT_EQ(TakeLog(), Concat({Levels(0), {"Sleep(2000)"}, Levels(1), {"Sleep(3000)"}, Started(2, "c.wav")}));
    EXPECT_TRUE(Playing());
}

TEST_F(TransportTest, RateFieldsBecomeFactors)
{
    const std::pair<const char *, const char *> rows[] = {
        {"", "1"},         {"0", "1"},          {"0.0", "1"},  {"-0", "1"},        {"abc", "1"},
        {"50abc", "0.5"},  {"1e2", "1"},        {"-50", "-0.5"}, {"190", "1.8999999999999999"}, {"200", "2"},
        {"  50", "0.5"},   {"0x10", "1"},
    };
    for (const auto &[text, factor] : rows) {
        SCOPED_TRACE(text);
        SetText(IDC_RATE2, text);
        Press(IDC_PLAY);
        std::vector<std::string> log = TakeLog();
        ASSERT_EQ(log.size(), 9u);
        EXPECT_EQ(log[5], std::string("g1.SetRate(") + factor + ")");
    }
}

TEST_F(TransportTest, ARateOf190IsTheDoubleNearest1Point9)
{
    SetText(IDC_RATE1, "190");
    Press(IDC_PLAY);
    // %.17g of the double nearest 1.9; a product with 0.01 held as a double
    // would give 1.9000000000000001.
    EXPECT_EQ(TakeLog()[2], "g0.SetRate(1.8999999999999999)");
}

TEST_F(TransportTest, DelaysBecomeWholeMilliseconds)
{
    const std::pair<const char *, const char *> rows[] = {
        {"1.5", "Sleep(1500)"}, {"0.0004", "Sleep(0)"},        {"0.3", "Sleep(300)"},
        {"-3", nullptr},        {"0", nullptr},                {"", nullptr},
        {"+NAN", nullptr},      {"+INF", "Sleep(4294967294)"}, {"1e400", "Sleep(4294967294)"},
        {"4294967.295", "Sleep(4294967294)"},
    };
    for (const auto &[text, wait] : rows) {
        SCOPED_TRACE(text);
        SetText(IDC_DELAY3, text);
        Press(IDC_PLAY);
        std::vector<std::string> log = TakeLog();
        std::vector<std::string> expected = Concat({Levels(0), Levels(1), Levels(2)});
        if (wait != nullptr)
            expected.insert(expected.begin() + 6, wait);
        EXPECT_EQ(log, expected);
    }
}

TEST_F(TransportTest, StoredLevelsGoToEveryTrack)
{
    volumePos[2] = -8;
    balancePos[2] = 10;
    Press(IDC_PLAY);
    std::vector<std::string> log = TakeLog();
    EXPECT_EQ(log[6], "g2.put_Volume(-4800)");
    EXPECT_EQ(log[7], "g2.put_Balance(10000)");
}

TEST_F(TransportTest, AFailedTrackIsReportedAndTheNextStillStarts)
{
    graphScript.renderResult = [](int serial) { return serial == 0 ? VFW_E_NOT_FOUND : S_OK; };
    SetText(IDC_FILE1, "missing.wav");
    SetText(IDC_FILE2, "b.wav");
    Press(IDC_PLAY);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].caption, "open");
    EXPECT_EQ(TakeLog(), Concat({{"g0.RenderFile(missing.wav)"}, Levels(0), Started(1, "b.wav"), Levels(2)}));
    EXPECT_TRUE(Playing());
}

TEST_F(TransportTest, LongFileNamesAreCutTo259Characters)
{
    std::string name(300, 'x');
    SetText(IDC_FILE1, name);
    Press(IDC_PLAY);
    EXPECT_EQ(TakeLog()[0], "g0.RenderFile(" + name.substr(0, 259) + ")");
}

TEST_F(TransportTest, StopReplacesTheGraphsAndReturnsToIdle)
{
    SetText(IDC_FILE1, "a.wav");
    SetText(IDC_RATE1, "150");
    Press(IDC_PLAY);
    TakeLog();
    Press(IDC_STOP);
    std::vector<std::string> log = TakeLog();
    ASSERT_GE(log.size(), 3u + 15u + 3u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
              (std::vector<std::string>{"g0.Stop", "g1.Stop", "g2.Stop"}));
    EXPECT_EQ(log[3], "g0.Seeking.Release");
    EXPECT_EQ(log[18], "CoCreateInstance#3");
    EXPECT_TRUE(Idle());
    for (int i = 0; i < 3; i++)
        EXPECT_TRUE(graphDoubles[i]->released);
    EXPECT_EQ(graphDoubles[3]->notifyWindow, panel);
    EXPECT_EQ(graphDoubles[3]->notifyMessage, WM_APP + 1);
    EXPECT_EQ(Text(IDC_FILE1), "a.wav") << "fields survive Stop";
    EXPECT_EQ(Text(IDC_RATE1), "150");
}

TEST_F(TransportTest, TheFocusFollowsTheButtonThatTakesOver)
{
    SetText(IDC_FILE1, "a.wav");
    SetFocus(Item(IDC_PLAY));
    Press(IDC_PLAY);
    EXPECT_EQ(GetFocus(), Item(IDC_STOP)) << "Play was disabled under the focus";
    Press(IDC_STOP);
    EXPECT_EQ(GetFocus(), Item(IDC_PLAY));

    SetFocus(Item(IDC_FILE2));
    Press(IDC_PLAY);
    Press(IDC_STOP);
    EXPECT_EQ(GetFocus(), Item(IDC_FILE2)) << "a focus elsewhere stays where it is";
}

TEST_F(TransportTest, AnIncompleteSetStillPlaysAndStops)
{
    ReopenPanel([] { graphScript.failQuery["IMediaEventEx"] = 1; });
    SetText(IDC_FILE1, "a.wav");
    SetText(IDC_FILE2, "b.wav");
    Press(IDC_PLAY);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"g0.RenderFile(a.wav)", "g0.Run", "g1.RenderFile(b.wav)", "g1.Run"}))
        << "no call through a missing audio or seeking entry";
    Press(IDC_STOP);
    EXPECT_TRUE(Idle());
}

} // namespace
