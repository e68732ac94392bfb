// Measures the program's own figures in-process, on the real filter graph
// with its sound captured, and the GStreamer references beside them. Each
// mode prints one "figure value" line per run; run_bench.py aggregates.
//
// usage: solvane_bench MODE [FILE]
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "headless_view.h"
#include "media/capture.h"
#include "media/media_setup.h"
#include "panel/panel_dialog.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"
#include "user/dialog_manager.h"
#include "user/message_loop.h"
#include "user/resources.h"
#include "user/view.h"

namespace {

std::string captureDir;
GstClockTime timelineStart;

double Now() // seconds on the capture timeline
{
    GstClock *clock = gst_system_clock_obtain();
    GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    return (now - timelineStart) / 1e9;
}

double Elapsed(const std::function<void()> &work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char *figure, double value)
{
    std::printf("%s %.3f\n", figure, value);
    std::fflush(stdout);
}

struct Captured {
    std::vector<float> left;
};

Captured Read(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    Captured c;
    for (size_t at = 46; at + 8 <= bytes.size(); at += 8) {
        float sample;
        std::memcpy(&sample, &bytes[at], 4);
        c.left.push_back(sample);
    }
    return c;
}

double FirstSound(const Captured &c, size_t from = 0) // seconds on the timeline
{
    for (size_t i = from; i < c.left.size(); i++) {
        if (std::fabs(c.left[i]) > 0.001f)
            return i / 48000.0;
    }
    return -1;
}

class Panel {
public:
    explicit Panel(DLGPROC proc = PanelDialogProc)
    {
        static std::vector<uint8_t> bytes = [] {
            std::ifstream in(SOLVANE_RES_PATH, std::ios::binary);
            return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
        }();
        static HINSTANCE__ module = ReadResources(bytes);
        panel = CreateDialogFromTemplate(&module, "SOLVANE", proc, 0);
    }
    ~Panel()
    {
        DestroyDialog(panel);
        ReleaseGraphs();
    }
    void Set(int id, const std::string &text) { SetDlgItemTextA(panel, id, text.c_str()); }
    void Send(UINT message, WPARAM wParam, LPARAM lParam = 0) { SendMessageA(panel, message, wParam, lParam); }
    void Press(int id) { Send(WM_COMMAND, id); }
    bool Playing() { return IsWindowEnabled(GetDlgItem(panel, IDC_STOP)) != FALSE; }
    void RunFor(double seconds, const std::function<bool()> &done = [] { return false; })
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        RunMessageLoop([&] { return done() || std::chrono::steady_clock::now() > end; });
    }
    HWND panel;
};

// The capture files, by the serial of their graph: the last ones are the
// tracks of the latest Play.
std::vector<std::string> Captures()
{
    std::vector<std::pair<int, std::string>> found;
    if (DIR *dir = opendir(captureDir.c_str())) {
        while (dirent *entry = readdir(dir)) {
            int serial;
            if (std::sscanf(entry->d_name, "graph%d-0.wav", &serial) == 1)
                found.emplace_back(serial, captureDir + "/" + entry->d_name);
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto &[serial, path] : found)
        paths.push_back(path);
    return paths;
}

std::string NewestCapture()
{
    return Captures().back();
}

void PlayLatency(const std::string &file)
{
    for (int run = 0; run < 20; run++) {
        Panel p;
        p.Set(IDC_FILE1, file);
        double pressed = Now();
        p.Press(IDC_PLAY);
        p.RunFor(0.6);
        double first = FirstSound(Read(NewestCapture()));
        Report("play_to_first_sample_ms", (first - pressed) * 1000);
        p.Press(IDC_STOP);
    }
}

void PlaybinLatency(const std::string &file)
{
    for (int run = 0; run < 20; run++) {
        std::string description = "playbin uri=file://" + file;
        GstElement *playbin = gst_parse_launch(description.c_str(), nullptr);
        GstElement *sink = gst_element_factory_make("appsink", nullptr);
        g_object_set(sink, "sync", TRUE, "emit-signals", FALSE, nullptr);
        g_object_set(playbin, "audio-sink", sink, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
        double started = Now();
        gst_element_set_state(playbin, GST_STATE_PLAYING);
        GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
        Report("playbin_to_first_sample_ms", (Now() - started) * 1000);
        if (sample != nullptr)
            gst_sample_unref(sample);
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(playbin);
    }
}

void Delays(const std::string &file)
{
    for (int run = 0; run < 20; run++) {
        Panel p;
        for (int i = 0; i < 3; i++)
            p.Set(IDC_FILE1 + i, file);
        p.Set(IDC_DELAY2, "0.5");
        p.Set(IDC_DELAY3, "0.5");
        p.Press(IDC_PLAY);
        p.RunFor(0.3);
        std::vector<std::string> files = Captures();
        size_t n = files.size();
        double t1 = FirstSound(Read(files[n - 3])), t2 = FirstSound(Read(files[n - 2])), t3 = FirstSound(Read(files[n - 1]));
        Report("delay_excess_ms", (t2 - t1 - 0.5) * 1000);
        Report("delay_excess_ms", (t3 - t2 - 0.5) * 1000);
        p.Press(IDC_STOP);
    }
}

void StopAndPlay(const std::string &file)
{
    Panel p;
    for (int i = 0; i < 3; i++)
        p.Set(IDC_FILE1 + i, file);
    for (int run = 0; run < 1000; run++) {
        Report("play_renders_ms", Elapsed([&] { p.Press(IDC_PLAY); }));
        DispatchPosted();
        Report("stop_ms", Elapsed([&] { p.Press(IDC_STOP); }));
    }
}

// When the captured tone's period first shows the raised pitch.
void SpinnerLatency(const std::string &file)
{
    for (int run = 0; run < 20; run++) {
        Panel p;
        p.Set(IDC_FILE1, file);
        p.Press(IDC_PLAY);
        p.RunFor(0.4);
        HWND spinner = GetDlgItem(p.panel, IDC_RATESPIN1);
        p.Send(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), (LPARAM)spinner);
        double released = Now();
        p.Send(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), (LPARAM)spinner);
        p.RunFor(0.3);
        Captured c = Read(NewestCapture());
        size_t from = (size_t)(released * 48000) - 4800;
        double changed = -1;
        std::vector<size_t> ups;
        for (size_t i = from; i + 1 < c.left.size(); i++) {
            if (c.left[i] < 0 && c.left[i + 1] >= 0)
                ups.push_back(i);
        }
        // 440 Hz: 109.1 samples a period; 466.2 Hz: 103.0.
        for (size_t k = 2; k < ups.size(); k++) {
            if ((ups[k] - ups[k - 2]) / 2.0 < 105.5) {
                changed = ups[k - 2] / 48000.0;
                break;
            }
        }
        Report("spinner_to_pitch_ms", (changed - released) * 1000);
        p.Press(IDC_STOP);
    }
}

double CpuSeconds()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long ResidentKb()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void Load(const std::string &file, const char *rate, bool playbin)
{
    Panel p;
    std::vector<GstElement *> playbins;
    if (playbin) {
        for (int i = 0; i < 3; i++) {
            std::string description = "playbin uri=file://" + file + " audio-sink=\"fakesink sync=true\"";
            playbins.push_back(gst_parse_launch(description.c_str(), nullptr));
            gst_element_set_state(playbins.back(), GST_STATE_PLAYING);
        }
    } else {
        for (int i = 0; i < 3; i++) {
            p.Set(IDC_FILE1 + i, file);
            p.Set(IDC_RATE1 + i, rate);
        }
        p.Press(IDC_PLAY);
    }
    p.RunFor(1);
    double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    p.RunFor(5);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Report(playbin ? "playbin_cpu_percent" : "cpu_percent", (CpuSeconds() - cpu) / wall * 100);
    Report(playbin ? "playbin_rss_mb" : "rss_mb", ResidentKb() / 1024.0);
    for (GstElement *e : playbins) {
        gst_element_set_state(e, GST_STATE_NULL);
        gst_object_unref(e);
    }
}

// The reset that the end of the last track brings, timed inside the handler.
double lastHandlerMs;
INT_PTR CALLBACK TimedPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < WM_APP + 1 || message > WM_APP + 3)
        return PanelDialogProc(panel, message, wParam, lParam);
    INT_PTR result = 0;
    lastHandlerMs = Elapsed([&] { result = PanelDialogProc(panel, message, wParam, lParam); });
    return result;
}

void Reset(const std::string &file)
{
    for (int run = 0; run < 20; run++) {
        Panel p(TimedPanelProc);
        for (int i = 0; i < 3; i++)
            p.Set(IDC_FILE1 + i, file);
        p.Press(IDC_PLAY);
        p.RunFor(5, [&] { return !p.Playing(); });
        Report("reset_ms", lastHandlerMs);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: solvane_bench MODE [FILE]\n");
        return 2;
    }
    std::string mode = argv[1], file = argc > 2 ? argv[2] : "";
    char dir[] = "/tmp/solvane-bench-XXXXXX";
    captureDir = mkdtemp(dir);
    // The load is measured on the clocked silent output, like its reference;
    // everything else on captured sound.
    bool load = mode.rfind("load", 0) == 0;
    setenv("SOLVANE_AUDIO", load ? "null" : ("capture:" + captureDir).c_str(), 1);
    HeadlessView view;
    SetView(&view);
    RegisterFilterGraph();
    timelineStart = StartCaptureTimeline();
    CoInitialize(nullptr);

    if (mode == "latency")
        PlayLatency(file);
    else if (mode == "latency-playbin")
        PlaybinLatency(file);
    else if (mode == "delay")
        Delays(file);
    else if (mode == "stop-play")
        StopAndPlay(file);
    else if (mode == "spinner")
        SpinnerLatency(file);
    else if (mode == "load-100" || mode == "load-200")
        Load(file, mode == "load-100" ? "100" : "200", false);
    else if (mode == "load-playbin")
        Load(file, "100", true);
    else if (mode == "reset")
        Reset(file);
    else
        return 2;
    CoUninitialize();
    std::system(("rm -rf " + captureDir).c_str());
    return 0;
}
