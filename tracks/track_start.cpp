#include "tracks/track_start.h"

#include "tracks/track_graphs.h"

const StatusMessage statusMessages[STATUS_MESSAGE_COUNT] = {
    {VFW_S_AUDIO_NOT_RENDERED, "ｵｰﾃﾞｨｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからない"},
    {VFW_S_DUPLICATE_NAME, "名前が重複しているﾌｨﾙﾀの追加が、変更後の名前で成功した。"},
    {VFW_S_PARTIAL_RENDER, "このﾑｰﾋﾞｰにｻﾎﾟｰﾄされないﾌｫｰﾏｯﾄのｽﾄﾘｰﾑが含まれている。"},
    {VFW_S_VIDEO_NOT_RENDERED, "ﾋﾞﾃﾞｵを再生できない。適切なﾚﾝﾀﾞﾗが見つからなかった。"},
    {E_ABORT, "操作が中止された。"},
    {E_FAIL, "失敗。"},
    {E_INVALIDARG, " 引数が無効。"},
    {E_OUTOFMEMORY, "メモリ不足。"},
    {E_POINTER, " NULL ポインタ引数。"},
    {VFW_E_CANNOT_CONNECT, "接続を確立する中間フィルタの組合せが見つからない。"},
    {VFW_E_CANNOT_LOAD_SOURCE_FILTER, "このﾌｧｲﾙのｿｰｽﾌｨﾙﾀをﾛｰﾄﾞできない。"},
    {VFW_E_CANNOT_RENDER, "ｽﾄﾘｰﾑをﾚﾝﾀﾞﾘﾝｸﾞするﾌｨﾙﾀの組み合わせが見つからない。"},
    {VFW_E_INVALID_FILE_FORMAT, "ファイル フォーマットが無効。"},
    {VFW_E_NOT_FOUND, "オブジェクトまたは名前が見つからなかった。"},
    {VFW_E_NOT_IN_GRAPH, "ﾌｨﾙﾀｸﾞﾗﾌに存在しないobjectに要求された関数を実行できない。"},
    {VFW_E_UNKNOWN_FILE_TYPE, "このファイルのメディア タイプが認識されない。"},
    {VFW_E_UNSUPPORTED_STREAM, "ﾌｧｲﾙを再生できない。ﾌｫｰﾏｯﾄがサポートされていない。"},
};

void ShowGraphError(HRESULT code, const char *caption)
{
    for (const StatusMessage &row : statusMessages) {
        if (row.code == code) {
            MessageBoxA(NULL, row.text, caption, MB_OK);
            return;
        }
    }
}

int RenderAndRun(const char *fileName, int track)
{
    // A set left incomplete by a failed creation was reported then.
    if (trackGraphs.pGraph[track] == NULL || trackGraphs.pControl[track] == NULL)
        return 0;

    WCHAR widePath[MAX_PATH];
    // A name the code page cannot convert becomes the empty path, which the
    // graph refuses, rather than an unterminated buffer.
    if (MultiByteToWideChar(CP_ACP, 0, fileName, -1, widePath, MAX_PATH) == 0)
        widePath[0] = 0;

    HRESULT hr = trackGraphs.pGraph[track]->RenderFile(widePath, NULL);
    if (FAILED(hr)) {
        ShowGraphError(hr, "open");
        return 0;
    }
    hr = trackGraphs.pControl[track]->Run();
    if (FAILED(hr)) {
        ShowGraphError(hr, "run");
        return 0;
    }
    return 1;
}
