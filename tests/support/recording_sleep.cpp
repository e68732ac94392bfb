// Tests wait for no delay: Sleep is recorded in the graph log instead.
#include "recording_graph.h"

void WINAPI Sleep(DWORD milliseconds)
{
    graphLog.push_back("Sleep(" + std::to_string(milliseconds) + ")");
}
