// The volume and balance bars.
#include "panel/levels.h"
#include "panel_fixture.h"
#include "res/resource.h"

namespace {

struct Scroll {
    int bar;
    int start;
    UINT code;
    int position;
    int stored;
    const char *sent;
};

class LevelsTest : public OpenPanelTest {
protected:
    void Scroll(int bar, UINT code, int position = 0)
    {
        Send(WM_HSCROLL, MAKEWPARAM(code, (WORD)position), (LPARAM)Item(bar));
    }
};

TEST_F(LevelsTest, EveryCodeMovesStoresClampsAndSends)
{
    const ::Scroll rows[] = {
        {IDC_VOLUME1, 0, SB_LINERIGHT, 0, 0, "g0.put_Volume(0)"},
        {IDC_VOLUME1, -7, SB_PAGELEFT, 0, -8, "g0.put_Volume(-4800)"},
        {IDC_VOLUME1, -8, SB_LINELEFT, 0, -8, "g0.put_Volume(-4800)"},
        {IDC_VOLUME2, -3, SB_LINELEFT, 0, -4, "g1.put_Volume(-2400)"},
        {IDC_VOLUME2, -3, SB_PAGERIGHT, 0, 0, "g1.put_Volume(0)"},
        {IDC_VOLUME3, -2, SB_THUMBTRACK, -5, -5, "g2.put_Volume(-3000)"},
        {IDC_VOLUME3, -2, SB_THUMBPOSITION, -5, -5, "g2.put_Volume(-3000)"},
        {IDC_VOLUME3, -2, SB_THUMBTRACK, 3, 0, "g2.put_Volume(0)"},
        {IDC_BALANCE1, 9, SB_PAGERIGHT, 0, 10, "g0.put_Balance(10000)"},
        {IDC_BALANCE1, -1, SB_LINERIGHT, 0, 0, "g0.put_Balance(0)"},
        {IDC_BALANCE2, 0, SB_THUMBTRACK, -12, -10, "g1.put_Balance(-10000)"},
        {IDC_BALANCE3, 4, SB_LEFT, 0, 4, "g2.put_Balance(4000)"},
        {IDC_BALANCE3, 4, SB_RIGHT, 0, 4, "g2.put_Balance(4000)"},
        {IDC_BALANCE3, 4, SB_ENDSCROLL, 0, 4, "g2.put_Balance(4000)"},
        {IDC_BALANCE3, 4, 9, 0, 4, "g2.put_Balance(4000)"},
    };
    for (const ::Scroll &row : rows) {
        SCOPED_TRACE(testing::Message() << "bar " << row.bar << " code " << row.code << " from " << row.start);
        bool volume = row.bar <= IDC_VOLUME3;
        int track = volume ? row.bar - IDC_VOLUME1 : row.bar - IDC_BALANCE1;
        (volume ? volumePos : balancePos)[track] = row.start;
        view.changes.clear();
        Scroll(row.bar, row.code, row.position);
        EXPECT_EQ((volume ? volumePos : balancePos)[track], row.stored);
        EXPECT_EQ(Item(row.bar)->scrollPos, row.stored);
        EXPECT_EQ(TakeLog(), std::vector<std::string>{row.sent});
        int redraws = view.Count(Item(row.bar), Change::Redraw);
        EXPECT_EQ(redraws, row.code == SB_THUMBPOSITION ? 0 : 1) << "a thumb's last position is not redrawn again";
    }
}

TEST_F(LevelsTest, OtherWindowsAreIgnored)
{
    for (HWND bar : {Item(IDC_RATESPIN1), Item(IDC_RATE1), (HWND) nullptr}) {
        Send(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), (LPARAM)bar);
        EXPECT_TRUE(TakeLog().empty());
    }
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(volumePos[i], 0);
        EXPECT_EQ(balancePos[i], 0);
    }
}

TEST_F(LevelsTest, BarsStoreAndShowWithoutAnAudioInterface)
{
    ReopenPanel([] { graphScript.failQuery["IMediaControl"] = 0; });
    Scroll(IDC_VOLUME1, SB_LINELEFT);
    EXPECT_EQ(volumePos[0], -1);
    EXPECT_EQ(Item(IDC_VOLUME1)->scrollPos, -1);
    EXPECT_TRUE(TakeLog().empty());
}

} // namespace
