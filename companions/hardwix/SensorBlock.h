#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/base/ScopedHandle.h"
#include "companions/hardwix/SensorText.h"

struct MappedViewTraits : CHandleTraitsBase<void*, nullptr> {
    static void Close(void* view) { ::UnmapViewOfFile(view); }
};
using CMappedView = CScopedHandle<MappedViewTraits>;

// The hand-off between HardwixService.exe, which measures, and DataMgr.dll in each program that wants
// readings: a named shared-memory block in the session holding the latest complete set, guarded by a
// named mutex. Fixed-width fields only, so 32- and 64-bit processes share it. Two named manual-reset events, one
// for odd and one for even sequence numbers, tell readers that a set came: publishing a set sets its own event and
// resets the other, so a reader that has seen a set sleeps on the other one until the next set and needs no timer.
class CSensorBlock {
public:
    static constexpr size_t kMaxReadings = 16;

    CSensorBlock();

    struct Snapshot {
        uint32_t sequence = 0;
        std::vector<hardwix::SensorSample> readings;
    };

    // The service creates the block; readers open it and fail while no service has made it.
    bool Create();
    bool Open();
    bool IsOpen() const { return m_view.IsValid(); }

    // Replaces the set and counts it as a new one.
    bool Publish(const std::vector<hardwix::SensorSample>& readings);
    // The set when it is newer than the one seen, and a sign of life for the service.
    std::optional<Snapshot> ReadNewer(uint32_t seenSequence);
    // When a reader last looked (GetTickCount64), 0 before any did.
    uint64_t LastReaderTick();
    // Signalled once a set newer than `seenSequence` is published, whether or not the block exists yet; null when
    // the events could not be made. A reader that woke to it and found nothing new calls ForgetSignal.
    HANDLE NextSetSignal(uint32_t seenSequence) const { return m_published[(seenSequence + 1) % 2].Get(); }
    void ForgetSignal(uint32_t seenSequence) { ::ResetEvent(NextSetSignal(seenSequence)); }

private:
    struct Reading {
        int32_t type;
        int32_t celsius;
    };
    struct Layout {
        uint32_t magic;
        uint32_t sequence;
        uint32_t count;
        uint32_t reserved;
        uint64_t readerTick;
        Reading readings[kMaxReadings];
    };

    bool Map(HANDLE mapping);
    Layout* Block() const { return static_cast<Layout*>(m_view.Get()); }

    CKernelHandle m_mapping;
    CKernelHandle m_mutex;
    CMappedView m_view;
    CKernelHandle m_published[2];
};
