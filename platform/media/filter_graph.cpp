#include "media/filter_graph.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "media/audio_output.h"
#include "media/audio_stage.h"
#include "media/render_errors.h"
#include "media/teardown.h"
#include "win32/user.h"

#define VFW_E_NOT_STOPPED ((HRESULT)0x80040224)

namespace {

std::atomic<int> nextSerial{0};

// Gain for hundredths of a decibel; -10000 and below is silence.
double GainOf(LONG volume)
{
    return volume <= -10000 ? 0.0 : std::pow(10.0, volume / 2000.0);
}

struct Event {
    LONG code;
    LONG_PTR param1, param2;
};

class FilterGraph;

// One rendered file: its own bin in the graph's pipeline.
struct Chain {
    FilterGraph *graph = nullptr;
    GstElement *bin = nullptr;
    GstElement *stage = nullptr; // once linked
    GstPad *held = nullptr; // the audio stage's input, held until Run
    gulong holdProbe = 0;
    RenderOutcome outcome;
    bool prerolled = false; // the first audio buffer reached the stage
    bool noMorePads = false;
    int index = 0;

    Chain() = default;
    Chain(const Chain &) = delete;
    Chain &operator=(const Chain &) = delete;
    ~Chain()
    {
        if (held != nullptr)
            gst_object_unref(held);
    }
};

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaEventEx,
                          public IBasicAudio,
                          public IMediaSeeking {
public:
    FilterGraph();

    // IUnknown, shared by the five interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) override;

    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState *state) override;

    HRESULT STDMETHODCALLTYPE GetEvent(LONG *code, LONG_PTR *param1, LONG_PTR *param2, LONG timeoutMs) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(LONG, LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) override;

    HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE put_Balance(LONG balance) override;
    HRESULT STDMETHODCALLTYPE SetRate(double rate) override;

    // Streaming threads.
    void AudioPadAdded(Chain *chain, GstPad *pad);
    void OtherPadAdded(Chain *chain, GstPad *pad, bool video);
    void Drain(Chain *chain, GstPad *pad);
    void ChainChanged(); // wakes a waiting RenderFile
    GstBusSyncReply OnBusMessage(GstMessage *message);

    std::mutex lock_; // the chains' stages and outcomes, the event queue, the notify target

private:
    ~FilterGraph();
    Chain *BuildChain(const std::string &path);
    void RemoveChain(Chain *chain);
    bool RenderSettled(const Chain &chain) const;
    void ApplyLevels(const Chain &chain);
    // Sets a level or the rate and applies it to every chain; refused when not valid.
    template <class Value>
    HRESULT Update(Value &setting, Value value, bool valid);
    void QueueEvent(LONG code, LONG_PTR param1);
    void ReleaseHolds();
    void Rewind();

    std::atomic<ULONG> references_{1};
    int serial_;
    GstElement *pipeline_;
    std::vector<std::unique_ptr<Chain>> chains_;
    Chain *rendering_ = nullptr;
    std::condition_variable renderChanged_;
    OAFilterState state_ = State_Stopped; // UI thread
    bool paused_ = false;                 // stopped where it played: the streams stand where they were

    std::deque<Event> events_;
    std::condition_variable eventQueued_;
    bool aborted_ = false; // an error ended playback: no EC_COMPLETE follows
    HWND notifyWindow_ = nullptr;
    LONG notifyMessage_ = 0;
    LONG_PTR notifyData_ = 0;

    LONG volume_ = 0, balance_ = 0;
    double rate_ = 1.0;
};

GstBusSyncReply BusSyncHandler(GstBus *, GstMessage *message, gpointer graph)
{
    GstBusSyncReply reply = static_cast<FilterGraph *>(graph)->OnBusMessage(message);
    gst_message_unref(message); // every message is dropped here: no main loop reads this bus
    return reply;
}

FilterGraph::FilterGraph() : serial_(nextSerial++), pipeline_(gst_pipeline_new(nullptr))
{
    GstBus *bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, BusSyncHandler, this, nullptr);
    gst_object_unref(bus);
}

FilterGraph::~FilterGraph()
{
    // Joins the streaming threads, so nothing posts for this graph afterwards.
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline_);
}

HRESULT FilterGraph::QueryInterface(REFIID iid, void **object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IGraphBuilder)
        *object = static_cast<IGraphBuilder *>(this);
    else if (iid == IID_IMediaControl)
        *object = static_cast<IMediaControl *>(this);
    else if (iid == IID_IMediaEventEx)
        *object = static_cast<IMediaEventEx *>(this);
    else if (iid == IID_IBasicAudio)
        *object = static_cast<IBasicAudio *>(this);
    else if (iid == IID_IMediaSeeking)
        *object = static_cast<IMediaSeeking *>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FilterGraph::Release()
{
    ULONG left = --references_;
    if (left == 0) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            notifyWindow_ = nullptr; // nobody hears of a released graph
        }
        TearDownLater([this] { delete this; });
    }
    return left;
}

void OnPadAdded(GstElement *, GstPad *pad, gpointer data)
{
    auto *chain = static_cast<Chain *>(data);
    GstCaps *caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr)
        caps = gst_pad_query_caps(pad, nullptr);
    std::string type = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    gst_caps_unref(caps);
    if (type.rfind("audio/", 0) == 0)
        chain->graph->AudioPadAdded(chain, pad);
    else
        chain->graph->OtherPadAdded(chain, pad, type.rfind("video/", 0) == 0);
}

void OnNoMorePads(GstElement *, gpointer data)
{
    auto *chain = static_cast<Chain *>(data);
    {
        std::lock_guard<std::mutex> hold(chain->graph->lock_);
        chain->noMorePads = true;
    }
    chain->graph->ChainChanged();
}

void OnUnknownType(GstElement *, GstPad *, GstCaps *, gpointer data)
{
    auto *chain = static_cast<Chain *>(data);
    std::lock_guard<std::mutex> hold(chain->graph->lock_);
    chain->outcome.other = true;
}

GstPadProbeReturn OnFirstAudio(GstPad *, GstPadProbeInfo *, gpointer data)
{
    auto *chain = static_cast<Chain *>(data);
    {
        std::lock_guard<std::mutex> hold(chain->graph->lock_);
        chain->prerolled = true;
    }
    chain->graph->ChainChanged();
    return GST_PAD_PROBE_OK; // stays blocked until Run removes the probe
}

GstElement *Make(const char *factory)
{
    return gst_element_factory_make(factory, nullptr);
}

Chain *FilterGraph::BuildChain(const std::string &path)
{
    auto chain = std::make_unique<Chain>();
    chain->graph = this;
    chain->index = (int)chains_.size();
    chain->bin = gst_bin_new(nullptr);
    GstElement *source = Make("filesrc");
    GstElement *decode = Make("decodebin");
    g_object_set(source, "location", path.c_str(), nullptr);
    gst_bin_add_many(GST_BIN(chain->bin), source, decode, nullptr);
    gst_element_link(source, decode);
    g_signal_connect(decode, "pad-added", G_CALLBACK(OnPadAdded), chain.get());
    g_signal_connect(decode, "no-more-pads", G_CALLBACK(OnNoMorePads), chain.get());
    g_signal_connect(decode, "unknown-type", G_CALLBACK(OnUnknownType), chain.get());
    gst_bin_add(GST_BIN(pipeline_), chain->bin);
    Chain *raw = chain.get();
    {
        std::lock_guard<std::mutex> hold(lock_);
        chains_.push_back(std::move(chain));
        rendering_ = raw;
    }
    return raw;
}

void FilterGraph::AudioPadAdded(Chain *chain, GstPad *pad)
{
    bool first;
    GstPad *stageInput;
    {
        std::lock_guard<std::mutex> hold(lock_);
        first = !chain->outcome.audio;
        stageInput = chain->held;
        chain->outcome.audio = true;
    }
    // After a Stop the decoder offers its stream again: it goes back to the
    // stage it had.
    if (stageInput != nullptr && !gst_pad_is_linked(stageInput)) {
        gst_pad_link(pad, stageInput);
        return;
    }
    if (!first) {
        OtherPadAdded(chain, pad, false); // one audio stream per file is played
        return;
    }

    GstElement *convert = Make("audioconvert"); // to the stage's stereo float
    GstElement *stage = MakeAudioStage();
    // To whatever rate and format the output takes.
    GstElement *resample = Make("audioresample");
    GstElement *outConvert = Make("audioconvert");
    g_object_set(outConvert, "dithering", 0, nullptr);
    GstElement *sink = MakeAudioOutput("graph" + std::to_string(serial_) + "-" + std::to_string(chain->index));
    gst_bin_add_many(GST_BIN(chain->bin), convert, stage, resample, outConvert, sink, nullptr);
    gst_element_link_many(convert, stage, resample, outConvert, sink, nullptr);

    GstPad *input = gst_element_get_static_pad(convert, "sink");
    gulong probe = gst_pad_add_probe(input, (GstPadProbeType)(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER), OnFirstAudio, chain,
                                     nullptr);
    {
        std::lock_guard<std::mutex> hold(lock_);
        chain->stage = stage;
        chain->held = input;
        chain->holdProbe = probe;
        ApplyLevels(*chain);
    }
    for (GstElement *e : {sink, outConvert, resample, stage, convert})
        gst_element_sync_state_with_parent(e);
    gst_pad_link(pad, input);
}

void FilterGraph::OtherPadAdded(Chain *chain, GstPad *pad, bool video)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        (video ? chain->outcome.video : chain->outcome.other) = true;
    }
    Drain(chain, pad);
}

// A stream that is not played still has to flow somewhere.
void FilterGraph::Drain(Chain *chain, GstPad *pad)
{
    GstElement *drain = Make("fakesink");
    g_object_set(drain, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add(GST_BIN(chain->bin), drain);
    gst_element_sync_state_with_parent(drain);
    GstPad *input = gst_element_get_static_pad(drain, "sink");
    gst_pad_link(pad, input);
    gst_object_unref(input);
}

void FilterGraph::ChainChanged()
{
    std::lock_guard<std::mutex> hold(lock_);
    renderChanged_.notify_all();
}

bool FilterGraph::RenderSettled(const Chain &chain) const
{
    return !chain.outcome.errors.empty() || (chain.prerolled && chain.noMorePads) ||
           (chain.noMorePads && !chain.outcome.audio);
}

void FilterGraph::ApplyLevels(const Chain &chain)
{
    if (chain.stage == nullptr)
        return;
    // The balance attenuates only the channel away from its side.
    double gain = GainOf(volume_), away = GainOf(-std::abs(balance_));
    SetStageGains(chain.stage, (float)(balance_ > 0 ? gain * away : gain), (float)(balance_ < 0 ? gain * away : gain));
    SetStageRate(chain.stage, rate_);
}

void FilterGraph::RemoveChain(Chain *chain)
{
    gst_element_set_state(chain->bin, GST_STATE_NULL);
    gst_bin_remove(GST_BIN(pipeline_), chain->bin);
    std::lock_guard<std::mutex> hold(lock_);
    std::erase_if(chains_, [chain](const std::unique_ptr<Chain> &c) { return c.get() == chain; });
}

HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR playList)
{
    (void)playList;
    if (file == nullptr)
        return E_POINTER;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Rewind();
    std::u16string wide(file);
    std::optional<std::string> path = Utf16ToUtf8(wide);
    if (!path)
        return VFW_E_NOT_FOUND;
    HRESULT checked = CheckSourceFile(*path);
    if (FAILED(checked))
        return checked;

    Chain *chain = BuildChain(*path);
    // The pipeline prerolls only as far as the audio stage, which holds the
    // first buffer until Run: levels and rate set after Run apply from the
    // first sample on.
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    gst_element_sync_state_with_parent(chain->bin); // a graph that prerolled before does not change state again
    HRESULT result;
    {
        std::unique_lock<std::mutex> hold(lock_);
        bool settled = renderChanged_.wait_for(hold, std::chrono::milliseconds(RENDER_TIMEOUT_MS),
                                               [&] { return RenderSettled(*chain); });
        chain->outcome.timedOut = !settled && !chain->prerolled;
        rendering_ = nullptr;
        result = RenderResult(chain->outcome);
    }
    if (FAILED(result))
        RemoveChain(chain);
    return result;
}

void FilterGraph::ReleaseHolds()
{
    std::lock_guard<std::mutex> hold(lock_);
    for (auto &chain : chains_) {
        if (chain->holdProbe != 0)
            gst_pad_remove_probe(chain->held, chain->holdProbe);
        chain->holdProbe = 0;
    }
}

// Takes a graph stopped where it played back to its start, as a stopped
// graph runs from there.
void FilterGraph::Rewind()
{
    if (paused_)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
    paused_ = false;
}

HRESULT FilterGraph::Run()
{
    Rewind();
    {
        std::lock_guard<std::mutex> hold(lock_);
        aborted_ = false;
    }
    state_ = State_Running;
    if (chains_.empty()) {
        QueueEvent(EC_COMPLETE, S_OK); // nothing to play has played to its end
        return S_OK;
    }
    // The state change is under way before the held buffers go, the path
    // GStreamer takes when a pipeline is played straight away.
    GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    ReleaseHolds();
    if (change == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        state_ = State_Stopped;
        return E_FAIL;
    }
    return change == GST_STATE_CHANGE_ASYNC ? S_FALSE : S_OK;
}

HRESULT FilterGraph::Stop()
{
    ReleaseHolds();
    // Pausing silences the outputs at once without waiting for the streaming
    // threads; they end when the graph runs again or is released.
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    paused_ = true;
    state_ = State_Stopped;
    return S_OK;
}

HRESULT FilterGraph::GetState(LONG timeoutMs, OAFilterState *state)
{
    (void)timeoutMs;
    if (state == nullptr)
        return E_POINTER;
    *state = state_;
    return S_OK;
}

void FilterGraph::QueueEvent(LONG code, LONG_PTR param1)
{
    HWND window;
    LONG message;
    LONG_PTR data;
    {
        std::lock_guard<std::mutex> hold(lock_);
        events_.push_back({code, param1, 0});
        window = notifyWindow_;
        message = notifyMessage_;
        data = notifyData_;
    }
    eventQueued_.notify_all();
    if (window != nullptr)
        PostMessageA(window, (UINT)message, 0, data);
}

HRESULT FilterGraph::GetEvent(LONG *code, LONG_PTR *param1, LONG_PTR *param2, LONG timeoutMs)
{
    if (code == nullptr || param1 == nullptr || param2 == nullptr)
        return E_POINTER;
    std::unique_lock<std::mutex> hold(lock_);
    auto queued = [this] { return !events_.empty(); };
    if (timeoutMs < 0)
        eventQueued_.wait(hold, queued);
    else if (!eventQueued_.wait_for(hold, std::chrono::milliseconds(timeoutMs), queued))
        return E_ABORT;
    Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData)
{
    std::lock_guard<std::mutex> hold(lock_);
    notifyWindow_ = reinterpret_cast<HWND>(window);
    notifyMessage_ = message;
    notifyData_ = instanceData;
    return S_OK;
}

template <class Value>
HRESULT FilterGraph::Update(Value &setting, Value value, bool valid)
{
    if (!valid)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(lock_);
    setting = value;
    for (auto &chain : chains_)
        ApplyLevels(*chain);
    return S_OK;
}

HRESULT FilterGraph::put_Volume(LONG volume)
{
    return Update(volume_, volume, volume >= -10000 && volume <= 0);
}

HRESULT FilterGraph::put_Balance(LONG balance)
{
    return Update(balance_, balance, balance >= -10000 && balance <= 10000);
}

HRESULT FilterGraph::SetRate(double rate)
{
    return Update(rate_, rate, rate >= MIN_RATE && rate <= MAX_RATE); // false for NaN too
}

GstBusSyncReply FilterGraph::OnBusMessage(GstMessage *message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        bool running;
        {
            std::lock_guard<std::mutex> hold(lock_);
            running = rendering_ == nullptr;
            if (!running) {
                rendering_->outcome.errors.push_back(error);
                error = nullptr;
            } else if (aborted_) {
                running = false; // one abort per error burst
            } else {
                aborted_ = true;
            }
            renderChanged_.notify_all();
        }
        if (error != nullptr)
            g_error_free(error);
        if (running)
            QueueEvent(EC_ERRORABORT, E_FAIL);
        break;
    }
    case GST_MESSAGE_EOS: {
        bool aborted;
        {
            std::lock_guard<std::mutex> hold(lock_);
            aborted = aborted_;
        }
        // After an error GStreamer sends EOS too; that is no completion.
        if (!aborted)
            QueueEvent(EC_COMPLETE, S_OK);
        break;
    }
    default:
        break;
    }
    return GST_BUS_DROP;
}

} // namespace

HRESULT CreateFilterGraph(REFIID iid, void **object)
{
    auto *graph = new FilterGraph;
    HRESULT result = graph->QueryInterface(iid, object);
    graph->Release();
    return result;
}
