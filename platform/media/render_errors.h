// What a failed rendering tells the user: GStreamer's errors mapped to the
// DirectShow codes whose messages fit them best.
#ifndef SOLVANE_MEDIA_RENDER_ERRORS_H
#define SOLVANE_MEDIA_RENDER_ERRORS_H

#include <gst/gst.h>

#include <string>
#include <vector>

#include "win32/dshow.h"

struct RenderOutcome {
    std::vector<GError *> errors; // owned; several may arrive for one fault
    bool audio = false;          // a stream was linked to an output
    bool video = false;          // a video stream was left out
    bool other = false;          // another stream was left out
    bool timedOut = false;

    RenderOutcome() = default;
    RenderOutcome(const RenderOutcome &) = delete;
    RenderOutcome &operator=(const RenderOutcome &) = delete;
    ~RenderOutcome();
};

// Checks the file itself before GStreamer sees it: S_OK when it can be read.
HRESULT CheckSourceFile(const std::string &path);

// The code RenderFile returns for what happened.
HRESULT RenderResult(const RenderOutcome &outcome);

#endif
