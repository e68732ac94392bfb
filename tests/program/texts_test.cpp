// The system's Japanese texts are stored in every program as the Shift-JIS
// (code page 932) encoding of the texts the panel shows.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "program_reader.h"

namespace {

std::string ToCp932(const std::string &utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == (iconv_t)-1)
        throw std::runtime_error("no CP932 converter");
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char *source = in.data(), *dest = out.data();
    size_t left = in.size(), room = out.size();
    size_t done = iconv(cd, &source, &left, &dest, &room);
    iconv_close(cd);
    if (done == (size_t)-1)
        throw std::runtime_error("cannot convert " + utf8);
    out.resize(out.size() - room);
    return out;
}

// Each text with its terminator, as the program stores it.
const std::string texts[] = {
    std::string("再生用にファイルを開く", sizeof "再生用にファイルを開く"),
    std::string("サウンド(*.WAV;*.MP3;*.WMA;*.MID;*.RMI)\0*.WAV;*.MP3;*.WMA;*.MID;*.RMI\0全ファイル(*.*)\0*.*\0",
                sizeof "サウンド(*.WAV;*.MP3;*.WMA;*.MID;*.RMI)\0*.WAV;*.MP3;*.WMA;*.MID;*.RMI\0全ファイル(*.*)\0*.*\0"),
    "ｵｰﾃﾞｨｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからない",
    "名前が重複しているﾌｨﾙﾀの追加が、変更後の名前で成功した。",
    "このﾑｰﾋﾞｰにｻﾎﾟｰﾄされないﾌｫｰﾏｯﾄのｽﾄﾘｰﾑが含まれている。",
    "ﾋﾞﾃﾞｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからなかった。",
    "操作が中止された。",
    "失敗。",
    " 引数が無効。",
    "メモリ不足。",
    " NULL ポインタ引数。",
    "接続を確立する中間フィルタの組合せが見つからない。",
    "このﾌｧｲﾙのｿｰｽﾌｨﾙﾀをﾛｰﾄﾞできない。",
    "ｽﾄﾘｰﾑをﾚﾝﾀﾞﾘﾝｸﾞするﾌｨﾙﾀの組み合わせが見つからない。",
    "ファイル フォーマットが無効。",
    "オブジェクトまたは名前が見つからなかった。",
    "ﾌｨﾙﾀｸﾞﾗﾌに存在しないobjectに要求された関数を実行できない。",
    "このファイルのメディア タイプが認識されない。",
    "ﾌｧｲﾙを再生できない。ﾌｫｰﾏｯﾄがサポートされていない。",
};

bool Contains(const std::vector<uint8_t> &program, const std::string &bytes)
{
    auto same = [](uint8_t a, char b) { return a == (uint8_t)b; };
    return std::search(program.begin(), program.end(), bytes.begin(), bytes.end(), same) != program.end();
}

class ProgramTexts : public testing::TestWithParam<const char *> {};

TEST_P(ProgramTexts, JapaneseTextsAreShiftJis)
{
    const char *path = std::getenv(GetParam());
    ASSERT_NE(path, nullptr) << GetParam() << " is not set";
    std::vector<uint8_t> program = ReadWholeFile(path);
    for (std::string text : texts) {
        if (text.back() != '\0')
            text.push_back('\0');
        std::string encoded = ToCp932(text);
        SCOPED_TRACE(text);
        EXPECT_TRUE(Contains(program, encoded));
        EXPECT_FALSE(Contains(program, text)) << "the UTF-8 form must not be stored";
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTexts, testing::Values("SOLVANE_EXE_I686", "SOLVANE_EXE_X86_64"));

TEST(ShippedProgram, Is32BitGuiImportingOnlySystemLibraries)
{
    const char *path = std::getenv("SOLVANE_EXE_I686");
    ASSERT_NE(path, nullptr);
    PeHeaders headers = ReadPeHeaders(ReadWholeFile(path));
    EXPECT_EQ(headers.machine, 0x14C) << "i386";
    EXPECT_EQ(headers.magic, 0x10B) << "PE32";
    EXPECT_EQ(headers.subsystem, 2) << "Windows GUI";
    const std::string system[] = {"KERNEL32.DLL", "USER32.DLL", "COMDLG32.DLL", "OLE32.DLL", "MSVCRT.DLL"};
    for (std::string name : headers.imports) {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_NE(std::find(std::begin(system), std::end(system), name), std::end(system)) << name;
    }
}

} // namespace
