// The regular-expression class on hostile patterns, subjects and replacements; an escaped
// text must compile and find itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "support/regex_object.h"

namespace {

using namespace yelian;

void searchAndReplace(std::uint8_t flags, std::string_view pattern, std::string_view subject,
                      std::string_view replacement) {
    RegexObject regex;
    if (!regex.create(pattern, flags & 1, flags & 2, flags & 4)) return;
    const int count = regex.execute(subject);
    for (int i = 0; i <= count + 1 && i < 32; ++i) {
        regex.matchValueAt(i);
        for (int j = 0; j <= regex.subMatchCount() + 1 && j < 16; ++j) regex.subMatchAt(i, j);
    }
    regex.replace(subject, replacement);
    RegexObject copy = regex;
    copy.execute(replacement);
}

// Every escape routine keeps a text without its special characters literal; escapeAll keeps
// every text literal.
void escapesStayLiteral(std::string_view text) {
    RegexObject::escapeKeepAlternation(text);
    RegexObject::escapeKeepGroups(text);
    RegexObject wildcard;
    wildcard.create(RegexObject::wildcardToPattern(text));
    RegexObject literal;
    if (!literal.create(RegexObject::escapeAll(text), false, false, false)) std::abort();
    if (!text.empty() && literal.execute(text) != 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    const std::string pattern(input.takeText());
    const std::string replacement(input.takeText());
    const std::string subject(input.takeRest());
    searchAndReplace(flags, pattern, subject, replacement);
    escapesStayLiteral(pattern);
    return 0;
}
