#include "support/utf8_mirror.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// Texts of markup, Chinese, four-byte characters and broken sequences (a lead byte before a
// tag, a lead byte before DEL, a cut-off four-byte sequence), long enough for many
// checkpoints. Every stretch, whatever its ends, converts as it would on its own.
TEST(Utf8Mirror, EveryStretchConvertsAsItWouldAlone) {
    const std::vector<std::string> pieces = {"<div class=\"a\">",
                                             "</div>",
                                             "中文段落"_gbk,
                                             "\x81\x30\x81\x30",
                                             "\x81<b>",
                                             "\x81\x7F",
                                             "\x81\x30\x81",
                                             " text ",
                                             "\r\n",
                                             "\xFF",
                                             "<p>",
                                             "\xB0\x41"};
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 400);
        for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
        const Utf8Mirror mirror(text);
        ASSERT_EQ(mirror.utf8Of(0, text.size()), gbkToUtf8(text));
        for (int pair = 0; pair < 300; ++pair) {
            std::size_t start = random() % (text.size() + 1);
            std::size_t end = random() % (text.size() + 1);
            if (start > end) std::swap(start, end);
            ASSERT_EQ(mirror.utf8Of(start, end), gbkToUtf8(text.substr(start, end - start)))
                << start << ".." << end;
        }
    }
}

TEST(Utf8Mirror, ElementsOfAPageAreSlicesOfOneConversion) {
    std::string page = "<html>";
    for (int i = 0; i < 200; ++i) page += "<div>正文"_gbk + std::to_string(i) + "</div>";
    page += "</html>";
    const Utf8Mirror mirror(page);
    const std::size_t start = page.find("<div>正文150"_gbk);
    const std::size_t end = page.find("</div>", start) + 6;
    EXPECT_EQ(mirror.utf8Of(start, end), "<div>正文150</div>");
    EXPECT_EQ(mirror.gbk(), page);
}

}  // namespace
}  // namespace yelian
