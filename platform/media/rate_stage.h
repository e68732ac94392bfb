// A GStreamer element that plays its input faster or slower with the pitch
// following, as if the sample rate changed: a variable-rate resampler over
// short buffers, updated between buffers, so a change is heard at once and
// neither clicks nor jumps. Input and output are interleaved 32-bit float at
// the same rate; the output carries its own continuous timestamps.
#ifndef SOLVANE_MEDIA_RATE_STAGE_H
#define SOLVANE_MEDIA_RATE_STAGE_H

#include <gst/gst.h>

GstElement *MakeRateStage();

// Any thread: the factor (1.0 is normal speed) the next buffer plays at.
void SetStageRate(GstElement *stage, double factor);

#endif
