#include "support/text_search.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// Every offset where a character begins, found by walking from the start.
std::vector<std::size_t> boundariesOf(std::string_view text) {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < text.size(); i += charLengthAt(text, i)) result.push_back(i);
    return result;
}

bool sameAt(std::string_view text, std::size_t pos, std::string_view needle, bool ignoreCase) {
    if (pos + needle.size() > text.size()) return false;
    const auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    for (std::size_t i = 0; i < needle.size(); i += charLengthAt(needle, i)) {
        const std::size_t length = charLengthAt(needle, i);
        for (std::size_t j = i; j < i + length; ++j) {
            const auto a = static_cast<unsigned char>(text[pos + j]);
            const auto b = static_cast<unsigned char>(needle[j]);
            if (ignoreCase && length == 1 ? lower(a) != lower(b) : a != b) return false;
        }
    }
    return true;
}

std::size_t naiveFind(std::string_view text, std::string_view needle, std::size_t from,
                      bool ignoreCase) {
    if (needle.empty()) return kNotFound;
    for (std::size_t pos : boundariesOf(text)) {
        if (pos >= from && sameAt(text, pos, needle, ignoreCase)) return pos;
    }
    return kNotFound;
}

std::size_t naiveFindLast(std::string_view text, std::string_view needle, std::size_t end,
                          bool ignoreCase) {
    std::size_t last = kNotFound;
    if (needle.empty()) return last;
    for (std::size_t pos : boundariesOf(text)) {
        if (pos + needle.size() <= std::min(end, text.size()) &&
            sameAt(text, pos, needle, ignoreCase)) {
            last = pos;
        }
    }
    return last;
}

TEST(TextSearch, NeverStartsOnATrailingByte) {
    struct Case {
        std::string text;
        std::string needle;
        std::size_t expected;
    };
    const std::vector<Case> cases = {
        {"\x81\x41", "A", kNotFound},          // trail byte equal to a letter
        {"\x81\x41", "a", kNotFound},          // ... also without case
        {"\x81\x41\x61", "A", 2},              // the real letter behind it
        {"\xB0[fg]", "[fg]", kNotFound},       // trail byte equal to '['
        {"\x81\x30\x81\x30", "0", kNotFound},  // digits inside a four-byte sequence
        {"\x81\x30\x81\x30\x30", "0", 4},
        {"\xD6\xD0\xCE\xC4", "\xD0\xCE", kNotFound},  // the middle of two characters
        {"a\xD6\xD0#\xD6\xD0#", "#", 3},
        {"aab", "ab", 1},  // inside a failed partial match
        {"x<TITLE>", "<title>", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findText(c.text, c.needle), c.expected) << c.text << " / " << c.needle;
    }
}

TEST(TextSearch, CaseIsFoldedForAsciiLettersOnly) {
    EXPECT_EQ(findText("<TITLE>", "<title>", 0, false), kNotFound);
    // 0x81 0x41 and 0x81 0x61 are different characters.
    EXPECT_EQ(findText("\x81\x41", "\x81\x61"), kNotFound);
    EXPECT_EQ(findText("x\x81\x41", "\x81\x41"), 1u);
}

TEST(TextSearch, BackwardFindsTheLastOccurrenceWhollyBeforeTheEnd) {
    EXPECT_EQ(findTextBackward("ab-ab-ab", "ab"), 6u);
    EXPECT_EQ(findTextBackward("ab-ab-ab", "ab", 7), 3u);
    EXPECT_EQ(findTextBackward("ab-ab-ab", "ab", 8), 6u);
    EXPECT_EQ(findTextBackward("\x81\x41", "A"), kNotFound);
    EXPECT_EQ(findTextBackward("a", ""), kNotFound);
}

// Random texts over bytes that make trailing-byte look-alikes likely, checked against a
// plain walk from the start.
TEST(TextSearch, AgreesWithAWalkFromTheStart) {
    const std::string alphabet = "aA#0[\x81\xD6\x30\xFE";
    std::mt19937 random(12345);
    const auto pick = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = pick(random() % 40);
        const std::string needle = pick(1 + random() % 3);
        const bool ignoreCase = random() % 2 == 0;
        const TextFinder finder(needle, ignoreCase);
        const std::vector<std::size_t> starts = boundariesOf(text);
        const std::size_t from = starts.empty() ? 0 : starts[random() % starts.size()];
        ASSERT_EQ(finder.findIn(text, from), naiveFind(text, needle, from, ignoreCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(needle);
        const std::size_t end = random() % (text.size() + 2);
        ASSERT_EQ(finder.findLastIn(text, end), naiveFindLast(text, needle, end, ignoreCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(needle) << " " << end;
    }
}

}  // namespace
}  // namespace yelian
