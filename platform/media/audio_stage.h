// A GStreamer element that plays its input faster or slower with the pitch
// following, as if the sample rate changed, and at its own left and right
// gains: a variable-rate resampler whose output leaves in 12.5 ms slices, with
// the rate and gains read again for every slice, so a change is heard at once
// and neither clicks nor jumps. Input and output are interleaved 32-bit float
// stereo at the same rate; the output carries its own continuous timestamps.
#ifndef SOLVANE_MEDIA_AUDIO_STAGE_H
#define SOLVANE_MEDIA_AUDIO_STAGE_H

#include <gst/gst.h>

GstElement *MakeAudioStage();

// Any thread: what the next slice plays at. A factor of 1.0 is normal speed;
// a gain of 1.0 leaves a channel as it is.
void SetStageRate(GstElement *stage, double factor);
void SetStageGains(GstElement *stage, float left, float right);

#endif
