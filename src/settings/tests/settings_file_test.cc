// The settings file on disk: damaged files, files that cannot be written, a second instance,
// and writers killed at random moments.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "settings/locked_file.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::readBytes;

class SettingsFileTest : public ::testing::Test {
  protected:
    std::filesystem::path nativeFile() const { return dir.path() / "澜川·页链站坊.ini"; }
    std::string settingsPath() const { return fromNativePath(nativeFile()); }
    std::string fileBytes() const { return readBytes(nativeFile()); }

    testing::TempDir dir;
    testing::ScriptedDesktop desktop;
};

// Writing a key and reading it back works on any content, and the file equals the content.
void expectWritable(SettingsStore& store) {
    store.selectSection("主界面"_gbk);
    EXPECT_TRUE(store.writeText("编辑框年1"_gbk, "2012"));
    EXPECT_EQ(store.readText("编辑框年1"_gbk, ""), "2012");
    EXPECT_EQ(readBytes(toNativePath(store.path())), store.content());
}

struct DamagedCase {
    const char* name;
    std::string bytes;
};

class DamagedFileTest : public SettingsFileTest,
                        public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedFileTest, LoadsAndGivesDefaultsForWhatItCannotRead) {
    const std::string& bytes = GetParam().bytes;
    dir.write("澜川·页链站坊.ini", bytes);
    SettingsStore store(desktop);
    ASSERT_TRUE(store.open(settingsPath()));
    EXPECT_EQ(store.content(), bytes);
    store.selectSection("主界面"_gbk);
    EXPECT_EQ(store.readText("选择框随机时间"_gbk, "缺省"_gbk), "缺省"_gbk);
    EXPECT_TRUE(store.readBool("选择框随机时间"_gbk, true));
    EXPECT_DOUBLE_EQ(store.readNumber("组合框标题来源"_gbk, 5), 5);
    expectWritable(store);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(
        DamagedCase{"Garbage", std::string("\x81\xff\x00\x5b\x5d\r\r\n=\n\x80\xfe\x30", 13)},
        DamagedCase{"TruncatedHeader", "[主"_gbk.substr(0, 2)},
        DamagedCase{"TruncatedKeyLine", "[主界面]\r\n编辑框年1=20\r\n选择"_gbk},
        DamagedCase{"NulBytes", "[主界面]\r\n\0选择框随机时间=真\0"_gbk},
        DamagedCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF[主界面]\r\n选择框随机时间=真"},
        DamagedCase{"UnixLineBreaks", "[主界面]\n选择框随机时间=真\n"_gbk},
        DamagedCase{"OnlyBrackets", "[[[]]]\r\n[\r\n]\r\n="},
        DamagedCase{"TrailingLineBreaks", "[主界面]\r\n\r\n\r\n"_gbk}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(SettingsFileTest, RandomContentNeverBreaksReadsOrWrites) {
    const std::vector<std::string> pieces = {
        "\r\n",          "[",  "]",       "=",    "主界面"_gbk, "\r",          "\n",
        "编辑框年1"_gbk, "\0", "┊*┊"_gbk, "\xA9", "x",          "[主界面]"_gbk};
    std::mt19937 random(7);
    for (int round = 0; round < 100; ++round) {
        std::string bytes;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) bytes += pieces[random() % pieces.size()];
        dir.write("澜川·页链站坊.ini", bytes);
        SettingsStore store(desktop);
        ASSERT_TRUE(store.open(settingsPath()));
        SCOPED_TRACE(::testing::PrintToString(bytes));
        expectWritable(store);
    }
}

TEST_F(SettingsFileTest, HugeFileIsLeftAloneAndNothingIsSaved) {
    { std::ofstream create(nativeFile()); }
    std::filesystem::resize_file(nativeFile(), kMaxSettingsFileSize + 1);  // sparse
    SettingsStore store(desktop);
    EXPECT_FALSE(store.open(settingsPath()));
    EXPECT_EQ(store.persistence(), SettingsPersistence::Unreadable);
    store.selectSection("主界面"_gbk);
    EXPECT_EQ(store.readText("编辑框年1"_gbk, "缺省"_gbk), "缺省"_gbk);
    store.writeText("编辑框年1"_gbk, "2012");
    EXPECT_EQ(store.readText("编辑框年1"_gbk, ""), "2012");
    EXPECT_EQ(std::filesystem::file_size(nativeFile()), kMaxSettingsFileSize + 1);
}

TEST_F(SettingsFileTest, FolderThatCannotBeWrittenKeepsSettingsInMemory) {
    const std::string path = fromNativePath(dir.path() / "缺少的目录" / "澜川·页链站坊.ini");
    SettingsStore store(desktop);
    EXPECT_FALSE(store.open(path));
    EXPECT_EQ(store.persistence(), SettingsPersistence::NotWritable);
    store.selectSection("主界面"_gbk);
    EXPECT_TRUE(store.writeText("编辑框年1"_gbk, "2012"));
    EXPECT_EQ(store.readText("编辑框年1"_gbk, ""), "2012");
    EXPECT_FALSE(store.writeSideFile("编辑框页头"_gbk, "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "缺少的目录"));
}

TEST_F(SettingsFileTest, SecondStoreOnTheSameFileRunsWithoutSaving) {
    SettingsStore first(desktop);
    ASSERT_TRUE(first.open(settingsPath()));
    first.selectSection("主界面"_gbk);
    first.writeText("编辑框年1"_gbk, "2012");

    SettingsStore second(desktop);
    EXPECT_FALSE(second.open(settingsPath()));
    EXPECT_EQ(second.persistence(), SettingsPersistence::InUse);
    second.selectSection("主界面"_gbk);
    EXPECT_EQ(second.readText("编辑框年1"_gbk, ""), "2012");
    EXPECT_TRUE(second.writeText("编辑框年1"_gbk, "1999"));
    EXPECT_FALSE(second.writeSideFile("编辑框页头"_gbk, "x"));
    EXPECT_EQ(fileBytes(), "[主界面]\r\n编辑框年1=2012"_gbk);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "inibin"));

    // The first keeps its lock across its own writes; once it lets go the file is free.
    first.writeText("编辑框年1"_gbk, "2013");
    SettingsStore third(desktop);
    EXPECT_FALSE(third.open(settingsPath()));
    first.close();
    EXPECT_TRUE(third.open(settingsPath()));
    EXPECT_EQ(third.content(), "[主界面]\r\n编辑框年1=2013"_gbk);
}

TEST_F(SettingsFileTest, SecondProcessOnTheSameFileNeverDamagesIt) {
    int ready[2];
    int proceed[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(proceed), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The first instance: owns the file, writes, and writes again after the second tried.
        testing::ScriptedDesktop childDesktop;
        SettingsStore owner(childDesktop);
        bool ok = owner.open(settingsPath());
        owner.selectSection("主界面"_gbk);
        ok = owner.writeText("编辑框年1"_gbk, "2012") && ok;
        char signal = 1;
        ok = ::write(ready[1], &signal, 1) == 1 && ok;
        ok = ::read(proceed[0], &signal, 1) == 1 && ok;
        ok = owner.writeText("编辑框年2"_gbk, "2013") && ok;
        ::_exit(ok ? 0 : 1);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    {
        SettingsStore second(desktop);
        EXPECT_FALSE(second.open(settingsPath()));
        EXPECT_EQ(second.persistence(), SettingsPersistence::InUse);
        second.selectSection("主界面"_gbk);
        second.writeText("编辑框年1"_gbk, "1999");
        second.writeText("编辑框年3"_gbk, "1999");
        EXPECT_EQ(fileBytes(), "[主界面]\r\n编辑框年1=2012"_gbk);
    }
    ASSERT_EQ(::write(proceed[1], &signal, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(fileBytes(), "[主界面]\r\n编辑框年2=2013\r\n编辑框年1=2012"_gbk);
    for (int fd : {ready[0], ready[1], proceed[0], proceed[1]}) ::close(fd);
}

// The writes of the killed writer, numbered from 1: values of changing length in two
// sections, so that a file cut anywhere matches no state.
void writeStep(SettingsStore& store, int step) {
    store.selectSection(step % 3 == 0 ? "随机词组"_gbk : "主界面"_gbk);
    const std::string key = "键"_gbk + std::to_string(step % 5);
    store.writeText(key, std::string(static_cast<std::size_t>(step * 37 % 300),
                                     static_cast<char>('a' + step % 26)));
}

// The side file of step n: its number, then a run of bytes whose length depends on it.
std::string sideBytes(int step) {
    return std::to_string(step) + ":" +
           std::string(static_cast<std::size_t>(step * 53 % 4000),
                       static_cast<char>('A' + step % 26));
}

[[noreturn]] void writeUntilKilled(const std::string& path) {
    testing::ScriptedDesktop childDesktop;
    SettingsStore store(childDesktop);
    store.open(path);
    for (int step = 1; step < 1000000; ++step) {
        writeStep(store, step);
        store.writeSideFile("边"_gbk, sideBytes(step));
    }
    ::_exit(0);
}

// True when the bytes are the content after some prefix of the writer's steps.
bool isWrittenState(const std::string& bytes) {
    testing::ScriptedDesktop replayDesktop;
    SettingsStore replay(replayDesktop);  // never opened: content in memory only
    for (int step = 1; step < 1000000; ++step) {
        if (replay.content() == bytes) return true;
        writeStep(replay, step);
    }
    return false;
}

TEST_F(SettingsFileTest, WriterKilledAtAnyMomentLeavesAWholeFile) {
    std::mt19937 random(std::random_device{}());
    const auto sideFile = dir.path() / "inibin" / "主界面-边.ibn";
    for (int round = 0; round < 40; ++round) {
        std::filesystem::remove(nativeFile());
        std::filesystem::remove_all(dir.path() / "inibin");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) writeUntilKilled(settingsPath());
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string bytes = fileBytes();
        EXPECT_TRUE(isWrittenState(bytes)) << "round " << round << ": " << bytes.size();
        const std::string side = readBytes(sideFile);
        if (!side.empty()) {
            const int step = std::stoi(side.substr(0, side.find(':')));
            EXPECT_EQ(side, sideBytes(step)) << "round " << round;
        }
        // The killed writer's lock is gone with it.
        testing::ScriptedDesktop nextDesktop;
        SettingsStore next(nextDesktop);
        EXPECT_TRUE(next.open(settingsPath()));
        EXPECT_EQ(next.content(), bytes);
    }
}

TEST_F(SettingsFileTest, ALinkPlantedAtTheTemporaryNameReceivesNothing) {
    const std::string victim = dir.write("victim.txt", "mine");
    std::filesystem::path temporary = nativeFile();
    temporary += ".tmp";
    std::filesystem::create_symlink(victim, temporary);
    SettingsStore store(desktop);
    ASSERT_TRUE(store.open(settingsPath()));
    expectWritable(store);
    EXPECT_EQ(readBytes(victim), "mine");
}

TEST_F(SettingsFileTest, FifosWhereSettingsAreExpectedNeverBlock) {
    ASSERT_EQ(::mkfifo(nativeFile().c_str(), 0600), 0);
    SettingsStore store(desktop);
    EXPECT_FALSE(store.open(settingsPath()));
    EXPECT_EQ(store.persistence(), SettingsPersistence::NotWritable);

    // A side file that is a FIFO reads as missing and is replaced by the next save.
    std::filesystem::remove(nativeFile());
    std::filesystem::create_directory(dir.path() / "inibin");
    ASSERT_EQ(::mkfifo((dir.path() / "inibin" / "s-k.ibn").c_str(), 0600), 0);
    SettingsStore sides(desktop);
    ASSERT_TRUE(sides.open(settingsPath()));
    sides.selectSection("s");
    EXPECT_EQ(sides.readSideFile("k", "default"), "default");
    EXPECT_TRUE(sides.writeSideFile("k", "bytes"));
    EXPECT_EQ(readBytes(dir.path() / "inibin" / "s-k.ibn"), "bytes");
}

TEST_F(SettingsFileTest, LinkedSettingsFileIsWrittenWhereItLives) {
    std::filesystem::create_directory(dir.path() / "dotfiles");
    const auto real = dir.path() / "dotfiles" / "settings.ini";
    dir.write("dotfiles/settings.ini", "[主界面]"_gbk);
    std::filesystem::create_symlink(real, nativeFile());
    SettingsStore store(desktop);
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    store.writeText("编辑框年1"_gbk, "2012");
    EXPECT_TRUE(std::filesystem::is_symlink(nativeFile()));
    EXPECT_EQ(readBytes(real), "[主界面]\r\n编辑框年1=2012"_gbk);
}

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritableElseInTheUsersConfiguration) {
    testing::TempDir dir;
    const std::string folder = fromNativePath(dir.path());
    EXPECT_EQ(chooseSettingsFolder(folder, "/xdg", "/home/u"), folder);
    EXPECT_EQ(settingsFilePath(folder), folder + kPathSeparator + "澜川·页链站坊.ini"_gbk);
    const std::string missing = fromNativePath(dir.path() / "没有");
    EXPECT_EQ(chooseSettingsFolder(missing, "/xdg", "/home/u"), "/xdg/yelian");
    EXPECT_EQ(chooseSettingsFolder(missing, "", "/home/u"), "/home/u/.config/yelian");
    EXPECT_EQ(chooseSettingsFolder(missing, "relative", "/home/u"), "/home/u/.config/yelian");
    EXPECT_EQ(chooseSettingsFolder(missing, "", ""), missing);
}

}  // namespace
}  // namespace yelian
