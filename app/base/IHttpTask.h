#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/base/HttpTaskState.h"

// The contract between the program and the HTTP task library "VexaNetUL.dll". Both sides are built
// with the same compiler, so the interfaces are plain abstract classes with a fixed calling
// convention; the record has a fixed layout of 32-bit words on both architectures.

class IHttpTask;

#pragma pack(push, 4)
// One report about a task: 1156 bytes, 289 words. Word n is at byte offset 4n.
struct HTTP_INFO {
    uint32_t size;       // word 0: sizeof(HTTP_INFO)
    uint32_t state;      // word 1: EHttpTaskState
    uint32_t statusCode; // word 2: the final HTTP status, 0 before a response
    uint32_t errorCode;  // word 3: the system error of a failed transfer, 0 otherwise
    union {
        // words 4 (and 5): the NUL-terminated body of a task without a save file, valid only during
        // the callback; null while the transfer runs and when it failed before a response.
        const char* body;
        uint32_t bodySlot[2];
    };
    uint32_t bodyLength;     // word 6: bytes in body, without the NUL
    uint32_t receivedBytes;  // word 7
    uint32_t totalBytes;     // word 8: the announced length, 0 when unknown
    uint32_t reserved1[22];  // words 9..30
    uint32_t progress;       // word 31: 0..100, in states 0 and 1
    uint32_t reserved2[257]; // words 32..288
};
#pragma pack(pop)

static_assert(sizeof(HTTP_INFO) == 1156);
static_assert(offsetof(HTTP_INFO, state) == 4 * 1);
static_assert(offsetof(HTTP_INFO, body) == 4 * 4);
static_assert(offsetof(HTTP_INFO, progress) == 4 * 31);

// A body longer than this (announced or received) ends the transfer with state 3 and the error
// ERROR_FILE_TOO_LARGE: every download names the largest size it can use, so an endless or hostile
// answer stops there instead of filling the disk or the memory.
constexpr const char* kHttpOptionMaxBytes = "max_bytes";
constexpr int kHttpDefaultMaxBytes = 16 * 1024 * 1024;

class IHttpTaskCallback {
public:
    // Called on the library's threads: state 0 once, state 1 any number of times, then exactly one
    // of 2 or 3, unless the task was released before.
    virtual void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) = 0;

protected:
    ~IHttpTaskCallback() = default;
};

class IHttpTask {
public:
    virtual void STDMETHODCALLTYPE SetCallback(IHttpTaskCallback* callback) = 0;
    // Begins fetching url (http or https) on the library's threads and returns at once. mode is 0.
    virtual bool STDMETHODCALLTYPE Start(int mode, const wchar_t* url) = 0;
    // Ends and destroys the task: a running transfer is cancelled and no report follows once this
    // returns. May be called from inside the task's own callback.
    virtual void STDMETHODCALLTYPE Release() = 0;
    virtual bool STDMETHODCALLTYPE AddHeader(const char* name, const char* value) = 0;
    // The body goes into this file instead of memory; the file is complete when state 2 arrives.
    virtual bool STDMETHODCALLTYPE SetSaveFile(const wchar_t* path) = 0;
    // "gzip": ask for compressed bodies; "ungzip": decode compressed bodies (both on by default);
    // "connect_timeout", "receive_timeout": milliseconds, 0 for the library's defaults;
    // kHttpOptionMaxBytes: the largest body accepted, 0 for the library's default (kHttpDefaultMaxBytes).
    virtual bool STDMETHODCALLTYPE SetOption(const char* name, int value) = 0;

protected:
    ~IHttpTask() = default;
};

class IHttpManager {
public:
    // A new task owned by the caller (ends with Release), or null.
    virtual IHttpTask* STDMETHODCALLTYPE CreateTask() = 0;

protected:
    ~IHttpManager() = default;
};

// The library's exports "HttpInit" (null on failure) and "HttpUninit".
using PFN_HttpInit = IHttpManager*(WINAPI*)();
using PFN_HttpUninit = void(WINAPI*)(IHttpManager* manager);
