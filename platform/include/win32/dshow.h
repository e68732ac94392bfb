// The DirectShow filter graph manager: the five interfaces the tracks use,
// each with the operations the system calls.
#ifndef SOLVANE_WIN32_DSHOW_H
#define SOLVANE_WIN32_DSHOW_H

#include "win32/com.h"

typedef LONG_PTR OAHWND;
typedef LONG OAFilterState;

enum _FilterState { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

#define EC_COMPLETE 0x01
#define EC_ERRORABORT 0x03

#define VFW_S_DUPLICATE_NAME ((HRESULT)0x0004022D)
#define VFW_S_PARTIAL_RENDER ((HRESULT)0x00040242)
#define VFW_S_VIDEO_NOT_RENDERED ((HRESULT)0x00040257)
#define VFW_S_AUDIO_NOT_RENDERED ((HRESULT)0x00040258)
#define VFW_E_NOT_FOUND ((HRESULT)0x80040216)
#define VFW_E_CANNOT_CONNECT ((HRESULT)0x80040217)
#define VFW_E_CANNOT_RENDER ((HRESULT)0x80040218)
#define VFW_E_INVALID_FILE_FORMAT ((HRESULT)0x8004022F)
#define VFW_E_UNKNOWN_FILE_TYPE ((HRESULT)0x80040240)
#define VFW_E_CANNOT_LOAD_SOURCE_FILTER ((HRESULT)0x80040241)
#define VFW_E_NOT_IN_GRAPH ((HRESULT)0x8004025F)
#define VFW_E_UNSUPPORTED_STREAM ((HRESULT)0x80040265)

struct IGraphBuilder : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

struct IMediaControl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Run() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState *state) = 0;
};

struct IMediaEventEx : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetEvent(LONG *code, LONG_PTR *param1, LONG_PTR *param2,
                                               LONG timeoutMs) = 0;
    virtual HRESULT STDMETHODCALLTYPE FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) = 0;
};

struct IBasicAudio : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Balance(LONG balance) = 0;
};

struct IMediaSeeking : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetRate(double rate) = 0;
};

extern const CLSID CLSID_FilterGraph;
extern const IID IID_IGraphBuilder;
extern const IID IID_IMediaControl;
extern const IID IID_IMediaEventEx;
extern const IID IID_IBasicAudio;
extern const IID IID_IMediaSeeking;

#endif
