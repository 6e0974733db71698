// The template maker's pages from the web client: secure addresses through the page fetch on
// a worker thread, every other through a fresh request object, as the template maker reads
// them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "controls/control_ops.h"
#include "support/expected.h"
#include "templatemaker/template_maker.h"

namespace yelian {

class WebPageSource : public PageSource {
  public:
    // The desktop processes events and keeps the time while a download runs.
    explicit WebPageSource(DesktopServices& desktop) : desktop_(desktop) {}

    std::string fetchBytes(std::string_view url, const GoOn& goOn) override;
    std::string requestText(std::string_view url, const GoOn& goOn) override;

    // Why the last download brought no page; nothing when it brought one.
    const std::optional<Error>& lastError() const { return lastError_; }

  private:
    DesktopServices& desktop_;
    std::optional<Error> lastError_;
};

}  // namespace yelian
