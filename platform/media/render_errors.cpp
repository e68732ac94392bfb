#include "media/render_errors.h"

#include <sys/stat.h>
#include <unistd.h>

RenderOutcome::~RenderOutcome()
{
    for (GError *error : errors)
        g_error_free(error);
}

HRESULT CheckSourceFile(const std::string &path)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return VFW_E_NOT_FOUND;
    if (!S_ISREG(info.st_mode) || access(path.c_str(), R_OK) != 0)
        return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
    if (info.st_size == 0)
        return VFW_E_UNKNOWN_FILE_TYPE;
    return S_OK;
}

namespace {

bool IsMissingDecoder(const GError *error)
{
    return g_error_matches(error, GST_CORE_ERROR, GST_CORE_ERROR_MISSING_PLUGIN) ||
           g_error_matches(error, GST_STREAM_ERROR, GST_STREAM_ERROR_CODEC_NOT_FOUND);
}

bool IsTypeNotFound(const GError *error)
{
    return g_error_matches(error, GST_STREAM_ERROR, GST_STREAM_ERROR_TYPE_NOT_FOUND);
}

bool Any(const RenderOutcome &outcome, bool (*test)(const GError *))
{
    for (const GError *error : outcome.errors) {
        if (test(error))
            return true;
    }
    return false;
}

} // namespace

HRESULT RenderResult(const RenderOutcome &outcome)
{
    if (outcome.audio && outcome.errors.empty() && !outcome.timedOut)
        return outcome.video ? VFW_S_VIDEO_NOT_RENDERED : outcome.other ? VFW_S_PARTIAL_RENDER : S_OK;
    if (outcome.timedOut)
        return E_FAIL;

    // The most specific explanation first, whatever order the errors came in:
    // no known type, then a missing decoder, then a stream that is not sound,
    // then a file of a known type that is damaged.
    if (Any(outcome, IsTypeNotFound))
        return VFW_E_UNKNOWN_FILE_TYPE;
    if (Any(outcome, IsMissingDecoder))
        return VFW_E_UNSUPPORTED_STREAM;
    if ((outcome.video || outcome.other) && !outcome.audio)
        return VFW_E_CANNOT_RENDER;
    if (!outcome.errors.empty())
        return VFW_E_INVALID_FILE_FORMAT;
    return VFW_E_CANNOT_RENDER;
}
