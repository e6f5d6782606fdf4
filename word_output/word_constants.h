// Word's enumeration values the library passes as plain numbers.
#pragma once
#include <windows.h>

namespace quorrel {

constexpr LONG kCollapseEnd = 0;       // wdCollapseEnd
constexpr LONG kPageBreak = 7;         // wdPageBreak
constexpr LONG kUnitLine = 5;          // wdLine
constexpr LONG kUnitStory = 6;         // wdStory
constexpr LONG kReplaceAll = 2;        // wdReplaceAll
constexpr LONG kFindContinue = 1;      // wdFindContinue
constexpr LONG kWindowMaximized = 1;   // wdWindowStateMaximize
constexpr LONG kDoNotSaveChanges = 0;  // wdDoNotSaveChanges
constexpr LONG kShapeTextBox = 17;     // msoTextBox

// Lengths reach Word in points; the library has always used exactly 2.835 per millimetre.
constexpr double kPointsPerMillimetre = 2.835;

}  // namespace quorrel
