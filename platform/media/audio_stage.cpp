#include "media/audio_stage.h"

#include <gst/audio/audio.h>

#include <algorithm>
#include <atomic>
#include <cmath>

struct AudioStage {
    GstElement parent;
    GstPad *sink;
    GstPad *src;
    GstAudioInfo info;
    GstAudioResampler *resampler;
    // Written by any thread, read by the streaming thread once a slice.
    std::atomic<double> requestedRate;
    std::atomic<float> leftGain, rightGain;
    double appliedRate;
    guint64 outFrames; // since the stream started: the output timeline
    bool segmentSent;
};

struct AudioStageClass {
    GstElementClass parent_class;
};

G_DEFINE_TYPE(AudioStage, audio_stage, GST_TYPE_ELEMENT)

namespace {

const int CHANNELS = 2; // a frame is a left and a right float
const char *const stereoFloat = "audio/x-raw, format=(string)F32LE, layout=(string)interleaved, channels=(int)2";
// A change is heard within one to two slices; every slice costs the output a
// wake-up. 12.5 ms keeps a change within 30 ms.
const int SLICES_PER_SECOND = 80;

AudioStage *StageOf(GstObject *object)
{
    return reinterpret_cast<AudioStage *>(object);
}

// The resampler's input rate for a factor. It is never the output rate
// itself: the resampler would switch to another code path there, and click.
int InputRate(int rate, double factor)
{
    int in = (int)std::lround(rate * factor);
    return in == rate ? rate + 1 : in;
}

void FreeResampler(AudioStage *self)
{
    if (self->resampler != nullptr)
        gst_audio_resampler_free(self->resampler);
    self->resampler = nullptr;
}

bool StartResampler(AudioStage *self)
{
    FreeResampler(self);
    int rate = GST_AUDIO_INFO_RATE(&self->info);
    self->appliedRate = self->requestedRate.load();
    int in = InputRate(rate, self->appliedRate);
    GstStructure *options = gst_structure_new_empty("options");
    gst_audio_resampler_options_set_quality(GST_AUDIO_RESAMPLER_METHOD_KAISER, GST_AUDIO_RESAMPLER_QUALITY_DEFAULT,
                                            in, rate, options);
    gst_structure_set(options, GST_AUDIO_RESAMPLER_OPT_FILTER_MODE, GST_TYPE_AUDIO_RESAMPLER_FILTER_MODE,
                      GST_AUDIO_RESAMPLER_FILTER_MODE_INTERPOLATED, nullptr);
    self->resampler = gst_audio_resampler_new(GST_AUDIO_RESAMPLER_METHOD_KAISER, GST_AUDIO_RESAMPLER_FLAG_VARIABLE_RATE,
                                              GST_AUDIO_FORMAT_F32LE, CHANNELS, in, rate, options);
    gst_structure_free(options);
    return self->resampler != nullptr;
}

void FollowRequestedRate(AudioStage *self)
{
    double factor = self->requestedRate.load();
    if (factor == self->appliedRate)
        return;
    int rate = GST_AUDIO_INFO_RATE(&self->info);
    gst_audio_resampler_update(self->resampler, InputRate(rate, factor), rate, nullptr);
    self->appliedRate = factor;
}

void ApplyGains(AudioStage *self, float *frames, gsize count)
{
    float left = self->leftGain.load(), right = self->rightGain.load();
    if (left == 1.0f && right == 1.0f)
        return;
    for (gsize i = 0; i < count; i++) {
        frames[2 * i] *= left;
        frames[2 * i + 1] *= right;
    }
}

// Resamples `inFrames` frames, with what the resampler holds from before,
// into `outFrames` and sends them on.
GstFlowReturn PushResampled(AudioStage *self, const float *input, gsize inFrames, gsize outFrames)
{
    GstBuffer *output = gst_buffer_new_allocate(nullptr, outFrames * CHANNELS * sizeof(float), nullptr);
    GstMapInfo out;
    gst_buffer_map(output, &out, GST_MAP_WRITE);
    gpointer inPlanes[1] = {const_cast<float *>(input)};
    gpointer outPlanes[1] = {out.data};
    // No input stands for silence.
    gst_audio_resampler_resample(self->resampler, input != nullptr ? inPlanes : nullptr, inFrames, outPlanes,
                                 outFrames);
    ApplyGains(self, reinterpret_cast<float *>(out.data), outFrames);
    gst_buffer_unmap(output, &out);

    int rate = GST_AUDIO_INFO_RATE(&self->info);
    GST_BUFFER_PTS(output) = gst_util_uint64_scale_int(self->outFrames, GST_SECOND, rate);
    self->outFrames += outFrames;
    GST_BUFFER_DURATION(output) = gst_util_uint64_scale_int(self->outFrames, GST_SECOND, rate) - GST_BUFFER_PTS(output);
    return gst_pad_push(self->src, output);
}

// The fewest input frames, at least one, that let the resampler give `out`
// frames; its own count covers only the advance, not the filter's look-ahead.
gsize InputFor(GstAudioResampler *resampler, gsize out, gsize available)
{
    gsize in = std::clamp<gsize>(gst_audio_resampler_get_in_frames(resampler, out), 1, available);
    while (in < available && gst_audio_resampler_get_out_frames(resampler, in) < out)
        in++;
    while (in > 1 && gst_audio_resampler_get_out_frames(resampler, in - 1) >= out)
        in--;
    return in;
}

// Sends on every whole slice that the resampler can give with `input` added;
// the rest waits in the resampler for more input.
GstFlowReturn PushSlices(AudioStage *self, const float *input, gsize inFrames)
{
    const gsize slice = std::max(1, GST_AUDIO_INFO_RATE(&self->info) / SLICES_PER_SECOND);
    while (inFrames > 0) {
        FollowRequestedRate(self); // each slice plays at the rate of its moment
        if (gst_audio_resampler_get_out_frames(self->resampler, inFrames) < slice) {
            gpointer inPlanes[1] = {const_cast<float *>(input)};
            gst_audio_resampler_resample(self->resampler, inPlanes, inFrames, nullptr, 0);
            break;
        }
        gsize used = InputFor(self->resampler, slice, inFrames);
        GstFlowReturn flow = PushResampled(self, input, used, slice);
        if (flow != GST_FLOW_OK)
            return flow;
        input += CHANNELS * used;
        inFrames -= used;
    }
    return GST_FLOW_OK;
}

// At the end of the stream: what the resampler still holds, and the tail its
// filter keeps back, pushed out with silence.
void PushRest(AudioStage *self)
{
    if (self->resampler == nullptr || !self->segmentSent)
        return;
    gsize tail = gst_audio_resampler_get_max_latency(self->resampler);
    FollowRequestedRate(self);
    gsize rest = gst_audio_resampler_get_out_frames(self->resampler, tail);
    if (rest > 0)
        PushResampled(self, nullptr, tail, rest);
}

GstFlowReturn Chain(GstPad *, GstObject *parent, GstBuffer *input)
{
    AudioStage *self = StageOf(parent);
    if (self->resampler == nullptr) {
        gst_buffer_unref(input);
        return GST_FLOW_NOT_NEGOTIATED;
    }
    if (!self->segmentSent) {
        GstSegment segment;
        gst_segment_init(&segment, GST_FORMAT_TIME);
        gst_pad_push_event(self->src, gst_event_new_segment(&segment));
        self->segmentSent = true;
    }
    GstMapInfo in;
    gst_buffer_map(input, &in, GST_MAP_READ);
    GstFlowReturn flow = PushSlices(self, reinterpret_cast<const float *>(in.data), in.size / (CHANNELS * sizeof(float)));
    gst_buffer_unmap(input, &in);
    gst_buffer_unref(input);
    return flow;
}

gboolean SinkEvent(GstPad *pad, GstObject *parent, GstEvent *event)
{
    AudioStage *self = StageOf(parent);
    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS: {
        GstCaps *caps;
        gst_event_parse_caps(event, &caps);
        if (!gst_audio_info_from_caps(&self->info, caps) || !StartResampler(self)) {
            gst_event_unref(event);
            return FALSE;
        }
        return gst_pad_event_default(pad, parent, event);
    }
    case GST_EVENT_SEGMENT:
        // The output runs on a timeline of its own, started with its first
        // buffer.
        gst_event_unref(event);
        return TRUE;
    case GST_EVENT_EOS:
        PushRest(self);
        return gst_pad_event_default(pad, parent, event);
    case GST_EVENT_STREAM_START:
    case GST_EVENT_FLUSH_STOP:
        self->outFrames = 0;
        self->segmentSent = false;
        if (self->resampler != nullptr)
            gst_audio_resampler_reset(self->resampler);
        return gst_pad_event_default(pad, parent, event);
    default:
        return gst_pad_event_default(pad, parent, event);
    }
}

void Finalize(GObject *object)
{
    FreeResampler(reinterpret_cast<AudioStage *>(object));
    G_OBJECT_CLASS(audio_stage_parent_class)->finalize(object);
}

} // namespace

static void audio_stage_class_init(AudioStageClass *klass)
{
    GstElementClass *element = GST_ELEMENT_CLASS(klass);
    G_OBJECT_CLASS(klass)->finalize = Finalize;
    gst_element_class_set_static_metadata(element, "Audio stage", "Filter/Effect/Audio",
                                          "Plays faster or slower with the pitch following, at its own levels",
                                          "SOLVANE");
    GstCaps *caps = gst_caps_from_string(stereoFloat);
    gst_element_class_add_pad_template(element, gst_pad_template_new("sink", GST_PAD_SINK, GST_PAD_ALWAYS, caps));
    gst_element_class_add_pad_template(element, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
    gst_caps_unref(caps);
}

static void audio_stage_init(AudioStage *self)
{
    GstElementClass *klass = GST_ELEMENT_GET_CLASS(self);
    self->sink = gst_pad_new_from_template(gst_element_class_get_pad_template(klass, "sink"), "sink");
    self->src = gst_pad_new_from_template(gst_element_class_get_pad_template(klass, "src"), "src");
    gst_pad_set_chain_function(self->sink, Chain);
    gst_pad_set_event_function(self->sink, SinkEvent);
    GST_PAD_SET_PROXY_CAPS(self->sink);
    GST_PAD_SET_PROXY_CAPS(self->src);
    GST_PAD_SET_PROXY_ALLOCATION(self->sink);
    gst_element_add_pad(GST_ELEMENT(self), self->sink);
    gst_element_add_pad(GST_ELEMENT(self), self->src);
    new (&self->requestedRate) std::atomic<double>(1.0);
    new (&self->leftGain) std::atomic<float>(1.0f);
    new (&self->rightGain) std::atomic<float>(1.0f);
    self->appliedRate = 1.0;
    self->resampler = nullptr;
    self->outFrames = 0;
    self->segmentSent = false;
}

GstElement *MakeAudioStage()
{
    return GST_ELEMENT(g_object_new(audio_stage_get_type(), nullptr));
}

void SetStageRate(GstElement *stage, double factor)
{
    reinterpret_cast<AudioStage *>(stage)->requestedRate.store(factor);
}

void SetStageGains(GstElement *stage, float left, float right)
{
    auto *self = reinterpret_cast<AudioStage *>(stage);
    self->leftGain.store(left);
    self->rightGain.store(right);
}
