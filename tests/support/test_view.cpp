#include "test_view.h"

#include <cstdio>
#include <cstdlib>

#include "win32/user.h"

void TestView::Changed(HWND window, Change change)
{
    changes.emplace_back(window, change);
}

void TestView::Wait()
{
    if (inputs.empty()) {
        std::fprintf(stderr, "a message loop waited for input that the test never gives\n");
        std::abort();
    }
    std::function<void()> input = std::move(inputs.front());
    inputs.pop_front();
    input();
}

int TestView::MessageBox(const std::string &text, const std::string &caption)
{
    boxes.push_back({text, caption});
    if (whileBoxOpen)
        whileBoxOpen();
    return IDOK;
}

std::optional<ChosenFile> TestView::ChooseFile(HWND owner, const FileRequest &request)
{
    fileRequests.push_back(request);
    return chooseFile ? chooseFile(owner) : std::nullopt;
}

int TestView::Count(HWND window, Change change) const
{
    int count = 0;
    for (const auto &[w, c] : changes)
        count += w == window && c == change;
    return count;
}
