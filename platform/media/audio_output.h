// Where the graphs' sound goes, chosen once per process: the desktop's sound
// server or ALSA; a silent output paced in real time when there is no device
// (or SOLVANE_AUDIO=null); WAV files on one shared timeline with
// SOLVANE_AUDIO=capture:DIR.
#ifndef SOLVANE_MEDIA_AUDIO_OUTPUT_H
#define SOLVANE_MEDIA_AUDIO_OUTPUT_H

#include <gst/gst.h>

#include <string>

// A new sink element for one chain. name says which graph and chain it
// serves, for the capture file's name.
GstElement *MakeAudioOutput(const std::string &name);

#endif
