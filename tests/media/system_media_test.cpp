// The system's code on the real filter graph, without a display: bad files
// through Play, long runs of Play and Stop and of Loop, and closing the panel
// while tracks play or a failure box is open.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "footprint.h"
#include "headless_view.h"
#include "media/media_setup.h"
#include "media/teardown.h"
#include "panel/panel_dialog.h"
#include "panel_fixture.h"
#include "res/resource.h"
#include "sound_files.h"
#include "tracks/track_graphs.h"
#include "user/message_loop.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

std::string filesDir;

class RealGraphEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        char files[] = "/tmp/solvane-system-XXXXXX";
        filesDir = mkdtemp(files);
        setenv("SOLVANE_AUDIO", "null", 1);
        RegisterFilterGraph();
    }
    void TearDown() override { std::system(("rm -rf " + filesDir).c_str()); }
};

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new RealGraphEnvironment);

std::string File(const std::string &name)
{
    return filesDir + "/" + name;
}

int trackEvents; // track event messages the panel has handled

INT_PTR CALLBACK CountingPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    trackEvents += message >= WM_APP + 1 && message <= WM_APP + 3;
    return PanelDialogProc(panel, message, wParam, lParam);
}

class RealPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetView(&view);
        CoInitialize(nullptr);
        panel = CreateDialogFromTemplate(ProgramModule(), "SOLVANE", CountingPanelProc, 0);
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override
    {
        DestroyDialog(panel);
        ReleaseGraphs();
        CoUninitialize();
        DispatchPosted();
    }
    void SetText(int id, const std::string &text) { SetDlgItemTextA(panel, id, text.c_str()); }
    void Press(int id) { SendMessageA(panel, WM_COMMAND, MAKEWPARAM(id, 0), (LPARAM)GetDlgItem(panel, id)); }
    bool Playing() { return IsWindowEnabled(GetDlgItem(panel, IDC_STOP)) != FALSE; }
    // Runs the message loop until done() holds or the time is up.
    bool RunUntil(const std::function<bool()> &done, double seconds)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        RunMessageLoop([&] { return done() || std::chrono::steady_clock::now() > end; });
        return done();
    }

    HeadlessView view;
    HWND panel = nullptr;
};

TEST_F(RealPanelTest, BadFilesGetTheirBoxAndThePanelStaysUsable)
{
    WriteTone(File("good.wav"), 440, 0.2, 0.5);
    std::ofstream(File("empty.wav"));
    std::ofstream(File("text.mp3")) << "not a sound\n";
    mkdir(File("folder.wav").c_str(), 0700);
    std::string whole;
    {
        std::ifstream in(File("good.wav"), std::ios::binary);
        whole.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(File("cut.wav"), std::ios::binary) << whole.substr(0, 30);
    std::string claims = whole; // its data chunk claims more than the file holds
    claims[40] = (char)0xFF;
    claims[41] = (char)0xFF;
    claims[42] = (char)0xFF;
    std::ofstream(File("claims.wav"), std::ios::binary) << claims;
    ASSERT_TRUE(RunPipeline("audiotestsrc num-buffers=40 ! audioconvert ! lamemp3enc ! filesink location=" +
                            File("whole.mp3")));
    {
        std::ifstream in(File("whole.mp3"), std::ios::binary);
        std::string mp3((std::istreambuf_iterator<char>(in)), {});
        for (size_t i = mp3.size() / 2; i < mp3.size() / 2 + 400; i++)
            mp3[i] = (char)(i * 31);
        std::ofstream(File("broken.mp3"), std::ios::binary) << mp3;
    }
    ASSERT_TRUE(RunPipeline("videotestsrc num-buffers=5 ! jpegenc ! avimux ! filesink location=" + File("video.avi")));
    std::string longName = File(std::string(259 - filesDir.size() - 5, 'n') + ".wav");
    ASSERT_EQ(longName.size(), 259u);
    std::ofstream(longName, std::ios::binary) << whole;
    std::ofstream(File("\xe5\x86\x8d\xe7\x94\x9f.wav"), std::ios::binary) << whole; // 再生.wav, written in CP932 below

    const struct {
        std::string field; // in the ANSI code page
        const char *box;   // the expected text, or nullptr for none
    } rows[] = {
        {File("missing.wav"), "オブジェクトまたは名前が見つからなかった。"},
        {File("folder.wav"), "このﾌｧｲﾙのｿｰｽﾌｨﾙﾀをﾛｰﾄﾞできない。"},
        {File("empty.wav"), "このファイルのメディア タイプが認識されない。"},
        {File("text.mp3"), "このファイルのメディア タイプが認識されない。"},
        {File("cut.wav"), "ファイル フォーマットが無効。"},
        {File("video.avi"), "ｽﾄﾘｰﾑをﾚﾝﾀﾞﾘﾝｸﾞするﾌｨﾙﾀの組み合わせが見つからない。"},
        {File("claims.wav"), nullptr},
        {File("broken.mp3"), nullptr},
        {longName, nullptr},
        {longName + "-and-more-to-make-300-characters", nullptr},
        {File("\x8d\xc4\x90\xb6.wav"), nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.field);
        view.boxes.clear();
        SetText(IDC_FILE1, row.field);
        Press(IDC_PLAY);
        if (row.box != nullptr) {
            ASSERT_EQ(view.boxes.size(), 1u);
            EXPECT_EQ(view.boxes[0].text, row.box);
            EXPECT_EQ(view.boxes[0].caption, "open");
            EXPECT_FALSE(Playing());
        } else {
            EXPECT_TRUE(view.boxes.empty()) << (view.boxes.empty() ? "" : view.boxes[0].text);
            EXPECT_TRUE(Playing());
            EXPECT_TRUE(RunUntil([this] { return !Playing(); }, 10)) << "the track ended and the panel reset";
        }
        Press(IDC_STOP);
    }
}

TEST_F(RealPanelTest, AFileDeletedBetweenBrowseAndPlayIsNotFound)
{
    WriteTone(File("soon-gone.wav"), 440, 0.2, 0.5);
    view.chooseFile = [](HWND) -> std::optional<ChosenFile> { return ChosenFile{File("soon-gone.wav"), 0}; };
    Press(IDC_BROWSE2);
    unlink(File("soon-gone.wav").c_str());
    Press(IDC_PLAY);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, "オブジェクトまたは名前が見つからなかった。");
}

TEST_F(RealPanelTest, ThreeHundredPlayAndStopCyclesDoNotGrow)
{
    for (int i = 0; i < 3; i++) {
        WriteTone(File("cycle" + std::to_string(i) + ".wav"), 330 + 110 * i, 2.0, 0.3);
        SetText(IDC_FILE1 + i, File("cycle" + std::to_string(i) + ".wav"));
    }
    for (int i = 0; i < 20; i++) {
        Press(IDC_PLAY);
        Press(IDC_STOP);
    }
    FinishTeardowns();
    Footprint before = Footprint::Settled();
    for (int i = 0; i < 300; i++) {
        Press(IDC_PLAY);
        ASSERT_TRUE(Playing());
        DispatchPosted();
        Press(IDC_STOP);
        ASSERT_FALSE(Playing());
    }
    FinishTeardowns();
    ExpectNoGrowth(before, Footprint::Settled(), 4, 4, 16 * 1024);
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(RealPanelTest, LoopRunsForTwoMinutesWithoutGrowing)
{
    for (int i = 0; i < 3; i++) {
        WriteTone(File("loop" + std::to_string(i) + ".wav"), 440 + 110 * i, 0.3, 0.3);
        SetText(IDC_FILE1 + i, File("loop" + std::to_string(i) + ".wav"));
    }
    CheckDlgButton(panel, IDC_LOOP, BST_CHECKED);
    Press(IDC_PLAY);
    RunUntil([] { return false; }, 10);
    FinishTeardowns();
    Footprint before = Footprint::Settled();
    int eventsBefore = trackEvents;
    RunUntil([] { return false; }, 110);
    FinishTeardowns();
    ExpectNoGrowth(before, Footprint::Settled(), 4, 4, 16 * 1024);
    // Each round of three 0.3 s tracks ends with three track events.
    EXPECT_GT((trackEvents - eventsBefore) / 3, 100) << "rounds in 110 s";
    EXPECT_TRUE(Playing());
    CheckDlgButton(panel, IDC_LOOP, 0);
    EXPECT_TRUE(RunUntil([this] { return !Playing(); }, 5)) << "the loop ends once Loop is cleared";
    EXPECT_TRUE(view.boxes.empty());
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override { SetView(&view); }
    HeadlessView view;
};

TEST_F(ProgramTest, ClosingWhileTracksPlayOrABoxIsOpenEndsWithZero)
{
    WriteTone(File("closing.wav"), 440, 5.0, 0.3);
    for (bool withBox : {false, true}) {
        SCOPED_TRACE(withBox ? "a failure box open" : "three tracks playing");
        view.inputs.push_back([this, withBox] {
            HWND panel = view.lastShown;
            SetDlgItemTextA(panel, IDC_FILE1, withBox ? File("missing.wav").c_str() : File("closing.wav").c_str());
            SetDlgItemTextA(panel, IDC_FILE2, File("closing.wav").c_str());
            SetDlgItemTextA(panel, IDC_FILE3, File("closing.wav").c_str());
            SendMessageA(panel, WM_COMMAND, IDC_PLAY, 0);
        });
        view.whileBoxOpen = [this] { HandleDialogKey(view.lastShown, DialogKey::Escape, false, false, 0); };
        view.inputs.push_back([this] { HandleDialogKey(view.lastShown, DialogKey::Escape, false, false, 0); });
        EXPECT_EQ(WinMain(ProgramModule(), nullptr, nullptr, 0), 0);
        for (int i = 0; i < TRACK_COUNT; i++)
            EXPECT_EQ(trackGraphs.pGraph[i], nullptr) << "released";
        EXPECT_EQ(CoInitialize(nullptr), S_OK) << "COM stopped after the release";
        CoUninitialize();
        EXPECT_EQ(view.boxes.size(), withBox ? 1u : 0u);
        view.boxes.clear();
        view.inputs.clear();
    }
}

} // namespace
