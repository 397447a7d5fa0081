#pragma once

#include <type_traits>
#include <utility>

// A task for another thread: RunOnUIThread runs one the caller keeps; PostToUIThread takes a heap one
// and the UI thread destroys it after running it.
class ISimpleBind {
public:
    virtual void Run() = 0;
    virtual ~ISimpleBind() = default;
};

// A bound call of a member function without arguments:
//   mf_bind_t task(this, &CCalendarWnd::Refresh);
template <class T, class R = void> class mf_bind_t : public ISimpleBind {
public:
    using Method = R (T::*)();
    mf_bind_t(T* object, Method method) : m_object(object), m_method(method) {}
    void Run() override { (m_object->*m_method)(); }

private:
    T* m_object;
    Method m_method;
};

// A bound call with one argument, stored by value (a pointer argument stores only the pointer, so
// its target must outlive the task: RunOnUIThread guarantees that for the caller's stack).
template <class T, class A1, class R = void> class mf_bind_t_1 : public ISimpleBind {
public:
    using Method = R (T::*)(A1);
    using Stored1 = std::remove_cvref_t<A1>;
    mf_bind_t_1(T* object, Method method, Stored1 a1) : m_object(object), m_method(method), m_a1(std::move(a1)) {}
    void Run() override { (m_object->*m_method)(m_a1); }

private:
    T* m_object;
    Method m_method;
    Stored1 m_a1;
};

// A bound call with two arguments, both stored by value.
template <class T, class A1, class A2, class R = void> class mf_bind_t_2 : public ISimpleBind {
public:
    using Method = R (T::*)(A1, A2);
    using Stored1 = std::remove_cvref_t<A1>;
    using Stored2 = std::remove_cvref_t<A2>;
    mf_bind_t_2(T* object, Method method, Stored1 a1, Stored2 a2)
        : m_object(object), m_method(method), m_a1(std::move(a1)), m_a2(std::move(a2)) {}
    void Run() override { (m_object->*m_method)(m_a1, m_a2); }

private:
    T* m_object;
    Method m_method;
    Stored1 m_a1;
    Stored2 m_a2;
};
