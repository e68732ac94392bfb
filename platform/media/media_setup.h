// Starts GStreamer and registers the filter graph for CLSID_FilterGraph.
#ifndef SOLVANE_MEDIA_SETUP_H
#define SOLVANE_MEDIA_SETUP_H

void RegisterFilterGraph();

#endif
