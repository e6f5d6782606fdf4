// The texts the library shows to the user.
#pragma once

namespace quorrel {

inline constexpr wchar_t kAppTitle[] = L"Scrivlet";
inline constexpr wchar_t kVersionTooOld[] =
    L"Word出力は Microsoft Word 2000 以上の対応となっております。";
// The two lines are joined by LF then CR, as existing users have always seen them.
inline constexpr wchar_t kWordMissing[] =
    L"Microsoft Word がインストールされていない可能性があります。\n\r"
    L"Microsoft Word 2000以上がインストールされていることを確認してください。";

}  // namespace quorrel
