#include <chrono>
#include <thread>

#include "win32/base.h"

// Blocks the calling thread, as on Windows: the panel's thread handles no
// messages meanwhile.
void WINAPI Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
