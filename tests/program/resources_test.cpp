// The compiled panel template and icon, read from the .res file that the
// Linux program embeds and from both Windows programs, against the panel's
// tables of controls, styles and places.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "program_reader.h"

namespace {

const uint16_t RT_ICON = 3, RT_DIALOG = 5, RT_GROUP_ICON = 14;
const uint16_t JAPANESE = 0x0411;

struct Source {
    const char *name;
    const char *variable; // the environment variable holding its path
    bool pe;
};

const Source sources[] = {
    {"res", "SOLVANE_RES", false},
    {"exe_i686", "SOLVANE_EXE_I686", true},
    {"exe_x86_64", "SOLVANE_EXE_X86_64", true},
};

std::vector<Resource> Load(const Source &source)
{
    const char *path = std::getenv(source.variable);
    if (path == nullptr)
        throw std::runtime_error(std::string(source.variable) + " is not set");
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    return source.pe ? ReadPeResources(bytes) : ReadResFile(bytes);
}

ResourceId Number(uint16_t n) { return {n, {}}; }
ResourceId Name(const char16_t *s) { return {0, s}; }

const Resource &Find(const std::vector<Resource> &all, ResourceId type, ResourceId name)
{
    for (const Resource &r : all) {
        if (r.type == type && r.name == name)
            return r;
    }
    throw std::runtime_error("resource missing");
}

struct Control {
    uint16_t id;
    uint16_t atom;
    uint32_t style;
    int16_t x, y, cx, cy;
    const char16_t *text;
};

const uint16_t BUTTON = 0x80, EDIT = 0x81, STATIC = 0x82, SCROLLBAR = 0x84;

const Control controls[31] = {
    {104, BUTTON, 0x50010000, 0, 0, 40, 10, u"再生(&P)"},
    {105, BUTTON, 0x50010000, 40, 0, 40, 10, u"停止(&S)"},
    {120, BUTTON, 0x50010003, 85, 0, 30, 10, u"&Loop"},
    {0xFFFF, STATIC, 0x50020000, 1, 11, 82, 8, u"&1"},
    {101, EDIT, 0x50810080, 5, 11, 94, 10, u""},
    {201, BUTTON, 0x50010000, 100, 11, 30, 10, u"参照"},
    {0xFFFF, STATIC, 0x50020000, 1, 21, 82, 8, u"&2"},
    {102, EDIT, 0x50810080, 5, 21, 94, 10, u""},
    {202, BUTTON, 0x50010000, 100, 21, 30, 10, u"参照"},
    {0xFFFF, STATIC, 0x50020000, 1, 31, 82, 8, u"&3"},
    {103, EDIT, 0x50810080, 5, 31, 94, 10, u""},
    {203, BUTTON, 0x50010000, 100, 31, 30, 10, u"参照"},
    {0xFFFF, STATIC, 0x50020000, 130, 0, 20, 8, u"&Delay"},
    {0xFFFF, STATIC, 0x50020002, 130, 11, 20, 8, u"(sec)"},
    {106, EDIT, 0x50810080, 130, 21, 20, 10, u""},
    {107, EDIT, 0x50810080, 130, 31, 20, 10, u""},
    {0xFFFF, STATIC, 0x50020001, 151, 0, 30, 8, u"&Volume"},
    {108, SCROLLBAR, 0x50810000, 151, 11, 30, 10, u""},
    {109, SCROLLBAR, 0x50810000, 151, 21, 30, 10, u""},
    {110, SCROLLBAR, 0x50810000, 151, 31, 30, 10, u""},
    {0xFFFF, STATIC, 0x50020001, 181, 0, 30, 8, u"&Balance"},
    {111, SCROLLBAR, 0x50810000, 181, 11, 30, 10, u""},
    {112, SCROLLBAR, 0x50810000, 181, 21, 30, 10, u""},
    {113, SCROLLBAR, 0x50810000, 181, 31, 30, 10, u""},
    {0xFFFF, STATIC, 0x50020001, 211, 0, 30, 8, u"&Rate(%)"},
    {114, EDIT, 0x50810080, 211, 11, 20, 10, u""},
    {115, EDIT, 0x50810080, 211, 21, 20, 10, u""},
    {116, EDIT, 0x50810080, 211, 31, 20, 10, u""},
    {117, SCROLLBAR, 0x50000001, 231, 11, 10, 10, u""},
    {118, SCROLLBAR, 0x50000001, 231, 21, 10, 10, u""},
    {119, SCROLLBAR, 0x50000001, 231, 31, 10, 10, u""},
};

class ProgramResources : public testing::TestWithParam<Source> {
protected:
    void SetUp() override { all = Load(GetParam()); }
    std::vector<Resource> all;
};

TEST_P(ProgramResources, HoldsOnlyTheTemplateAndTheIcon)
{
    ASSERT_EQ(all.size(), 3u) << "no menu, accelerator, string table or version resource";
    for (const Resource &r : all)
        EXPECT_EQ(r.language, JAPANESE);
    EXPECT_NO_THROW(Find(all, Number(RT_DIALOG), Name(u"SOLVANE")));
    EXPECT_NO_THROW(Find(all, Number(RT_GROUP_ICON), Name(u"SOLVANEICON")));
    EXPECT_NO_THROW(Find(all, Number(RT_ICON), Number(1)));
}

TEST_P(ProgramResources, TemplateMatchesThePanelTables)
{
    const std::vector<uint8_t> &t = Find(all, Number(RT_DIALOG), Name(u"SOLVANE")).data;
    EXPECT_EQ(Dword(t, 0), 0x90C800C0u);
    EXPECT_EQ(Dword(t, 4), 0u);
    ASSERT_EQ(Word(t, 8), 31);
    EXPECT_EQ(Word(t, 10), 21);
    EXPECT_EQ(Word(t, 12), 16);
    EXPECT_EQ(Word(t, 14), 241);
    EXPECT_EQ(Word(t, 16), 41);
    size_t at = 18;
    ResourceId none;
    EXPECT_EQ(Word(t, at), 0) << "no menu";
    EXPECT_EQ(ReadIdField(t, at), none);
    EXPECT_EQ(Word(t, at), 0) << "the platform's dialog class";
    EXPECT_EQ(ReadIdField(t, at), none);
    EXPECT_EQ(ReadIdField(t, at), Name(u"SOLVANE"));
    EXPECT_EQ(Word(t, at), 12);
    at += 2;
    EXPECT_EQ(ReadIdField(t, at), Name(u"System"));

    for (const Control &want : controls) {
        SCOPED_TRACE(testing::Message() << "control " << (&want - controls + 1));
        at = (at + 3) & ~(size_t)3;
        EXPECT_EQ(Dword(t, at), want.style);
        EXPECT_EQ(Dword(t, at + 4), 0u) << "extended style";
        EXPECT_EQ((int16_t)Word(t, at + 8), want.x);
        EXPECT_EQ((int16_t)Word(t, at + 10), want.y);
        EXPECT_EQ((int16_t)Word(t, at + 12), want.cx);
        EXPECT_EQ((int16_t)Word(t, at + 14), want.cy);
        EXPECT_EQ(Word(t, at + 16), want.id);
        at += 18;
        EXPECT_EQ(Word(t, at), 0xFFFF) << "the class as an atom";
        EXPECT_EQ(ReadIdField(t, at), Number(want.atom));
        EXPECT_NE(Word(t, at), 0xFFFF) << "the text as a string";
        EXPECT_EQ(ReadIdField(t, at), Name(want.text));
        EXPECT_EQ(Word(t, at), 0) << "creation data";
        at += 2;
    }
    EXPECT_EQ(at, t.size());
}

TEST_P(ProgramResources, IconIsOne32By32TwentyFourBitImage)
{
    const std::vector<uint8_t> &group = Find(all, Number(RT_GROUP_ICON), Name(u"SOLVANEICON")).data;
    ASSERT_EQ(group.size(), 6u + 14u);
    EXPECT_EQ(Word(group, 0), 0);
    EXPECT_EQ(Word(group, 2), 1);
    EXPECT_EQ(Word(group, 4), 1);
    EXPECT_EQ(group[6], 32);
    EXPECT_EQ(group[7], 32);
    EXPECT_EQ(group[8], 0) << "colour count";
    EXPECT_EQ(Word(group, 10), 1) << "planes";
    EXPECT_EQ(Word(group, 12), 24) << "bits per pixel";
    EXPECT_EQ(Dword(group, 14), 3240u);
    EXPECT_EQ(Word(group, 18), 1) << "image id";

    const std::vector<uint8_t> &image = Find(all, Number(RT_ICON), Number(1)).data;
    ASSERT_EQ(image.size(), 3240u) << "header, 3,072 bytes of colour, 128 of mask";
    EXPECT_EQ(Dword(image, 0), 40u);
    EXPECT_EQ(Dword(image, 4), 32u);
    EXPECT_EQ(Dword(image, 8), 64u) << "colour and mask together";
    EXPECT_EQ(Word(image, 12), 1);
    EXPECT_EQ(Word(image, 14), 24);
}

INSTANTIATE_TEST_SUITE_P(Sources, ProgramResources, testing::ValuesIn(sources),
                         [](const testing::TestParamInfo<Source> &info) { return std::string(info.param.name); });

TEST(ProgramResources, ProgramsCarryTheSameTemplateBytes)
{
    std::vector<uint8_t> reference = Find(Load(sources[0]), Number(RT_DIALOG), Name(u"SOLVANE")).data;
    for (const Source &source : sources)
        EXPECT_EQ(Find(Load(source), Number(RT_DIALOG), Name(u"SOLVANE")).data, reference) << source.name;
}

} // namespace
