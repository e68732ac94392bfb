// Track start: rendering and running one track, and the status messages.
#include <cstring>

#include "panel_fixture.h"
#include "tracks/track_graphs.h"
#include "tracks/track_start.h"

namespace {

struct Status {
    HRESULT code;
    const char *text; // as the box shows it, UTF-8
};

const Status table[] = {
    {(HRESULT)0x00040258, "ｵｰﾃﾞｨｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからない"},
    {(HRESULT)0x0004022D, "名前が重複しているﾌｨﾙﾀの追加が、変更後の名前で成功した。"},
    {(HRESULT)0x00040242, "このﾑｰﾋﾞｰにｻﾎﾟｰﾄされないﾌｫｰﾏｯﾄのｽﾄﾘｰﾑが含まれている。"},
    {(HRESULT)0x00040257, "ﾋﾞﾃﾞｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからなかった。"},
    {(HRESULT)0x80004004, "操作が中止された。"},
    {(HRESULT)0x80004005, "失敗。"},
    {(HRESULT)0x80070057, " 引数が無効。"},
    {(HRESULT)0x8007000E, "メモリ不足。"},
    {(HRESULT)0x80004003, " NULL ポインタ引数。"},
    {(HRESULT)0x80040217, "接続を確立する中間フィルタの組合せが見つからない。"},
    {(HRESULT)0x80040241, "このﾌｧｲﾙのｿｰｽﾌｨﾙﾀをﾛｰﾄﾞできない。"},
    {(HRESULT)0x80040218, "ｽﾄﾘｰﾑをﾚﾝﾀﾞﾘﾝｸﾞするﾌｨﾙﾀの組み合わせが見つからない。"},
    {(HRESULT)0x8004022F, "ファイル フォーマットが無効。"},
    {(HRESULT)0x80040216, "オブジェクトまたは名前が見つからなかった。"},
    {(HRESULT)0x8004025F, "ﾌｨﾙﾀｸﾞﾗﾌに存在しないobjectに要求された関数を実行できない。"},
    {(HRESULT)0x80040240, "このファイルのメディア タイプが認識されない。"},
    {(HRESULT)0x80040265, "ﾌｧｲﾙを再生できない。ﾌｫｰﾏｯﾄがサポートされていない。"},
};

TEST_F(PanelTest, RenderAndRunOverEveryStatusCode)
{
    OpenPanel();
    for (const char *step : {"open", "run"}) {
        for (const Status &row : table) {
            SCOPED_TRACE(testing::Message() << step << " 0x" << std::hex << (unsigned)row.code);
            bool failing = FAILED(row.code);
            bool atRender = std::strcmp(step, "open") == 0;
            graphScript.renderResult = [&](int) { return atRender ? row.code : S_OK; };
            graphScript.runResult = [&](int) { return atRender ? S_OK : row.code; };
            view.boxes.clear();
            TakeLog();

            EXPECT_EQ(RenderAndRun("/music/a.wav", 1), failing ? 0 : 1);
            std::vector<std::string> log = TakeLog();
            if (failing && atRender) {
                EXPECT_EQ(log, std::vector<std::string>{"g1.RenderFile(/music/a.wav)"}) << "Run is not called";
            } else {
                EXPECT_EQ(log, (std::vector<std::string>{"g1.RenderFile(/music/a.wav)", "g1.Run"}));
            }
            if (failing) {
                ASSERT_EQ(view.boxes.size(), 1u);
                EXPECT_EQ(view.boxes[0].text, row.text);
                EXPECT_EQ(view.boxes[0].caption, step);
            } else {
                EXPECT_TRUE(view.boxes.empty()) << "success codes are not shown";
            }
        }
    }
}

TEST_F(PanelTest, CodesOutsideTheTableFailSilently)
{
    OpenPanel();
    graphScript.renderResult = [](int) { return (HRESULT)0x80040224; };
    EXPECT_EQ(RenderAndRun("a.wav", 0), 0);
    graphScript.renderResult = [](int) { return S_OK; };
    graphScript.runResult = [](int) { return (HRESULT)0x8000FFFF; };
    EXPECT_EQ(RenderAndRun("a.wav", 0), 0);
    EXPECT_TRUE(view.boxes.empty());
    graphScript.runResult = [](int) { return S_FALSE; };
    EXPECT_EQ(RenderAndRun("a.wav", 0), 1) << "S_FALSE: on its way to running";
}

TEST_F(PanelTest, LongestNameConvertsWithoutLoss)
{
    OpenPanel();
    std::string name = "/" + std::string(250, 'n') + "\x83\x5c" + "ab.wav"; // ソ, trail byte 0x5C
    ASSERT_EQ(name.size(), 259u);
    RenderAndRun(name.c_str(), 2);
    std::u16string expected = u"/" + std::u16string(250, u'n') + u"ソab.wav";
    EXPECT_EQ(graphDoubles[2]->lastPath, expected);
}

TEST_F(PanelTest, TrackWithoutGraphDoesNotStart)
{
    graphScript.failQuery["IMediaControl"] = 0;
    OpenPanel();
    TakeLog();
    EXPECT_EQ(RenderAndRun("a.wav", 0), 0);
    EXPECT_TRUE(TakeLog().empty()) << "nothing is called through a missing entry";
}

} // namespace
