// A sink that writes what it would play into a WAV file (32-bit float,
// stereo, 48 kHz), each buffer at the place its clock time gives on one
// timeline shared by the whole process and starting at process start, with
// silence where nothing played.
#ifndef SOLVANE_MEDIA_CAPTURE_H
#define SOLVANE_MEDIA_CAPTURE_H

#include <gst/gst.h>

#include <string>

GstElement *MakeCaptureSink(const std::string &path);

// Starts the capture timeline now (once per process) and returns the clock
// time it started at.
GstClockTime StartCaptureTimeline();

#endif
