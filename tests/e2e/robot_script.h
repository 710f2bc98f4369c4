// The robot's step language: one step a line, words split at blanks, "quoted words" with the
// escapes \r \n \t \\ \" kept together; a line whose first word starts with # is a comment
// (elsewhere # is an ordinary character, as in the class name #32770).
#pragma once

#include <string>
#include <vector>

namespace robot {

struct Step {
    int line = 0;
    std::string text;                // the line as written, for the log
    std::vector<std::string> words;  // words[0] is the verb
};

// Splits one line into words; false (with *error set) on an unterminated quote or a bad escape.
bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error);

// Reads a whole script; lines without words are dropped.
bool ParseScript(const std::string& text, std::vector<Step>* steps, std::string* error);

// A JSON string literal of an 8-bit text (bytes above 127 are taken as Latin-1).
std::string JsonString(const std::string& text);

// Parses a decimal or 0x-hex number; false when the word is not one.
bool ParseNumber(const std::string& word, long long* value);

}  // namespace robot
