#include "media/rate_stage.h"

#include <gst/audio/audio.h>

#include <atomic>
#include <cmath>

struct RateStage {
    GstElement parent;
    GstPad *sink;
    GstPad *src;
    GstAudioInfo info;
    GstAudioResampler *resampler;
    std::atomic<double> requested; // written by any thread, read by streaming
    double applied;
    guint64 outFrames;  // since the stream started: the output timeline
    bool segmentSent;
};

struct RateStageClass {
    GstElementClass parent_class;
};

G_DEFINE_TYPE(RateStage, rate_stage, GST_TYPE_ELEMENT)

namespace {

const char *const rawFloat = "audio/x-raw, format=(string)F32LE, layout=(string)interleaved";

RateStage *StageOf(GstObject *object)
{
    return reinterpret_cast<RateStage *>(object);
}

// The resampler's input rate for a factor. It is never the output rate
// itself: the resampler would switch to another code path there, and click.
int InputRate(int rate, double factor)
{
    int in = (int)std::lround(rate * factor);
    return in == rate ? rate + 1 : in;
}

void FreeResampler(RateStage *self)
{
    if (self->resampler != nullptr)
        gst_audio_resampler_free(self->resampler);
    self->resampler = nullptr;
}

bool StartResampler(RateStage *self)
{
    FreeResampler(self);
    int rate = GST_AUDIO_INFO_RATE(&self->info);
    self->applied = self->requested.load();
    int in = InputRate(rate, self->applied);
    GstStructure *options = gst_structure_new_empty("options");
    gst_audio_resampler_options_set_quality(GST_AUDIO_RESAMPLER_METHOD_KAISER, GST_AUDIO_RESAMPLER_QUALITY_DEFAULT,
                                            in, rate, options);
    gst_structure_set(options, GST_AUDIO_RESAMPLER_OPT_FILTER_MODE, GST_TYPE_AUDIO_RESAMPLER_FILTER_MODE,
                      GST_AUDIO_RESAMPLER_FILTER_MODE_INTERPOLATED, nullptr);
    self->resampler = gst_audio_resampler_new(GST_AUDIO_RESAMPLER_METHOD_KAISER, GST_AUDIO_RESAMPLER_FLAG_VARIABLE_RATE,
                                              GST_AUDIO_FORMAT_F32LE, GST_AUDIO_INFO_CHANNELS(&self->info), in, rate,
                                              options);
    gst_structure_free(options);
    return self->resampler != nullptr;
}

gboolean SinkEvent(GstPad *pad, GstObject *parent, GstEvent *event)
{
    RateStage *self = StageOf(parent);
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

GstFlowReturn Chain(GstPad *, GstObject *parent, GstBuffer *input)
{
    RateStage *self = StageOf(parent);
    if (self->resampler == nullptr) {
        gst_buffer_unref(input);
        return GST_FLOW_NOT_NEGOTIATED;
    }
    double factor = self->requested.load();
    int rate = GST_AUDIO_INFO_RATE(&self->info);
    if (factor != self->applied) {
        gst_audio_resampler_update(self->resampler, InputRate(rate, factor), rate, nullptr);
        self->applied = factor;
    }
    if (!self->segmentSent) {
        GstSegment segment;
        gst_segment_init(&segment, GST_FORMAT_TIME);
        gst_pad_push_event(self->src, gst_event_new_segment(&segment));
        self->segmentSent = true;
    }

    int frameSize = GST_AUDIO_INFO_BPF(&self->info);
    GstMapInfo in;
    gst_buffer_map(input, &in, GST_MAP_READ);
    gsize inFrames = in.size / frameSize;
    gsize outFrames = gst_audio_resampler_get_out_frames(self->resampler, inFrames);
    GstBuffer *output = gst_buffer_new_allocate(nullptr, outFrames * frameSize, nullptr);
    GstMapInfo out;
    gst_buffer_map(output, &out, GST_MAP_WRITE);
    gpointer inPlanes[1] = {in.data};
    gpointer outPlanes[1] = {out.data};
    gst_audio_resampler_resample(self->resampler, inPlanes, inFrames, outPlanes, outFrames);
    gst_buffer_unmap(output, &out);
    gst_buffer_unmap(input, &in);
    gst_buffer_unref(input);

    GST_BUFFER_PTS(output) = gst_util_uint64_scale_int(self->outFrames, GST_SECOND, rate);
    self->outFrames += outFrames;
    GST_BUFFER_DURATION(output) = gst_util_uint64_scale_int(self->outFrames, GST_SECOND, rate) - GST_BUFFER_PTS(output);
    if (outFrames == 0) {
        gst_buffer_unref(output);
        return GST_FLOW_OK;
    }
    return gst_pad_push(self->src, output);
}

void Finalize(GObject *object)
{
    FreeResampler(reinterpret_cast<RateStage *>(object));
    G_OBJECT_CLASS(rate_stage_parent_class)->finalize(object);
}

} // namespace

static void rate_stage_class_init(RateStageClass *klass)
{
    GstElementClass *element = GST_ELEMENT_CLASS(klass);
    G_OBJECT_CLASS(klass)->finalize = Finalize;
    gst_element_class_set_static_metadata(element, "Rate stage", "Filter/Effect/Audio",
                                          "Plays faster or slower with the pitch following", "SOLVANE");
    GstCaps *caps = gst_caps_from_string(rawFloat);
    gst_element_class_add_pad_template(element, gst_pad_template_new("sink", GST_PAD_SINK, GST_PAD_ALWAYS, caps));
    gst_element_class_add_pad_template(element, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
    gst_caps_unref(caps);
}

static void rate_stage_init(RateStage *self)
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
    new (&self->requested) std::atomic<double>(1.0);
    self->applied = 1.0;
    self->resampler = nullptr;
    self->outFrames = 0;
    self->segmentSent = false;
}

GstElement *MakeRateStage()
{
    return GST_ELEMENT(g_object_new(rate_stage_get_type(), nullptr));
}

void SetStageRate(GstElement *stage, double factor)
{
    reinterpret_cast<RateStage *>(stage)->requested.store(factor);
}
