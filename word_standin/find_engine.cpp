#include "find_engine.h"

#include <cwctype>

namespace standin {
namespace {

constexpr int kUnbounded = 0x7FFFFFFF;

bool IsWordChar(wchar_t c) { return std::iswalnum(c) || c == L'_' || c >= 0x3000; }

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

// ^p, ^t, ^l, ^m, ^^, ^nnn (a character code). Returns 0 for an unknown code.
wchar_t CaretCode(const std::wstring& p, size_t* i) {
  if (*i + 1 >= p.size()) return 0;
  wchar_t c = p[++*i];
  switch (c) {
    case L'p': return L'\r';
    case L't': return L'\t';
    case L'l': return 11;
    case L'm': return L'\f';
    case L'^': return L'^';
    default: break;
  }
  if (std::iswdigit(c)) {
    unsigned code = 0;
    while (*i < p.size() && std::iswdigit(p[*i])) code = code * 10 + (p[(*i)++] - L'0');
    --*i;
    return static_cast<wchar_t>(code);
  }
  return 0;
}

}  // namespace

bool FindPattern::Compile(const std::wstring& p, const FindOptions& options, std::wstring* error) {
  options_ = options;
  tokens_.clear();
  groups_ = 0;
  int open_groups = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    wchar_t c = p[i];
    Token token;
    if (c == L'^') {
      if (!options.wildcards && i + 1 < p.size() && p[i + 1] == L'?') {
        ++i;
        token.kind = Token::kAny;  // ^? any one character
      } else {
        token.ch = CaretCode(p, &i);
        if (!token.ch) {
          *error = L"The Find What text contains an invalid special character.";
          return false;
        }
      }
      tokens_.push_back(token);
      continue;
    }
    if (!options.wildcards) {
      token.ch = c;
      tokens_.push_back(token);
      continue;
    }
    switch (c) {
      case L'?': token.kind = Token::kAny; break;
      case L'*': token.kind = Token::kAny; token.min = 0; token.max = kUnbounded; token.lazy = true;
        break;
      case L'<': token.kind = Token::kWordStart; break;
      case L'>': token.kind = Token::kWordEnd; break;
      case L'(': token.kind = Token::kGroupOpen; token.group = ++groups_; ++open_groups; break;
      case L')':
        if (open_groups-- == 0) { *error = L"Unbalanced parentheses."; return false; }
        token.kind = Token::kGroupClose;
        break;
      case L'\\':
        if (++i >= p.size()) { *error = L"Invalid pattern."; return false; }
        token.ch = p[i];
        break;
      case L'[': {
        token.kind = Token::kSet;
        size_t j = i + 1;
        if (j < p.size() && p[j] == L'!') { token.negate = true; ++j; }
        bool closed = false;
        for (; j < p.size(); ++j) {
          wchar_t a = p[j];
          if (a == L']' && !(j == i + 1 || (token.negate && j == i + 2))) { closed = true; break; }
          if (a == L'\\' && j + 1 < p.size()) a = p[++j];
          wchar_t b = a;
          if (j + 2 < p.size() && p[j + 1] == L'-' && p[j + 2] != L']') { b = p[j + 2]; j += 2; }
          if (b < a) { *error = L"Invalid range in a [ ] list."; return false; }
          token.ranges.emplace_back(a, b);
        }
        if (!closed) { *error = L"Missing ]."; return false; }
        i = j;
        break;
      }
      case L'@':
      case L'{': {
        if (tokens_.empty() || tokens_.back().kind == Token::kGroupOpen ||
            tokens_.back().kind == Token::kWordStart || tokens_.back().kind == Token::kWordEnd) {
          *error = L"Nothing to repeat.";
          return false;
        }
        Token& last = tokens_.back();
        if (c == L'@') { last.min = 1; last.max = kUnbounded; last.lazy = false; continue; }
        size_t close = p.find(L'}', i);
        if (close == std::wstring::npos) { *error = L"Missing }."; return false; }
        std::wstring body = p.substr(i + 1, close - i - 1);
        size_t comma = body.find_first_of(L",;");
        try {
          last.min = std::stoi(body.substr(0, comma));
          last.max = comma == std::wstring::npos ? last.min
                     : comma + 1 == body.size()  ? kUnbounded
                                                 : std::stoi(body.substr(comma + 1));
        } catch (...) {
          *error = L"Invalid count in { }.";
          return false;
        }
        if (last.min < 0 || last.max < last.min) { *error = L"Invalid count in { }."; return false; }
        last.lazy = false;
        i = close;
        continue;
      }
      default: token.ch = c; break;
    }
    tokens_.push_back(token);
  }
  if (open_groups != 0) { *error = L"Unbalanced parentheses."; return false; }
  if (tokens_.empty()) { *error = L"Nothing to find."; return false; }
  return true;
}

bool FindPattern::TokenMatchesChar(const Token& token, wchar_t c) const {
  switch (token.kind) {
    case Token::kAny: return true;
    case Token::kChar:
      // Wildcard searches are always case-sensitive in Word.
      return options_.match_case || options_.wildcards ? c == token.ch : Fold(c) == Fold(token.ch);
    case Token::kSet: {
      bool in = false;
      for (const auto& r : token.ranges) in = in || (c >= r.first && c <= r.second);
      return in != token.negate;
    }
    default: return false;
  }
}

// Returns the end of a match of tokens[t..] at pos, or -1. marks holds group bounds.
LONG FindPattern::MatchTokens(const std::wstring& text, size_t t, LONG pos, LONG limit,
                              std::vector<LONG>* marks) const {
  if (t == tokens_.size()) return pos;
  const Token& token = tokens_[t];
  switch (token.kind) {
    case Token::kWordStart:
      if (pos < limit && IsWordChar(text[pos]) && (pos == 0 || !IsWordChar(text[pos - 1])))
        return MatchTokens(text, t + 1, pos, limit, marks);
      return -1;
    case Token::kWordEnd:
      if (pos > 0 && IsWordChar(text[pos - 1]) &&
          (pos >= static_cast<LONG>(text.size()) || !IsWordChar(text[pos])))
        return MatchTokens(text, t + 1, pos, limit, marks);
      return -1;
    case Token::kGroupOpen:
    case Token::kGroupClose: {
      int index = token.kind == Token::kGroupOpen ? token.group * 2 : 0;
      if (token.kind == Token::kGroupClose) {
        // The innermost open group without an end.
        for (int g = groups_; g >= 1; --g)
          if ((*marks)[g * 2] >= 0 && (*marks)[g * 2 + 1] < 0) { index = g * 2 + 1; break; }
      }
      LONG saved = (*marks)[index];
      (*marks)[index] = pos;
      LONG end = MatchTokens(text, t + 1, pos, limit, marks);
      if (end < 0) (*marks)[index] = saved;
      return end;
    }
    default: break;
  }
  if (token.lazy) {
    // Shortest first, taking one more character at a time: `*` is lazy in Word.
    for (LONG n = 0; n <= token.max && pos + n <= limit; ++n) {
      if (n > 0 && !TokenMatchesChar(token, text[pos + n - 1])) break;
      if (n < token.min) continue;
      LONG end = MatchTokens(text, t + 1, pos + n, limit, marks);
      if (end >= 0) return end;
    }
    return -1;
  }
  LONG most = 0;
  while (most < token.max && pos + most < limit && TokenMatchesChar(token, text[pos + most])) ++most;
  for (LONG n = most; n >= token.min; --n) {
    LONG end = MatchTokens(text, t + 1, pos + n, limit, marks);
    if (end >= 0) return end;
  }
  return -1;
}

bool FindPattern::MatchAt(const std::wstring& text, LONG pos, LONG limit, Match* match) const {
  std::vector<LONG> marks((groups_ + 1) * 2, -1);
  LONG end = MatchTokens(text, 0, pos, limit, &marks);
  if (end < 0 || end == pos) return false;
  if (options_.whole_word && !options_.wildcards) {
    if ((pos > 0 && IsWordChar(text[pos - 1])) ||
        (end < static_cast<LONG>(text.size()) && IsWordChar(text[end])))
      return false;
  }
  match->start = pos;
  match->end = end;
  match->groups.assign(groups_ + 1, std::wstring());
  for (int g = 1; g <= groups_; ++g)
    if (marks[g * 2] >= 0 && marks[g * 2 + 1] >= marks[g * 2])
      match->groups[g] = text.substr(marks[g * 2], marks[g * 2 + 1] - marks[g * 2]);
  return true;
}

bool FindPattern::FindForward(const std::wstring& text, LONG from, LONG to, Match* match) const {
  for (LONG pos = from; pos < to; ++pos)
    if (MatchAt(text, pos, to, match)) return true;
  return false;
}

bool FindPattern::FindBackward(const std::wstring& text, LONG from, LONG to, Match* match) const {
  for (LONG pos = to - 1; pos >= from; --pos)
    if (MatchAt(text, pos, to, match)) return true;
  return false;
}

std::wstring ExpandReplacement(const std::wstring& replacement, const std::wstring& text,
                               const Match& match, bool wildcards) {
  std::wstring out;
  for (size_t i = 0; i < replacement.size(); ++i) {
    wchar_t c = replacement[i];
    if (c == L'^' && i + 1 < replacement.size() && replacement[i + 1] == L'&') {
      out += text.substr(match.start, match.end - match.start);
      ++i;
    } else if (c == L'^') {
      size_t j = i;
      wchar_t code = CaretCode(replacement, &j);
      if (code) { out += code; i = j; } else { out += c; }
    } else if (wildcards && c == L'\\' && i + 1 < replacement.size()) {
      wchar_t d = replacement[++i];
      if (d >= L'1' && d <= L'9') {
        size_t g = d - L'0';
        if (g < match.groups.size()) out += match.groups[g];
      } else {
        out += d;
      }
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace standin
