// The template maker's rendered pages on Qt WebEngine: the page loaded off screen in a
// profile of its own that keeps nothing on disk, its document taken once the scripts have
// stopped changing it.
#pragma once

#include <memory>

#include "templatemaker/page_renderer.h"

class QWebEngineProfile;

namespace yelian {

class WebEngineRenderer : public PageRenderer {
  public:
    WebEngineRenderer();
    ~WebEngineRenderer() override;
    WebEngineRenderer(const WebEngineRenderer&) = delete;
    WebEngineRenderer& operator=(const WebEngineRenderer&) = delete;

    std::string renderedPage(std::string_view url, const std::function<bool()>& goOn) override;

  private:
    std::unique_ptr<QWebEngineProfile> profile_;
};

}  // namespace yelian
