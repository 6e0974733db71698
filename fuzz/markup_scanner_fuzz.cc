// The element searches of the markup scanner on hostile pages, tag names, attribute filters
// and selectors, then attribute reading and rewriting on the elements they found.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "support/markup_scanner.h"

namespace {

using namespace yelian;

ElementFilter filterFrom(std::uint8_t flags, std::string_view startTagFilter) {
    ElementFilter filter;
    filter.startTagFilter = std::string(startTagFilter);
    filter.containsMode = flags & 1;
    filter.allMode = flags & 2;
    filter.ignoreCase = flags & 4;
    filter.inner = flags & 8;
    filter.letterStart = flags & 16;
    return filter;
}

void readElements(MarkupScanner& scanner, std::string_view name, std::string_view value) {
    const int count = scanner.elementCount();
    for (int i = 0; i <= count + 1 && i < 64; ++i) {
        const std::string markup = scanner.element(i, i % 2 == 0);
        scanner.elementSpan(i);
        scanner.attribute(markup, name);
        scanner.attribute(markup, name, value, true);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    const int occurrence = input.takeSmallInt() % 4;
    const std::string tag(input.takeText());
    const std::string name(input.takeText());
    const std::string value(input.takeText());
    const std::string startTagFilter(input.takeText());
    const std::string page(input.takeRest());

    MarkupScanner scanner;
    const std::vector<std::string> names{name};
    const std::vector<std::string> values{value};
    ElementSearch search{filterFrom(flags, startTagFilter), occurrence, (flags & 32) != 0,
                         (flags & 64) != 0};
    scanner.searchElements(page, tag, names, values, search);
    search.occurrence = -1;
    scanner.searchElements(page, tag, names, values, search);
    readElements(scanner, name, value);
    scanner.findElements(page, tag, names, values, search.filter);
    readElements(scanner, name, value);

    scanner.findBySpecs(page, startTagFilter, (flags & 128) != 0);
    const std::string needle = "<" + tag;
    const int from = scanner.nextTagStart(needle, 1);
    scanner.balanceCount(needle, "</" + tag, from, static_cast<int>(page.size()));
    scanner.tightenEquals(page);
    scanner.attribute(page, name);
    scanner.attribute(page, name, value, true);
    matchAlternatives(page, startTagFilter, (flags & 1) != 0);
    return 0;
}
