#include "sound_files.h"

#include <gst/gst.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

void PutLE(std::ofstream &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        out.put((char)(value >> (8 * i)));
}

void PutBE(std::string &out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; i--)
        out.push_back((char)(value >> (8 * i)));
}

uint32_t LE(const std::vector<char> &b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes && at + i < b.size(); i++)
        v |= (uint32_t)(unsigned char)b[at + i] << (8 * i);
    return v;
}

} // namespace

void WriteTone(const std::string &path, double hz, double seconds, double amplitude, int rate)
{
    uint32_t frames = (uint32_t)(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLE(out, 36 + frames * 4, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);
    PutLE(out, 2, 2);
    PutLE(out, rate, 4);
    PutLE(out, rate * 4, 4);
    PutLE(out, 4, 2);
    PutLE(out, 16, 2);
    out.write("data", 4);
    PutLE(out, frames * 4, 4);
    for (uint32_t i = 0; i < frames; i++) {
        auto sample = (int16_t)std::lround(32767 * amplitude * std::sin(2 * M_PI * hz * i / rate));
        PutLE(out, (uint16_t)sample, 2);
        PutLE(out, (uint16_t)sample, 2);
    }
}

void WriteMidi(const std::string &path)
{
    std::string track = {0x00, (char)0xC0, 0x00,              // piano
                         0x00, (char)0x90, 0x45, 0x64,        // A4 on
                         (char)0x83, 0x60, (char)0x80, 0x45, 0x40, // 480 ticks later off
                         0x00, (char)0xFF, 0x2F, 0x00};
    std::string file = "MThd";
    PutBE(file, 6, 4);
    PutBE(file, 0, 2);
    PutBE(file, 1, 2);
    PutBE(file, 480, 2);
    file += "MTrk";
    PutBE(file, (uint32_t)track.size(), 4);
    file += track;
    std::ofstream(path, std::ios::binary) << file;
}

bool RunPipeline(const std::string &description)
{
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.c_str(), &error);
    if (pipeline == nullptr) {
        g_error_free(error);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *message = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                                     (GstMessageType)(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    bool ok = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message != nullptr)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

Capture ReadCapture(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    Capture capture;
    // A float stereo WAV whose fmt chunk is 18 bytes, as the capture writes.
    if (bytes.size() < 46 || std::memcmp(bytes.data(), "RIFF", 4) != 0)
        return capture;
    capture.rate = (int)LE(bytes, 24, 4);
    size_t data = 46, size = std::min<size_t>(LE(bytes, 42, 4), bytes.size() - data);
    for (size_t at = data; at + 8 <= data + size; at += 8) {
        float frame[2];
        std::memcpy(frame, &bytes[at], 8);
        capture.left.push_back(frame[0]);
        capture.right.push_back(frame[1]);
    }
    return capture;
}

double LevelDb(const std::vector<float> &samples, size_t from, size_t to)
{
    double sum = 0;
    to = std::min(to, samples.size());
    for (size_t i = from; i < to; i++)
        sum += (double)samples[i] * samples[i];
    if (to <= from || sum == 0)
        return -200;
    return 10 * std::log10(sum / (to - from));
}

double ToneFrequency(const std::vector<float> &samples, size_t from, size_t to, int rate)
{
    to = std::min(to, samples.size());
    size_t first = 0, last = 0, crossings = 0;
    for (size_t i = from + 1; i < to; i++) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (crossings++ == 0)
                first = i;
            last = i;
        }
    }
    if (crossings < 2)
        return 0;
    return (double)(crossings - 1) * rate / (double)(last - first);
}

std::pair<size_t, size_t> SoundingFrames(const Capture &capture)
{
    const float threshold = 0.001f;
    size_t first = capture.Frames(), last = 0;
    for (size_t i = 0; i < capture.Frames(); i++) {
        if (std::fabs(capture.left[i]) > threshold || std::fabs(capture.right[i]) > threshold) {
            first = std::min(first, i);
            last = i + 1;
        }
    }
    return {first, last};
}
