#pragma once

#include <windows.h>

// Sees every message of a thread's message loop before it is translated and dispatched.
class CMessageFilter {
public:
    // True swallows the message.
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};
