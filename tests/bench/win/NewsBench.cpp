// The news widget's cost against the local sample-data service, from a copy of the runnable tree whose services
// name it:
// - latency: "/news" reaching a running instance to the first frame with a title and to the first frame with a
//   picture (the window logs both), each beside a bare 300x264 layered window's first frame;
// - private memory and GDI objects after 100 rotations and 20 refreshes, beside their values after the first
//   refresh. The carousel and the refresh are driven from outside, as their timers would: the window's own
//   WM_TIMER ids are posted to it.

#include "bench/win/BenchRig.h"
#include "bench/win/ProcessFigures.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr char kBench[] = "NewsWidget";
constexpr int kLatencyRuns = 5;
constexpr int kRefreshes = 20;
constexpr int kRotationsPerRefresh = 5;
// The window's timers: 1 turns the carousel, 2 fetches the headlines again.
constexpr WPARAM kRotateTimer = 1;
constexpr WPARAM kRefreshTimer = 2;
// A switch no command reads, naming this instance's Unix process apart from those of the runs before, which
// may still be ending.
const std::wstring kMark = L"/bench=news";
const std::vector<std::string> kFirstFrames = {"news first frame with a title", "news first frame with a picture"};

// News requests the service has answered so far, -1 when it does not say.
int NewsRequests(CDemoService& service) {
    const std::string answer = service.Get(L"/control/news");
    const size_t at = answer.find("\"requests\":");
    return at == std::string::npos ? -1 : std::atoi(answer.c_str() + at + 11);
}

// One refresh as the hourly timer makes it; true once the service has answered it and the pictures have had
// time to arrive.
bool Refresh(HWND news, CDemoService& service) {
    const int before = NewsRequests(service);
    ::PostMessageW(news, WM_TIMER, kRefreshTimer, 0);
    const bool answered = WaitUntil([&] { return NewsRequests(service) > before; }, 5s, 20ms);
    ::Sleep(300);
    return answered;
}

struct Footprint {
    double privateMb;
    int gdiObjects;
};

// The settled footprint: pictures decode and downloads run on threads whose memory comes and goes for a moment
// after each refresh (up to 3 MB here), so memory is the least of several readings over two seconds.
Footprint Measure(const std::wstring& unixFolder, DWORD processId) {
    double privateMb = PrivateMegabytes(unixFolder);
    for (int reading = 0; reading < 4; ++reading) {
        ::Sleep(500);
        privateMb = std::min(privateMb, PrivateMegabytes(unixFolder));
    }
    return Footprint{privateMb, GdiObjects(processId)};
}

} // namespace

DESKLING_BENCH(NewsWidget) {
    CBenchRig rig(kBench);
    CServiceTree tree;
    if (!rig.Start()) {
        return;
    }
    if (!tree.Start()) {
        rig.Note("the sample-data service or the copied tree is missing");
        return;
    }
    const std::optional<std::vector<double>> latencies =
        MedianForwardedLatencies(rig, tree.Exe(), L"/news", kFirstFrames, kLatencyRuns, SIZE{300, 264});
    if (!latencies) {
        return;
    }
    BenchFigure(kBench, "\"/news\" arrived -> first frame with a title, median of 5", (*latencies)[0], "ms");
    BenchFigure(kBench, "  bare layered window: creation -> first frame, median", (*latencies)[2], "ms");
    BenchFigure(kBench, "\"/news\" arrived -> first frame with a picture, median of 5", (*latencies)[1], "ms");
    BenchFigure(kBench, "  bare layered window: creation -> first frame, median", (*latencies)[2], "ms");

    CRunningInstance instance(tree.Exe());
    if (!instance.Start(L"/weather " + kMark) || !ForwardedLatencies(tree.Exe(), L"/news", kFirstFrames)) {
        rig.Note("the news did not show for the memory measurement");
        return;
    }
    HWND news = WaitForWindow(L"VexawpNewsWndClass", instance.Id(), 5s);
    const std::wstring unixFolder = UnixProcessFolder("deskling.exe", "/bench=news");
    if (!news || unixFolder.empty() || !Refresh(news, tree.Service())) {
        rig.Note("the news window, its Unix process or its first refresh is missing");
        return;
    }
    const Footprint first = Measure(unixFolder, instance.Id());
    for (int refresh = 0; refresh < kRefreshes; ++refresh) {
        if (!Refresh(news, tree.Service())) {
            rig.Note("refresh " + std::to_string(refresh) + " was not answered");
            return;
        }
        for (int turn = 0; turn < kRotationsPerRefresh; ++turn) {
            ::PostMessageW(news, WM_TIMER, kRotateTimer, 0);
            ::Sleep(30);
        }
    }
    ::Sleep(1000);
    const Footprint last = Measure(unixFolder, instance.Id());
    BenchFigure(kBench, "private memory after 100 rotations and 20 refreshes", last.privateMb, "MiB");
    BenchFigure(kBench, "  after the first refresh", first.privateMb, "MiB");
    BenchFigure(kBench, "GDI objects after 100 rotations and 20 refreshes", last.gdiObjects, "objects");
    BenchFigure(kBench, "  after the first refresh", first.gdiObjects, "objects");
}
