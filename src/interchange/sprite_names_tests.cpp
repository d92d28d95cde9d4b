#include <gtest/gtest.h>

#include <string>

#include "file/file_access.h"
#include "interchange/sprite_list.h"
#include "interchange/sprite_names.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"

namespace tessel {
namespace {

using testing::ScratchFile;

// The title as the ROM header holds it: 21 bytes, padded with spaces.
const std::string kTitle = "OAKEN SHORE          ";
const std::string kFileName = "OAKEN_SHORE-7a7bbbe0.json"; // FNV-1a of "OAKEN SHORE", by hand

std::string fileText(const std::string& path)
{
    const auto bytes = testing::readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

TEST(SpriteNames, FileWrittenByHandLoadsAndSavesBackTheSame)
{
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string text =
        R"({"format": "tessel-sprite-names", "version": 1, "game": "OAKEN SHORE",)"
        R"( "sprites": [{"sprite": 0, "star": true}, {"sprite": 18, "name": "  Hero\twalk  1 "},)"
        R"( {"sprite": 1143, "name": "Last", "star": false}],)"
        R"( "preview": {"sprites": "18-21,30", "fps": 12, "zoom": 3}})";
    writeText(dir.path() + "/" + kFileName, text);
    const LoadedNames loaded = loadGameNames(dir.path(), kTitle);
    ASSERT_TRUE(loaded.notice.empty()) << loaded.notice;
    EXPECT_TRUE(loaded.names.starred(0));
    EXPECT_EQ(loaded.names.name(0), "");
    EXPECT_EQ(loaded.names.name(18), "Hero walk 1"); // tidied: one space, none at the ends
    EXPECT_EQ(loaded.names.name(1143), "Last");
    EXPECT_FALSE(loaded.names.starred(1143));
    EXPECT_EQ(loaded.names.nameCount(), 2);
    EXPECT_EQ(loaded.names.starCount(), 1);
    EXPECT_EQ(loaded.names.preview, (PreviewSettings{"18-21,30", 12, 3}));

    ASSERT_TRUE(saveGameNames(dir.path(), kTitle, loaded.names).ok);
    EXPECT_EQ(fileText(dir.path() + "/" + kFileName),
              "{\n \"format\": \"tessel-sprite-names\",\n \"game\": \"OAKEN SHORE\",\n"
              " \"preview\": {\n  \"fps\": 12,\n  \"sprites\": \"18-21,30\",\n  \"zoom\": 3\n },\n"
              " \"sprites\": [\n  {\n   \"sprite\": 0,\n   \"star\": true\n  },\n"
              "  {\n   \"name\": \"Hero walk 1\",\n   \"sprite\": 18\n  },\n"
              "  {\n   \"name\": \"Last\",\n   \"sprite\": 1143\n  }\n ],\n \"version\": 1\n}\n");
    EXPECT_EQ(loadGameNames(dir.path(), kTitle).names, loaded.names);
}

TEST(SpriteNames, DamagedFileIsSetAsideNeverOverwrittenAndToldOnce)
{
    const std::string head = R"({"format": "tessel-sprite-names", "version": 1, )";
    const std::string damaged[] = {
        "{\"format\": \"tessel-sprite-names\", \"version\": 1, \"sprites\": [",  // cut short
        head + R"("sprites": [{"sprite": 1144, "name": "x"}]})",                  // past the catalogue
        head + R"("sprites": [{"sprite": -1}]})",
        head + R"("sprites": [{"sprite": "18", "name": "x"}]})",                  // wrong type
        head + R"("sprites": [{"sprite": 3, "name": 7}]})",
        head + R"("sprites": [{"sprite": 3, "star": "yes"}]})",
        head + R"("sprites": [{"sprite": 3, "star": true}, {"sprite": 3, "name": "b"}]})", // twice
        head + R"("sprites": [{"sprite": 3, "name": ")" + std::string(81, 'a') + "\"}]}",
        head + R"("preview": {"fps": 31}})",
        head + R"("preview": {"zoom": 0}})",
        R"({"format": "tessel-sprite-names", "version": 2})",
        R"({"version": 1})",
        "[1, 2]",
    };
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        ScratchFile dir(ScratchFile::Kind::Directory);
        const std::string path = dir.path() + "/" + kFileName;
        writeText(path, text);
        writeText(path + ".damaged", "older"); // an earlier one stays too
        const LoadedNames loaded = loadGameNames(dir.path(), kTitle);
        EXPECT_TRUE(loaded.names.empty());
        EXPECT_TRUE(loaded.writable);
        EXPECT_NE(loaded.notice.find(kFileName + ".1.damaged"), std::string::npos) << loaded.notice;
        EXPECT_EQ(fileText(path + ".1.damaged"), text);
        EXPECT_EQ(fileText(path + ".damaged"), "older");
        // Set aside: the next start finds no file and says nothing.
        EXPECT_TRUE(loadGameNames(dir.path(), kTitle).notice.empty());
    }
}

TEST(SpriteNames, FileThatCannotBeSetAsideIsLeftAndNotWrittenOver)
{
    ScratchFile dir(ScratchFile::Kind::Directory);
    const std::string path = dir.path() + "/" + kFileName;
    writeText(path, "not json");
    testing::FaultIo io;
    io.failOn(testing::IoOp::Rename, 1, EACCES);
    const LoadedNames loaded = loadGameNames(dir.path(), kTitle, io);
    EXPECT_FALSE(loaded.writable);
    EXPECT_FALSE(loaded.notice.empty());
    EXPECT_EQ(fileText(path), "not json");
}

TEST(SpriteNames, ImportMergesWithImportedNamesWinningAndStarsAdded)
{
    SpriteNames ours;
    ours.setName(5, "ours");
    ours.setName(6, "kept");
    ours.setStarred(7, true);
    ours.preview = {"1-3", 10, 4};
    ScratchFile file;
    writeText(file.path(), R"({"format": "tessel-sprite-names", "version": 1, "game": "OTHER",)"
                           R"( "sprites": [{"sprite": 5, "name": "theirs"}, {"sprite": 6, "name": "kept"},)"
                           R"( {"sprite": 7, "star": true}, {"sprite": 8, "star": true, "name": "new"}],)"
                           R"( "preview": {"sprites": "9", "fps": 1, "zoom": 1}})");
    const Outcome<SpriteNames> theirs = readNamesFile(file.path());
    ASSERT_TRUE(theirs.ok) << theirs.error;
    const MergeCount taken = mergeNames(ours, theirs.value);
    EXPECT_EQ(taken.names, 2); // 5 changed, 8 new; 6 was the same
    EXPECT_EQ(taken.stars, 1); // 8; 7 was starred already
    EXPECT_EQ(ours.name(5), "theirs");
    EXPECT_EQ(ours.name(6), "kept");
    EXPECT_EQ(ours.name(8), "new");
    EXPECT_TRUE(ours.starred(7) && ours.starred(8));
    EXPECT_EQ(ours.preview, (PreviewSettings{"1-3", 10, 4}));

    writeText(file.path(), R"({"format": "tessel-sprite-names", "version": 1, "sprites": [{"sprite": 2000}]})");
    const Outcome<SpriteNames> bad = readNamesFile(file.path());
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("sprite 2000"), std::string::npos) << bad.error;
}

TEST(SpriteNames, NamesAreTidiedAndLimited)
{
    SpriteNames names;
    EXPECT_FALSE(names.setName(1144, "x"));
    EXPECT_TRUE(names.setName(3, "a\nb"));
    EXPECT_EQ(names.name(3), "a b");
    EXPECT_TRUE(names.setName(3, "   "));
    EXPECT_EQ(names.nameCount(), 0);
    // 80 characters of two bytes each survive whole; the 81st is dropped.
    std::string long_;
    for (int i = 0; i < 81; ++i) long_ += "\xc3\xa9"; // é
    names.setName(4, long_);
    EXPECT_EQ(names.name(4), long_.substr(0, 160));
}

TEST(SpriteList, NumbersAndRanges)
{
    const struct {
        const char* text;
        std::vector<int> frames;
        ListFault fault;
        const char* item;
    } cases[] = {
        {"18-21,30", {18, 19, 20, 21, 30}, ListFault::None, ""},
        {" 7 , 3 - 1 ,7", {7, 3, 2, 1, 7}, ListFault::None, ""},
        {"1143", {1143}, ListFault::None, ""},
        {"  ", {}, ListFault::None, ""},
        {"0-1144", {}, ListFault::OutOfRange, "0-1144"},
        {"99999999999", {}, ListFault::OutOfRange, "99999999999"},
        {"1,,2", {}, ListFault::EmptyItem, ""},
        {"1,", {}, ListFault::EmptyItem, ""},
        {"5,a", {}, ListFault::NotANumber, "a"},
        {"-3", {}, ListFault::NotANumber, "-3"},
        {"1-2-3", {}, ListFault::NotANumber, "1-2-3"},
        {"0-1143,0-1143,0-1143,0-1143", {}, ListFault::TooManyFrames, "0-1143"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SpriteList list = parseSpriteList(c.text);
        EXPECT_EQ(list.frames, c.frames);
        EXPECT_EQ(list.fault, c.fault);
        EXPECT_EQ(list.item, c.item);
    }
}

} // namespace
} // namespace tessel
