#pragma once

#include <winsock2.h>

// Winsock 2.2 started for the lifetime of the scope; cleaned up only when the start succeeded.
class CWinsockSession {
public:
    CWinsockSession() {
        WSADATA data = {};
        m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~CWinsockSession() {
        if (m_started) {
            ::WSACleanup();
        }
    }
    CWinsockSession(const CWinsockSession&) = delete;
    CWinsockSession& operator=(const CWinsockSession&) = delete;

private:
    bool m_started = false;
};
