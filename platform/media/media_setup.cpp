#include "media/media_setup.h"

#include <gst/gst.h>

#include "com/class_table.h"
#include "media/capture.h"
#include "media/filter_graph.h"
#include "media/teardown.h"

void RegisterFilterGraph()
{
    gst_init(nullptr, nullptr);
    // The mpg123 decoder opens an MP3 several times faster than libav's.
    if (GstPluginFeature *mpg123 = gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec")) {
        gst_plugin_feature_set_rank(mpg123, GST_RANK_PRIMARY + 1);
        gst_object_unref(mpg123);
    }
    StartCaptureTimeline();
    RegisterInProcClass(CLSID_FilterGraph, CreateFilterGraph);
    AtComEnd(FinishTeardowns); // no graph outlives COM
}
