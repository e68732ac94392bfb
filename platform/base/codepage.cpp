#include "base/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "win32/base.h"

namespace {

// One conversion with glibc iconv; nothing when any input is invalid.
std::optional<std::string> Convert(const char *to, const char *from, const char *data, size_t size)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1)
        return std::nullopt;
    std::string out(size * 4 + 8, '\0');
    char *in = const_cast<char *>(data);
    char *dest = out.data();
    size_t left = size, room = out.size();
    size_t done = iconv(cd, &in, &left, &dest, &room);
    iconv_close(cd);
    if (done == (size_t)-1)
        return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

} // namespace

std::optional<std::string> AnsiToUtf8(std::string_view ansi)
{
    return Convert("UTF-8", "CP932", ansi.data(), ansi.size());
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8)
{
    return Convert("CP932", "UTF-8", utf8.data(), utf8.size());
}

std::optional<std::u16string> AnsiToUtf16(std::string_view ansi)
{
    std::optional<std::string> bytes = Convert("UTF-16LE", "CP932", ansi.data(), ansi.size());
    if (!bytes)
        return std::nullopt;
    std::u16string text(bytes->size() / 2, u'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * 2);
    return text;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16)
{
    return Convert("UTF-8", "UTF-16LE", reinterpret_cast<const char *>(utf16.data()), utf16.size() * 2);
}

std::optional<std::string> Utf16ToAnsi(std::u16string_view utf16)
{
    return Convert("CP932", "UTF-16LE", reinterpret_cast<const char *>(utf16.data()), utf16.size() * 2);
}

std::string AnsiToUtf8Lossy(std::string_view ansi)
{
    if (std::optional<std::string> utf8 = AnsiToUtf8(ansi))
        return *utf8;
    std::string out;
    for (size_t i = 0; i < ansi.size();) {
        // Longest convertible prefix of one or two bytes, else a replacement.
        size_t length = (unsigned char)ansi[i] >= 0x80 && i + 1 < ansi.size() ? 2 : 1;
        std::optional<std::string> piece = AnsiToUtf8(ansi.substr(i, length));
        if (!piece && length == 2)
            piece = AnsiToUtf8(ansi.substr(i, length = 1));
        out += piece ? *piece : "\xEF\xBF\xBD";
        i += length;
    }
    return out;
}

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                               int destLength)
{
    (void)flags;
    if (codePage != CP_ACP || source == nullptr || sourceLength == 0 || destLength < 0)
        return 0;
    size_t length = sourceLength < 0 ? std::strlen(source) + 1 : (size_t)sourceLength;
    std::optional<std::u16string> wide = AnsiToUtf16(std::string_view(source, length));
    if (!wide)
        return 0;
    if (destLength == 0)
        return (int)wide->size();
    if (dest == nullptr || wide->size() > (size_t)destLength)
        return 0;
    std::memcpy(dest, wide->data(), wide->size() * sizeof(WCHAR));
    return (int)wide->size();
}
