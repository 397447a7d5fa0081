#pragma once

// Base of the lock objects; owners hold locks through it and destroy them through it.
class CDHSyncObject {
public:
    virtual ~CDHSyncObject() = default;
    CDHSyncObject(const CDHSyncObject&) = delete;
    CDHSyncObject& operator=(const CDHSyncObject&) = delete;

protected:
    CDHSyncObject() = default;
};
