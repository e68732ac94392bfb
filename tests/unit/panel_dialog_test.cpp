// The panel's dialog procedure: its starting state, its dispatch, Browse,
// and the program's lifetime around it.
#include <cstring>

#include "com/class_table.h"
#include "panel/levels.h"
#include "panel/panel_dialog.h"
#include "panel_fixture.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"
#include "user/dialog_manager.h"
#include "user/window.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

struct ControlState {
    int id;
    bool enabled;
    const char *text;
    int scrollMin, scrollMax, scrollPos;
};

TEST_F(PanelTest, OpensInItsStartingState)
{
    OpenPanel();
    const ControlState expected[] = {
        {IDC_PLAY, true, "\x8d\xc4\x90\xb6(&P)", 0, 0, 0},
        {IDC_STOP, false, "\x92\xe2\x8e\x7e(&S)", 0, 0, 0},
        {IDC_LOOP, true, "&Loop", 0, 0, 0},
        {IDC_FILE1, true, "", 0, 0, 0},
        {IDC_FILE2, true, "", 0, 0, 0},
        {IDC_FILE3, true, "", 0, 0, 0},
        {IDC_DELAY2, true, "", 0, 0, 0},
        {IDC_DELAY3, true, "", 0, 0, 0},
        {IDC_VOLUME1, true, "", -8, 0, 0},
        {IDC_VOLUME2, true, "", -8, 0, 0},
        {IDC_VOLUME3, true, "", -8, 0, 0},
        {IDC_BALANCE1, true, "", -10, 10, 0},
        {IDC_BALANCE2, true, "", -10, 10, 0},
        {IDC_BALANCE3, true, "", -10, 10, 0},
        {IDC_RATE1, true, "100", 0, 0, 0},
        {IDC_RATE2, true, "100", 0, 0, 0},
        {IDC_RATE3, true, "100", 0, 0, 0},
        {IDC_RATESPIN1, true, "", 0, 0, 0},
        {IDC_RATESPIN2, true, "", 0, 0, 0},
        {IDC_RATESPIN3, true, "", 0, 0, 0},
    };
    for (const ControlState &want : expected) {
        SCOPED_TRACE(want.id);
        HWND control = Item(want.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->enabled, want.enabled);
        EXPECT_EQ(control->text, want.text);
        EXPECT_EQ(control->scrollMin, want.scrollMin);
        EXPECT_EQ(control->scrollMax, want.scrollMax);
        EXPECT_EQ(control->scrollPos, want.scrollPos);
    }
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_LOOP), 0u);
    EXPECT_EQ(panel->focus, Item(IDC_FILE1)) << "typing goes straight into track 1's file field";
    for (int i = 0; i < TRACK_COUNT; i++) {
        EXPECT_EQ(volumePos[i], 0);
        EXPECT_EQ(balancePos[i], 0);
    }
}

TEST_F(PanelTest, OpeningCreatesTheGraphsLast)
{
    volumePos[1] = -5;
    OpenPanel();
    EXPECT_EQ(volumePos[1], 0);
    for (int i = 0; i < TRACK_COUNT; i++) {
        EXPECT_NE(trackGraphs.pGraph[i], nullptr);
        EXPECT_NE(trackGraphs.pSeeking[i], nullptr);
        EXPECT_EQ(graphDoubles[i]->notifyWindow, panel);
    }
}

struct Dispatch {
    const char *name;
    UINT message;
    WPARAM wParam;
    INT_PTR result;
};

TEST_F(PanelTest, DispatchesEachMessageToItsRow)
{
    OpenPanel();
    const Dispatch rows[] = {
        {"OK is not handled", WM_COMMAND, IDOK, FALSE},
        {"an edit field's change", WM_COMMAND, MAKEWPARAM(IDC_FILE1, 0x0300), FALSE},
        {"the Loop box", WM_COMMAND, IDC_LOOP, FALSE},
        {"an unknown command", WM_COMMAND, 999, FALSE},
        {"Play, whatever the notification", WM_COMMAND, MAKEWPARAM(IDC_PLAY, 7), TRUE},
        {"Stop", WM_COMMAND, IDC_STOP, TRUE},
        {"a level bar", WM_HSCROLL, SB_ENDSCROLL, TRUE},
        {"a spinner", WM_VSCROLL, SB_ENDSCROLL, TRUE},
        {"track event 1", WM_APP + 1, 0, TRUE},
        {"track event 3", WM_APP + 3, 0, TRUE},
        {"WM_APP itself", WM_APP, 0, FALSE},
        {"WM_APP + 4", WM_APP + 4, 0, FALSE},
        {"the close box (left to the default handling)", WM_CLOSE, 0, FALSE},
        {"anything else", 0x0000, 0, FALSE},
    };
    for (const Dispatch &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PanelDialogProc(panel, row.message, row.wParam, 0), row.result);
    }
    EXPECT_FALSE(panel->ended);
}

TEST_F(PanelTest, PlayAndStopReachTheirHandlers)
{
    OpenPanel();
    TakeLog();
    PanelDialogProc(panel, WM_COMMAND, MAKEWPARAM(IDC_PLAY, 0), 0);
    EXPECT_EQ(TakeLog().front(), "g0.put_Volume(0)") << "Play with empty fields sets the levels";
    PanelDialogProc(panel, WM_COMMAND, MAKEWPARAM(IDC_STOP, 0), 0);
    EXPECT_EQ(TakeLog().front(), "g0.Stop");
}

TEST_F(PanelTest, CancelEndsThePanelWithTheWholeCommand)
{
    OpenPanel();
    WPARAM command = MAKEWPARAM(IDCANCEL, 0x1234);
    EXPECT_EQ(PanelDialogProc(panel, WM_COMMAND, command, 0), TRUE);
    EXPECT_TRUE(panel->ended);
    EXPECT_EQ(panel->result, (INT_PTR)command);
}

TEST_F(PanelTest, CloseBoxAndEscBecomeCancel)
{
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "close box");
        OpenPanel();
        if (escape)
            HandleDialogKey(panel, DialogKey::Escape, false, false, 0);
        else
            CloseRequest(panel);
        PumpMessages();
        EXPECT_TRUE(panel->ended);
        EXPECT_EQ(LOWORD(panel->result), IDCANCEL);
        DestroyDialog(panel);
        ReleaseGraphs();
    }
}

TEST_F(PanelTest, EnterDoesNotClose)
{
    OpenPanel();
    HandleDialogKey(panel, DialogKey::Enter, false, false, 0);
    PumpMessages();
    EXPECT_FALSE(panel->ended);
}

TEST_F(PanelTest, ScrollPositionsArriveSignExtended)
{
    OpenPanel();
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, (WORD)-8), (LPARAM)Item(IDC_VOLUME1));
    EXPECT_EQ(volumePos[0], -8) << "not 65528";
}

TEST_F(PanelTest, TrackEventMessagesGoToTheirTrack)
{
    OpenPanel();
    for (int i = 0; i < TRACK_COUNT; i++) {
        TakeLog();
        Send(WM_APP + 1 + i, 0);
        EXPECT_EQ(TakeLog(), std::vector<std::string>{"g" + std::to_string(i) + ".GetEvent(0)"});
    }
}

TEST_F(PanelTest, BrowseCancelledKeepsTheField)
{
    OpenPanel();
    SetText(IDC_FILE2, "keep.wav");
    Press(IDC_BROWSE2);
    EXPECT_EQ(Text(IDC_FILE2), "keep.wav");
    EXPECT_EQ(view.fileRequests.size(), 1u);
}

TEST_F(PanelTest, BrowseHandsTheDialogItsRecordAndWritesThePath)
{
    OpenPanel();
    char tempDir[] = "/tmp/solvane-browse-XXXXXX";
    ASSERT_NE(mkdtemp(tempDir), nullptr);
    std::string chosen = std::string(tempDir) + "/tone.wav";
    FILE *file = fopen(chosen.c_str(), "w");
    fputs("x", file);
    fclose(file);

    OPENFILENAME_NT4A seen;
    char fileStart = 'x';
    bool ownerEnabled = true;
    view.chooseFile = [&](HWND owner) -> std::optional<ChosenFile> {
        seen = openFileName;
        fileStart = openFileName.lpstrFile[0];
        ownerEnabled = owner->enabled;
        return ChosenFile{chosen, 0};
    };
    SetText(IDC_FILE1, "one.wav");
    TakeLog();
    Press(IDC_BROWSE3);

    EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAME_NT4A));
    EXPECT_EQ(seen.hwndOwner, panel);
    EXPECT_EQ(seen.hInstance, nullptr);
    EXPECT_EQ(std::memcmp(seen.lpstrFilter, browseFilter, browseFilterSize), 0);
    EXPECT_EQ(seen.lpstrCustomFilter, nullptr);
    EXPECT_EQ(seen.nMaxCustFilter, 0u);
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(fileStart, '\0') << "the name box opens empty";
    EXPECT_EQ(seen.nMaxFile, 260u);
    EXPECT_EQ(seen.nMaxFileTitle, 256u);
    EXPECT_EQ(seen.lpstrInitialDir, nullptr);
    EXPECT_STREQ(seen.lpstrTitle, browseTitle);
    EXPECT_EQ(seen.Flags, 0x1004u);
    EXPECT_EQ(seen.lpstrDefExt, nullptr);
    EXPECT_EQ(seen.lpfnHook, nullptr);
    EXPECT_EQ(seen.lpTemplateName, nullptr);
    EXPECT_FALSE(ownerEnabled) << "the panel takes no input while the dialog is open";

    ASSERT_EQ(view.fileRequests.size(), 1u);
    const FileRequest &request = view.fileRequests[0];
    EXPECT_EQ(request.title, "再生用にファイルを開く");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].display, "サウンド(*.WAV;*.MP3;*.WMA;*.MID;*.RMI)");
    EXPECT_EQ(request.filters[0].patterns, (std::vector<std::string>{"*.WAV", "*.MP3", "*.WMA", "*.MID", "*.RMI"}));
    EXPECT_EQ(request.filters[1].display, "全ファイル(*.*)");
    EXPECT_EQ(request.filter, 0);

    EXPECT_EQ(Text(IDC_FILE3), chosen);
    EXPECT_EQ(Text(IDC_FILE1), "one.wav");
    EXPECT_TRUE(panel->enabled);
    EXPECT_TRUE(graphLog.empty()) << "no track is loaded";
    remove(chosen.c_str());
    rmdir(tempDir);
}

// WinMain with the panel's loop fed one scripted input.
int RunProgram(TestView &view, std::function<void(HWND panel)> input)
{
    view.inputs.push_back([&view, input] { input(view.lastShown); });
    return WinMain(ProgramModule(), nullptr, nullptr, 0);
}

TEST_F(PanelTest, ClosingReleasesTheGraphsBeforeComStops)
{
    CoUninitialize(); // WinMain starts COM itself
    for (auto close : {+[](HWND p) { HandleDialogKey(p, DialogKey::Escape, false, false, 0); },
                       +[](HWND p) { CloseRequest(p); }, +[](HWND p) { HandleDialogKey(p, DialogKey::F4, false, true, 0); }}) {
        ResetGraphDoubles();
        EXPECT_EQ(RunProgram(view, close), 0);
        ASSERT_EQ(graphDoubles.size(), 3u);
        for (GraphDouble *graph : graphDoubles)
            EXPECT_TRUE(graph->released);
        EXPECT_FALSE(releasedAfterComStop);
        EXPECT_EQ(CoInitialize(nullptr), S_OK) << "COM was stopped";
        CoUninitialize();
    }
    CoInitialize(nullptr);
}

TEST_F(PanelTest, FailingComStartShowsOnlyItsBoxAndReturnsTheCode)
{
    CoUninitialize();
    FailNextCoInitialize(E_OUTOFMEMORY);
    EXPECT_EQ(WinMain(ProgramModule(), nullptr, nullptr, 0), E_OUTOFMEMORY);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, "ERROR - Could not initialize COM library");
    EXPECT_EQ(view.boxes[0].caption, "CoInit");
    EXPECT_EQ(view.shown, 0);
    EXPECT_TRUE(graphLog.empty());
    CoInitialize(nullptr);
}

} // namespace
