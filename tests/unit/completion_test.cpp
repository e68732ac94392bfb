// The end of playback: track events, the reset and Loop.
#include "panel_fixture.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"

namespace {

class CompletionTest : public OpenPanelTest {
protected:
    void SetUp() override
    {
        OpenPanelTest::SetUp();
        graphScript.logStates = false;
    }
    void PlayTracks(std::initializer_list<int> tracks)
    {
        for (int track : tracks)
            SetText(IDC_FILE1 + track, "t" + std::to_string(track) + ".wav");
        Press(IDC_PLAY);
        TakeLog();
    }
    GraphDouble *Current(int track) { return graphDoubles[graphDoubles.size() - 3 + track]; }
    size_t Created() { return graphDoubles.size(); }
};

TEST_F(CompletionTest, TheEndOfOneTrackStopsOnlyThatTrack)
{
    PlayTracks({0, 1});
    graphScript.logStates = true;
    QueueGraphEvent(Current(0), EC_COMPLETE);
    PumpMessages();
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"g0.GetEvent(0)", "g0.FreeEventParams(1,11,22)", "g0.Stop",
                                                    "g0.GetState(1000)", "g1.GetState(1000)", "g2.GetState(1000)",
                                                    "g0.GetEvent(0)"}));
    EXPECT_EQ(Current(1)->state, State_Running);
    EXPECT_FALSE(Idle());
}

TEST_F(CompletionTest, TheEndOfTheLastTrackResetsThePanel)
{
    PlayTracks({0, 1});
    QueueGraphEvent(Current(0), EC_COMPLETE);
    QueueGraphEvent(Current(1), EC_COMPLETE);
    PumpMessages();
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Created(), 6u) << "the graphs were replaced once";
}

TEST_F(CompletionTest, EveryQueuedEventIsTakenAndFreedInOneCall)
{
    PlayTracks({2});
    GraphDouble *graph = Current(2);
    graph->events = {EC_ERRORABORT, 0x0E, EC_COMPLETE};
    Send(WM_APP + 3, 0);
    std::vector<std::string> log = TakeLog();
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6),
              (std::vector<std::string>{"g2.GetEvent(0)", "g2.FreeEventParams(3,11,22)", "g2.GetEvent(0)",
                                        "g2.FreeEventParams(14,11,22)", "g2.GetEvent(0)",
                                        "g2.FreeEventParams(1,11,22)"}))
        << "other codes, errors included, are freed and ignored";
    EXPECT_TRUE(Idle());
}

TEST_F(CompletionTest, OtherCodesNeitherStopNorReset)
{
    PlayTracks({0});
    QueueGraphEvent(Current(0), EC_ERRORABORT);
    PumpMessages();
    EXPECT_EQ(Current(0)->state, State_Running);
    EXPECT_FALSE(Idle());
}

TEST_F(CompletionTest, AnEventForAnEmptyQueueDoesNothing)
{
    PlayTracks({0});
    EXPECT_EQ(Send(WM_APP + 1, 0), TRUE);
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"g0.GetEvent(0)"});
}

TEST_F(CompletionTest, EventsPostedBeforeStopFindTheNewGraphs)
{
    PlayTracks({0});
    QueueGraphEvent(Current(0), EC_COMPLETE);
    Press(IDC_STOP);
    TakeLog();
    PumpMessages();
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"g3.GetEvent(0)"}) << "the old graph's event is gone with it";
    EXPECT_TRUE(Idle());
}

TEST_F(CompletionTest, LoopIsReadAtTheResetAndPlaysAgainWithTheFieldsAsTheyStand)
{
    PlayTracks({0, 1});
    CheckDlgButton(panel, IDC_LOOP, BST_CHECKED);
    SetText(IDC_FILE2, "");
    SetText(IDC_RATE1, "200");
    QueueGraphEvent(Current(1), EC_COMPLETE);
    QueueGraphEvent(Current(0), EC_COMPLETE);
    PumpMessages();
    EXPECT_EQ(Created(), 6u);
    EXPECT_EQ(Current(0)->state, State_Running) << "replayed";
    EXPECT_EQ(Current(1)->state, State_Stopped) << "its field was emptied";
    std::vector<std::string> log = TakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "g3.SetRate(2)"), log.end());
    EXPECT_FALSE(Idle());

    CheckDlgButton(panel, IDC_LOOP, 0);
    QueueGraphEvent(Current(0), EC_COMPLETE);
    PumpMessages();
    EXPECT_EQ(Created(), 9u);
    EXPECT_TRUE(Idle()) << "unticked before the reset: no replay";
}

TEST_F(CompletionTest, LoopWithNothingLeftToPlayStaysIdle)
{
    PlayTracks({0});
    CheckDlgButton(panel, IDC_LOOP, BST_CHECKED);
    SetText(IDC_FILE1, "");
    QueueGraphEvent(Current(0), EC_COMPLETE);
    PumpMessages();
    EXPECT_TRUE(Idle());
}

TEST_F(CompletionTest, ALoopOfTracksThatEndAtOnceGivesTheMessageLoopATurn)
{
    // Each replayed graph already holds its end when the replay returns, for
    // the first four sets of graphs.
    graphScript.runResult = [](int serial) {
        if (serial < 12)
            QueueGraphEvent(graphDoubles[serial], EC_COMPLETE);
        return S_OK;
    };
    PlayTracks({0});
    CheckDlgButton(panel, IDC_LOOP, BST_CHECKED);
    QueueGraphEvent(Current(0), EC_COMPLETE);
    TakeLog();
    Send(WM_APP + 1, 0);
    EXPECT_EQ(Created(), 6u) << "one reset and replay per handler call";
    PumpMessages();
    EXPECT_EQ(Created(), 15u) << "the loop goes on on the new graph from the message loop";
}

TEST_F(CompletionTest, AnEndDuringADelayWaitsForThePlayToReturn)
{
    // Track 1 ends while Play sleeps before track 2: its message stays queued.
    graphScript.runResult = [](int serial) {
        if (serial == 0)
            QueueGraphEvent(graphDoubles[0], EC_COMPLETE);
        return S_OK;
    };
    SetText(IDC_DELAY2, "1");
    PlayTracks({0, 1});
    EXPECT_EQ(Current(0)->state, State_Running) << "not handled inside Play";
    PumpMessages();
    EXPECT_EQ(Current(0)->state, State_Stopped);
    EXPECT_EQ(Current(1)->state, State_Running);
    EXPECT_FALSE(Idle()) << "track 2 still plays";
}

TEST_F(CompletionTest, EndsAreHandledInsideAFailureBoxsLoop)
{
    // Track 1 plays and ends; track 2 fails, and its box's loop handles the
    // end of track 1, which resets the panel nested inside Play.
    graphScript.runResult = [](int serial) {
        if (serial == 0)
            QueueGraphEvent(graphDoubles[0], EC_COMPLETE);
        return S_OK;
    };
    graphScript.renderResult = [](int serial) { return serial == 1 ? VFW_E_NOT_FOUND : S_OK; };
    view.whileBoxOpen = [this] { PumpMessages(); };
    PlayTracks({0, 1});
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(Created(), 6u) << "the reset ran inside the box's loop";
    EXPECT_FALSE(Idle()) << "Play's own flags still decide: track 1 had started";
}

TEST_F(CompletionTest, AGraphThatGivesNoStateHoldsTheResetBack)
{
    PlayTracks({0});
    graphScript.getStateFails = true;
    QueueGraphEvent(Current(0), EC_COMPLETE);
    PumpMessages();
    EXPECT_FALSE(Idle());
    EXPECT_EQ(Created(), 3u);
}

} // namespace
