// Word's find and replace conditions. They are sticky: set through any Find object, they stay
// for the application and every Find object obtained later starts from them, as the settings
// of Word's Find dialog do.
#pragma once
#include <windows.h>

#include <string>

namespace standin {

struct FindSettings {
  std::wstring text;
  std::wstring replacement;
  bool forward = true;
  LONG wrap = 0;  // wdFindStop; 1 wdFindContinue, 2 wdFindAsk
  bool format = false;
  bool match_case = false;
  bool whole_word = false;
  bool wildcards = false;
  bool sounds_like = false;
  bool all_word_forms = false;
  bool fuzzy = false;
};

FindSettings& StickyFindSettings();

}  // namespace standin
