#pragma once

#include <cstdint>

// The states an HTTP task reports, apart from the Win32 contract so that answer checks can be pure.
enum EHttpTaskState : uint32_t {
    kHttpTaskStarted = 0,
    kHttpTaskProgress = 1,
    kHttpTaskFinished = 2,
    kHttpTaskFailed = 3,
};
