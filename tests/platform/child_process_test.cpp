// Starting another program: its arguments arrive as they were given, its
// streams go where they were asked to, and it is waited for, read from and
// ended.
#include "platform/win/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "child_roles.h"
#include "platform/win/program_folder.h"
#include "platform/win/wide_text.h"

namespace tav::platform {
namespace {

using std::chrono::seconds;

std::wstring testProgram() {
    return (programFolder() / L"tav_platform_tests.exe").wstring();
}

std::vector<std::wstring> playing(const wchar_t* role, std::vector<std::wstring> arguments = {}) {
    std::vector<std::wstring> commandLine{testProgram(), role};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return commandLine;
}

const LaunchOptions piped{
    .input = ChildStream::pipe, .output = ChildStream::pipe, .error = ChildStream::pipe};

TEST(ChildProcess, ArgumentsArriveAsTheyWereGivenHoweverTheyAreSpelled) {
    const std::vector<std::wstring> arguments{
        L"plain", L"two words", L"", L"say \"hi\"", L"C:\\My Work\\", L"a\\\\\"b c", L"Grüße"};
    ChildProcess child(playing(test::printArguments, arguments), piped);
    for (const std::wstring& argument : arguments) {
        EXPECT_TRUE(child.waitForLine(utf8Text(argument), seconds(20))) << utf8Text(argument);
    }
    EXPECT_TRUE(child.waitForLine("end", seconds(20)));
    EXPECT_EQ(child.waitForExit(seconds(20)), 0u);
}

TEST(ChildProcess, ClosingTheInputEndsAProgramThatReadsIt) {
    ChildProcess child(playing(test::readInput), piped);
    EXPECT_FALSE(child.waitForExit(std::chrono::milliseconds(200)));
    child.closeInput();
    EXPECT_TRUE(child.waitForLine("input ended", seconds(20)));
    EXPECT_EQ(child.waitForExit(seconds(20)), 3u);
}

TEST(ChildProcess, AWaitForALineEndsWithTheOutput) {
    ChildProcess child(playing(test::printArguments, {L"one"}), piped);
    EXPECT_FALSE(child.waitForLine("never written"));  // unbounded: the output's end decides
    EXPECT_TRUE(child.hasEnded() || child.waitForExit(seconds(20)).has_value());
}

TEST(ChildProcess, TheErrorPipeHoldsWhatTheChildWroteThere) {
    ChildProcess child(playing(test::writeError, {L"something went wrong"}), piped);
    ASSERT_EQ(child.waitForExit(seconds(20)), 0u);
    EXPECT_EQ(child.errorOutputSoFar(), "something went wrong");
}

TEST(ChildProcess, AChildEndedByForceHasTheStatusItWasGiven) {
    LaunchOptions endedWith42 = piped;
    endedWith42.forcedExitStatus = 42;
    ChildProcess child(playing(test::waitLong), endedWith42);
    EXPECT_EQ(child.finish(std::chrono::milliseconds(100)), 42u);
    EXPECT_TRUE(child.hasEnded());
}

TEST(ChildProcess, AChildStillRunningWhenItsOwnerGoesIsEnded) {
    HANDLE duplicate = nullptr;
    {
        LaunchOptions options = piped;
        options.patienceWhenOwnerGoes = std::chrono::milliseconds(0);
        ChildProcess child(playing(test::waitLong), options);
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), child.process(), GetCurrentProcess(),
                                    &duplicate, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION,
                                    FALSE, 0));
    }
    const UniqueHandle process(duplicate);
    EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
}

// An inheritable pipe of this program's own, not meant for any child: once
// its write end is closed here, the pipe is at its end unless a child holds
// a copy of that end.
TEST(ChildProcess, AChildInheritsNoHandleButThoseOfItsStreams) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    ASSERT_TRUE(CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0));
    // Runs until its input is closed, holding whatever it inherited.
    ChildProcess child(playing(test::readInput), piped);
    writeEnd.reset();
    DWORD waiting = 0;
    const bool open = PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &waiting, nullptr) != FALSE;
    const DWORD why = GetLastError();
    EXPECT_FALSE(child.hasEnded()) << "the child was not running when the pipe was looked at";
    ASSERT_FALSE(open) << "the child holds the write end of a pipe that is not its own";
    EXPECT_EQ(why, static_cast<DWORD>(ERROR_BROKEN_PIPE));
    child.closeInput();
    EXPECT_EQ(child.waitForExit(seconds(20)), 3u);
}

TEST(ChildProcess, AChildWhoseTwoStreamsShareOneHandleStarts) {
    // Both streams are this program's standard error.
    ChildProcess child(playing(test::writeError, {L""}), {.input = ChildStream::none,
                                                          .output = ChildStream::parentError,
                                                          .error = ChildStream::inherited});
    EXPECT_EQ(child.waitForExit(seconds(20)), 0u);
}

TEST(ChildProcess, AProgramThatCannotBeStartedIsNamedInTheError) {
    try {
        ChildProcess child({L"Z:\\no\\such\\program.exe"});
        FAIL() << "started a program that does not exist";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("cannot start Z:\\no\\such\\program.exe"),
                  std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace tav::platform
