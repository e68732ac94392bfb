// The track graph set: creation, its failures, and release.
#include "panel_fixture.h"
#include "tracks/track_graphs.h"

namespace {

std::vector<std::string> ForEachTrack(const std::string &call)
{
    std::vector<std::string> calls;
    for (int i = 0; i < TRACK_COUNT; i++)
        calls.push_back("g" + std::to_string(i) + "." + call);
    return calls;
}

const std::vector<std::string> creations = {"CoCreateInstance#0", "CoCreateInstance#1", "CoCreateInstance#2"};

TEST_F(PanelTest, CreateGraphsMakesEachStepForAllTracksInTurn)
{
    EXPECT_EQ(CreateGraphs((HWND)0x1234), S_OK);
    EXPECT_EQ(TakeLog(), Concat({creations, ForEachTrack("QueryInterface(IMediaControl)"),
                                 ForEachTrack("QueryInterface(IMediaEventEx)"),
                                 {"g0.SetNotifyWindow(0x8001,0)", "g1.SetNotifyWindow(0x8002,0)",
                                  "g2.SetNotifyWindow(0x8003,0)"},
                                 ForEachTrack("QueryInterface(IBasicAudio)"),
                                 ForEachTrack("QueryInterface(IMediaSeeking)")}));
    for (int i = 0; i < TRACK_COUNT; i++) {
        // The five entries of one index are interfaces of one object.
        IUnknown *entries[] = {trackGraphs.pGraph[i], trackGraphs.pControl[i], trackGraphs.pEvent[i],
                               trackGraphs.pAudio[i], trackGraphs.pSeeking[i]};
        for (IUnknown *entry : entries) {
            ASSERT_NE(entry, nullptr);
            IUnknown *graph = nullptr;
            entry->QueryInterface(IID_IGraphBuilder, (void **)&graph);
            EXPECT_EQ(graph, trackGraphs.pGraph[i]);
            graph->Release();
        }
        EXPECT_EQ(graphDoubles[i]->notifyWindow, (HWND)0x1234);
    }
}

struct StepFailure {
    const char *interfaceName; // nullptr: the creation itself
    const char *message;
    size_t filledKinds; // kinds filled for every track before the failing one
};

const StepFailure stepFailures[] = {
    {nullptr, "ERROR - Could not create the Filter Graph Manager.", 0},
    {"IMediaControl", "ERROR--Could not obtain the Media Control interface.", 1},
    {"IMediaEventEx", "ERROR-Could not obtain the Media Event interface.", 2},
};

TEST_F(PanelTest, CreateGraphsReportsAFailureOfAnyTrackOnceWithItsStep)
{
    for (const StepFailure &step : stepFailures) {
        for (int track = 0; track < TRACK_COUNT; track++) {
            SCOPED_TRACE(testing::Message() << step.message << " track " << track);
            ResetGraphDoubles();
            view.boxes.clear();
            if (step.interfaceName == nullptr)
                graphScript.failCreation = track;
            else
                graphScript.failQuery[step.interfaceName] = track;

            HRESULT result = CreateGraphs((HWND)0x1234);
            EXPECT_TRUE(FAILED(result));
            ASSERT_EQ(view.boxes.size(), 1u);
            EXPECT_EQ(view.boxes[0].text, step.message);
            EXPECT_EQ(view.boxes[0].caption, "Create");

            // The three calls of the failing step are all made; no later step runs.
            std::vector<std::string> log = TakeLog();
            size_t expectedCalls = 3 * (step.filledKinds + 1);
            EXPECT_EQ(log.size(), expectedCalls);
            IUnknown **kinds[] = {(IUnknown **)trackGraphs.pGraph, (IUnknown **)trackGraphs.pControl,
                                  (IUnknown **)trackGraphs.pEvent, (IUnknown **)trackGraphs.pAudio,
                                  (IUnknown **)trackGraphs.pSeeking};
            for (size_t kind = 0; kind < 5; kind++) {
                for (int i = 0; i < TRACK_COUNT; i++) {
                    bool filled = kind < step.filledKinds || (kind == step.filledKinds && i != track);
                    EXPECT_EQ(kinds[kind][i] != nullptr, filled) << "kind " << kind << " track " << i;
                }
            }
            for (GraphDouble *graph : graphDoubles)
                EXPECT_EQ(graph->notifyWindow, nullptr) << "no graph is registered";
            ReleaseGraphs();
            for (GraphDouble *graph : graphDoubles)
                EXPECT_TRUE(graph->released);
        }
    }
}

TEST_F(PanelTest, ReleaseGraphsGoesKindByKindBackwards)
{
    CreateGraphs(nullptr);
    TakeLog();
    ReleaseGraphs();
    EXPECT_EQ(TakeLog(), Concat({ForEachTrack("Seeking.Release"), ForEachTrack("Audio.Release"),
                                 ForEachTrack("Event.Release"), ForEachTrack("Control.Release"),
                                 ForEachTrack("Graph.Release")}));
    for (GraphDouble *graph : graphDoubles)
        EXPECT_TRUE(graph->released);
    ReleaseGraphs();
    EXPECT_TRUE(TakeLog().empty()) << "a second release does nothing";
}

TEST_F(PanelTest, ReleaseGraphsOnAPartialAndAnEmptySet)
{
    ReleaseGraphs();
    EXPECT_TRUE(TakeLog().empty());
    graphScript.failQuery["IMediaEventEx"] = 1;
    CreateGraphs(nullptr);
    TakeLog();
    ReleaseGraphs();
    EXPECT_EQ(TakeLog(), Concat({{"g0.Event.Release", "g2.Event.Release"}, ForEachTrack("Control.Release"),
                                 ForEachTrack("Graph.Release")}));
}

} // namespace
