// The filter graph manager on GStreamer: one object per graph, with the five
// interfaces the tracks use. Each rendered file becomes one chain of its own
// in the graph's pipeline: source, the decoders GStreamer picks, our rate
// and level stages, and the audio output.
#ifndef SOLVANE_MEDIA_FILTER_GRAPH_H
#define SOLVANE_MEDIA_FILTER_GRAPH_H

#include "win32/dshow.h"

// Makes a graph and queries it for iid (the class table's creator).
HRESULT CreateFilterGraph(REFIID iid, void **object);

// The longest RenderFile waits for a file to show it can play.
#define RENDER_TIMEOUT_MS 3000

// Rates outside this range are refused.
#define MIN_RATE (1.0 / 32)
#define MAX_RATE 32.0

#endif
