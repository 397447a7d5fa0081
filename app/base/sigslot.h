#pragma once

// Signals and slots. A receiver derives from has_slots<mt_policy>; signalN<...>::connect binds one of its
// member functions; emit calls every connected slot synchronously on the emitting thread, in
// connection order. Destroying either side disconnects it from the other.
//
// Thread safety (multi_threaded_local): every signal and every receiver has its own lock, and no lock
// is held while a slot runs, so slots may emit, connect and disconnect freely, even on the signal that
// called them. Disconnecting a receiver (explicitly or by destroying it) waits for its slot calls that
// are running on other threads, so after it returns no slot of that receiver runs; a slot must
// therefore never wait for the thread that disconnects its receiver. has_slots disconnects in its own
// destructor, after the derived part is gone: a receiver that other threads signal calls
// disconnect_all() first in its destructor. A signal and its receiver may not be destroyed on two
// threads at the same moment.

#include <algorithm>
#include <memory>
#include <thread>
#include <type_traits>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#endif

namespace sigslot {

// For signals and receivers used on one thread only.
class single_threaded {
public:
    static constexpr bool is_threaded = false;
    void lock() {}
    void unlock() {}
    void wait() {}
    void notify_all() {}
};

// One lock per signal and per receiver.
class multi_threaded_local {
public:
    static constexpr bool is_threaded = true;
#ifdef _WIN32
    multi_threaded_local() {
        ::InitializeCriticalSection(&m_cs);
        ::InitializeConditionVariable(&m_cv);
    }
    ~multi_threaded_local() {
        ::DeleteCriticalSection(&m_cs);
    }
    void lock() {
        ::EnterCriticalSection(&m_cs);
    }
    void unlock() {
        ::LeaveCriticalSection(&m_cs);
    }
    // With the lock held exactly once: releases it until notify_all, then takes it again.
    void wait() {
        ::SleepConditionVariableCS(&m_cv, &m_cs, INFINITE);
    }
    void notify_all() {
        ::WakeAllConditionVariable(&m_cv);
    }
#else
    multi_threaded_local() = default;
    void lock() {
        m_mutex.lock();
    }
    void unlock() {
        m_mutex.unlock();
    }
    void wait() {
        m_cv.wait(m_mutex);
    }
    void notify_all() {
        m_cv.notify_all();
    }
#endif
    multi_threaded_local(const multi_threaded_local&) = delete;
    multi_threaded_local& operator=(const multi_threaded_local&) = delete;

private:
#ifdef _WIN32
    CRITICAL_SECTION m_cs;
    CONDITION_VARIABLE m_cv;
#else
    std::recursive_mutex m_mutex;
    std::condition_variable_any m_cv;
#endif
};

template <class mt_policy> class lock_block {
public:
    explicit lock_block(mt_policy& policy) : m_policy(policy) { m_policy.lock(); }
    ~lock_block() { m_policy.unlock(); }
    lock_block(const lock_block&) = delete;
    lock_block& operator=(const lock_block&) = delete;

private:
    mt_policy& m_policy;
};

template <class mt_policy = multi_threaded_local> class has_slots;
template <class mt_policy, class... Args> class signal_base;

namespace detail {

template <class mt_policy> struct receiver_core;

// One connection of a signal to a member function. The signal's lock guards alive and callers.
template <class mt_policy> struct connection_base {
    virtual ~connection_base() = default;
    has_slots<mt_policy>* receiver = nullptr;
    std::weak_ptr<receiver_core<mt_policy>> receiver_state;
    bool alive = true;
    // Threads running this slot now; one entry per call in progress.
    std::vector<std::thread::id> callers;
};

template <class mt_policy, class... Args> struct connection : connection_base<mt_policy> {
    virtual void call(Args... args) = 0;
};

template <class Dest, class mt_policy, class... Args> struct member_connection : connection<mt_policy, Args...> {
    using Method = void (Dest::*)(Args...);
    member_connection(Dest* object, Method method) : object(object), method(method) {}
    void call(Args... args) override { (object->*method)(args...); }
    Dest* object;
    Method method;
};

// What a signal shares with emissions in progress, so that a slot may destroy the signal it was called by.
template <class mt_policy> struct signal_core : mt_policy {
    using connection_ptr = std::shared_ptr<connection_base<mt_policy>>;
    std::vector<connection_ptr> connections;
    bool closed = false;

    // Removes every connection to the receiver; then waits until no other thread runs one of them.
    void disconnect_receiver(has_slots<mt_policy>* target) {
        lock_block<mt_policy> lock(*this);
        std::vector<connection_ptr> removed;
        std::erase_if(connections, [&](const connection_ptr& c) {
            if (c->receiver != target) {
                return false;
            }
            c->alive = false;
            removed.push_back(c);
            return true;
        });
        if constexpr (mt_policy::is_threaded) {
            const std::thread::id self = std::this_thread::get_id();
            auto busyElsewhere = [&] {
                return std::any_of(removed.begin(), removed.end(), [&](const connection_ptr& c) {
                    return std::any_of(c->callers.begin(), c->callers.end(),
                                       [&](std::thread::id caller) { return caller != self; });
                });
            };
            while (busyElsewhere()) {
                this->wait();
            }
        }
    }
};

// A receiver's record of the signals it is connected to, shared so that a signal being destroyed can
// still reach it safely.
template <class mt_policy> struct receiver_core : mt_policy {
    using sender_ptr = std::weak_ptr<signal_core<mt_policy>>;
    std::vector<sender_ptr> senders;

    static bool same(const sender_ptr& a, const sender_ptr& b) { return !a.owner_before(b) && !b.owner_before(a); }

    void add_sender(const sender_ptr& sender) {
        lock_block<mt_policy> lock(*this);
        if (std::none_of(senders.begin(), senders.end(), [&](const sender_ptr& s) { return same(s, sender); })) {
            senders.push_back(sender);
        }
    }
    void remove_sender(const sender_ptr& sender) {
        lock_block<mt_policy> lock(*this);
        std::erase_if(senders, [&](const sender_ptr& s) { return same(s, sender); });
    }
};

} // namespace detail

template <class mt_policy> class has_slots {
public:
    has_slots() : m_state(std::make_shared<detail::receiver_core<mt_policy>>()) {}
    virtual ~has_slots() { disconnect_all(); }
    // A copied or moved receiver would not carry its connections along; receivers are not values.
    has_slots(const has_slots&) = delete;
    has_slots& operator=(const has_slots&) = delete;

    // Disconnects from every signal; returns once no slot of this receiver runs on another thread.
    void disconnect_all() {
        std::vector<typename detail::receiver_core<mt_policy>::sender_ptr> senders;
        {
            lock_block<mt_policy> lock(*m_state);
            senders.swap(m_state->senders);
        }
        for (const auto& weak : senders) {
            if (auto sender = weak.lock()) {
                sender->disconnect_receiver(this);
            }
        }
    }

private:
    template <class, class...> friend class signal_base;
    std::shared_ptr<detail::receiver_core<mt_policy>> m_state;
};

template <class mt_policy, class... Args> class signal_base {
public:
    signal_base() : m_core(std::make_shared<detail::signal_core<mt_policy>>()) {}
    ~signal_base() {
        std::vector<typename detail::signal_core<mt_policy>::connection_ptr> removed;
        {
            lock_block<mt_policy> lock(*m_core);
            m_core->closed = true;
            removed.swap(m_core->connections);
            for (const auto& c : removed) {
                c->alive = false;
            }
        }
        for (const auto& c : removed) {
            if (auto state = c->receiver_state.lock()) {
                state->remove_sender(m_core);
            }
        }
    }
    // Connections belong to one signal object; copying or moving it would split or lose them.
    signal_base(const signal_base&) = delete;
    signal_base& operator=(const signal_base&) = delete;

    template <class Dest> void connect(Dest* receiver, void (Dest::*method)(Args...)) {
        static_assert(std::is_base_of_v<has_slots<mt_policy>, Dest>, "a receiver derives from has_slots");
        if (!receiver || !method) {
            return;
        }
        has_slots<mt_policy>* base = receiver;
        auto c = std::make_shared<detail::member_connection<Dest, mt_policy, Args...>>(receiver, method);
        c->receiver = base;
        c->receiver_state = base->m_state;
        {
            lock_block<mt_policy> lock(*m_core);
            m_core->connections.push_back(c);
        }
        base->m_state->add_sender(m_core);
    }

    // Disconnects every slot of the receiver; returns once none of them runs on another thread.
    void disconnect(has_slots<mt_policy>* receiver) {
        if (!receiver) {
            return;
        }
        m_core->disconnect_receiver(receiver);
        receiver->m_state->remove_sender(m_core);
    }

    void disconnect_all() {
        std::vector<has_slots<mt_policy>*> receivers;
        {
            lock_block<mt_policy> lock(*m_core);
            for (const auto& c : m_core->connections) {
                if (std::find(receivers.begin(), receivers.end(), c->receiver) == receivers.end()) {
                    receivers.push_back(c->receiver);
                }
            }
        }
        for (has_slots<mt_policy>* receiver : receivers) {
            disconnect(receiver);
        }
    }

    size_t slot_count() const {
        lock_block<mt_policy> lock(*m_core);
        return m_core->connections.size();
    }

    // Slots connected while this runs are called from the next emission on; slots disconnected while
    // it runs are not called any more.
    void emit(Args... args) {
        // Keeps the connection list alive if a slot destroys this signal.
        const std::shared_ptr<detail::signal_core<mt_policy>> core = m_core;
        std::vector<typename detail::signal_core<mt_policy>::connection_ptr> snapshot;
        {
            lock_block<mt_policy> lock(*core);
            snapshot = core->connections;
        }
        const std::thread::id self = std::this_thread::get_id();
        for (const auto& c : snapshot) {
            {
                lock_block<mt_policy> lock(*core);
                if (!c->alive) {
                    continue;
                }
                c->callers.push_back(self);
            }
            call_guard guard{*core, *c, self};
            static_cast<detail::connection<mt_policy, Args...>&>(*c).call(args...);
        }
    }
    void operator()(Args... args) { emit(args...); }

private:
    // Ends one call's registration even if the slot throws, and wakes a disconnect waiting for it.
    struct call_guard {
        detail::signal_core<mt_policy>& core;
        detail::connection_base<mt_policy>& c;
        std::thread::id self;
        ~call_guard() {
            lock_block<mt_policy> lock(core);
            c.callers.erase(std::find(c.callers.begin(), c.callers.end(), self));
            if (!c.alive) {
                core.notify_all();
            }
        }
    };

    std::shared_ptr<detail::signal_core<mt_policy>> m_core;
};

template <class mt_policy = multi_threaded_local> class signal0 : public signal_base<mt_policy> {};

template <class A1, class mt_policy = multi_threaded_local> class signal1 : public signal_base<mt_policy, A1> {};

template <class A1, class A2, class mt_policy = multi_threaded_local>
class signal2 : public signal_base<mt_policy, A1, A2> {};

template <class A1, class A2, class A3, class mt_policy = multi_threaded_local>
class signal3 : public signal_base<mt_policy, A1, A2, A3> {};

template <class A1, class A2, class A3, class A4, class mt_policy = multi_threaded_local>
class signal4 : public signal_base<mt_policy, A1, A2, A3, A4> {};

} // namespace sigslot
