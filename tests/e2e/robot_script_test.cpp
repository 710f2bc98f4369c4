// The robot's step language: a misread step would make a scenario test something else than it
// says, so the reader is held to the cases scenarios rely on.
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

TEST(RobotScript, SplitsAtBlanksAndKeepsQuotedBlanksAndEscapes) {
    EXPECT_EQ(Words("  wait \t\"Destination Directory\"  20000 "),
              (std::vector<std::string>{"wait", "Destination Directory", "20000"}));
    // Outside quotes a backslash is a plain character, so paths need no quoting.
    EXPECT_EQ(Words("set 104 C:\\NEW\\SUB"),
              (std::vector<std::string>{"set", "104", "C:\\NEW\\SUB"}));
    EXPECT_EQ(Words("text 65535 \"a \\\"b\\\"\\r\\n\\\\c\\t\""),
              (std::vector<std::string>{"text", "65535", "a \"b\"\r\n\\c\t"}));
    // Quoted and plain parts join into one word: the id=text qualifier of wait.
    EXPECT_EQ(
        Words("wait FileTidemark 65535=\"Please Insert Disk number 2\""),
        (std::vector<std::string>{"wait", "FileTidemark", "65535=Please Insert Disk number 2"}));
    EXPECT_EQ(Words("set 104 \"\""), (std::vector<std::string>{"set", "104", ""}));
}

TEST(RobotScript, HashStartsACommentOnlyAsTheFirstWord) {
    EXPECT_TRUE(Words("# Cancel on the licence page").empty());
    EXPECT_TRUE(Words("   #indented comment").empty());
    EXPECT_EQ(Words("owner #32770"), (std::vector<std::string>{"owner", "#32770"}));
}

TEST(RobotScript, RefusesUnterminatedQuotesAndUnknownEscapes) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(SplitWords("text 1 \"OK", &words, &error));
    EXPECT_NE(error.find("unterminated"), std::string::npos);
    EXPECT_FALSE(SplitWords("text 1 \"O\\K\"", &words, &error));
    EXPECT_FALSE(SplitWords("text 1 \"OK\\", &words, &error));
}

TEST(RobotScript, ScriptKeepsLineNumbersAndDropsEmptyAndCommentLines) {
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(ParseScript("start\r\n\r\n# comment\nwait Main\nexit 0", &steps, &error));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].line, 1);
    EXPECT_EQ(steps[0].text, "start");  // the carriage return is not part of the step
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[2].words, (std::vector<std::string>{"exit", "0"}));
    EXPECT_FALSE(ParseScript("start\nwait \"Main\n", &steps, &error));
    EXPECT_EQ(error.rfind("line 2", 0), 0u) << error;
}

TEST(RobotScript, JsonStringEscapesWhatJsonNeeds) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("x\r\n"), "\"x\\u000d\\u000a\"");
    // ANSI bytes above 127 are written as their Latin-1 code points, never as raw bytes.
    EXPECT_EQ(JsonString(std::string("\xE9t\xE9")), "\"\\u00e9t\\u00e9\"");
}

TEST(RobotScript, NumbersInDecimalHexOrNegative) {
    long long v = 0;
    EXPECT_TRUE(ParseNumber("65535", &v));
    EXPECT_EQ(v, 65535);
    EXPECT_TRUE(ParseNumber("0x50200804", &v));
    EXPECT_EQ(v, 0x50200804);
    EXPECT_TRUE(ParseNumber("-1", &v));
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(ParseNumber("", &v));
    EXPECT_FALSE(ParseNumber("12ms", &v));
    EXPECT_FALSE(ParseNumber("OK", &v));
    EXPECT_FALSE(ParseNumber("-", &v));
}

}  // namespace
}  // namespace robot
