// The one name rule of both sides: what Windows would not create as named, or would create as
// one file with another of the install.
#include "payload/name_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

TEST(NameRule, RefusesWhatWindowsWouldNotCreateAsNamed) {
    for (const char* good : {"TIDEMARK.LIB", "readme", "A", "FILETIDE-HELP_1.HLP",
                             "nineteen_chars.txt_", "two words.txt", "CONSOLE.TXT", "NULL",
                             "COM10.LOG", "LPT.DAT", "AUXI.DAT", "A.CON", "..A", "CONIN$X.TXT"})
        EXPECT_EQ(FileNameFault(good), nullptr) << good;
    for (const char* bad :
         {"",        ".",           "..",         "...",         "twenty_characters.tx",
          "a\\b",    "a/b",         "C:x",        "a*b",         "what?",
          "a<b",     "a|b",         "quote\"",    "tab\tname",   "name.",
          "name ",   "caf\xC3\xA9", "CON",        "con",         "PRN.TXT",
          "AUX.DAT", "NUL.TXT",     "nul.tar.gz", "COM1.LOG",    "com9",
          "LPT1",    "LPT0.X",      "CONIN$",     "conout$.txt", "NUL .TXT"})
        EXPECT_NE(FileNameFault(bad), nullptr) << bad;
}

TEST(NameRule, AnInstallHoldsEachNameOnceAndNeverTheMainProgramsAsAFile) {
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    EXPECT_EQ(names.Add("README.TXT"), nullptr);
    EXPECT_EQ(names.Add("TMCORE.DLL"), nullptr);
    EXPECT_NE(names.Add("readme.txt"), nullptr);
    EXPECT_NE(names.Add("TIDEMARK.EXE"), nullptr);
    EXPECT_NE(names.Add("tidemark.~sp"), nullptr);
    EXPECT_NE(names.Add("TIDEMARK._lf"), nullptr);
    EXPECT_NE(names.Add("AUX.DAT"), nullptr) << "a name's own fault counts too";
    EXPECT_EQ(names.Add("README.TX"), nullptr);
}
