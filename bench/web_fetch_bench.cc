// Downloading a 2 MB page from a server on 127.0.0.1: fetchPage (worker thread, caller
// waiting) and HttpRequest.requestText (on the calling thread, decoded), and how often the
// caller's event hook runs while fetchPage waits.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "controls/quiet_desktop.h"
#include "web/http_request.h"
#include "web/page_fetch.h"
#include "web/tests/local_server.h"

namespace {

using namespace yelian;

// A real clock, and the longest gap between two event-processing calls.
class TimingDesktop : public QuietDesktop {
  public:
    std::int64_t ticks() override { return nowMs(); }
    void processPendingEvents() override {
        const std::int64_t now = nowMs();
        if (last_ > 0) longestGap_ = std::max(longestGap_, now - last_);
        last_ = now;
    }
    void startTiming() { last_ = nowMs(); }
    std::int64_t longestGap() const { return longestGap_; }

  private:
    static std::int64_t nowMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    std::int64_t last_ = 0;
    std::int64_t longestGap_ = 0;
};

testing::LocalServer& pageServer() {
    static testing::LocalServer server([](const testing::SeenRequest&) {
        std::string page = "<html><head><meta charset=\"utf-8\"></head><body>";
        while (page.size() < 2'000'000) page += "<p>Some text of the article, 中文段落。</p>\n";
        return testing::Reply{200, {{"Content-Type", "text/html"}}, page + "</body></html>"};
    });
    return server;
}

void BM_FetchPage(benchmark::State& state) {
    TimingDesktop desktop;
    std::int64_t gap = 0;
    for (auto _ : state) {
        std::string url = pageServer().url("/page");
        desktop.startTiming();
        const std::string body = fetchPage(url, desktop);
        if (body.size() < 2'000'000) state.SkipWithError("no page");
        gap = std::max(gap, desktop.longestGap());
    }
    state.counters["longest_event_gap_ms"] = static_cast<double>(gap);
    state.SetBytesProcessed(state.iterations() * 2'000'000);
}
BENCHMARK(BM_FetchPage)->Unit(benchmark::kMillisecond);

void BM_RequestText(benchmark::State& state) {
    TimingDesktop desktop;
    for (auto _ : state) {
        HttpRequest request(desktop);
        const std::string text = request.requestText(pageServer().url("/page"));
        if (text.size() < 1'000'000) state.SkipWithError("no page");
    }
    state.SetBytesProcessed(state.iterations() * 2'000'000);
}
BENCHMARK(BM_RequestText)->Unit(benchmark::kMillisecond);

}  // namespace
