#include "media/audio_output.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "media/capture.h"

namespace {

enum class Output { Device, Silent, Capture };

struct Choice {
    Output output = Output::Silent;
    std::string device;     // the sink factory, for Output::Device
    std::string captureDir; // for Output::Capture
};

// Whether a sink of this factory can open its device here.
bool DeviceOpens(const char *factory)
{
    GstElement *sink = gst_element_factory_make(factory, nullptr);
    if (sink == nullptr)
        return false;
    bool opens = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return opens;
}

Choice Choose()
{
    Choice choice;
    const char *setting = std::getenv("SOLVANE_AUDIO");
    std::string value = setting != nullptr ? setting : "";
    if (value == "null")
        return choice;
    if (value.rfind("capture:", 0) == 0) {
        choice.output = Output::Capture;
        choice.captureDir = value.substr(8);
        return choice;
    }
    for (const char *factory : {"pulsesink", "alsasink"}) {
        if (DeviceOpens(factory)) {
            choice.output = Output::Device;
            choice.device = factory;
            return choice;
        }
    }
    std::fprintf(stderr, "solvane: no audio device; playing into a silent output\n");
    return choice;
}

const Choice &OutputChoice()
{
    static std::once_flag once;
    static Choice choice;
    std::call_once(once, [] { choice = Choose(); });
    return choice;
}

} // namespace

GstElement *MakeAudioOutput(const std::string &name)
{
    const Choice &choice = OutputChoice();
    switch (choice.output) {
    case Output::Device: {
        GstElement *sink = gst_element_factory_make(choice.device.c_str(), nullptr);
        // A short device buffer, so that level and rate changes are heard
        // within about 50 ms.
        g_object_set(sink, "buffer-time", (gint64)40000, "latency-time", (gint64)10000, nullptr);
        return sink;
    }
    case Output::Capture:
        return MakeCaptureSink(choice.captureDir + "/" + name + ".wav");
    case Output::Silent:
        break;
    }
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}
