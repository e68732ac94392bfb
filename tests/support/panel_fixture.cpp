#include "panel_fixture.h"

#include <fstream>
#include <iterator>

#include "panel/panel_dialog.h"
#include "panel/rate_spin.h"
#include "tracks/track_graphs.h"
#include "user/dialog_manager.h"
#include "user/message_loop.h"
#include "user/window.h"

HINSTANCE ProgramModule()
{
    static std::vector<uint8_t> bytes = [] {
        std::ifstream in(SOLVANE_RES_PATH, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    static HINSTANCE__ module = ReadResources(bytes);
    return &module;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void PanelTest::SetUp()
{
    SetView(&view);
    ResetGraphDoubles();
    RegisterGraphDouble();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

void PanelTest::TearDown()
{
    DestroyDialog(panel);
    ReleaseGraphs();
    CoUninitialize();
    DispatchPosted(); // messages for the destroyed panel go nowhere
    spinDirection = 0;
}

void PanelTest::OpenPanel()
{
    panel = CreateDialogFromTemplate(ProgramModule(), "SOLVANE", PanelDialogProc, 0);
    ASSERT_NE(panel, nullptr);
}

void PanelTest::ReopenPanel(const std::function<void()> &setScript)
{
    DestroyDialog(panel);
    ReleaseGraphs();
    ResetGraphDoubles();
    setScript();
    OpenPanel();
    TakeLog();
}

void PanelTest::PumpMessages()
{
    DispatchPosted();
}

std::string PanelTest::Text(int id) const
{
    char text[MAX_PATH];
    GetWindowTextA(Item(id), text, MAX_PATH);
    return text;
}

std::vector<std::string> PanelTest::TakeLog()
{
    std::vector<std::string> log;
    log.swap(graphLog);
    return log;
}
