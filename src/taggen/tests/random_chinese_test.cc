#include "taggen/random_chinese.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/gbk_text.h"
#include "taggen/hanzi_tables.h"
#include "taggen/random_letters.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// The characters of a GBK text made only of double-byte characters.
std::vector<std::string> charactersOf(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t pos = 0; pos < text.size(); pos += 2) {
        characters.emplace_back(text.substr(pos, 2));
    }
    return characters;
}

std::set<std::string> characterSet(std::string_view text) {
    const auto characters = charactersOf(text);
    return {characters.begin(), characters.end()};
}

TEST(HanziTables, HoldDistinctDoubleByteCharactersOfTheListedSize) {
    struct Case {
        HanziTable table;
        std::size_t characters;
        std::string head;
        std::string tail;
    };
    const Case cases[] = {
        {HanziTable::MostCommon, 498, "的一是在不了有和人这"_gbk, "细引听该铁价严"_gbk},
        {HanziTable::Common, 2500,
         "一乙二十丁厂七卜人入八九几儿了力乃刀又三于干亏士工土才寸下大丈与万上小口巾山千乞"_gbk,
         "翻鹰警攀蹲颤瓣爆疆壤耀躁嚼嚷籍魔灌蠢霸露囊罐"_gbk},
        {HanziTable::LessCommon, 1000,
         "匕刁丐歹戈夭仑讥冗邓艾夯凸卢叭叽皿凹囚矢乍尔冯玄邦迂邢芋芍吏夷吁吕吆屹廷迄臼仲伦"_gbk,
         "孽蘑藻鳖蹭蹬簸簿蟹靡癣羹鬓攘蠕巍鳞糯譬霹躏髓蘸镶瓤矗"_gbk},
    };
    for (const Case& c : cases) {
        const std::string_view table = hanziTable(c.table);
        ASSERT_EQ(table.size(), 2 * c.characters);
        for (std::size_t pos = 0; pos < table.size(); pos += 2) {
            ASSERT_GE(static_cast<unsigned char>(table[pos]), 0x81) << pos;
            ASSERT_EQ(charLengthAt(table, pos), 2u) << pos;
        }
        EXPECT_EQ(characterSet(table).size(), c.characters);
        EXPECT_TRUE(table.starts_with(c.head));
        EXPECT_TRUE(table.ends_with(c.tail));
    }
}

TEST(HanziTables, MostCommonIsTakenFromTheTwoDisjointListParts) {
    const auto common = characterSet(hanziTable(HanziTable::Common));
    const auto lessCommon = characterSet(hanziTable(HanziTable::LessCommon));
    for (const std::string& character : lessCommon) EXPECT_FALSE(common.contains(character));
    for (const std::string& character : characterSet(hanziTable(HanziTable::MostCommon))) {
        EXPECT_TRUE(common.contains(character) || lessCommon.contains(character))
            << gbkToUtf8(character);
    }
}

// Every length a generator gives over many draws, by count: characters of random Chinese or,
// with letters, bytes of random letters.
std::map<std::size_t, int> lengthsDrawn(std::int64_t minCount, std::int64_t maxCount,
                                        bool letters = false) {
    RandomSource random(11);
    const TraditionalChinese traditional;
    std::map<std::size_t, int> lengths;
    for (int i = 0; i < 2000; ++i) {
        const std::size_t length =
            letters
                ? makeRandomLetters({minCount, maxCount, false, true, true, false}, random).size()
                : makeRandomChinese({minCount, maxCount, HanziTable::MostCommon, false}, random,
                                    traditional)
                          .size() /
                      2;
        ++lengths[length];
    }
    return lengths;
}

std::set<std::size_t> keysOf(const std::map<std::size_t, int>& counts) {
    std::set<std::size_t> keys;
    for (const auto& [key, count] : counts) keys.insert(key);
    return keys;
}

TEST(RandomText, LengthComesFromTheRangeAndZeroBecomesEight) {
    struct Case {
        bool letters;
        std::int64_t minCount;
        std::int64_t maxCount;
        std::set<std::size_t> lengths;
    };
    const Case cases[] = {
        {false, 0, 0, {8}},
        {false, 5, 10, {5, 6, 7, 8, 9, 10}},
        {false, 10, 2, {2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {false, -5, 3, {1, 2, 3, 8}},
        {false, 4, 4, {4}},
        {true, 0, 0, {8}},
        {true, 10, 15, {10, 11, 12, 13, 14, 15}},
        {true, 15, 10, {10, 11, 12, 13, 14, 15}},
        {true, -3, 2, {1, 2, 8}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keysOf(lengthsDrawn(c.minCount, c.maxCount, c.letters)), c.lengths)
            << (c.letters ? "letters " : "chinese ") << c.minCount << ".." << c.maxCount;
    }
}

TEST(RandomChinese, AnEmptyLowerBoundMakesEightTwiceAsLikely) {
    const auto lengths = lengthsDrawn(0, 10);
    EXPECT_EQ(keysOf(lengths), (std::set<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // 2000 draws: about 364 eights against about 182 of each other length.
    EXPECT_GT(lengths.at(8), 290);
    EXPECT_LT(lengths.at(3), 250);
}

TEST(RandomChinese, EveryCharacterComesWholeFromTheChosenTable) {
    const TraditionalChinese traditional;
    for (const HanziTable table :
         {HanziTable::MostCommon, HanziTable::Common, HanziTable::LessCommon}) {
        RandomSource random(3);
        const auto allowed = characterSet(hanziTable(table));
        for (int i = 0; i < 200; ++i) {
            const std::string text = makeRandomChinese({3, 3, table, false}, random, traditional);
            ASSERT_EQ(text.size(), 6u);
            for (const std::string& character : charactersOf(text)) {
                ASSERT_TRUE(allowed.contains(character)) << gbkToUtf8(text);
            }
        }
    }
}

TEST(RandomChinese, ReachesTheFirstAndTheLastCharacterOfATable) {
    RandomSource random(5);
    const TraditionalChinese traditional;
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string text =
            makeRandomChinese({10, 10, HanziTable::MostCommon, false}, random, traditional);
        for (const std::string& character : charactersOf(text)) seen.insert(character);
    }
    EXPECT_EQ(seen.size(), 498u);
}

TEST(RandomChinese, TraditionalConvertsTheDrawnTextInPlace) {
    const TraditionalChinese traditional;
    RandomSource plainRandom(9);
    RandomSource convertedRandom(9);
    bool changed = false;
    for (int i = 0; i < 50; ++i) {
        const std::string plain =
            makeRandomChinese({20, 20, HanziTable::MostCommon, false}, plainRandom, traditional);
        const std::string converted =
            makeRandomChinese({20, 20, HanziTable::MostCommon, true}, convertedRandom, traditional);
        ASSERT_EQ(converted.size(), plain.size());
        EXPECT_EQ(converted, traditional.toTraditional(plain));
        changed = changed || converted != plain;
    }
    EXPECT_TRUE(changed);
}

}  // namespace
}  // namespace yelian
