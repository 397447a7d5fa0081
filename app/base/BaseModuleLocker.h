#pragma once

namespace _BaseModule {

// The lock interface every lock of the program implements; taken through CDHAutoLock (also named
// _BaseModule::CAutoLocker) so every exit path unlocks.
class ILocker {
public:
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual ~ILocker() = default;
};

} // namespace _BaseModule
