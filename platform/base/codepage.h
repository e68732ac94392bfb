// The ANSI code page of this platform: 932 (Shift-JIS with the vendor
// extensions), converted through glibc's "CP932".
#ifndef SOLVANE_PLATFORM_CODEPAGE_H
#define SOLVANE_PLATFORM_CODEPAGE_H

#include <optional>
#include <string>
#include <string_view>

// Each returns nothing when the text cannot be converted: bytes that are not
// CP932, or characters that CP932 cannot write.
std::optional<std::string> AnsiToUtf8(std::string_view ansi);
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);
std::optional<std::u16string> AnsiToUtf16(std::string_view ansi);
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);
std::optional<std::string> Utf16ToAnsi(std::u16string_view utf16);

// For display: the text as far as it converts, with U+FFFD for what does not.
std::string AnsiToUtf8Lossy(std::string_view ansi);

#endif
