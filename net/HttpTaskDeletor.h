#pragma once

#include "app/base/IHttpTask.h"

// Owners keep a task in a std::shared_ptr with this deleter, so the last holder releases it.
struct HttpTaskDeletor {
    void operator()(IHttpTask* task) const {
        if (task) {
            task->Release();
        }
    }
};
