#include "qt/web_engine_renderer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>
#include <memory>
#include <optional>

#include "qt/qt_text.h"

namespace yelian {
namespace {

// The whole wait, load and settling together.
constexpr qint64 kRenderLimit = 10000;
// A page whose document has not changed over this long counts as settled. Browser engines
// run the timers of a page nobody looks at about once a second, so a script that fills the
// page "shortly after loading" may take that long.
constexpr qint64 kQuietTime = 1500;
constexpr qint64 kLookInterval = 250;
// How often a wait looks whether it is over.
constexpr int kPollInterval = 10;

// Waits in an event loop of its own: the browser engine does its work in the events of this
// thread, so it must get every one of them at once (the event hook's pace would make a local
// page take seconds), and the windows repaint and take clicks all the same.
class Waiter {
  public:
    explicit Waiter(const std::function<bool()>& goOn) : goOn_(goOn) { clock_.start(); }

    // True once done(); false when untilMs (or the whole limit) came first, or the caller no
    // longer wants the page.
    template <typename Done>
    bool waitFor(const Done& done, qint64 untilMs) {
        const qint64 end = std::min(untilMs, kRenderLimit);
        const auto over = [&] { return done() || !goOn_() || clock_.elapsed() >= end; };
        if (!over()) {
            QEventLoop loop;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
                if (over()) loop.quit();
            });
            poll.start(kPollInterval);
            loop.exec();
        }
        return done() && goOn_();
    }
    bool timeLeft() const { return clock_.elapsed() < kRenderLimit && goOn_(); }
    qint64 elapsed() const { return clock_.elapsed(); }

  private:
    const std::function<bool()>& goOn_;
    QElapsedTimer clock_;
};

// The document's HTML as it stands; nothing when the time ran out first.
std::optional<QString> documentHtml(QWebEnginePage& page, Waiter& waiter) {
    // Shared with the callback, which may come after this function gave up.
    auto result = std::make_shared<std::optional<QString>>();
    page.runJavaScript(QStringLiteral("document.documentElement.outerHTML"),
                       [result](const QVariant& value) { *result = value.toString(); });
    if (!waiter.waitFor([&] { return result->has_value(); }, kRenderLimit)) return {};
    return *result;
}

}  // namespace

WebEngineRenderer::WebEngineRenderer() : profile_(std::make_unique<QWebEngineProfile>()) {}

WebEngineRenderer::~WebEngineRenderer() = default;

std::string WebEngineRenderer::renderedPage(std::string_view url,
                                            const std::function<bool()>& goOn) {
    QWebEnginePage page(profile_.get());
    auto loaded = std::make_shared<std::optional<bool>>();
    QObject::connect(&page, &QWebEnginePage::loadFinished, [loaded](bool ok) { *loaded = ok; });
    page.load(QUrl(toQString(url)));
    Waiter waiter(goOn);
    if (!waiter.waitFor([&] { return loaded->has_value(); }, kRenderLimit) || !**loaded) {
        return {};
    }
    // Scripts keep filling the page after it has loaded: wait until the document has stayed
    // the same for a while, or take the last one when the time is up.
    std::optional<QString> html = documentHtml(page, waiter);
    qint64 changed = waiter.elapsed();
    while (html && waiter.timeLeft() && waiter.elapsed() - changed < kQuietTime) {
        waiter.waitFor([] { return false; }, waiter.elapsed() + kLookInterval);
        std::optional<QString> again = documentHtml(page, waiter);
        if (!again) break;
        if (*again != *html) {
            html = std::move(again);
            changed = waiter.elapsed();
        }
    }
    return html && goOn() ? fromQString(*html) : std::string();
}

}  // namespace yelian
