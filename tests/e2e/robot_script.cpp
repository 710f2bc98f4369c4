#include "robot_script.h"

#include <cstdio>
#include <cstdlib>

namespace robot {

bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= n || (line[i] == '#' && words->empty())) break;
        std::string word;
        while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            ++i;  // opening quote
            bool closed = false;
            while (i < n) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    word += c;
                    continue;
                }
                if (i >= n) break;
                // The escapes \r \n \t \\ \" stand for these characters; no others exist.
                static const std::string kEscapes = "rnt\\\"", kMeanings = "\r\n\t\\\"";
                char e = line[i++];
                size_t k = kEscapes.find(e);
                if (k == std::string::npos) {
                    *error = std::string("unknown escape \\") + e;
                    return false;
                }
                word += kMeanings[k];
            }
            if (!closed) {
                *error = "unterminated quote";
                return false;
            }
        }
        words->push_back(word);
    }
    return true;
}

bool ParseScript(const std::string& text, std::vector<Step>* steps, std::string* error) {
    steps->clear();
    size_t start = 0;
    int number = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        ++number;
        Step step;
        step.line = number;
        step.text = text.substr(start, end - start);
        if (!step.text.empty() && step.text.back() == '\r') step.text.pop_back();
        std::string why;
        if (!SplitWords(step.text, &step.words, &why)) {
            *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        if (!step.words.empty()) steps->push_back(step);
        start = end + 1;
    }
    return true;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool ParseNumber(const std::string& word, long long* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const char* s = word.c_str();
    bool negative = *s == '-';
    if (negative) ++s;
    if (*s < '0' || *s > '9') return false;
    unsigned long long v = std::strtoull(s, &end, 0);
    if (*end != '\0') return false;
    *value = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
    return true;
}

}  // namespace robot
