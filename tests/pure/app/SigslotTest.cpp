#include "app/base/sigslot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using sigslot::has_slots;
using sigslot::signal0;
using Log = std::vector<std::wstring>;

// Records every call it gets, tagged with its name; its plain slot may then act on the signal calling it.
class CRecorder : public has_slots<> {
public:
    CRecorder(Log& log, std::wstring name) : m_log(log), m_name(std::move(name)) {}
    void OnChanged() {
        m_log.push_back(m_name);
        if (action) {
            action();
        }
    }
    void OnChangedAgain() { m_log.push_back(m_name + L"+"); }
    void OnFour(int code, std::wstring a, std::wstring b, std::wstring c) {
        m_log.push_back(m_name + L":" + std::to_wstring(code) + L"," + a + L"," + b + L"," + c);
    }
    std::function<void()> action;

private:
    Log& m_log;
    std::wstring m_name;
};

TEST(Sigslot, SlotsRunInConnectionOrderWithTheEmittedArgumentsUntilDisconnected) {
    Log log;
    CRecorder b(log, L"b"), a(log, L"a"), c(log, L"c");
    signal0<> changed;
    changed.connect(&b, &CRecorder::OnChanged);
    changed.connect(&a, &CRecorder::OnChanged);
    changed.connect(&c, &CRecorder::OnChanged);
    changed.connect(&b, &CRecorder::OnChangedAgain);
    changed();
    changed.disconnect(&b);
    changed.emit();
    changed.disconnect_all();
    changed.emit();
    sigslot::signal4<int, std::wstring, std::wstring, std::wstring> four;
    four.connect(&a, &CRecorder::OnFour);
    four.emit(4, L"p", L"\u5317\u4eac", L"r");
    EXPECT_EQ(log, (Log{L"b", L"a", L"c", L"b+", L"a", L"c", L"a:4,p,\u5317\u4eac,r"}));
}

TEST(Sigslot, DestroyingEitherSideDisconnectsIt) {
    Log log;
    auto kept = std::make_unique<CRecorder>(log, L"kept");
    signal0<> first;
    signal0<> second;
    {
        CRecorder gone(log, L"gone");
        first.connect(&gone, &CRecorder::OnChanged);
        first.connect(kept.get(), &CRecorder::OnChanged);
        second.connect(&gone, &CRecorder::OnChangedAgain);
        signal0<> shortLived;
        shortLived.connect(kept.get(), &CRecorder::OnChanged);
    }
    EXPECT_EQ(first.slot_count(), 1u);
    EXPECT_EQ(second.slot_count(), 0u);
    first.emit();
    second.emit();
    // Destroying the receiver must not reach back into the destroyed signal (the sanitizers watch this).
    kept.reset();
    first.emit();
    EXPECT_EQ(log, Log{L"kept"});
    EXPECT_EQ(first.slot_count(), 0u);
}

TEST(Sigslot, SlotMayChangeOrDestroyTheSignalCallingIt) {
    Log log;
    auto changed = std::make_unique<signal0<>>();
    auto self = std::make_unique<CRecorder>(log, L"self");
    CRecorder later(log, L"later"), added(log, L"added"), last(log, L"last");
    changed->connect(self.get(), &CRecorder::OnChanged);
    changed->connect(&later, &CRecorder::OnChanged);
    changed->connect(&last, &CRecorder::OnChanged);
    self->action = [&] {
        changed->disconnect(&later);
        changed->connect(&added, &CRecorder::OnChanged);
        self.reset();
    };
    changed->emit();
    EXPECT_EQ(log, (Log{L"self", L"last"})) << "a slot disconnected before its turn is skipped, a new one waits";
    log.clear();
    changed->emit();
    EXPECT_EQ(log, (Log{L"last", L"added"}));

    log.clear();
    last.action = [&] { changed.reset(); };
    changed->emit();
    EXPECT_EQ(log, Log{L"last"}) << "a destroyed signal calls nobody else";
}

TEST(Sigslot, SlotRunsOnTheEmittingThreadAndDisconnectingWaitsForIt) {
    Log log;
    CRecorder probe(log, L"probe");
    std::atomic<bool> inside{false}, hold{true}, finished{false}, finishedFirst{false};
    std::thread::id ranOn;
    probe.action = [&] {
        ranOn = std::this_thread::get_id();
        inside = true;
        while (hold) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        finished = true;
    };
    signal0<> changed;
    changed.connect(&probe, &CRecorder::OnChanged);
    std::thread worker([&] { changed.emit(); });
    while (!inside) {
        std::this_thread::yield();
    }
    std::thread disconnecter([&] {
        probe.disconnect_all();
        finishedFirst = finished.load();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    hold = false;
    disconnecter.join();
    const std::thread::id workerId = worker.get_id();
    worker.join();
    EXPECT_TRUE(finishedFirst) << "disconnecting must wait while the slot runs";
    EXPECT_EQ(ranOn, workerId);
    EXPECT_EQ(changed.slot_count(), 0u);
}

} // namespace
