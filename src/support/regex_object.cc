// RegexObject over PCRE2: compilation with the options that give the scripting-style syntax,
// the match loop shared by execute and replace, the replacement syntax and the escaping
// routines.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "support/regex_object.h"

#include <pcre2.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <optional>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// Limits that stop a catastrophic pattern (nested repeats backtracking without end) within
// about a second instead of hanging the run; ordinary patterns over a large page stay far
// below them.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr std::uint32_t kHeapLimitKiB = 256 * 1024;

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct CompileContextDeleter {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

std::string engineMessage(int errorCode) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(errorCode, buffer, sizeof buffer);
    if (length < 0) return "error " + std::to_string(errorCode);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters (code points) in well-formed UTF-8 text.
int charCountOf(std::string_view utf8) {
    int count = 0;
    for (const char c : utf8) {
        if (!isUtf8Continuation(c)) ++count;
    }
    return count;
}

}  // namespace

struct RegexCode {
    std::unique_ptr<pcre2_code, CodeDeleter> code;
    // Read-only while matching, so copies of an object may use it at the same time.
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context;
    int groupCount = 0;
    // Whether the pattern names CR or LF itself; otherwise CR LF is one line break to step over.
    bool hasCrOrLf = false;
};

struct RegexMatchList {
    std::string subject;
    // Per match: start and end of the match, then of each group, as byte offsets into subject
    // (PCRE2_UNSET for a group that did not take part).
    std::size_t slots = 2;
    std::vector<std::size_t> offsets;
    // Per match: where it starts, counted in characters.
    std::vector<int> firstIndexes;
};

namespace {

// Maps offsets in the UTF-8 form of a GBK text (as gbkToUtf8 makes it) back to the GBK text,
// so that results are cut from the caller's own bytes instead of being converted back. The two
// texts are walked side by side, one character at a time: gbkToUtf8 turns each valid GB18030
// sequence into one code point and each other byte into one private-use code point.
class OffsetMap {
  public:
    struct Position {
        std::size_t gbk = 0;
        int character = 0;
    };

    OffsetMap(std::string_view gbk, std::string_view utf8) : gbk_(gbk), utf8_(utf8) {}

    // The position of a UTF-8 offset that starts a character. Walks from the last answer, so
    // offsets asked in increasing order cost one pass over the text in all.
    Position at(std::size_t utf8Offset) {
        while (u_ < utf8Offset && u_ < utf8_.size()) {
            // ASCII is the same byte on both sides.
            if (static_cast<unsigned char>(utf8_[u_]) < 0x80 && position_.gbk < gbk_.size()) {
                ++u_;
                ++position_.gbk;
                ++position_.character;
            } else {
                stepForward();
            }
        }
        while (u_ > utf8Offset) stepBack();
        return position_;
    }

  private:
    static constexpr char32_t kPreservedFirst = 0x10FF80;

    static char32_t codePointAt(std::string_view utf8, std::size_t pos, std::size_t length) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[pos + i]); };
        char32_t cp = byte(0) & (0xFF >> (length + 1));
        for (std::size_t i = 1; i < length; ++i) cp = (cp << 6) | (byte(i) & 0x3F);
        return cp;
    }

    // The code point a four-byte GB18030 sequence stands for when it lies in the range of the
    // supplementary planes, else 0.
    static char32_t supplementaryCodePoint(std::string_view gbk, std::size_t pos) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gbk[pos + i]); };
        if (byte(0) < 0x90) return 0;
        return 0x10000 + (byte(0) - 0x90) * 12600 + (byte(1) - 0x30) * 1260 +
               (byte(2) - 0x81) * 10 + (byte(3) - 0x30);
    }

    // GBK bytes behind the non-ASCII code point at UTF-8 position u and GBK position g.
    std::size_t sequenceLength(std::size_t u, std::size_t length, std::size_t g) const {
        const bool fourBytes = g + 1 < gbk_.size() && gbk_[g + 1] >= 0x30 && gbk_[g + 1] <= 0x39 &&
                               isFourByteSequenceAt(gbk_, g);
        // Preserved bytes are U+10FF80..U+10FFFF (F4 8F BE/BF xx). Each stands for itself,
        // unless a valid sequence decodes to the same private-use code point.
        if (length == 4 && static_cast<unsigned char>(utf8_[u]) == 0xF4) {
            const char32_t cp = codePointAt(utf8_, u, length);
            if (cp >= kPreservedFirst && static_cast<unsigned char>(gbk_[g]) == cp - 0x10FF00 &&
                !(fourBytes && supplementaryCodePoint(gbk_, g) == cp)) {
                return 1;
            }
        }
        return fourBytes ? 4 : 2;
    }

    static std::size_t utf8Length(char lead) {
        const auto byte = static_cast<unsigned char>(lead);
        if (byte < 0x80) return 1;
        if (byte < 0xE0) return 2;
        return byte < 0xF0 ? 3 : 4;
    }

    void stepForward() {
        const std::size_t length = std::min(utf8Length(utf8_[u_]), utf8_.size() - u_);
        std::size_t bytes = 1;
        if (length > 1 && position_.gbk < gbk_.size()) {
            bytes = sequenceLength(u_, length, position_.gbk);
        }
        u_ += length;
        position_.gbk = std::min(position_.gbk + bytes, gbk_.size());
        ++position_.character;
    }

    void stepBack() {
        std::size_t length = 1;
        while (length < u_ && isUtf8Continuation(utf8_[u_ - length])) ++length;
        u_ -= length;
        std::size_t bytes = 1;
        if (length > 1 && position_.gbk > 0) {
            const char32_t cp = codePointAt(utf8_, u_, length);
            const auto last = static_cast<unsigned char>(gbk_[position_.gbk - 1]);
            if (cp >= kPreservedFirst && last == cp - 0x10FF00) {
                bytes = 1;
            } else {
                // Only a four-byte sequence ends in a digit.
                bytes = last >= 0x30 && last <= 0x39 ? 4 : 2;
            }
        }
        position_.gbk -= std::min(bytes, position_.gbk);
        --position_.character;
    }

    std::string_view gbk_;
    std::string_view utf8_;
    std::size_t u_ = 0;
    Position position_;
};

// Walks the matches of one subject from left to right. After an empty match the next search
// starts one character further (CR LF counts as one), so empty matches neither repeat nor
// split a character.
class MatchWalker {
  public:
    MatchWalker(const RegexCode& code, std::string_view subject)
        : code_(code),
          subject_(subject),
          data_(pcre2_match_data_create_from_pattern(code.code.get(), nullptr)) {
        // gbkToUtf8 always gives well-formed UTF-8 (it keeps stray bytes as code points), so
        // the engine's own check, a pass over the whole subject, is skipped.
        assert(isValidUtf8(subject));
    }

    // Finds the next match; false at the end or when the search failed (error() then says why).
    bool next() {
        if (done_ || !data_) {
            if (!data_) error_ = PCRE2_ERROR_NOMEMORY;
            return false;
        }
        int result = matchFrom(offset_, 0);
        // The machine-code matcher has a small fixed stack; the interpreter keeps its
        // backtracking state on the heap, bounded by the heap limit.
        if (result == PCRE2_ERROR_JIT_STACKLIMIT) result = matchFrom(offset_, PCRE2_NO_JIT);
        if (result < 0) {
            done_ = true;
            if (result != PCRE2_ERROR_NOMATCH) error_ = result;
            return false;
        }
        const std::size_t start = ovector()[0];
        const std::size_t end = ovector()[1];
        if (end > start) {
            offset_ = end;
        } else if (end >= subject_.size()) {
            done_ = true;
        } else {
            offset_ = end + stepAt(end);
        }
        return true;
    }

    // Start and end of the match, then of each group, of the last successful next().
    const std::size_t* ovector() const { return pcre2_get_ovector_pointer(data_.get()); }
    int error() const { return error_; }

  private:
    int matchFrom(std::size_t offset, std::uint32_t options) {
        return pcre2_match(code_.code.get(), reinterpret_cast<PCRE2_SPTR>(subject_.data()),
                           subject_.size(), offset, options | PCRE2_NO_UTF_CHECK, data_.get(),
                           code_.context.get());
    }

    std::size_t stepAt(std::size_t pos) const {
        if (!code_.hasCrOrLf && subject_[pos] == '\r' && pos + 1 < subject_.size() &&
            subject_[pos + 1] == '\n') {
            return 2;
        }
        std::size_t length = 1;
        while (pos + length < subject_.size() && isUtf8Continuation(subject_[pos + length])) {
            ++length;
        }
        return length;
    }

    const RegexCode& code_;
    std::string_view subject_;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data_;
    std::size_t offset_ = 0;
    bool done_ = false;
    int error_ = 0;
};

// One part of a parsed replacement: literal text, or the value of a group (0 the whole match).
struct ReplacementPiece {
    std::string_view literal;
    int group = -1;
};

std::vector<ReplacementPiece> parseReplacement(std::string_view replacement, int groupCount) {
    std::vector<ReplacementPiece> pieces;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t literalStart = 0;
    std::size_t pos = 0;
    const auto addGroup = [&](int group, std::size_t length) {
        pieces.push_back({replacement.substr(literalStart, pos - literalStart), -1});
        pieces.push_back({{}, group});
        pos += length;
        literalStart = pos;
    };
    while ((pos = replacement.find('$', pos)) != std::string_view::npos) {
        const char next = pos + 1 < replacement.size() ? replacement[pos + 1] : '\0';
        if (next == '$') {
            // Keep the first "$" as literal text and drop the second.
            pieces.push_back({replacement.substr(literalStart, pos + 1 - literalStart), -1});
            pos += 2;
            literalStart = pos;
        } else if (next == '&') {
            addGroup(0, 2);
        } else if (isDigit(next)) {
            const int one = next - '0';
            const char second = pos + 2 < replacement.size() ? replacement[pos + 2] : '\0';
            const int two = isDigit(second) ? one * 10 + (second - '0') : 0;
            if (two >= 1 && two <= groupCount) {
                addGroup(two, 3);
            } else if (one >= 1 && one <= groupCount) {
                addGroup(one, 2);
            } else {
                ++pos;
            }
        } else {
            ++pos;
        }
    }
    pieces.push_back({replacement.substr(literalStart), -1});
    return pieces;
}

// Appends the replacement of one match; subjectOffset turns an offset of the searched UTF-8
// text into the same place in the subject.
template <typename SubjectOffset>
void appendReplacement(std::string& out, const std::vector<ReplacementPiece>& pieces,
                       std::string_view subject, const std::size_t* ovector,
                       SubjectOffset& subjectOffset) {
    for (const ReplacementPiece& piece : pieces) {
        if (piece.group < 0) {
            out.append(piece.literal);
            continue;
        }
        const std::size_t start = ovector[2 * piece.group];
        const std::size_t end = ovector[2 * piece.group + 1];
        if (start == PCRE2_UNSET || end < start) continue;
        const std::size_t subjectStart = subjectOffset(start);
        out.append(subject.substr(subjectStart, subjectOffset(end) - subjectStart));
    }
}

// The subject with the walker's matches (only the first unless global) replaced by pieces;
// nothing when the search failed.
template <typename SubjectOffset>
std::optional<std::string> replaceMatches(MatchWalker& walker, std::string_view subject,
                                          const std::vector<ReplacementPiece>& pieces, bool global,
                                          SubjectOffset subjectOffset) {
    std::string out;
    std::size_t copied = 0;
    bool matched = false;
    while (walker.next()) {
        if (!matched) out.reserve(subject.size() + subject.size() / 8);
        matched = true;
        const std::size_t* ovector = walker.ovector();
        const std::size_t start = subjectOffset(ovector[0]);
        if (start > copied) out.append(subject.substr(copied, start - copied));
        appendReplacement(out, pieces, subject, ovector, subjectOffset);
        copied = std::max(copied, subjectOffset(ovector[1]));
        if (!global) break;
    }
    if (walker.error() != 0) return std::nullopt;
    if (!matched) return std::string(subject);
    out.append(subject.substr(copied));
    return out;
}

std::string searchErrorText(int errorCode) {
    return "正则表达式匹配失败："_gbk + engineMessage(errorCode);
}

// Escapes the characters of the text as the expression will see them: split as its UTF-8 form
// splits it, so that a backslash lands before every special character that stands on its
// own, and never between the two bytes of a character (whatever bytes that do not lead a
// character, or lead one cut off, come before it).
std::string escapeCharacters(std::string_view text, std::string_view specials,
                             bool expandWildcards) {
    const std::string utf8 = gbkToUtf8(text);
    OffsetMap map(text, utf8);
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 8);
    // Set after a byte >= 0x80 that stands alone (no valid second byte follows it).
    bool brokenLead = false;
    std::size_t start = 0;
    for (std::size_t u = 0; u < utf8.size();) {
        std::size_t next = u + 1;
        while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) {
            ++next;
        }
        const std::size_t end = next < utf8.size() ? map.at(next).gbk : text.size();
        const std::size_t length = end - start;
        const char c = text[start];
        const bool escaped = length == 1 && specials.find(c) != std::string_view::npos;
        // The backslash would become the broken byte's second byte and free the character
        // it escapes: an empty group between them keeps both apart without matching anything.
        if (brokenLead && escaped) out += "(?:)";
        if (length > 1) {
            out.append(text.substr(start, length));
        } else if (escaped) {
            out += '\\';
            out += c;
        } else if (expandWildcards && (c == '*' || c == '?')) {
            out += '.';
            out += c;
        } else {
            out += c;
        }
        brokenLead = length == 1 && static_cast<unsigned char>(c) >= 0x80;
        start = end;
        u = next;
    }
    // What the caller puts after the text must not pair with a broken last byte either.
    if (brokenLead) out += "(?:)";
    return out;
}

}  // namespace

std::string RegexObject::escapeAll(std::string_view text) {
    return escapeCharacters(text, "\\^$+.{}[]=()?*|\"", false);
}

std::string RegexObject::escapeKeepAlternation(std::string_view text) {
    return escapeCharacters(text, "\\^$+.{}[]=()?*\"", false);
}

std::string RegexObject::escapeKeepGroups(std::string_view text) {
    return escapeCharacters(text, "\\^$+.{}[]=?*\"", false);
}

std::string RegexObject::wildcardToPattern(std::string_view text) {
    return escapeCharacters(text, "\\^$+.{}[]=()-\"", true);
}

bool RegexObject::create(std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
    pattern_ = std::string(pattern);
    global_ = global;
    code_.reset();
    compileError_.clear();
    searchError_.clear();

    // \uXXXX names a code point, a reference to a group that did not take part matches empty
    // text, and \C (which could split a character) is refused.
    std::uint32_t options =
        PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_NEVER_BACKSLASH_C;
    if (ignoreCase) options |= PCRE2_CASELESS;
    // Multi-line: "^" also after a final line break. Single-line: "$" only at the very end.
    options |= multiline ? PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX : PCRE2_DOLLAR_ENDONLY;

    const std::unique_ptr<pcre2_compile_context, CompileContextDeleter> compileContext(
        pcre2_compile_context_create(nullptr));
    if (!compileContext) {
        compileError_ = "正则表达式有误："_gbk + engineMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_ANYCRLF);
#ifdef PCRE2_EXTRA_CASELESS_RESTRICT
    // Ignoring case never pairs an ASCII letter with a non-ASCII one (k with the Kelvin sign).
    pcre2_set_compile_extra_options(compileContext.get(), PCRE2_EXTRA_CASELESS_RESTRICT);
#endif

    const std::string utf8 = gbkToUtf8(pattern);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<pcre2_code, CodeDeleter> code(
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), options, &errorCode,
                      &errorOffset, compileContext.get()));
    if (!code) {
        const int position = charCountOf(std::string_view(utf8).substr(0, errorOffset));
        compileError_ = "正则表达式有误："_gbk + engineMessage(errorCode) + "（位置："_gbk +
                        std::to_string(position) + "）"_gbk;
        return false;
    }
    // Without machine code the interpreter matches the same texts, only slower.
    pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);

    auto compiled = std::make_shared<RegexCode>();
    compiled->context.reset(pcre2_match_context_create(nullptr));
    if (!compiled->context) {
        compileError_ = "正则表达式有误："_gbk + engineMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    pcre2_set_match_limit(compiled->context.get(), kMatchLimit);
    pcre2_set_depth_limit(compiled->context.get(), kDepthLimit);
    pcre2_set_heap_limit(compiled->context.get(), kHeapLimitKiB);
    std::uint32_t groupCount = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
    std::uint32_t hasCrOrLf = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_HASCRORLF, &hasCrOrLf);
    compiled->groupCount = static_cast<int>(groupCount);
    compiled->hasCrOrLf = hasCrOrLf != 0;
    compiled->code = std::move(code);
    code_ = std::move(compiled);
    return true;
}

bool RegexObject::readyToSearch() {
    searchError_.clear();
    if (code_) return true;
    if (compileError_.empty()) searchError_ = "正则表达式尚未创建"_gbk;
    return false;
}

int RegexObject::execute(std::string_view subject) {
    auto list = std::make_shared<RegexMatchList>();
    list->subject = std::string(subject);
    if (readyToSearch()) {
        const std::string text = gbkToUtf8(subject);
        list->slots = 2 * (static_cast<std::size_t>(code_->groupCount) + 1);
        MatchWalker walker(*code_, text);
        OffsetMap map(list->subject, text);
        while (walker.next()) {
            const std::size_t* ovector = walker.ovector();
            list->firstIndexes.push_back(map.at(ovector[0]).character);
            for (std::size_t k = 0; k < list->slots; ++k) {
                const bool unset = ovector[k] == PCRE2_UNSET;
                list->offsets.push_back(unset ? PCRE2_UNSET : map.at(ovector[k]).gbk);
            }
            if (!global_) break;
        }
        if (walker.error() != 0) {
            searchError_ = searchErrorText(walker.error());
            list->offsets.clear();
            list->firstIndexes.clear();
        }
    }
    matches_ = std::move(list);
    return matchCount();
}

std::string RegexObject::replace(std::string_view subject, std::string_view replacement) {
    if (!readyToSearch()) return {};
    const std::string text = gbkToUtf8(subject);
    // "$" and digits never occur as trailing bytes of a character, so the replacement is
    // parsed as it is.
    const std::vector<ReplacementPiece> pieces = parseReplacement(replacement, code_->groupCount);
    MatchWalker walker(*code_, text);
    OffsetMap map(subject, text);
    std::optional<std::string> out =
        replaceMatches(walker, subject, pieces, global_,
                       [&map](std::size_t offset) { return map.at(offset).gbk; });
    if (!out) searchError_ = searchErrorText(walker.error());
    return std::move(out).value_or(std::string());
}

std::string RegexObject::replaceUtf8(std::string_view utf8Subject,
                                     std::string_view utf8Replacement) {
    if (!readyToSearch()) return {};
    const std::vector<ReplacementPiece> pieces =
        parseReplacement(utf8Replacement, code_->groupCount);
    MatchWalker walker(*code_, utf8Subject);
    std::optional<std::string> out = replaceMatches(walker, utf8Subject, pieces, global_,
                                                    [](std::size_t offset) { return offset; });
    if (!out) searchError_ = searchErrorText(walker.error());
    return std::move(out).value_or(std::string());
}

int RegexObject::matchCount() const {
    if (!matches_) return 0;
    return static_cast<int>(matches_->offsets.size() / matches_->slots);
}

RegexMatch RegexObject::valueAt(int i, int group) const {
    if (i < 1 || i > matchCount() || group < 0) return {};
    const std::size_t slots = matches_->slots;
    if (static_cast<std::size_t>(group) >= slots / 2) return {};
    const std::size_t* offsets = matches_->offsets.data() + static_cast<std::size_t>(i - 1) * slots;
    RegexMatch result;
    result.firstIndex = matches_->firstIndexes[static_cast<std::size_t>(i - 1)];
    const std::size_t start = offsets[2 * group];
    const std::size_t end = offsets[2 * group + 1];
    if (start != PCRE2_UNSET && end >= start)
        result.value = matches_->subject.substr(start, end - start);
    return result;
}

std::string RegexObject::matchValue(int i) const {
    return valueAt(i, 0).value;
}

std::string RegexObject::subMatch(int i, int j) const {
    return subMatchAt(i, j).value;
}

int RegexObject::subMatchCount() const {
    if (matchCount() == 0) return 0;
    return static_cast<int>(matches_->slots / 2 - 1);
}

RegexMatch RegexObject::matchValueAt(int i) const {
    return valueAt(i, 0);
}

RegexMatch RegexObject::subMatchAt(int i, int j) const {
    if (j < 1) return {};
    return valueAt(i, j);
}

}  // namespace yelian
