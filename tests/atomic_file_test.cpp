// A result file is written whole or not at all: readers see the earlier file
// or the complete new one, and a failed write leaves no partial file and no
// temporary behind.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testbed/result_file/atomic_file.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;
using result::FileWriteError;
using result::writeAtomically;
using testing::ElementsAre;
using testing::HasSubstr;

class AtomicFile : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tav-atomic-" +
                   std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path target() const { return folder_ / "result.json"; }

    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    static std::string contentOf(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void writeText(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    fs::path folder_;
};

TEST_F(AtomicFile, ReplacesAnEarlierFileWithTheWholeNewContent) {
    writeText(target(), "earlier");
    writeAtomically(target(), [](std::ostream& out) { out << "new\n"; });
    EXPECT_EQ(contentOf(target()), "new\n");
    EXPECT_THAT(filesInFolder(), ElementsAre("result.json"));
}

TEST_F(AtomicFile, AWriterThatFailsHalfWayLeavesTheEarlierFileAndNoTemporary) {
    writeText(target(), "earlier");
    EXPECT_THROW(writeAtomically(target(),
                                 [](std::ostream& out) {
                                     out << "{\"half\":";
                                     throw std::runtime_error("interrupted");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(contentOf(target()), "earlier");
    EXPECT_THAT(filesInFolder(), ElementsAre("result.json"));
}

TEST_F(AtomicFile, AStreamThatFailsIsAnErrorAndCreatesNothing) {
    EXPECT_THROW(writeAtomically(target(),
                                 [](std::ostream& out) {
                                     out << "{\"half\":";
                                     out.setstate(std::ios::badbit);
                                 }),
                 FileWriteError);
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(AtomicFile, AFolderThatDoesNotExistIsAnErrorNamingTheFile) {
    try {
        writeAtomically(folder_ / "missing" / "result.json", [](std::ostream& out) { out << 1; });
        FAIL() << "no error";
    } catch (const FileWriteError& error) {
        EXPECT_THAT(error.what(), HasSubstr("result.json: "));
    }
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(AtomicFile, AFolderInTheWayIsAnErrorAndStaysAsItWas) {
    fs::create_directories(target() / "inside");
    EXPECT_THROW(writeAtomically(target(), [](std::ostream& out) { out << 1; }), FileWriteError);
    EXPECT_TRUE(fs::is_directory(target() / "inside"));
    EXPECT_THAT(filesInFolder(), ElementsAre("result.json"));
}

TEST_F(AtomicFile, RemovingAnEarlierResultLeavesFoldersAndMissingFilesAlone) {
    writeText(target(), "earlier");
    result::removeIfPresent(target());
    EXPECT_FALSE(fs::exists(target()));
    EXPECT_NO_THROW(result::removeIfPresent(target()));
    fs::create_directories(folder_ / "folder");
    result::removeIfPresent(folder_ / "folder");
    EXPECT_TRUE(fs::is_directory(folder_ / "folder"));
}

}  // namespace
}  // namespace tav::test
