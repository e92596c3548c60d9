#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "input/PadMappings.h"
#include "support/TestMedia.h"

namespace {

const std::string guid = "030000005e0400008e02000010010000";

}  // namespace

// Mappings as SDL's collection writes them go on to GLFW; a line GLFW would read past its end, or
// misread, or another system's, does not.
TEST(PadMappings, OnlyWholeMappingsForThisSystemGoOn) {
    const struct {
        std::string line;
        int kept, leftOut;
    } cases[] = {
        {guid + ",X360 Controller,a:b0,b:b1,dpup:h0.1,leftx:a0,lefty:a1~,lefttrigger:+a2,platform:Linux,", 1, 0},
        {guid + ",Pad,a:b0,hint:!SDL_GAMECONTROLLER_USE_BUTTON_LABELS:=1,misc1:b15,,\r", 1, 0},
        {guid + ",Pad,a:b0,platform:Windows,", 0, 0}, {"# comment", 0, 0}, {"  ", 0, 0},
        {guid + ",Pad,a:b0,dpup:h0", 0, 1}, {guid + ",Pad,dpup:h", 0, 1}, {guid + ",Pad,dpup:h0.", 0, 1},
        {guid + ",Pad,lefty:a", 0, 1}, {guid + ",Pad,a:b0x", 0, 1}, {guid + ",Pad,a:c0", 0, 1},
        {guid + ",Pad,a:b1234", 0, 1}, {guid + ",Pad,+leftx:a0", 0, 1}, {guid + ",Pad,a", 0, 1},
        {guid + ",Pad", 0, 1}, {guid.substr(1) + ",Pad,a:b0", 0, 1}, {"g" + guid.substr(1) + ",Pad,a:b0", 0, 1},
        {guid + "," + std::string(128, 'n') + ",a:b0", 0, 1}, {guid + ",Pad,a:b0," + std::string(1000, ','), 0, 1},
        {guid + std::string(",Pa\0d,a:b0", 10), 0, 1}, {guid + ",Pad,a:b0,platform:Linuxish", 0, 0},
    };
    for (const auto& entry : cases) {
        PadMappings mappings;
        EXPECT_EQ(mappings.add(entry.line + "\n" + entry.line), 2 * entry.leftOut) << entry.line;
        EXPECT_EQ(mappings.count(), 2 * entry.kept) << entry.line;
    }
}

// The file in the folder, then the variable; too many lines, a file too long or a pipe in its place
// (which would never end) are left out with a line on the console, never waited on.
TEST(PadMappings, PlayersFileAndVariable) {
    TestMedia folder;
    const std::string path = folder.root() + "/media/" + PadMappings::fileName;
    std::string many = "garbage\n";
    for (int i = 1; i < PadMappings::maxMappings; ++i) many += guid + ",Pad " + std::to_string(i) + ",a:b0\n";
    folder.write(PadMappings::fileName, many + "garbage\n");
    const std::string variable = guid + ",Variable,a:b1";
    setenv(PadMappings::variableName, (variable + "\n" + variable).c_str(), 1);
    CapturedStream console(std::cerr);
    PadMappings mappings;
    mappings.addPlayers(folder.root() + "/media");
    unsetenv(PadMappings::variableName);
    EXPECT_EQ(mappings.count(), PadMappings::maxMappings);
    EXPECT_EQ(mappings.text().substr(mappings.text().size() - variable.size() - 1), variable + "\n");
    EXPECT_EQ(console.count(path + ": 2 lines left out"), 1) << console.text();
    EXPECT_EQ(console.count(std::string(PadMappings::variableName) + ": 1 line left out"), 1) << console.text();

    folder.write(PadMappings::fileName, std::string(PadMappings::maxBytes + 1, '#'));
    PadMappings tooLong;
    tooLong.addPlayers(folder.root() + "/media");
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    PadMappings pipe;
    pipe.addPlayers(folder.root() + "/media");
    EXPECT_EQ(tooLong.count() + pipe.count(), 0);
    EXPECT_EQ(console.count(path + ": not read"), 2) << console.text();
}
