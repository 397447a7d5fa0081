// 1000 small GETs through the HTTP task library (VexaNetUL.dll from the shipped tree) against the local
// sample-data service, one at a time and eight at a time: requests per second over the whole run and the
// median time from Start to the final report. tools/bench-http runs curl over the same requests first and
// hands its figures in (DESKLING_BENCH_CURL_1 and _8: "<requests/s> <median ms>"), with the service's
// address (DESKLING_BENCH_HTTP_URL); run alone, the benchmark starts its own service and prints no ratio.
// Both sides ask for "Connection: close", as the statistics requests do, so each request opens and ends
// its own connection.

#include "bench/pure/BenchRegistry.h"
#include "app/ScopedHandle.h"
#include "net/IHttpTask.h"
#include "unit/net/DemoService.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kBench[] = "HttpGets";
constexpr int kRequests = 1000;

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f = {};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t = {};
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// One request: its times, and the slot it frees for the next when it ends.
class CRequest : public IHttpTaskCallback {
public:
    CRequest(HANDLE slots, std::atomic<int>& pending, HANDLE allDone)
        : m_slots(slots), m_pending(pending), m_allDone(allDone) {}

    bool Start(IHttpManager* manager, const std::wstring& url) {
        IHttpTask* task = manager->CreateTask();
        if (!task) {
            return false;
        }
        task->SetCallback(this);
        // The same request as curl's: the server closes each connection after its answer.
        task->AddHeader("Connection", "Close");
        started = Now();
        if (!task->Start(0, url.c_str())) {
            task->Release();
            return false;
        }
        return true;
    }

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override {
        if (info->state < kHttpTaskFinished) {
            return;
        }
        finished = Now();
        ok = info->state == kHttpTaskFinished;
        status = info->statusCode;
        error = info->errorCode;
        task->Release();
        ::ReleaseSemaphore(m_slots, 1, nullptr);
        if (--m_pending == 0) {
            ::SetEvent(m_allDone);
        }
    }

    double started = 0;
    double finished = 0;
    bool ok = false;
    uint32_t status = 0;
    uint32_t error = 0;

private:
    HANDLE m_slots;
    std::atomic<int>& m_pending;
    HANDLE m_allDone;
};

struct RunFigures {
    double requestsPerSecond = 0;
    double medianMs = 0;
    int failed = 0;
    // The first failure's HTTP status and system error.
    uint32_t failedStatus = 0;
    uint32_t failedError = 0;
};

// What one run's requests report into.
struct RunState {
    explicit RunState(int atOnce)
        : slots(::CreateSemaphoreW(nullptr, atOnce, atOnce, nullptr)),
          allDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    CKernelHandle slots;
    CKernelHandle allDone;
    std::atomic<int> pending{0};
    std::vector<std::unique_ptr<CRequest>> requests;
};

bool Run(IHttpManager* manager, const std::wstring& url, int count, int atOnce, RunFigures* figures) {
    auto state = std::make_unique<RunState>(atOnce);
    state->pending = count;
    for (int i = 0; i < count; ++i) {
        state->requests.push_back(std::make_unique<CRequest>(state->slots.Get(), state->pending, state->allDone.Get()));
    }
    const double begin = Now();
    bool completed = true;
    for (auto& request : state->requests) {
        if (::WaitForSingleObject(state->slots.Get(), 30000) != WAIT_OBJECT_0 || !request->Start(manager, url)) {
            completed = false;
            break;
        }
    }
    if (!completed || ::WaitForSingleObject(state->allDone.Get(), 60000) != WAIT_OBJECT_0) {
        // Tasks still under way may report into it later: it stays.
        (void)state.release();
        return false;
    }
    const double end = Now();
    std::vector<double> latencies;
    for (const auto& request : state->requests) {
        latencies.push_back(request->finished - request->started);
        if (!request->ok && figures->failed++ == 0) {
            figures->failedStatus = request->status;
            figures->failedError = request->error;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    figures->medianMs = (latencies[latencies.size() / 2 - 1] + latencies[latencies.size() / 2]) / 2;
    figures->requestsPerSecond = count * 1000.0 / (end - begin);
    return true;
}

void Compare(int atOnce, const RunFigures& library) {
    const std::string what = std::to_string(atOnce) + " at a time";
    BenchFigure(kBench, ("task library, " + what + ": requests/s").c_str(), library.requestsPerSecond, "req/s");
    BenchFigure(kBench, ("task library, " + what + ": median latency").c_str(), library.medianMs, "ms");
    if (library.failed > 0) {
        BenchNote(kBench, (std::to_string(library.failed) + " requests did not end in state 2; the first with status " +
                           std::to_string(library.failedStatus) + ", error " + std::to_string(library.failedError))
                              .c_str());
    }
    const char* curl = std::getenv(atOnce == 1 ? "DESKLING_BENCH_CURL_1" : "DESKLING_BENCH_CURL_8");
    double curlRate = 0, curlMedian = 0;
    if (!curl || std::sscanf(curl, "%lf %lf", &curlRate, &curlMedian) != 2 || curlRate <= 0 || curlMedian <= 0) {
        BenchNote(kBench, "no curl figures (tools/bench-http provides them)");
        return;
    }
    BenchFigure(kBench, ("curl, " + what + ": requests/s").c_str(), curlRate, "req/s");
    BenchFigure(kBench, ("curl, " + what + ": median latency").c_str(), curlMedian, "ms");
    BenchFigure(kBench, ("task library / curl, " + what + ": requests/s ratio").c_str(),
                library.requestsPerSecond / curlRate, "x");
    BenchFigure(kBench, ("task library / curl, " + what + ": median latency ratio").c_str(),
                library.medianMs / curlMedian, "x");
}

} // namespace

DESKLING_BENCH(HttpGets) {
    CModule library(::LoadLibraryW((CDemoService::TestsFolder() + L"\\..\\bin\\VexaNetUL.dll").c_str()));
    const auto init =
        library
            ? reinterpret_cast<PFN_HttpInit>(reinterpret_cast<void (*)()>(::GetProcAddress(library.Get(), "HttpInit")))
            : nullptr;
    const auto uninit = library ? reinterpret_cast<PFN_HttpUninit>(
                                      reinterpret_cast<void (*)()>(::GetProcAddress(library.Get(), "HttpUninit")))
                                : nullptr;
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
    if (url.empty()) {
        BenchNote(kBench, "the sample-data service did not start");
        uninit(manager);
        return;
    }
    RunFigures warmUp;
    for (int atOnce : {1, 8}) {
        RunFigures figures;
        // The first requests pay for loading WinHTTP's parts; they are not counted.
        if (!Run(manager, url, 20, atOnce, &warmUp) || !Run(manager, url, kRequests, atOnce, &figures)) {
            BenchNote(kBench, "a run did not complete");
            break;
        }
        Compare(atOnce, figures);
    }
    uninit(manager);
}
