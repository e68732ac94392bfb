// A view for tests: no display. It records what the model shows, answers
// message boxes and file dialogs from a script, and feeds scripted input
// when a message loop waits.
#ifndef SOLVANE_TESTS_TEST_VIEW_H
#define SOLVANE_TESTS_TEST_VIEW_H

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "user/view.h"

struct ShownBox {
    std::string text; // UTF-8
    std::string caption;
};

class TestView : public View {
public:
    void Build(HWND) override {}
    void Show(HWND dialog) override
    {
        shown++;
        lastShown = dialog;
    }
    void Hide(HWND) override {}
    void Destroy(HWND) override {}
    void Changed(HWND window, Change change) override;
    // Runs the next scripted input; a wait with none left is a test that
    // would hang, so it ends the test program.
    void Wait() override;
    void Wake() override {}
    int MessageBox(const std::string &text, const std::string &caption) override;
    std::optional<ChosenFile> ChooseFile(HWND owner, const FileRequest &request) override;

    // How many times the window's state was shown changed in this way.
    int Count(HWND window, Change change) const;

    int shown = 0;
    HWND lastShown = nullptr;
    std::vector<std::pair<HWND, Change>> changes;
    std::deque<std::function<void()>> inputs;
    std::vector<ShownBox> boxes;
    std::function<void()> whileBoxOpen; // runs inside each box's loop
    std::vector<FileRequest> fileRequests;
    std::function<std::optional<ChosenFile>(HWND owner)> chooseFile; // cancels when unset
};

#endif
