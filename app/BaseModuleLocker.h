#pragma once

namespace _BaseModule {

// Lock interface of the base module; taken through CAutoLocker so every exit path unlocks.
class ILocker {
public:
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual ~ILocker() = default;
};

} // namespace _BaseModule
