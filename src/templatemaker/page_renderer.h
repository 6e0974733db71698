// Pages that arrive as an empty shell and are filled in by their scripts: a renderer loads the
// page as a browser does and hands back the document as the scripts left it. Only the desktop
// program has one; without it the template maker reads the page's source.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace yelian {

class PageRenderer {
  public:
    virtual ~PageRenderer() = default;
    // The document's HTML once the page has loaded and settled, as internal text; empty when
    // loading failed, took too long, or goOn turned false while waiting (checked often, so
    // that a closed window does not keep the user waiting).
    virtual std::string renderedPage(std::string_view url, const std::function<bool()>& goOn) = 0;
};

}  // namespace yelian
