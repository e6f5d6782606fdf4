// The bytes of copied content on the clipboard: text, character formats in runs, and anchored
// shapes with their own text and picture bytes. Decoding checks every length it reads.
#pragma once
#include <string>

#include "story.h"

namespace standin {

std::string EncodeFragment(const Fragment& fragment);
bool DecodeFragment(const std::string& bytes, Fragment* fragment);

// A story of its own holding `content` (which ends with the story's final paragraph mark).
std::shared_ptr<Story> StoryFrom(const Fragment& content);

}  // namespace standin
