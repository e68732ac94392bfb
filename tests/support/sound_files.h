// Sound files for the media tests: written here, or encoded by GStreamer
// from test sources; and the captured output read back and measured.
#ifndef SOLVANE_TESTS_SOUND_FILES_H
#define SOLVANE_TESTS_SOUND_FILES_H

#include <cstddef>
#include <string>
#include <vector>

// A stereo 16-bit WAV of a sine tone.
void WriteTone(const std::string &path, double hz, double seconds, double amplitude, int rate = 44100);
// A one-note standard MIDI file.
void WriteMidi(const std::string &path);
// Runs a gst-launch style description to its end; false when it fails.
bool RunPipeline(const std::string &description);

// A captured WAV: 32-bit float stereo.
struct Capture {
    int rate = 0;
    std::vector<float> left, right;
    size_t Frames() const { return left.size(); }
};

Capture ReadCapture(const std::string &path);

// Level in dBFS of the RMS of [from, to) of a channel; -200 for silence.
double LevelDb(const std::vector<float> &samples, size_t from, size_t to);
// The frequency of a tone over [from, to), by counting upward zero crossings.
double ToneFrequency(const std::vector<float> &samples, size_t from, size_t to, int rate);
// The first and one past the last frame louder than -60 dBFS in either channel.
std::pair<size_t, size_t> SoundingFrames(const Capture &capture);

#endif
