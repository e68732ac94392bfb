// COM start and stop per thread, and object creation from the class table.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "com/class_table.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

struct ClassEntry {
    CLSID clsid;
    CreateObject create;
};

std::mutex tableLock;
std::vector<ClassEntry> classTable;
std::vector<void (*)()> endHandlers;
thread_local int initialisations;
std::atomic<HRESULT> nextStartFailure{S_OK};

} // namespace

void RegisterInProcClass(REFCLSID clsid, CreateObject create)
{
    std::lock_guard<std::mutex> hold(tableLock);
    for (ClassEntry &entry : classTable) {
        if (entry.clsid == clsid) {
            entry.create = create;
            return;
        }
    }
    classTable.push_back({clsid, create});
}

void UnregisterInProcClass(REFCLSID clsid)
{
    std::lock_guard<std::mutex> hold(tableLock);
    std::erase_if(classTable, [&](const ClassEntry &entry) { return entry.clsid == clsid; });
}

void AtComEnd(void (*finish)())
{
    std::lock_guard<std::mutex> hold(tableLock);
    if (std::find(endHandlers.begin(), endHandlers.end(), finish) == endHandlers.end())
        endHandlers.push_back(finish);
}

void FailNextCoInitialize(HRESULT failure)
{
    nextStartFailure = failure;
}

HRESULT WINAPI CoInitialize(LPVOID reserved)
{
    (void)reserved;
    HRESULT failure = nextStartFailure.exchange(S_OK);
    if (FAILED(failure))
        return failure;
    return initialisations++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void)
{
    if (initialisations == 0 || --initialisations > 0)
        return;
    std::vector<void (*)()> handlers;
    {
        std::lock_guard<std::mutex> hold(tableLock);
        handlers = endHandlers;
    }
    for (void (*finish)() : handlers)
        finish();
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID *object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (initialisations == 0)
        return CO_E_NOTINITIALIZED;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    CreateObject create = nullptr;
    {
        std::lock_guard<std::mutex> hold(tableLock);
        for (const ClassEntry &entry : classTable) {
            if (entry.clsid == clsid)
                create = entry.create;
        }
    }
    if (create == nullptr || !(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    return create(iid, object);
}
