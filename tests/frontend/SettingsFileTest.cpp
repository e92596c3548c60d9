#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "frontend/SettingsStore.h"
#include "frontend/SettingsText.h"
#include "support/TestMedia.h"

namespace fs = std::filesystem;

namespace {

PlayerSettings chosen() {
    PlayerSettings settings;
    settings.circuit = 99999;
    settings.race.laps = 1;
    settings.race.computerDrivers = 0;
    settings.race.pace = Pace::fast;
    settings.fullScreen = false;
    settings.sound.volume = 30;
    settings.sound.muted = true;
    return settings;
}

TEST(SettingsText, WhatIsWrittenReadsBackAndOddButHarmlessTextReads) {
    std::string problem;
    EXPECT_EQ(SettingsText::read(SettingsText::write(chosen()), problem), chosen());
    // Comments, blank lines, spaces, CR LF line ends, names of a newer game; what is missing is default.
    PlayerSettings expected;
    expected.race.laps = 3;
    EXPECT_EQ(SettingsText::read("# mine\r\n\n  laps=3 \r\nhorns = loud\n", problem), expected);
}

TEST(SettingsText, TextThatIsNoSettingsFileIsRefused) {
    const std::string refused[] = {
        "laps = 0", "laps = 10", "computer-drivers = 8", "volume = 101", "circuit = 100000", "pace = brisk",
        "display = tiny", "sound = loud", "laps = -1", "laps = +5", "laps = 5 5", "laps = 0x5", "laps =",
        "circuit = 99999999999999999999", "laps", "= 5", std::string("laps = 5\0", 9),
        "circuit = 1\n" + std::string(SettingsText::largestText, '#')};
    for (const std::string& text : refused) {
        std::string problem;
        EXPECT_FALSE(SettingsText::read(text, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
}

struct SettingsStoreTest : ::testing::Test {
    SettingsStore store() const { return SettingsStore(media.root() + "/config"); }
    std::string file() const { return media.root() + "/config/settings"; }
    void writeFile(const std::string& text) const {
        fs::create_directories(media.root() + "/config");
        std::ofstream(file()) << text;
    }
    // Files of the folder whose names start with `start`.
    int count(const std::string& start) const {
        int found = 0;
        for (const auto& entry : fs::directory_iterator(media.root() + "/config")) {
            found += entry.path().filename().string().rfind(start, 0) == 0;
        }
        return found;
    }
    TestMedia media;
};

TEST_F(SettingsStoreTest, SavedSettingsComeBackAtTheNextStartWithNothingLeftOver) {
    EXPECT_EQ(store().load(), PlayerSettings());
    EXPECT_FALSE(fs::exists(file()));
    SettingsStore first = store();
    first.load();
    EXPECT_TRUE(first.save(chosen()));
    EXPECT_EQ(store().load(), chosen());
    EXPECT_EQ(count("settings"), 1);  // no temporary file beside it
}

TEST_F(SettingsStoreTest, AnUnreadableFileIsKeptAsideNeverOverwritten) {
    for (int round = 1; round <= 2; ++round) {
        writeFile("laps = 77\n");
        CapturedStream errors(std::cerr);
        SettingsStore second = store();
        EXPECT_EQ(second.load(), PlayerSettings());
        EXPECT_EQ(errors.count("settings:"), 1);
        EXPECT_TRUE(second.save(chosen()));
        EXPECT_EQ(count("settings.unreadable-"), round);  // the first one set aside stays
    }
    for (const auto& entry : fs::directory_iterator(media.root() + "/config")) {
        if (entry.path().filename().string().rfind("settings.unreadable-", 0) == 0) {
            EXPECT_EQ(readFile(entry.path().string()), "laps = 77\n");
        }
    }
    EXPECT_EQ(store().load(), chosen());
}

TEST_F(SettingsStoreTest, PipesFoldersAndUnwritableFoldersNeitherHangNorStopTheGame) {
    fs::create_directories(media.root() + "/config");
    ASSERT_EQ(mkfifo(file().c_str(), 0600), 0);
    CapturedStream errors(std::cerr);
    EXPECT_EQ(store().load(), PlayerSettings());
    fs::create_directories(file());
    EXPECT_EQ(store().load(), PlayerSettings());
    EXPECT_EQ(count("settings.unreadable-"), 2);
    // A file where the folder should be: nothing can be kept, and one line says so.
    std::ofstream(media.root() + "/blocked") << "x";
    SettingsStore blocked(media.root() + "/blocked/vorbel-race");
    EXPECT_FALSE(blocked.save(chosen()));
    EXPECT_EQ(errors.count("settings: not saved"), 1);
}

}  // namespace
