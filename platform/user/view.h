// What draws the window model and takes the user's input: the FLTK view in
// the program, scripted views in tests. Every call comes from the UI thread
// except Wake.
#ifndef SOLVANE_PLATFORM_VIEW_H
#define SOLVANE_PLATFORM_VIEW_H

#include <optional>
#include <string>
#include <vector>

#include "win32/types.h"

enum class Change { Text, Enabled, Checked, Scroll, Focus, SelectAll, Redraw };

struct FileFilter {
    std::string display;               // UTF-8
    std::vector<std::string> patterns; // "*.WAV", "*.*"; matched without regard to case
};

struct FileRequest {
    std::string title; // UTF-8
    std::vector<FileFilter> filters;
    int filter = 0; // index of the selected pair
};

struct ChosenFile {
    std::string path; // UTF-8
    int filter = 0;
};

class View {
public:
    virtual ~View() = default;

    // The dialog has been made and initialised: build what shows it.
    virtual void Build(HWND dialog) = 0;
    virtual void Show(HWND dialog) = 0;
    virtual void Hide(HWND dialog) = 0;
    virtual void Destroy(HWND dialog) = 0;
    // A window's state changed through the model (not through the view).
    virtual void Changed(HWND window, Change change) = 0;

    // Handles the input that has arrived, waiting for some if there is none,
    // and returns; returns early on Wake.
    virtual void Wait() = 0;
    // Any thread: a message was posted.
    virtual void Wake() = 0;

    // A box with one OK button and no owner; returns when the user has closed
    // it, running the message loop meanwhile.
    virtual int MessageBox(const std::string &text, const std::string &caption) = 0;
    // Lets the user choose a file; nothing on cancel. Runs the message loop
    // meanwhile.
    virtual std::optional<ChosenFile> ChooseFile(HWND owner, const FileRequest &request) = 0;
};

View &CurrentView();
// The program sets its view once, before any window exists; tests set theirs.
void SetView(View *view);

#endif
