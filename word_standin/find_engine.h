// Word's text search: literal search with its special codes and Word's wildcard syntax, and the
// expansion of replacement text.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct FindOptions {
  bool match_case = false;
  bool whole_word = false;
  bool wildcards = false;
};

struct Match {
  LONG start = 0;
  LONG end = 0;
  std::vector<std::wstring> groups;  // \1 to \9 of a wildcard pattern
};

class FindPattern {
 public:
  // False (and a message) for a pattern Word rejects, e.g. an unclosed [ or {.
  bool Compile(const std::wstring& pattern, const FindOptions& options, std::wstring* error);
  // The first match starting in [from, to) and ending at or before `to`.
  bool FindForward(const std::wstring& text, LONG from, LONG to, Match* match) const;
  // The last such match.
  bool FindBackward(const std::wstring& text, LONG from, LONG to, Match* match) const;

 private:
  struct Token;
  bool MatchAt(const std::wstring& text, LONG pos, LONG limit, Match* match) const;
  LONG MatchTokens(const std::wstring& text, size_t t, LONG pos, LONG limit,
                   std::vector<LONG>* marks) const;
  bool TokenMatchesChar(const Token& token, wchar_t c) const;

  struct Token {
    enum Kind { kChar, kAny, kSet, kWordStart, kWordEnd, kGroupOpen, kGroupClose } kind = kChar;
    wchar_t ch = 0;
    std::vector<std::pair<wchar_t, wchar_t>> ranges;  // kSet
    bool negate = false;
    int min = 1;
    int max = 1;
    bool lazy = false;
    int group = 0;
  };
  std::vector<Token> tokens_;
  FindOptions options_;
  int groups_ = 0;
};

// The replacement for one match: ^& the match, \1..\9 groups (wildcards only), ^p paragraph,
// ^t tab, ^l line break, ^m page break, ^^ a caret.
std::wstring ExpandReplacement(const std::wstring& replacement, const std::wstring& text,
                               const Match& match, bool wildcards);

}  // namespace standin
