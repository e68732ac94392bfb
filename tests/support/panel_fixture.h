// The panel on the window model with graph doubles and a test view: the
// system's code as it runs in the program, without a display.
#ifndef SOLVANE_TESTS_PANEL_FIXTURE_H
#define SOLVANE_TESTS_PANEL_FIXTURE_H

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "recording_graph.h"
#include "res/resource.h"
#include "test_view.h"
#include "user/dialog_manager.h"
#include "user/resources.h"
#include "user/window.h"

// The program's module, read from the compiled .res file.
HINSTANCE ProgramModule();

// The parts one after another, as one list of calls.
std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts);

class PanelTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the panel as the dialog manager does, without its loop.
    void OpenPanel();
    // Closes the panel and opens it again on fresh doubles that follow the
    // script that setScript writes; the log starts empty.
    void ReopenPanel(const std::function<void()> &setScript);
    // Handles the posted messages, as the message loop would.
    void PumpMessages();

    HWND Item(int id) const { return GetDlgItem(panel, id); }
    std::string Text(int id) const;
    void SetText(int id, const std::string &text) { SetDlgItemTextA(panel, id, text.c_str()); }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) { return SendMessageA(panel, message, wParam, lParam); }
    void Press(int id) { Send(WM_COMMAND, MAKEWPARAM(id, 0), (LPARAM)Item(id)); }
    // The log since the last call, and emptied.
    std::vector<std::string> TakeLog();
    // The transport state the two buttons show.
    bool Playing() const { return !IsWindowEnabled(Item(IDC_PLAY)) && IsWindowEnabled(Item(IDC_STOP)); }
    bool Idle() const { return IsWindowEnabled(Item(IDC_PLAY)) && !IsWindowEnabled(Item(IDC_STOP)); }

    TestView view;
    HWND panel = nullptr;
};

// The panel open from the start, with the log of its opening taken away.
class OpenPanelTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        OpenPanel();
        TakeLog();
    }
};

#endif
