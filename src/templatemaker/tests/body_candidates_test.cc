// The blocks offered beside the recognition's pick: the pick first, every one a different
// element with different text, exact substrings of the page, and their list entries.
#include "templatemaker/body_candidates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// An article with comments below it and a sidebar: three blocks a user might mean.
std::string pageWithComments() {
    std::string article;
    for (int i = 0; i < 8; ++i) {
        article += "<p>青河地铁五号线今日开通试运营，全长二十六公里，共设车站十九座。</p>";
    }
    std::string comments;
    for (int i = 0; i < 5; ++i) {
        comments += "<div class=\"c\">终于开通了，上班方便多了，感谢建设者们的辛苦付出！</div>";
    }
    return utf8ToGbk(
        "<html><head><title>五号线开通</title></head><body>"
        "<div class=\"nav\"><a href=\"/\">首页</a><a href=\"/n\">新闻</a></div>"
        "<div class=\"main\"><div class=\"article\"><h1>五号线开通</h1><div class=\"text\">" +
        article + "</div></div><div class=\"comments\">" + comments +
        "</div></div><div class=\"side\"><p>热门文章推荐阅读列表，每日更新精彩内容。</p></div>"
        "</body></html>");
}

TEST(BodyCandidates, ThePickComesFirstAndEveryOneIsADifferentBlock) {
    BodyExtractor extractor;
    const std::string page = pageWithComments();
    const Recognition pick = extractor.recognise(page, RecognitionMode::Nesting);
    ASSERT_FALSE(pick.body.empty());
    const std::vector<BodyCandidate> offered = bodyCandidates(extractor, page, pick, 5);
    ASSERT_GE(offered.size(), 3u);
    EXPECT_LE(offered.size(), 5u);
    EXPECT_EQ(offered[0].markup, pick.body);
    EXPECT_EQ(offered[0].kind, "pick");
    std::set<std::string> markups;
    for (const BodyCandidate& candidate : offered) {
        EXPECT_NE(page.find(candidate.markup), std::string::npos) << candidate.kind;
        EXPECT_TRUE(markups.insert(candidate.markup).second) << candidate.kind;
        EXPECT_GT(candidate.textLength, 0);
    }
    // The comments are on the list, so a user can choose them when they are what was meant.
    bool comments = false;
    for (const BodyCandidate& candidate : offered) {
        comments |= candidate.markup.starts_with("<div class=\"comments\">");
    }
    EXPECT_TRUE(comments);
    EXPECT_EQ(bodyCandidates(extractor, page, pick, 1).size(), 1u);
}

// A blog's archive: three posts, each in a cell of the same class, all in one table.
std::string archivePage() {
    std::string posts;
    for (const char* title : {"第一篇", "第二篇", "第三篇"}) {
        std::string text;
        for (int i = 0; i < 4; ++i) {
            text += std::string(title) + "，周末去郊外的湿地公园看候鸟，芦苇丛里白鹭成群。<br>";
        }
        posts += "<tr><td class=\"post-title\">" + std::string(title) +
                 "</td></tr><tr><td class=\"post-body\">" + text + "</td></tr>";
    }
    return utf8ToGbk("<html><head><title>三月存档</title></head><body><table class=\"posts\">" +
                     posts + "</table></body></html>");
}

TEST(BodyCandidates, APickAroundSeveralPostsOffersTheFirstPost) {
    BodyExtractor extractor;
    const std::string page = archivePage();
    const std::string wrapper =
        page.substr(page.find("<table"), page.find("</table>") + 8 - page.find("<table"));
    Recognition pick;
    pick.body = wrapper;
    const std::vector<BodyCandidate> offered = bodyCandidates(extractor, page, pick, 5);
    const auto first = std::find_if(offered.begin(), offered.end(),
                                    [](const BodyCandidate& c) { return c.kind == "first"; });
    ASSERT_NE(first, offered.end());
    EXPECT_TRUE(first->markup.starts_with("<td class=\"post-body\">"));
    EXPECT_NE(first->markup.find("第一篇"_gbk), std::string::npos);
    EXPECT_EQ(first->markup.find("第二篇"_gbk), std::string::npos);

    // A pick that is one post offers no series: there is none inside it.
    pick.body = first->markup;
    for (const BodyCandidate& candidate : bodyCandidates(extractor, page, pick, 5))
        EXPECT_NE(candidate.kind, "first");
}

TEST(BodyCandidates, APageWithoutBlocksOffersNothing) {
    BodyExtractor extractor;
    const Recognition none = extractor.recognise("<p>x</p>", RecognitionMode::Nesting);
    EXPECT_TRUE(bodyCandidates(extractor, "<p>x</p>", none, 5).empty());
}

TEST(BodyCandidates, TheLabelCountsCharactersWithThousandsAndShowsTheStart) {
    BodyCandidate candidate;
    candidate.textLength = 2345;
    candidate.preview = "青河地铁"_gbk;
    EXPECT_EQ(gbkToUtf8(candidateLabel(1, candidate)), "1. 2,345 字：青河地铁");
    candidate.textLength = 12;
    EXPECT_EQ(gbkToUtf8(candidateLabel(3, candidate)), "3. 12 字：青河地铁");
}

}  // namespace
}  // namespace yelian
