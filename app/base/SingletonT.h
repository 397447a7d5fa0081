#pragma once

// One process-wide instance of T, created on first access. Singletons are first touched on the UI
// thread during start-up or widget creation, so creation takes no lock. Most are never destroyed;
// the instance guard is torn down explicitly at shutdown with DestroyInstance.
template <class T> class CSingletonT {
public:
    static T* GetInstance() {
        if (!s_instance) {
            s_instance = new T();
        }
        return s_instance;
    }
    static bool HasInstance() { return s_instance != nullptr; }
    static void DestroyInstance() {
        delete s_instance;
        s_instance = nullptr;
    }

protected:
    CSingletonT() = default;
    ~CSingletonT() = default;
    CSingletonT(const CSingletonT&) = delete;
    CSingletonT& operator=(const CSingletonT&) = delete;

private:
    static inline T* s_instance = nullptr;
};
