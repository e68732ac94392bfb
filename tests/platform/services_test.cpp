// Code page conversion, COM, and the open-file dialog's record handling.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "base/codepage.h"
#include "com/class_table.h"
#include "panel_fixture.h"

namespace {

TEST(CodePage, AnsiIsCp932)
{
    WCHAR wide[8];
    // "ソ" (0x83 0x5C: its trail byte is the ASCII backslash) and a NEC symbol.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x83\x5c\x87\x40", -1, wide, 8), 3);
    EXPECT_EQ(wide[0], u'ソ');
    EXPECT_EQ(wide[1], u'①');
    EXPECT_EQ(wide[2], 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x83", -1, wide, 8), 0) << "a lone lead byte";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 3), 0) << "no room for the terminator";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4) << "the size asked for";
    EXPECT_EQ(Utf8ToAnsi("café"), std::nullopt);
    EXPECT_EQ(Utf8ToAnsi("再生"), std::optional<std::string>("\x8d\xc4\x90\xb6"));
    EXPECT_EQ(AnsiToUtf8Lossy("a\xA0z\x83"), "a\xEF\xBF\xBDz\xEF\xBF\xBD") << "undefined and cut characters";
}

const CLSID testClass = {0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};

HRESULT CreateNothing(REFIID, void **object)
{
    *object = nullptr;
    return E_NOINTERFACE;
}

TEST(Com, StartsOncePerThreadAndCreatesFromItsTable)
{
    void *object = &object;
    EXPECT_EQ(CoCreateInstance(testClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr) << "failures leave the pointer null";
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoCreateInstance(testClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    RegisterInProcClass(testClass, CreateNothing);
    EXPECT_EQ(CoCreateInstance(testClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), E_NOINTERFACE);
    EXPECT_EQ(CoCreateInstance(testClass, (IUnknown *)&object, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CLASS_E_NOAGGREGATION);
    UnregisterInProcClass(testClass);
    std::thread other([] { EXPECT_EQ(CoInitialize(nullptr), S_OK) << "each thread starts its own"; });
    other.join();
    CoUninitialize();
    CoUninitialize();
    FailNextCoInitialize(E_UNEXPECTED);
    EXPECT_EQ(CoInitialize(nullptr), E_UNEXPECTED);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

class OpenFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetView(&view);
        char pattern[] = "/tmp/solvane-open-XXXXXX";
        folder = mkdtemp(pattern);
        std::memset(&record, 0, sizeof record);
        record.lStructSize = sizeof record;
        record.lpstrFilter = "Sound\0*.WAV\0All\0*.*\0";
        record.nFilterIndex = 2;
        record.lpstrFile = file;
        record.nMaxFile = sizeof file;
        record.lpstrFileTitle = title;
        record.nMaxFileTitle = sizeof title;
        record.Flags = OFN_FILEMUSTEXIST;
    }
    void TearDown() override { std::system(("rm -rf " + folder).c_str()); }
    std::string Make(const std::string &name)
    {
        std::string path = folder + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }
    // The user picks these paths in turn, then cancels.
    void Picks(std::vector<std::string> paths)
    {
        view.chooseFile = [paths, i = size_t(0)](HWND) mutable -> std::optional<ChosenFile> {
            if (i == paths.size())
                return std::nullopt;
            return ChosenFile{paths[i++], 1};
        };
    }

    TestView view;
    std::string folder;
    OPENFILENAMEA record;
    char file[MAX_PATH];
    char title[256];
};

TEST_F(OpenFileTest, HandsBackTheAnsiPathAndTitle)
{
    std::string path = Make("再生.wav");
    Picks({path});
    ASSERT_TRUE(GetOpenFileNameA(&record));
    EXPECT_EQ(AnsiToUtf8(file), path);
    EXPECT_STREQ(title, "\x8d\xc4\x90\xb6.wav");
    EXPECT_EQ(record.nFileOffset, folder.size() + 1);
    EXPECT_EQ(record.nFilterIndex, 2u);
    ASSERT_EQ(view.fileRequests.size(), 1u);
    EXPECT_EQ(view.fileRequests[0].filter, 1);
    EXPECT_EQ(view.fileRequests[0].filters[1].patterns, std::vector<std::string>{"*.*"});
}

TEST_F(OpenFileTest, RefusesWhatCannotBeHandedBackAndAsksAgain)
{
    std::string cafe = Make("café.wav");
    std::string good = Make("good.wav");
    Picks({folder + "/missing.wav", cafe, good});
    ASSERT_TRUE(GetOpenFileNameA(&record));
    EXPECT_EQ(std::string(file), good);
    ASSERT_EQ(view.boxes.size(), 2u);
    EXPECT_NE(view.boxes[0].text.find("does not exist"), std::string::npos);
    EXPECT_NE(view.boxes[1].text.find("code page 932"), std::string::npos);
    EXPECT_EQ(view.fileRequests.size(), 3u);
}

TEST_F(OpenFileTest, CancelAndTooLongPathsReturnZero)
{
    std::strcpy(file, "unchanged");
    Picks({});
    EXPECT_FALSE(GetOpenFileNameA(&record));
    EXPECT_STREQ(file, "unchanged");

    std::string deep = folder + "/" + std::string(200, 'd');
    mkdir(deep.c_str(), 0700);
    std::string longPath = deep + "/" + std::string(100, 'f');
    std::ofstream(longPath) << "x";
    Picks({longPath});
    EXPECT_FALSE(GetOpenFileNameA(&record));
    EXPECT_NE(view.boxes.back().text.find("too long"), std::string::npos);
    EXPECT_STREQ(file, "unchanged");
}

} // namespace
