#include "media/capture.h"

#include <gst/app/gstappsink.h>

#include <cstdio>
#include <cstdint>
#include <vector>

namespace {

const int captureRate = 48000;
const int captureChannels = 2;
const int frameBytes = captureChannels * 4;

GstClockTime timelineStart = GST_CLOCK_TIME_NONE;

struct CaptureFile {
    std::FILE *file = nullptr;
    uint64_t frames = 0; // written so far, silence included
};

void PutLE32(std::FILE *f, uint32_t v)
{
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void PutLE16(std::FILE *f, uint16_t v)
{
    unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

// The header, rewritten after every write so that the file is whole
// whenever it is read.
void WriteHeader(CaptureFile &capture)
{
    uint32_t dataBytes = (uint32_t)(capture.frames * frameBytes);
    std::FILE *f = capture.file;
    std::fseek(f, 0, SEEK_SET);
    std::fwrite("RIFF", 1, 4, f);
    PutLE32(f, 4 + 26 + 8 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    PutLE32(f, 18);
    PutLE16(f, 3); // IEEE float
    PutLE16(f, captureChannels);
    PutLE32(f, captureRate);
    PutLE32(f, captureRate * frameBytes);
    PutLE16(f, frameBytes);
    PutLE16(f, 32);
    PutLE16(f, 0);
    std::fwrite("data", 1, 4, f);
    PutLE32(f, dataBytes);
    std::fseek(f, 0, SEEK_END);
}

GstFlowReturn NewSample(GstAppSink *sink, gpointer data)
{
    auto *capture = static_cast<CaptureFile *>(data);
    GstSample *sample = gst_app_sink_pull_sample(sink);
    if (sample == nullptr || capture->file == nullptr) {
        if (sample != nullptr)
            gst_sample_unref(sample);
        return GST_FLOW_OK;
    }
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    const GstSegment *segment = gst_sample_get_segment(sample);
    GstClockTime running = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    GstClockTime at = gst_element_get_base_time(GST_ELEMENT(sink)) + running;
    if (GST_CLOCK_TIME_IS_VALID(running) && at > timelineStart) {
        uint64_t frame = gst_util_uint64_scale_int(at - timelineStart, captureRate, GST_SECOND);
        static const std::vector<char> silence(frameBytes * 4800, 0);
        while (capture->frames < frame) {
            uint64_t gap = std::min<uint64_t>(frame - capture->frames, silence.size() / frameBytes);
            std::fwrite(silence.data(), frameBytes, gap, capture->file);
            capture->frames += gap;
        }
    }
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    std::fwrite(map.data, 1, map.size, capture->file);
    capture->frames += map.size / frameBytes;
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    WriteHeader(*capture);
    std::fflush(capture->file);
    return GST_FLOW_OK;
}

void CloseCapture(gpointer data)
{
    auto *capture = static_cast<CaptureFile *>(data);
    if (capture->file != nullptr)
        std::fclose(capture->file);
    delete capture;
}

} // namespace

GstClockTime StartCaptureTimeline()
{
    if (!GST_CLOCK_TIME_IS_VALID(timelineStart)) {
        GstClock *clock = gst_system_clock_obtain();
        timelineStart = gst_clock_get_time(clock);
        gst_object_unref(clock);
    }
    return timelineStart;
}

GstElement *MakeCaptureSink(const std::string &path)
{
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, captureRate, "channels", G_TYPE_INT,
                                        captureChannels, nullptr);
    g_object_set(sink, "sync", TRUE, "caps", caps, nullptr);
    gst_caps_unref(caps);

    auto *capture = new CaptureFile;
    capture->file = std::fopen(path.c_str(), "w+b");
    if (capture->file == nullptr)
        std::fprintf(stderr, "solvane: cannot write %s\n", path.c_str());
    else
        WriteHeader(*capture);
    GstAppSinkCallbacks callbacks = {};
    callbacks.new_sample = NewSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, capture, CloseCapture);
    return sink;
}
