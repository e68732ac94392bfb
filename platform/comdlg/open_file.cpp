// The open-file dialog: the record's filter list and title go to the view,
// and the chosen file comes back as an ANSI path that names it exactly.
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "base/codepage.h"
#include "user/view.h"
#include "win32/comdlg.h"
#include "win32/user.h"

namespace {

std::vector<std::string> SplitPatterns(const std::string &list)
{
    std::vector<std::string> patterns;
    size_t start = 0;
    for (size_t end; (end = list.find(';', start)) != std::string::npos; start = end + 1)
        patterns.push_back(list.substr(start, end - start));
    patterns.push_back(list.substr(start));
    return patterns;
}

// The pairs of display text and pattern list, each NUL-terminated, up to the
// empty string that ends the list.
std::vector<FileFilter> ReadFilters(const char *list)
{
    std::vector<FileFilter> filters;
    while (list != nullptr && *list != '\0') {
        const char *patterns = list + std::strlen(list) + 1;
        if (*patterns == '\0')
            break;
        filters.push_back({AnsiToUtf8Lossy(list), SplitPatterns(patterns)});
        list = patterns + std::strlen(patterns) + 1;
    }
    return filters;
}

bool IsRegularFile(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void Tell(const std::string &text)
{
    CurrentView().MessageBox(text, "SOLVANE");
}

// Why the chosen file cannot be handed back, or nothing when it can.
std::optional<std::string> Refusal(const OPENFILENAMEA &record, const std::string &path, const std::string &ansi)
{
    if ((record.Flags & OFN_FILEMUSTEXIST) && !IsRegularFile(path))
        return path + "\nThe file does not exist. Check the name and try again.";
    if (ansi.size() + 1 > record.nMaxFile)
        return path + "\nThe path is too long for this program. Move the file to a shorter path.";
    return std::nullopt;
}

} // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA record)
{
    if (record == nullptr || record->lStructSize < offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) ||
        record->lpstrFile == nullptr || record->nMaxFile == 0)
        return FALSE;

    FileRequest request;
    request.title = AnsiToUtf8Lossy(record->lpstrTitle != nullptr ? record->lpstrTitle : "Open");
    request.filters = ReadFilters(record->lpstrFilter);
    int count = (int)request.filters.size();
    request.filter = record->nFilterIndex >= 1 && (int)record->nFilterIndex <= count ? (int)record->nFilterIndex - 1 : 0;

    for (;;) {
        // The owner takes no input while the dialog is open.
        BOOL ownerWasDisabled = EnableWindow(record->hwndOwner, FALSE);
        std::optional<ChosenFile> chosen = CurrentView().ChooseFile(record->hwndOwner, request);
        EnableWindow(record->hwndOwner, !ownerWasDisabled);
        if (!chosen)
            return FALSE;
        request.filter = chosen->filter;
        std::optional<std::string> ansi = Utf8ToAnsi(chosen->path);
        if (!ansi) {
            Tell(chosen->path + "\nThis file's name has characters that the program cannot pass on "
                                "(it reads names in Japanese code page 932). Rename the file or choose another.");
            continue;
        }
        if (std::optional<std::string> refusal = Refusal(*record, chosen->path, *ansi)) {
            Tell(*refusal);
            continue;
        }

        std::memcpy(record->lpstrFile, ansi->c_str(), ansi->size() + 1);
        size_t slash = ansi->rfind('/');
        size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        size_t dot = ansi->rfind('.');
        record->nFileOffset = (WORD)nameStart;
        record->nFileExtension = (WORD)(dot != std::string::npos && dot > nameStart ? dot + 1 : 0);
        record->nFilterIndex = (DWORD)chosen->filter + 1;
        if (record->lpstrFileTitle != nullptr && record->nMaxFileTitle > 0) {
            std::string title = ansi->substr(nameStart, record->nMaxFileTitle - 1);
            std::memcpy(record->lpstrFileTitle, title.c_str(), title.size() + 1);
        }
        return TRUE;
    }
}
