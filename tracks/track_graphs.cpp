#include "tracks/track_graphs.h"

TrackGraphSet trackGraphs;

template <class Interface>
static void ReleaseEntry(Interface *&entry)
{
    if (entry != NULL) {
        entry->Release();
        entry = NULL;
    }
}

static void ShowCreateFailure(const char *text)
{
    MessageBoxA(NULL, text, "Create", MB_OK);
}

// Makes one step's query for all three tracks before any result is looked
// at, and returns the first failure among them, or the last success.
template <class Interface>
static HRESULT QueryAll(const IID &iid, Interface *(&entries)[TRACK_COUNT])
{
    HRESULT result = S_OK;
    for (int i = 0; i < TRACK_COUNT; i++) {
        HRESULT hr = trackGraphs.pGraph[i]->QueryInterface(iid, (void **)&entries[i]);
        if (SUCCEEDED(result))
            result = hr;
    }
    return result;
}

HRESULT CreateGraphs(HWND panel)
{
    HRESULT result = S_OK;
    for (int i = 0; i < TRACK_COUNT; i++) {
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                      (void **)&trackGraphs.pGraph[i]);
        if (SUCCEEDED(result))
            result = hr;
    }
    if (FAILED(result)) {
        ShowCreateFailure("ERROR - Could not create the Filter Graph Manager.");
        return result;
    }

    result = QueryAll(IID_IMediaControl, trackGraphs.pControl);
    if (FAILED(result)) {
        ShowCreateFailure("ERROR--Could not obtain the Media Control interface.");
        return result;
    }

    result = QueryAll(IID_IMediaEventEx, trackGraphs.pEvent);
    if (FAILED(result)) {
        ShowCreateFailure("ERROR-Could not obtain the Media Event interface.");
        return result;
    }

    for (int i = 0; i < TRACK_COUNT; i++)
        trackGraphs.pEvent[i]->SetNotifyWindow((OAHWND)panel, WM_TRACKEVENT1 + i, 0);
    QueryAll(IID_IBasicAudio, trackGraphs.pAudio);
    QueryAll(IID_IMediaSeeking, trackGraphs.pSeeking);
    return result;
}

void ReleaseGraphs(void)
{
    // Kind by kind in the reverse order of creation, tracks upwards.
    for (int i = 0; i < TRACK_COUNT; i++)
        ReleaseEntry(trackGraphs.pSeeking[i]);
    for (int i = 0; i < TRACK_COUNT; i++)
        ReleaseEntry(trackGraphs.pAudio[i]);
    for (int i = 0; i < TRACK_COUNT; i++)
        ReleaseEntry(trackGraphs.pEvent[i]);
    for (int i = 0; i < TRACK_COUNT; i++)
        ReleaseEntry(trackGraphs.pControl[i]);
    for (int i = 0; i < TRACK_COUNT; i++)
        ReleaseEntry(trackGraphs.pGraph[i]);
}
