// 1000 small GETs through the HTTP task library (VexaNetUL.dll from the shipped tree) against the local
// sample-data service, one at a time and eight at a time: requests per second over the whole run and the
// median time from Start to the final report. tools/bench measures curl and a bare WinHTTP loop over the same
// requests in the same run and hands the service's address in (DESKLING_BENCH_HTTP_URL); run alone, the
// benchmark starts its own service. Requests ask for "Connection: close", as the statistics requests do, so
// each opens and ends its own connection.

#include "app/base/ScopedHandle.h"
#include "bench/win/BenchRig.h"
#include "app/base/IHttpTask.h"
#include "unit/net/DemoService.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kBench[] = "HttpGets";

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One run's requests, `atOnce` at a time: a slot is taken to start a request and given back by its end.
struct CRun {
    struct CRequest : IHttpTaskCallback {
        void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override {
            if (info->state < kHttpTaskFinished) {
                return;
            }
            finished = NowMs();
            ok = info->state == kHttpTaskFinished;
            task->Release();
            run->EndOne();
        }
        CRun* run = nullptr;
        double started = 0, finished = 0;
        bool ok = false;
    };

    CRun(int count, int atOnce)
        : slots(::CreateSemaphoreW(nullptr, atOnce, atOnce, nullptr)),
          allDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), pending(count), requests(count) {}
    void EndOne() {
        ::ReleaseSemaphore(slots.Get(), 1, nullptr);
        if (--pending == 0) {
            ::SetEvent(allDone.Get());
        }
    }
    bool Start(IHttpManager* manager, const std::wstring& url, CRequest& request) {
        IHttpTask* task = ::WaitForSingleObject(slots.Get(), 30000) == WAIT_OBJECT_0 ? manager->CreateTask() : nullptr;
        if (!task) {
            return false;
        }
        request.run = this;
        task->SetCallback(&request);
        task->AddHeader("Connection", "Close"); // as curl is asked to
        request.started = NowMs();
        if (!task->Start(0, url.c_str())) {
            task->Release();
            return false;
        }
        return true;
    }

    CKernelHandle slots, allDone;
    std::atomic<int> pending;
    std::vector<CRequest> requests;
};

// `count` requests, `atOnce` at a time; false when the run did not complete. Prints its figures unless quiet.
bool Run(IHttpManager* manager, const std::wstring& url, int count, int atOnce, bool quiet) {
    auto run = std::make_unique<CRun>(count, atOnce);
    const double begin = NowMs();
    for (CRun::CRequest& request : run->requests) {
        if (!run->Start(manager, url, request)) {
            (void)run.release(); // tasks under way may still report into it
            return false;
        }
    }
    if (::WaitForSingleObject(run->allDone.Get(), 60000) != WAIT_OBJECT_0) {
        (void)run.release();
        return false;
    }
    const double rate = count * 1000.0 / (NowMs() - begin);
    std::vector<double> latencies;
    int failed = 0;
    for (const CRun::CRequest& request : run->requests) {
        latencies.push_back(request.finished - request.started);
        failed += request.ok ? 0 : 1;
    }
    const double median = bench::Median(latencies);
    if (quiet) {
        return true;
    }
    const std::string what = "task library, " + std::to_string(atOnce) + " at a time: ";
    BenchFigure(kBench, (what + "requests/s").c_str(), rate, "req/s");
    BenchFigure(kBench, (what + "median latency").c_str(), median, "ms");
    if (failed > 0) {
        BenchNote(kBench, (std::to_string(failed) + " requests did not end in state 2").c_str());
    }
    return true;
}

template <class Fn> Fn Proc(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

} // namespace

DESKLING_BENCH(HttpGets) {
    CModule library(::LoadLibraryW(ShippedPath(L"VexaNetUL.dll").c_str()));
    const auto init = Proc<PFN_HttpInit>(library.Get(), "HttpInit");
    const auto uninit = Proc<PFN_HttpUninit>(library.Get(), "HttpUninit");
    IHttpManager* manager = init ? init() : nullptr;
    if (!manager || !uninit) {
        BenchNote(kBench, "VexaNetUL.dll not found beside the tests (..\\bin) or gave no manager");
        return;
    }
    std::unique_ptr<CDemoService> ownService;
    std::wstring url;
    if (const char* given = std::getenv("DESKLING_BENCH_HTTP_URL")) {
        url.assign(given, given + std::char_traits<char>::length(given));
    } else {
        ownService = std::make_unique<CDemoService>();
        url = ownService->IsRunning() ? ownService->Url(L"/test/ok?size=256") : std::wstring();
    }
    for (int atOnce : {1, 8}) {
        if (url.empty()) {
            BenchNote(kBench, "the sample-data service did not start");
            break;
        }
        // The first requests pay for loading WinHTTP's parts; they are not counted.
        if (!Run(manager, url, 20, atOnce, true) || !Run(manager, url, 1000, atOnce, false)) {
            BenchNote(kBench, "a run did not complete");
            break;
        }
    }
    uninit(manager);
}
