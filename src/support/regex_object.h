// RegexObject: one compiled regular expression and the match list of its last search, over
// PCRE2. Callers hand in GBK text; matching runs on its lossless UTF-8 form, so a double-byte
// character is one character to the expression and bytes that are not valid GBK pass through
// a replace untouched. The syntax and behaviour follow the scripting regular expressions the
// templates and user patterns are written for: "." stops at CR and LF, "^" and "$" match at
// line boundaries in multi-line mode, "\s" and "\w" are ASCII classes, "\uXXXX" names a code
// point and "$1" in a replacement is group 1. One object is used by one thread at a time;
// copies are cheap and may be used on different threads.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace yelian {

// The compiled expression and the match list of one search, defined where they are used.
struct RegexCode;
struct RegexMatchList;

// A match or group value with where its match starts in the subject: 0-based, counted in
// characters (a double-byte character counts 1); -1 when there is no such match.
struct RegexMatch {
    std::string value;
    int firstIndex = -1;
};

class RegexObject {
  public:
    // Text-to-pattern routines: each puts a backslash before every special character of its
    // list, stepping over double-byte characters so that a trailing byte equal to "\", "[",
    // "]", "{", "|" or "}" is never escaped.
    // escapeAll: \ ^ $ + . { } [ ] = ( ) ? * | and the double quote; the result matches the
    // text literally.
    static std::string escapeAll(std::string_view text);
    // As escapeAll but "|" keeps its meaning, so the text's alternatives stay alternatives.
    static std::string escapeKeepAlternation(std::string_view text);
    // As escapeAll but "|", "(" and ")" keep their meaning: groups and alternatives stay.
    static std::string escapeKeepGroups(std::string_view text);
    // A file-name wildcard as a pattern: escapes \ ^ $ + . { } [ ] = ( ) - and the double
    // quote, then "*" becomes ".*" and "?" becomes ".?" (zero or one character); "|" keeps
    // separating alternatives.
    static std::string wildcardToPattern(std::string_view text);

    // Compiles pattern (a previous expression is dropped; the match list of the last execute
    // stays). ignoreCase folds letters beyond ASCII too (full-width Latin, Greek, Cyrillic),
    // as Unicode matching does. Returns false when the pattern does not compile; errorText() then
    // says why and where, and every later search gives empty results until the next successful
    // create.
    bool create(std::string_view pattern, bool ignoreCase = true, bool multiline = true,
                bool global = true);

    // Searches subject (every match when global, else the first), keeps the match list and
    // returns matchCount(). A failed search (no expression, or the engine's limits exceeded)
    // leaves an empty list and sets errorText().
    int execute(std::string_view subject);

    // The subject with every match (only the first unless global) replaced by replacement, in
    // which $1 .. $99 stand for a group (two digits when that group exists, else one digit
    // and a literal digit), $& for the whole match and $$ for "$"; any other "$" is literal
    // and a group that did not take part gives empty text. Does not touch the match list.
    // A failed search gives empty text and sets errorText().
    std::string replace(std::string_view subject, std::string_view replacement);
    // replace for text already in UTF-8, as gbkToUtf8 makes it (or a piece of that cut where
    // characters begin), with a UTF-8 replacement: a chain of replacements over one text pays
    // for its conversions once.
    std::string replaceUtf8(std::string_view utf8Subject, std::string_view utf8Replacement);

    // The match list of the last execute; matches and groups count from 1, and an index out
    // of range gives empty text.
    int matchCount() const;
    std::string matchValue(int i) const;
    std::string subMatch(int i, int j) const;
    // The number of groups of the first match (0 without matches).
    int subMatchCount() const;
    RegexMatch matchValueAt(int i) const;
    RegexMatch subMatchAt(int i, int j) const;

    // The pattern text of the last create, empty before the first.
    std::string pattern() const { return pattern_; }

    // Why the last create, execute or replace failed, in the user's language (GBK); empty
    // after success. A pattern that did not compile keeps its message until the next create.
    std::string errorText() const { return compileError_.empty() ? searchError_ : compileError_; }

  private:
    // Clears the last search error; false (with an error text) when there is no expression.
    bool readyToSearch();
    RegexMatch valueAt(int i, int group) const;

    std::string pattern_;
    // Copies share the compiled code and the match list: neither changes once made.
    std::shared_ptr<const RegexCode> code_;
    std::shared_ptr<const RegexMatchList> matches_;
    bool global_ = true;
    std::string compileError_;
    std::string searchError_;
};

}  // namespace yelian
