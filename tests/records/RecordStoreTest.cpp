#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "records/RecordBook.h"
#include "records/RecordStore.h"
#include "support/TestMedia.h"

namespace {

const std::string date = "2024-05-01T17:30:00Z";

// Runs `work` in a child process and returns its pid; the child ends without running this test's
// destructors.
pid_t inChild(const std::function<void()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    return pid;
}

}  // namespace

// The fault: a slower race or lap taken for a record, or one record lost when only the other improves.
TEST(RecordBook, KeepsTheBestRaceAndTheBestLapEachWithItsDate) {
    RecordBook book;
    const struct {
        int64_t race, lap;
        bool raceBeaten, lapBeaten;
    } races[] = {{1000, 300, true, true}, {1100, 290, false, true}, {990, 310, true, false}, {1200, 400, false, false}};
    for (size_t i = 0; i < std::size(races); ++i) {
        const RecordBook::Improvement got = book.offer(7, 3, races[i].race, races[i].lap, "2024-05-0" + std::to_string(i + 1) + "T00:00:00Z");
        EXPECT_EQ(got.race, races[i].raceBeaten) << i;
        EXPECT_EQ(got.lap, races[i].lapBeaten) << i;
    }
    book.offer(7, 1, 500, 450, date);
    book.offer(8, 3, 10, 5, date);
    std::string error;
    const std::optional<RecordBook> read = RecordBook::fromText(book.toText(), error);
    ASSERT_TRUE(read) << error;
    const std::vector<CircuitRecord> records = read->ofCircuit(7);
    ASSERT_EQ(records.size(), 2u) << "circuit 8 is not circuit 7's";
    EXPECT_EQ(records[0].laps, 1);
    EXPECT_EQ(records[1].bestRaceSteps, 990);
    EXPECT_EQ(records[1].bestRaceDate, "2024-05-03T00:00:00Z");
    EXPECT_EQ(records[1].bestLapSteps, 290);
    EXPECT_EQ(records[1].bestLapDate, "2024-05-02T00:00:00Z");
}

// The fault: a damaged record book read as records, or a book merged by hand not read at all.
TEST(RecordBook, ALineThatIsNoRecordMakesTheBookUnreadable) {
    const std::string head = "Vorbel Race records 1\n";
    for (const std::string& line : {std::string("7 3 290"), "7 10 290 " + date + " 990 " + date, "100000 3 290 " + date + " 990 " + date,
                                    "7 3 0 " + date + " 990 " + date, "7 3 290 2024-05-01 990 " + date,
                                    "7 3 290 " + date + " 990 " + date + " 1", "07 3 290 " + date + " 990 " + date}) {
        std::string error;
        EXPECT_FALSE(RecordBook::fromText(head + line + "\n", error)) << line;
        EXPECT_EQ(error, "line 2 is not a record");
    }
    std::string error;
    EXPECT_FALSE(RecordBook::fromText("Vorbel Race records 2\n", error));
    const std::optional<RecordBook> twice = RecordBook::fromText(
        head + "7 3 290 " + date + " 990 " + date + "\n# note\n\n7 3 300 " + date + " 900 " + date + "\n", error);
    ASSERT_TRUE(twice) << error;
    EXPECT_EQ(twice->ofCircuit(7)[0].bestLapSteps, 290);
    EXPECT_EQ(twice->ofCircuit(7)[0].bestRaceSteps, 900);
}

// The fault: an unreadable book written over (what it held lost for good), or a book set aside over
// another one set aside before.
TEST(RecordStore, AnUnreadableBookIsKeptAsideAndAFreshOneBegun) {
    TestMedia folder;
    const RecordStore store(folder.root());
    for (const char* damaged : {"garbage\n", "more garbage\n"}) {
        std::ofstream(store.bookPath()) << damaged;
        CapturedStream errors(std::cerr);
        EXPECT_TRUE(store.offer(3, 5, 1000, 200).race);
        EXPECT_EQ(errors.count("cannot be read"), 1);
    }
    EXPECT_EQ(readFile(store.bookPath() + ".unreadable-1"), "garbage\n");
    EXPECT_EQ(readFile(store.bookPath() + ".unreadable-2"), "more garbage\n");
    ASSERT_EQ(store.read().ofCircuit(3).size(), 1u);
}

// The fault: two games finishing at once each read the book, add their record and write it back, and
// the one that writes last drops the other's record.
TEST(RecordStore, GamesFinishingAtOnceAllKeepTheirRecords) {
    TestMedia folder;
    const RecordStore store(folder.root());
    const int games = 8;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> children;
    for (int circuit = 0; circuit < games; ++circuit) {
        children.push_back(inChild([&, circuit] {
            char go;
            if (read(start[0], &go, 1) == 1) store.offer(circuit, 5, 1000 + circuit, 200);
        }));
    }
    close(start[0]);
    EXPECT_EQ(write(start[1], std::string(games, 'g').data(), games), games);  // all at once
    close(start[1]);
    for (pid_t child : children) waitpid(child, nullptr, 0);
    const RecordBook book = store.read();
    for (int circuit = 0; circuit < games; ++circuit) EXPECT_EQ(book.ofCircuit(circuit).size(), 1u) << circuit;
}

// The fault: the book written in place, so that a game killed while writing it leaves a part of it,
// which the next game cannot read: every record lost with it. The kernel kills the writer here where
// the file passes a size limit: each time at another point of the write.
TEST(RecordStore, AGameKilledWhileWritingLosesNoRecord) {
    TestMedia folder;
    const RecordStore store(folder.root());
    RecordBook big;
    for (int circuit = 100; circuit < 5000; ++circuit) big.offer(circuit, 5, 5000, 900, date);
    std::ofstream(store.bookPath()) << big.toText();
    const size_t size = big.toText().size();
    for (size_t limit : {size / 4, size / 2, size - 10}) {
        const pid_t child = inChild([&] {
            const rlimit noCore = {0, 0}, fileSize = {limit, limit};
            setrlimit(RLIMIT_CORE, &noCore);
            setrlimit(RLIMIT_FSIZE, &fileSize);
            store.offer(1, 5, 1000, 100);
        });
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "killed while writing, at " << limit;
        std::string error;
        const std::optional<RecordBook> book = RecordBook::fromText(readFile(store.bookPath()), error);
        ASSERT_TRUE(book) << limit << ": " << error;
        EXPECT_EQ(book->ofCircuit(4999).size(), 1u) << limit;
    }
    EXPECT_TRUE(store.offer(1, 5, 1000, 100).race) << "the next game saves its records";
    EXPECT_EQ(store.read().ofCircuit(100).size(), 1u);
}
