// The process entry on Linux: opens the display, makes the program's module
// from the resources the build embedded, and calls WinMain as Windows' start-
// up code does.
#include <cstdio>

#include "fltk/fltk_view.h"
#include "media/media_setup.h"
#include "user/resources.h"
#include "user/view.h"

extern "C" const unsigned char programResources[];
extern "C" const unsigned char programResourcesEnd[];

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

int main()
{
    if (!FltkView::Open()) {
        std::fprintf(stderr, "solvane: cannot open the display (is DISPLAY set?)\n");
        return 1;
    }
    FltkView view;
    SetView(&view);
    RegisterFilterGraph();
    HINSTANCE__ module = ReadResources({programResources, programResourcesEnd});
    char commandLine[] = "";
    return WinMain(&module, nullptr, commandLine, 1);
}
