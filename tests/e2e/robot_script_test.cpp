// The robot's step language, held to the cases where a misread would not fail a scenario but
// quietly make it check less: a check taken for a comment, a quoted text cut or emptied, and a
// log line that the harness's searches of the log could no longer match.
#include "robot_script.h"

#include <gtest/gtest.h>

namespace robot {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_TRUE(SplitWords(line, &words, &error)) << line << ": " << error;
    return words;
}

TEST(RobotScript, ReadsQuotedWordsAndCommentsAsScenariosWriteThem) {
    EXPECT_EQ(Words("text 65535 \"a \\\"b\\\"\\r\\n\\\\c\\t\""),
              (std::vector<std::string>{"text", "65535", "a \"b\"\r\n\\c\t"}));
    EXPECT_EQ(Words("wait FileTidemark 65535=\"Please Insert Disk number 2\""),
              (std::vector<std::string>{"wait", "FileTidemark", "65535=Please Insert Disk number 2"}));
    EXPECT_EQ(Words("set 104 C:\\NEW\\SUB"), (std::vector<std::string>{"set", "104", "C:\\NEW\\SUB"}));
    EXPECT_TRUE(Words("   # a comment").empty());
    EXPECT_EQ(Words("owner #32770"), (std::vector<std::string>{"owner", "#32770"}));
    std::vector<Step> steps;
    std::string error;
    EXPECT_FALSE(ParseScript("start\nhas 65535 \"Disk full\n", &steps, &error));
    EXPECT_FALSE(ParseScript("has 1 \"O\\K\"", &steps, &error));
}

// Hex numbers, as the style step's bit masks are written: read as 0, a mask would pass anything.
TEST(RobotScript, LogTextsAreJsonAsTheHarnessSearchesThemAndHexNumbersAreRead) {
    EXPECT_EQ(JsonString("Exit FileTidemark"), "\"Exit FileTidemark\"");
    EXPECT_EQ(JsonString("a\"b\\c\r\n"), "\"a\\\"b\\\\c\\u000d\\u000a\"");
    long long v = 0;
    EXPECT_TRUE(ParseNumber("0x50200804", &v));
    EXPECT_EQ(v, 0x50200804);
}

}  // namespace
}  // namespace robot
