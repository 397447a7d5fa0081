#include "app/sigslot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

using sigslot::has_slots;
using sigslot::multi_threaded_local;
using sigslot::signal0;
using sigslot::signal1;
using sigslot::signal2;
using sigslot::signal4;

static_assert(!std::is_copy_constructible_v<signal1<int>> && !std::is_move_constructible_v<signal1<int>>);
static_assert(!std::is_copy_assignable_v<signal0<>> && !std::is_move_assignable_v<signal0<>>);
static_assert(!std::is_copy_constructible_v<has_slots<>> && !std::is_move_constructible_v<has_slots<>>);

// Records every call it gets, tagged with its name.
class CRecorder : public has_slots<multi_threaded_local> {
public:
    CRecorder(std::vector<std::wstring>& log, std::wstring name) : m_log(log), m_name(std::move(name)) {}
    void OnChanged() { m_log.push_back(m_name); }
    void OnChangedAgain() { m_log.push_back(m_name + L"+"); }
    void OnInt(int value) { m_log.push_back(m_name + L":" + std::to_wstring(value)); }
    void OnText(std::wstring text) { m_log.push_back(m_name + L":" + text); }
    void OnPair(std::wstring a, std::wstring b) { m_log.push_back(m_name + L":" + a + L"," + b); }
    void OnFour(int code, std::wstring a, std::wstring b, std::wstring c) {
        m_log.push_back(m_name + L":" + std::to_wstring(code) + L"," + a + L"," + b + L"," + c);
    }

private:
    std::vector<std::wstring>& m_log;
    std::wstring m_name;
};

TEST(Sigslot, SlotsRunInConnectionOrderWithTheEmittedArgumentsUntilDisconnected) {
    std::vector<std::wstring> log;
    CRecorder b(log, L"b"), a(log, L"a"), c(log, L"c");
    signal0<> changed;
    changed.connect(&b, &CRecorder::OnChanged);
    changed.connect(&a, &CRecorder::OnChanged);
    changed.connect(&c, &CRecorder::OnChanged);
    changed.connect(&b, &CRecorder::OnChangedAgain);
    changed.emit();
    changed();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"b", L"a", L"c", L"b+", L"b", L"a", L"c", L"b+"}));
    log.clear();
    changed.disconnect(&b);
    changed.emit();
    changed.disconnect_all();
    changed.emit();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"a", L"c"}));

    log.clear();
    signal1<int> number;
    signal1<std::wstring> text;
    signal2<std::wstring, std::wstring> pair;
    signal4<int, std::wstring, std::wstring, std::wstring> four;
    number.connect(&a, &CRecorder::OnInt);
    text.connect(&b, &CRecorder::OnText);
    pair.connect(&c, &CRecorder::OnPair);
    four.connect(&a, &CRecorder::OnFour);
    number.emit(-1);
    text.emit(L"\u5317\u4eac");
    pair.emit(L"x", L"y");
    four.emit(4, L"p", L"q", L"r");
    EXPECT_EQ(log, (std::vector<std::wstring>{L"a:-1", L"b:\u5317\u4eac", L"c:x,y", L"a:4,p,q,r"}));
}

TEST(Sigslot, DestroyedReceiverIsDisconnectedFromEverySignal) {
    std::vector<std::wstring> log;
    CRecorder kept(log, L"kept");
    signal0<> first;
    signal1<int> second;
    {
        CRecorder gone(log, L"gone");
        first.connect(&gone, &CRecorder::OnChanged);
        first.connect(&kept, &CRecorder::OnChanged);
        second.connect(&gone, &CRecorder::OnInt);
        EXPECT_EQ(first.slot_count(), 2u);
        EXPECT_EQ(second.slot_count(), 1u);
    }
    EXPECT_EQ(first.slot_count(), 1u);
    EXPECT_EQ(second.slot_count(), 0u);
    first.emit();
    second.emit(5);
    EXPECT_EQ(log, std::vector<std::wstring>{L"kept"});
}

TEST(Sigslot, DestroyedSignalIsForgottenByItsReceivers) {
    std::vector<std::wstring> log;
    auto receiver = std::make_unique<CRecorder>(log, L"r");
    signal0<> survivor;
    survivor.connect(receiver.get(), &CRecorder::OnChanged);
    {
        signal0<> gone;
        gone.connect(receiver.get(), &CRecorder::OnChanged);
        gone.emit();
    }
    survivor.emit();
    // Destroying the receiver must not reach back into the destroyed signal (the sanitizers watch this).
    receiver.reset();
    survivor.emit();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"r", L"r"}));
    EXPECT_EQ(survivor.slot_count(), 0u);
}

// A receiver whose slot does something to the signal that is calling it.
class CReentrant : public has_slots<> {
public:
    std::function<void()> action;
    int calls = 0;
    void OnChanged() {
        ++calls;
        if (action) {
            action();
        }
    }
};

TEST(Sigslot, SlotMayDisconnectItselfOrOthersWhileBeingCalled) {
    signal0<> changed;
    CReentrant self, later, last;
    changed.connect(&self, &CReentrant::OnChanged);
    changed.connect(&later, &CReentrant::OnChanged);
    changed.connect(&last, &CReentrant::OnChanged);
    self.action = [&] {
        changed.disconnect(&self);
        changed.disconnect(&later);
    };
    changed.emit();
    EXPECT_EQ(self.calls, 1);
    EXPECT_EQ(later.calls, 0) << "disconnected before its turn";
    EXPECT_EQ(last.calls, 1);
    changed.emit();
    EXPECT_EQ(self.calls, 1);
    EXPECT_EQ(last.calls, 2);
}

TEST(Sigslot, SlotConnectedDuringEmissionRunsFromTheNextEmission) {
    signal0<> changed;
    CReentrant first, added;
    changed.connect(&first, &CReentrant::OnChanged);
    first.action = [&] {
        changed.connect(&added, &CReentrant::OnChanged);
        first.action = nullptr;
    };
    changed.emit();
    EXPECT_EQ(added.calls, 0);
    changed.emit();
    EXPECT_EQ(first.calls, 2);
    EXPECT_EQ(added.calls, 1);
}

TEST(Sigslot, SlotMayDestroyItsReceiverOrTheSignal) {
    auto changed = std::make_unique<signal0<>>();
    auto doomed = std::make_unique<CReentrant>();
    CReentrant after;
    changed->connect(doomed.get(), &CReentrant::OnChanged);
    changed->connect(&after, &CReentrant::OnChanged);
    doomed->action = [&] { doomed.reset(); };
    changed->emit();
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(after.calls, 1);

    CReentrant killer, skipped;
    changed->connect(&killer, &CReentrant::OnChanged);
    changed->connect(&skipped, &CReentrant::OnChanged);
    killer.action = [&] { changed.reset(); };
    after.action = nullptr;
    changed->emit();
    EXPECT_EQ(killer.calls, 1);
    EXPECT_EQ(skipped.calls, 0) << "a destroyed signal calls nobody else";
    EXPECT_EQ(after.calls, 2);
}

// Records the thread its slot ran on; can hold the slot until told to go on.
class CThreadProbe : public has_slots<> {
public:
    ~CThreadProbe() override { disconnect_all(); }
    void OnValue(int value) {
        thread = std::this_thread::get_id();
        sum += value;
        inside = true;
        while (hold) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        finished = true;
    }
    std::atomic<std::thread::id> thread;
    std::atomic<int> sum{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> hold{false};
    std::atomic<bool> finished{false};
    int delayMs = 0;
};

TEST(Sigslot, SlotRunsOnTheEmittingThreadAndDisconnectingWaitsForIt) {
    signal1<int> value;
    auto probe = std::make_unique<CThreadProbe>();
    probe->hold = true;
    probe->delayMs = 50;
    value.connect(probe.get(), &CThreadProbe::OnValue);
    CThreadProbe* raw = probe.get();
    std::atomic<bool> destroyed{false};
    std::atomic<bool> finishedBeforeDestroyed{false};
    std::thread worker([&] { value.emit(1); });
    const std::thread::id workerId = worker.get_id();
    while (!raw->inside) {
        std::this_thread::yield();
    }
    std::thread destroyer([&] {
        // What the probe's destructor does first.
        raw->disconnect_all();
        finishedBeforeDestroyed = raw->finished.load();
        destroyed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(destroyed) << "disconnecting must wait while the slot runs";
    raw->hold = false;
    destroyer.join();
    worker.join();
    EXPECT_TRUE(finishedBeforeDestroyed);
    EXPECT_EQ(raw->thread, workerId) << "slots run on the emitting thread";
    probe.reset();
    value.emit(2);
    EXPECT_EQ(value.slot_count(), 0u);
}

TEST(Sigslot, ConcurrentEmittersConnectionsAndDestructions) {
    signal1<int> value;
    std::atomic<bool> stop{false};
    std::vector<std::thread> emitters;
    for (int i = 0; i < 3; ++i) {
        emitters.emplace_back([&] {
            while (!stop) {
                value.emit(1);
            }
        });
    }
    for (int round = 0; round < 100; ++round) {
        CThreadProbe probe;
        value.connect(&probe, &CThreadProbe::OnValue);
        std::this_thread::yield();
        probe.disconnect_all();
        const int sum = probe.sum;
        // Disconnected: later emissions leave it alone, and destroying it races with nothing.
        std::this_thread::yield();
        EXPECT_EQ(probe.sum, sum);
    }
    stop = true;
    for (std::thread& emitter : emitters) {
        emitter.join();
    }
    EXPECT_EQ(value.slot_count(), 0u);
}

class CSingleThreaded : public has_slots<sigslot::single_threaded> {
public:
    void OnInt(int v) { values.push_back(v); }
    std::vector<int> values;
};

TEST(Sigslot, SingleThreadedPolicy) {
    CSingleThreaded first;
    {
        signal1<int, sigslot::single_threaded> value;
        CSingleThreaded second;
        value.connect(&first, &CSingleThreaded::OnInt);
        value.connect(&second, &CSingleThreaded::OnInt);
        value.emit(7);
        EXPECT_EQ(second.values, std::vector<int>{7});
    }
    EXPECT_EQ(first.values, std::vector<int>{7});
}

} // namespace
