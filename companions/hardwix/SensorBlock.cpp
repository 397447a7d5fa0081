#include "companions/hardwix/SensorBlock.h"

#include <algorithm>

namespace {
const wchar_t kBlockName[] = L"Local\\BrakoSensorBlock";
const wchar_t kLockName[] = L"Local\\BrakoSensorLock";
const wchar_t* const kPublishedNames[2] = {L"Local\\BrakoSensorSetEven", L"Local\\BrakoSensorSetOdd"};
constexpr uint32_t kMagic = 0x534B5242; // "BRKS"
// A holder that died is noticed by the mutex and a live one holds it only for a copy; should one hang,
// a reader goes ahead after this wait rather than stop, at worst taking a set of mixed ages.
constexpr DWORD kLockWait = 1000;
} // namespace

CSensorBlock::CSensorBlock() {
    for (int parity = 0; parity < 2; ++parity) {
        m_published[parity].Reset(::CreateEventW(nullptr, TRUE, FALSE, kPublishedNames[parity]));
    }
}

bool CSensorBlock::Create() {
    m_mutex.Reset(::CreateMutexW(nullptr, FALSE, kLockName));
    CKernelHandle mapping(
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Layout), kBlockName));
    if (!m_mutex || !Map(mapping.Release())) {
        return false;
    }
    CMutexLock lock(m_mutex.Get(), kLockWait);
    Block()->magic = kMagic;
    return true;
}

bool CSensorBlock::Open() {
    m_mutex.Reset(::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName));
    return m_mutex && Map(::OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kBlockName));
}

bool CSensorBlock::Map(HANDLE mapping) {
    m_mapping.Reset(mapping);
    m_view.Reset(m_mapping ? ::MapViewOfFile(m_mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Layout))
                           : nullptr);
    return m_view.IsValid();
}

bool CSensorBlock::Publish(const std::vector<hardwix::SensorSample>& readings) {
    CMutexLock lock(m_mutex.Get(), kLockWait);
    if (!IsOpen()) {
        return false;
    }
    Layout* block = Block();
    block->count = static_cast<uint32_t>(std::min(readings.size(), kMaxReadings));
    for (uint32_t i = 0; i < block->count; ++i) {
        block->readings[i] = {readings[i].type, readings[i].celsius};
    }
    ++block->sequence;
    // Under the lock, so that a reader's sequence and the events agree.
    ::ResetEvent(NextSetSignal(block->sequence));
    ::SetEvent(NextSetSignal(block->sequence - 1));
    return true;
}

std::optional<CSensorBlock::Snapshot> CSensorBlock::ReadNewer(uint32_t seenSequence) {
    CMutexLock lock(m_mutex.Get(), kLockWait);
    if (!IsOpen()) {
        return std::nullopt;
    }
    Layout* block = Block();
    block->readerTick = ::GetTickCount64();
    if (block->magic != kMagic || block->sequence == seenSequence) {
        return std::nullopt;
    }
    Snapshot snapshot;
    snapshot.sequence = block->sequence;
    for (uint32_t i = 0; i < std::min<uint32_t>(block->count, kMaxReadings); ++i) {
        snapshot.readings.push_back({block->readings[i].type, block->readings[i].celsius});
    }
    return snapshot;
}

uint64_t CSensorBlock::LastReaderTick() {
    CMutexLock lock(m_mutex.Get(), kLockWait);
    return IsOpen() ? Block()->readerTick : 0;
}
