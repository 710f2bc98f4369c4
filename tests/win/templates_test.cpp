// The program's resources as the pages and the backdrop find them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Reads a text or ordinal field of a classic dialog template and moves past it.
std::string Field(const WORD*& at) {
    if (*at == 0xFFFF) {
        static const char* kClasses[] = {"BUTTON", "EDIT", "STATIC"};
        WORD ordinal = at[1];
        at += 2;
        return ordinal >= 0x80 && ordinal <= 0x82 ? kClasses[ordinal - 0x80]
                                                  : "#" + std::to_string(ordinal);
    }
    std::string text;
    while (*at != 0) text += static_cast<char>(*at++);
    ++at;
    return text;
}

// The template in one line per item: "style width,height caption | font" and then
// "id class style x,y,w,h text" for each control.
std::vector<std::string> Describe(const char* name) {
    HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(5));
    if (found == nullptr) return {};
    auto* head = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found)));
    const WORD* at = reinterpret_cast<const WORD*>(head + 1);
    std::string menu = Field(at), windowClass = Field(at), caption = Field(at);
    WORD points = *at++;
    std::string face = Field(at);
    char line[512];
    std::snprintf(line, sizeof line, "%08lX %d,%d %s | %s%s%d %s", head->style, head->cx, head->cy,
                  caption.c_str(), menu.c_str(), windowClass.c_str(), points, face.c_str());
    std::vector<std::string> lines = {line};
    for (int i = 0; i < head->cdit; ++i) {
        at = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(at) + 3) & ~uintptr_t{3});
        auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
        at = reinterpret_cast<const WORD*>(item + 1);
        std::string itemClass = Field(at), text = Field(at);
        at += 1 + (*at + 1) / 2;  // creation data
        std::snprintf(line, sizeof line, "%d %s %08lX %d,%d,%d,%d %s", static_cast<short>(item->id),
                      itemClass.c_str(), item->style, item->x, item->y, item->cx, item->cy,
                      text.c_str());
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(Resources, DialogTemplatesControlByControl) {
    EXPECT_EQ(
        Describe("MAIN"),
        (std::vector<std::string>{
            "90C800C0 223,100 Installation | 8 MS Sans Serif", "1 BUTTON 50010001 57,79,53,14 OK",
            "2 BUTTON 50010000 113,79,53,14 Cancel", "104 EDIT 50810008 19,53,184,13 ",
            "-1 STATIC 50020000 16,11,191,33 Please enter the drive and directory folder "
            "where you would like FileTidemark to be located. To accept the default drive "
            "and directory simply press ENTER."}));
    EXPECT_EQ(Describe("LICENSE"),
              (std::vector<std::string>{
                  "90C800C0 267,201 License Agreement | 8 MS Sans Serif",
                  "1 BUTTON 50010001 158,184,50,14 I Agree", "2 BUTTON 50010000 211,184,50,14 Exit",
                  "101 EDIT 50010804 10,162,246,18 You must agree to the terms of the above "
                  "License Agreement to install and use FileTidemark. If you do not agree, click "
                  "on the Exit button.",
                  "102 EDIT 50010804 8,6,222,18 IMPORTANT: Please read the following License "
                  "Agreement"}));
    EXPECT_EQ(Describe("IPROGRESS"),
              (std::vector<std::string>{"90C800C0 194,78 Progress | 8 MS Sans Serif",
                                        "2 BUTTON 50000000 68,55,57,14 Cancel",
                                        "101 STATIC 50000007 15,25,164,12 frame",
                                        "-1 STATIC 50020000 16,9,160,8 Installing the "
                                        "FileTidemark files."}));
    EXPECT_EQ(Describe("PROGRESS"),
              (std::vector<std::string>{"90C801C0 194,75 Progress | 8 MS Sans Serif",
                                        "2 BUTTON 50000000 68,54,57,14 Cancel",
                                        "101 STATIC 50000007 15,25,164,12 frame",
                                        "-1 STATIC 50020000 16,9,160,8 Uncompressing the "
                                        "FileTidemark files."}));
    EXPECT_EQ(
        Describe("GROUP"),
        (std::vector<std::string>{
            "90C800C0 184,86 Program Group | 8 MS Sans Serif", "1 BUTTON 50010001 50,67,39,14 OK",
            "2 BUTTON 50010000 92,67,41,14 Cancel", "102 EDIT 50810000 11,44,162,12 ",
            "101 STATIC 50020000 12,9,160,25 Please enter the name of the program group "
            "that you would like FileTidemark to use. To accept the default, simply press "
            "ENTER."}));
}

TEST(Resources, LogoAndIcon) {
    HRSRC logo = FindResourceA(nullptr, "logo", MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(logo, nullptr);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, logo)));
    EXPECT_EQ(header->biWidth, 204);
    EXPECT_EQ(header->biHeight, 66);
    EXPECT_EQ(header->biBitCount, 4);
    EXPECT_NE(FindResourceA(nullptr, "MAINICON", MAKEINTRESOURCEA(14)), nullptr);  // icon group
}
