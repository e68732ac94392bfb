#include "recording_graph.h"

#include <cstdio>
#include <memory>

#include "com/class_table.h"

GraphScript graphScript;
std::vector<std::string> graphLog;
std::vector<GraphDouble *> graphDoubles;
bool releasedAfterComStop;

namespace {

int creations;

std::string Format(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// One object per graph, with one part per interface so that each Release
// can be told apart in the log; the parts share the object's count.
struct Graph;

template <class Interface>
struct Part : Interface {
    Graph *graph;
    const char *name;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
};

struct BuilderPart : Part<IGraphBuilder> {
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) override;
};

struct ControlPart : Part<IMediaControl> {
    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState *state) override;
};

struct EventPart : Part<IMediaEventEx> {
    HRESULT STDMETHODCALLTYPE GetEvent(LONG *code, LONG_PTR *param1, LONG_PTR *param2, LONG timeoutMs) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) override;
};

struct AudioPart : Part<IBasicAudio> {
    HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE put_Balance(LONG balance) override;
};

struct SeekingPart : Part<IMediaSeeking> {
    HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
};

struct Graph {
    GraphDouble data;
    BuilderPart builder;
    ControlPart control;
    EventPart events;
    AudioPart audio;
    SeekingPart seeking;

    std::string Prefix() const { return "g" + std::to_string(data.serial) + "."; }
    void Log(const std::string &call) { graphLog.push_back(Prefix() + call); }
};

std::vector<std::unique_ptr<Graph>> graphs;

template <class Interface>
HRESULT Part<Interface>::QueryInterface(REFIID iid, void **object)
{
    struct Known {
        const IID *iid;
        const char *name;
        IUnknown *part;
    } known[] = {
        {&IID_IGraphBuilder, "IGraphBuilder", &graph->builder}, {&IID_IMediaControl, "IMediaControl", &graph->control},
        {&IID_IMediaEventEx, "IMediaEventEx", &graph->events},  {&IID_IBasicAudio, "IBasicAudio", &graph->audio},
        {&IID_IMediaSeeking, "IMediaSeeking", &graph->seeking},
    };
    *object = nullptr;
    for (const Known &k : known) {
        if (*k.iid != iid)
            continue;
        graph->Log(std::string("QueryInterface(") + k.name + ")");
        auto failing = graphScript.failQuery.find(k.name);
        if (failing != graphScript.failQuery.end() && failing->second == graph->data.serial)
            return E_NOINTERFACE;
        k.part->AddRef();
        *object = k.part;
        return S_OK;
    }
    return E_NOINTERFACE;
}

template <class Interface>
ULONG Part<Interface>::AddRef()
{
    return ++graph->data.references;
}

template <class Interface>
ULONG Part<Interface>::Release()
{
    graph->Log(std::string(name) + ".Release");
    // COM is running exactly when a further start only counts.
    HRESULT started = CoInitialize(nullptr);
    CoUninitialize();
    if (started == S_OK)
        releasedAfterComStop = true;
    int left = --graph->data.references;
    graph->data.released = left == 0;
    return left;
}

HRESULT BuilderPart::RenderFile(LPCWSTR file, LPCWSTR playList)
{
    graph->data.lastPath = file;
    std::string path;
    for (const char16_t *c = file; *c; c++)
        path += *c < 0x80 ? (char)*c : '?';
    graph->Log("RenderFile(" + path + (playList == nullptr ? ")" : ", playlist)"));
    return graphScript.renderResult(graph->data.serial);
}

HRESULT ControlPart::Run()
{
    graph->Log("Run");
    HRESULT result = graphScript.runResult(graph->data.serial);
    if (SUCCEEDED(result))
        graph->data.state = State_Running;
    return result;
}

HRESULT ControlPart::Stop()
{
    graph->Log("Stop");
    graph->data.state = State_Stopped;
    return S_OK;
}

HRESULT ControlPart::GetState(LONG timeoutMs, OAFilterState *state)
{
    if (graphScript.logStates)
        graph->Log("GetState(" + std::to_string(timeoutMs) + ")");
    if (graphScript.getStateFails)
        return E_FAIL;
    *state = graph->data.state;
    return S_OK;
}

HRESULT EventPart::GetEvent(LONG *code, LONG_PTR *param1, LONG_PTR *param2, LONG timeoutMs)
{
    graph->Log("GetEvent(" + std::to_string(timeoutMs) + ")");
    if (graph->data.events.empty())
        return E_ABORT;
    *code = graph->data.events.front();
    *param1 = 11;
    *param2 = 22;
    graph->data.events.pop_front();
    return S_OK;
}

HRESULT EventPart::FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2)
{
    graph->Log("FreeEventParams(" + std::to_string(code) + "," + std::to_string(param1) + "," +
               std::to_string(param2) + ")");
    return S_OK;
}

HRESULT EventPart::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData)
{
    char text[64];
    std::snprintf(text, sizeof text, "SetNotifyWindow(0x%X,%ld)", (unsigned)message, (long)instanceData);
    graph->Log(text);
    graph->data.notifyWindow = reinterpret_cast<HWND>(window);
    graph->data.notifyMessage = message;
    return S_OK;
}

HRESULT AudioPart::put_Volume(LONG volume)
{
    graph->Log("put_Volume(" + std::to_string(volume) + ")");
    return S_OK;
}

HRESULT AudioPart::put_Balance(LONG balance)
{
    graph->Log("put_Balance(" + std::to_string(balance) + ")");
    return S_OK;
}

HRESULT SeekingPart::SetRate(double rate)
{
    graph->Log("SetRate(" + Format("%.17g", rate) + ")");
    return S_OK;
}

HRESULT CreateGraph(REFIID iid, void **object)
{
    int number = creations++;
    graphLog.push_back("CoCreateInstance#" + std::to_string(number));
    if (number == graphScript.failCreation)
        return graphScript.creationFailure;
    auto graph = std::make_unique<Graph>();
    graph->data.serial = (int)graphs.size();
    graph->builder.graph = graph->control.graph = graph->events.graph = graph->audio.graph = graph->seeking.graph =
        graph.get();
    graph->builder.name = "Graph";
    graph->control.name = "Control";
    graph->events.name = "Event";
    graph->audio.name = "Audio";
    graph->seeking.name = "Seeking";
    graphDoubles.push_back(&graph->data);
    Graph *raw = graph.get();
    graphs.push_back(std::move(graph));
    if (iid != IID_IGraphBuilder)
        return E_NOINTERFACE;
    raw->data.references = 1;
    *object = static_cast<IGraphBuilder *>(&raw->builder);
    return S_OK;
}

} // namespace

void ResetGraphDoubles()
{
    graphs.clear();
    graphDoubles.clear();
    graphLog.clear();
    graphScript = GraphScript();
    creations = 0;
    releasedAfterComStop = false;
}

void RegisterGraphDouble()
{
    RegisterInProcClass(CLSID_FilterGraph, CreateGraph);
}

void QueueGraphEvent(GraphDouble *graph, LONG code)
{
    graph->events.push_back(code);
    if (graph->notifyWindow != nullptr)
        PostMessageA(graph->notifyWindow, (UINT)graph->notifyMessage, 0, 0);
}
