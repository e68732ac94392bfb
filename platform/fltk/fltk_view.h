// The FLTK view of the window model: the panel window and its controls, the
// message box and the file dialog. Runs on the UI thread; Wake is the one
// call other threads make.
#ifndef SOLVANE_FLTK_VIEW_H
#define SOLVANE_FLTK_VIEW_H

#include "user/view.h"

class FltkView : public View {
public:
    // Opens the display; false when there is none.
    static bool Open();

    void Build(HWND dialog) override;
    void Show(HWND dialog) override;
    void Hide(HWND dialog) override;
    void Destroy(HWND dialog) override;
    void Changed(HWND window, Change change) override;
    void Wait() override;
    void Wake() override;
    int MessageBox(const std::string &text, const std::string &caption) override;
    std::optional<ChosenFile> ChooseFile(HWND owner, const FileRequest &request) override;
};

#endif
