// COM: identifiers, the base interface, start and stop, object creation.
#ifndef SOLVANE_WIN32_COM_H
#define SOLVANE_WIN32_COM_H

#include <cstring>

#include "win32/types.h"

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID &REFIID;
typedef const CLSID &REFCLSID;

inline bool operator==(const GUID &a, const GUID &b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool IsEqualGUID(const GUID &a, const GUID &b) { return a == b; }

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_ABORT ((HRESULT)0x80004004)
#define E_FAIL ((HRESULT)0x80004005)
#define E_POINTER ((HRESULT)0x80004003)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)

#define CLSCTX_INPROC_SERVER 0x1

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown *LPUNKNOWN;

extern const IID IID_IUnknown;

HRESULT WINAPI CoInitialize(LPVOID reserved);
void WINAPI CoUninitialize(void);
// Leaves *object null on failure.
HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                LPVOID *object);

#endif
