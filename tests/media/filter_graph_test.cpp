// The GStreamer filter graph, headless, with every graph's sound captured to
// WAV files and measured.
#include <gtest/gtest.h>
#include <gst/gst.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <numeric>
#include <set>

#include "media/filter_graph.h"
#include "media/media_setup.h"
#include "media/teardown.h"
#include "user/message_loop.h"
#include "footprint.h"
#include "panel_fixture.h"
#include "sound_files.h"

namespace {

std::string captureDir, filesDir;

std::set<std::string> CaptureFiles()
{
    std::set<std::string> names;
    if (DIR *dir = opendir(captureDir.c_str())) {
        while (dirent *entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.insert(entry->d_name);
        }
        closedir(dir);
    }
    return names;
}

class MediaEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        char captures[] = "/tmp/solvane-capture-XXXXXX";
        char files[] = "/tmp/solvane-files-XXXXXX";
        captureDir = mkdtemp(captures);
        filesDir = mkdtemp(files);
        setenv("SOLVANE_AUDIO", ("capture:" + captureDir).c_str(), 1);
        RegisterFilterGraph();
        CoInitialize(nullptr);
    }
    void TearDown() override
    {
        CoUninitialize();
        std::system(("rm -rf " + captureDir + " " + filesDir).c_str());
    }
};

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new MediaEnvironment);

std::string File(const std::string &name)
{
    return filesDir + "/" + name;
}

// One graph with its five interfaces, released when it goes.
struct Graph {
    IGraphBuilder *builder = nullptr;
    IMediaControl *control = nullptr;
    IMediaEventEx *events = nullptr;
    IBasicAudio *audio = nullptr;
    IMediaSeeking *seeking = nullptr;
    std::vector<std::string> captures; // what each rendering writes to

    Graph()
    {
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   (void **)&builder),
                  S_OK);
        builder->QueryInterface(IID_IMediaControl, (void **)&control);
        builder->QueryInterface(IID_IMediaEventEx, (void **)&events);
        builder->QueryInterface(IID_IBasicAudio, (void **)&audio);
        builder->QueryInterface(IID_IMediaSeeking, (void **)&seeking);
    }
    ~Graph()
    {
        for (IUnknown *i : std::initializer_list<IUnknown *>{seeking, audio, events, control, builder})
            i->Release();
    }
    HRESULT Render(const std::string &path)
    {
        std::set<std::string> before = CaptureFiles();
        std::u16string wide(path.begin(), path.end());
        HRESULT result = builder->RenderFile(wide.c_str(), nullptr);
        for (const std::string &name : CaptureFiles()) {
            if (!before.count(name))
                captures.push_back(captureDir + "/" + name);
        }
        return result;
    }
    // The next event's code, or 0 when none comes within the time.
    LONG NextEvent(LONG timeoutMs)
    {
        LONG code;
        LONG_PTR p1, p2;
        if (FAILED(events->GetEvent(&code, &p1, &p2, timeoutMs)))
            return 0;
        events->FreeEventParams(code, p1, p2);
        return code;
    }
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

bool trackEventSeen;

INT_PTR CALLBACK SeeTrackEvent(HWND, UINT message, WPARAM, LPARAM)
{
    trackEventSeen |= message == WM_APP + 2;
    return FALSE;
}

TEST(FilterGraph, AWavPlaysToItsEndAndPostsItsEvent)
{
    TestView view;
    SetView(&view);
    HWND window = CreateDialogFromTemplate(ProgramModule(), "SOLVANE", SeeTrackEvent, 0);
    WriteTone(File("half.wav"), 440, 0.5, 0.5);
    Graph graph;
    graph.events->SetNotifyWindow((OAHWND)window, WM_APP + 2, 0);
    OAFilterState state = -1;
    ASSERT_EQ(graph.Render(File("half.wav")), S_OK);
    graph.control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped) << "a rendered graph reports Stopped";
    LONG code;
    LONG_PTR p1, p2;
    EXPECT_EQ(graph.events->GetEvent(&code, &p1, &p2, 0), E_ABORT) << "nothing queued yet";

    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(SUCCEEDED(graph.control->Run()));
    graph.control->GetState(1000, &state);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(graph.NextEvent(3000), EC_COMPLETE);
    double took = Seconds(std::chrono::steady_clock::now() - start);
    EXPECT_NEAR(took, 0.5, 0.15);
    graph.control->Stop();
    graph.control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);

    ASSERT_EQ(graph.captures.size(), 1u);
    Capture capture = ReadCapture(graph.captures[0]);
    auto [first, last] = SoundingFrames(capture);
    EXPECT_NEAR((last - first) / 48000.0, 0.5, 0.02);
    EXPECT_NEAR(LevelDb(capture.left, first, last), -9.03, 0.3);
    EXPECT_NEAR(ToneFrequency(capture.left, first, last, 48000), 440, 1);

    DispatchPosted();
    EXPECT_TRUE(trackEventSeen) << "its notify message reaches the window through the queue";
    DestroyDialog(window);
}

TEST(FilterGraph, VolumeBalanceAndRateChangeTheSound)
{
    WriteTone(File("one.wav"), 440, 1.0, 0.5);
    Graph quieter, right, leftish, faster;
    EXPECT_EQ(quieter.audio->put_Volume(-600), S_OK);
    EXPECT_EQ(right.audio->put_Balance(10000), S_OK);
    EXPECT_EQ(leftish.audio->put_Volume(-300), S_OK);
    EXPECT_EQ(leftish.audio->put_Balance(-600), S_OK);
    for (Graph *g : {&quieter, &right, &leftish, &faster})
        ASSERT_EQ(g->Render(File("one.wav")), S_OK);
    EXPECT_EQ(faster.seeking->SetRate(2.0), S_OK) << "set after rendering, before Run";
    for (Graph *g : {&quieter, &right, &leftish, &faster})
        g->control->Run();
    for (Graph *g : {&quieter, &right, &leftish, &faster})
        EXPECT_EQ(g->NextEvent(3000), EC_COMPLETE);

    Capture q = ReadCapture(quieter.captures.at(0));
    auto [qFirst, qLast] = SoundingFrames(q);
    EXPECT_NEAR(LevelDb(q.left, qFirst, qLast), -9.03 - 6, 0.3);

    Capture r = ReadCapture(right.captures.at(0));
    auto [rFirst, rLast] = SoundingFrames(r);
    EXPECT_LT(LevelDb(r.left, rFirst, rLast), -90) << "the left channel is silent";
    EXPECT_NEAR(LevelDb(r.right, rFirst, rLast), -9.03, 0.3);

    Capture l = ReadCapture(leftish.captures.at(0));
    auto [lFirst, lLast] = SoundingFrames(l);
    EXPECT_NEAR(LevelDb(l.left, lFirst, lLast), -9.03 - 3, 0.3) << "the volume alone";
    EXPECT_NEAR(LevelDb(l.right, lFirst, lLast), -9.03 - 3 - 6, 0.3) << "the volume and the balance";

    Capture f = ReadCapture(faster.captures.at(0));
    auto [fFirst, fLast] = SoundingFrames(f);
    EXPECT_NEAR((fLast - fFirst) / 48000.0, 0.5, 0.03);
    EXPECT_NEAR(ToneFrequency(f.left, fFirst, fLast, 48000), 880, 2);
}

// Renders a one-second tone into the graph and lets it play for 0.3 s.
void PlayToneAWhile(Graph &graph, const std::string &name)
{
    WriteTone(File(name), 440, 1.0, 0.5);
    ASSERT_EQ(graph.Render(File(name)), S_OK);
    graph.control->Run();
    EXPECT_EQ(graph.NextEvent(300), 0) << "still playing";
}

TEST(FilterGraph, RateChangesWhilePlayingWithoutAClick)
{
    Graph graph;
    ASSERT_NO_FATAL_FAILURE(PlayToneAWhile(graph, "long.wav"));
    EXPECT_EQ(graph.seeking->SetRate(1.0594630943592953 * 2), S_OK);
    EXPECT_EQ(graph.NextEvent(3000), EC_COMPLETE);

    Capture c = ReadCapture(graph.captures.at(0));
    auto [first, last] = SoundingFrames(c);
    double length = (last - first) / 48000.0;
    EXPECT_NEAR(length, 0.3 + 0.7 / 2.119, 0.06);
    size_t tail = last - 4800;
    EXPECT_NEAR(ToneFrequency(c.left, tail, last - 480, 48000), 440 * 2.119, 4);
    // A 932 Hz sine of amplitude 0.5 moves at most 0.061 between samples.
    float largestStep = 0;
    // (The file's own end, cut mid-wave, is left out.)
    for (size_t i = first + 1; i < last - 480; i++)
        largestStep = std::max(largestStep, std::fabs(c.left[i] - c.left[i - 1]));
    EXPECT_LT(largestStep, 0.08f) << "no click and no jump";
}

TEST(FilterGraph, StopSilencesAtOnceAndTheNextRunPlaysFromTheStart)
{
    Graph graph;
    ASSERT_NO_FATAL_FAILURE(PlayToneAWhile(graph, "second.wav"));
    graph.control->Stop();
    size_t atStop = ReadCapture(graph.captures.at(0)).Frames();
    EXPECT_EQ(graph.NextEvent(200), 0) << "no end after a Stop";
    size_t later = ReadCapture(graph.captures.at(0)).Frames();
    EXPECT_LE(later, atStop + 600) << "nothing after the 12.5 ms slice that was playing";

    graph.control->Run();
    EXPECT_EQ(graph.NextEvent(3000), EC_COMPLETE);
    Capture c = ReadCapture(graph.captures.at(0));
    size_t sounding = 0;
    for (size_t i = later; i < c.Frames(); i++)
        sounding += std::fabs(c.left[i]) > 0.001f;
    EXPECT_NEAR(sounding / 48000.0, 1.0, 0.02) << "the whole second again";
}

TEST(FilterGraph, TeardownsRunInOrderAndCanBeWaitedFor)
{
    std::vector<int> done;
    for (int i = 0; i < 20; i++) {
        TearDownLater([&done, i] {
            usleep(1000);
            done.push_back(i);
        });
    }
    FinishTeardowns();
    std::vector<int> expected(20);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(done, expected);
}

TEST(FilterGraph, LevelsAndRatesOutsideTheirRangesAreRefused)
{
    Graph graph;
    for (double rate : {0.0, -1.0, (double)NAN, HUGE_VAL, 1000.0, 1e-9})
        EXPECT_EQ(graph.seeking->SetRate(rate), E_INVALIDARG) << rate;
    EXPECT_EQ(graph.seeking->SetRate(0.5), S_OK);
    EXPECT_EQ(graph.audio->put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(graph.audio->put_Volume(-10001), E_INVALIDARG);
    EXPECT_EQ(graph.audio->put_Volume(-10000), S_OK);
    EXPECT_EQ(graph.audio->put_Balance(10001), E_INVALIDARG);
    EXPECT_EQ(graph.audio->put_Balance(-10000), S_OK);
    void *none = &none;
    EXPECT_EQ(graph.builder->QueryInterface(IID_IUnknown, &none), S_OK);
    static_cast<IUnknown *>(none)->Release();
    const IID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(graph.builder->QueryInterface(unknown, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr) << "a failed query leaves the pointer null";
}

TEST(FilterGraph, BadFilesGetTheirCodeWithoutHanging)
{
    std::ofstream(File("empty.wav"));
    {
        std::ofstream random(File("random.mp3"), std::ios::binary);
        for (int i = 0; i < 20000; i++)
            random.put((char)(i * 7919 % 251));
    }
    std::ofstream(File("text.mp3")) << "This is not a sound file.\nJust some words.\n";
    WriteTone(File("whole.wav"), 440, 0.2, 0.5);
    {
        std::ifstream whole(File("whole.wav"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(whole)), {});
        std::ofstream(File("cut.wav"), std::ios::binary) << bytes.substr(0, 30);
    }
    mkdir(File("folder.wav").c_str(), 0700);
    ASSERT_TRUE(RunPipeline("videotestsrc num-buffers=5 ! jpegenc ! avimux ! filesink location=" + File("video.avi")));
    ASSERT_TRUE(RunPipeline("videotestsrc num-buffers=1 ! pngenc ! filesink location=" + File("image.png")));

    const std::pair<const char *, HRESULT> rows[] = {
        {"missing.wav", VFW_E_NOT_FOUND},
        {"folder.wav", VFW_E_CANNOT_LOAD_SOURCE_FILTER},
        {"empty.wav", VFW_E_UNKNOWN_FILE_TYPE},
        {"random.mp3", VFW_E_UNKNOWN_FILE_TYPE},
        {"text.mp3", VFW_E_UNKNOWN_FILE_TYPE},
        {"cut.wav", VFW_E_INVALID_FILE_FORMAT},
        {"video.avi", VFW_E_CANNOT_RENDER},
        {"image.png", VFW_E_CANNOT_RENDER},
    };
    for (const auto &[name, code] : rows) {
        SCOPED_TRACE(name);
        Graph graph;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(graph.Render(File(name)), code);
        EXPECT_LT(Seconds(std::chrono::steady_clock::now() - start), RENDER_TIMEOUT_MS / 1000.0 + 0.5);
        OAFilterState state;
        graph.control->GetState(0, &state);
        EXPECT_EQ(state, State_Stopped);
    }
}

TEST(FilterGraph, PlaysTheFormatsUsersBring)
{
    const std::string tone = "audiotestsrc num-buffers=20 ! audioconvert ! ";
    const std::pair<const char *, std::string> encoders[] = {
        {"tone.mp3", "lamemp3enc"},
        {"tone.ogg", "vorbisenc ! oggmux"},
        {"tone.opus", "audioresample ! opusenc ! oggmux"},
        {"tone.flac", "flacenc"},
        {"tone.wma", "avenc_wmav2 ! asfmux"},
        {"tone.m4a", "avenc_aac ! mp4mux"},
    };
    std::vector<std::string> names;
    for (const auto &[name, encoder] : encoders) {
        ASSERT_TRUE(RunPipeline(tone + encoder + " ! filesink location=" + File(name))) << name;
        names.push_back(name);
    }
    WriteMidi(File("note.mid"));
    names.push_back("note.mid");
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        Graph graph;
        EXPECT_EQ(graph.Render(File(name)), S_OK);
    }

    ASSERT_TRUE(RunPipeline("videotestsrc num-buffers=10 ! jpegenc ! avimux name=mux ! filesink location=" +
                            File("film.avi") + " audiotestsrc num-buffers=10 ! audioconvert ! mux."));
    Graph film;
    EXPECT_EQ(film.Render(File("film.avi")), VFW_S_VIDEO_NOT_RENDERED) << "the sound plays, the picture is left out";
}

TEST(FilterGraph, ASecondFileInOneGraphPlaysAlongside)
{
    WriteTone(File("low.wav"), 220, 0.3, 0.25);
    WriteTone(File("high.wav"), 880, 0.3, 0.25);
    Graph graph;
    ASSERT_EQ(graph.Render(File("low.wav")), S_OK);
    ASSERT_EQ(graph.Render(File("high.wav")), S_OK);
    graph.control->Run();
    EXPECT_EQ(graph.NextEvent(3000), EC_COMPLETE);
    ASSERT_EQ(graph.captures.size(), 2u);
    for (const std::string &path : graph.captures) {
        Capture c = ReadCapture(path);
        auto [first, last] = SoundingFrames(c);
        EXPECT_NEAR((last - first) / 48000.0, 0.3, 0.02) << path;
    }
}

TEST(FilterGraph, CreateRenderReleaseCyclesDoNotGrow)
{
    WriteTone(File("short.wav"), 440, 0.05, 0.5);
    auto cycle = [] {
        Graph graph;
        EXPECT_EQ(graph.Render(File("short.wav")), S_OK);
        for (const std::string &path : graph.captures)
            unlink(path.c_str());
    };
    for (int i = 0; i < 20; i++)
        cycle();
    FinishTeardowns();
    Footprint before = Footprint::Settled();
    for (int i = 0; i < 200; i++)
        cycle();
    FinishTeardowns();
    ExpectNoGrowth(before, Footprint::Settled(), 2, 2, 8 * 1024);
}

} // namespace
