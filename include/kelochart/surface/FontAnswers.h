// Which font file draws a face name is fontconfig's answer, and asking costs a program that
// draws one chart more than its drawing: fontconfig reads every file of its configuration
// first. A program started once per chart can keep the answers in a file: a later process
// takes them from there while every configuration file, font folder and cache folder that
// fontconfig read stands as it was, and asks fontconfig again (rewriting the file) otherwise.
// Off unless a program turns it on; characters the answered face lacks still ask fontconfig.
#pragma once

#include <string>

namespace kelo::surface {

// Keeps the answers in the file at path from now on (an empty path turns keeping off). Call
// it before the first text is drawn or measured; a file that cannot be read or written only
// costs the asking.
void KeepFontAnswers(const std::string& path);

// $XDG_CACHE_HOME/kelochart/font-answers, else ~/.cache/kelochart/font-answers; empty when
// neither variable is set.
std::string DefaultFontAnswersPath();

}  // namespace kelo::surface
