// The real program, used as a person would: start it, wait for its window (xdotool), quit it
// with the Escape key (a real key event through the X test extension) or with the close button
// (the window manager's close request), and check that it ends at once with status 0.
#include "tests/frame/x11_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace
{
using Clock = std::chrono::steady_clock;

class Program : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        output = testing::TempDir() + "zindrel_program_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char *argv[] = {const_cast<char *>(ZINDREL_PROGRAM), nullptr};
        ASSERT_EQ(posix_spawn(&pid, ZINDREL_PROGRAM, &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    void TearDown() override
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The X window id of the program's window, once it is shown. xdotool gives up when a
    // window it looks at is closed under it (other tests open and close windows all the time),
    // so the search is simply asked again.
    std::string WaitForWindow()
    {
        const std::string command = "xdotool search --all --onlyvisible --pid " +
                                    std::to_string(pid) + " --name '^Zindrel$' 2>/dev/null";
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < deadline)
        {
            char line[64] = {};
            if (FILE *search = popen(command.c_str(), "r"))
            {
                const bool found = fgets(line, sizeof line, search) != nullptr;
                pclose(search);
                if (found)
                {
                    return std::string(line, strcspn(line, "\n"));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::string();
    }

    // The exit status within the time allowed, or -1 when the program is still running.
    int WaitForExit(std::chrono::milliseconds allowed)
    {
        const Clock::time_point deadline = Clock::now() + allowed;
        while (Clock::now() < deadline)
        {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
            {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }

    std::string Output()
    {
        std::string text;
        if (FILE *file = fopen(output.c_str(), "r"))
        {
            char buffer[512];
            size_t read = 0;
            while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
            {
                text.append(buffer, read);
            }
            fclose(file);
        }
        return text;
    }

    pid_t pid = 0;
    std::string output;
};

TEST_F(Program, EscapeEndsItWithStatusZero)
{
    const std::string window = WaitForWindow();
    ASSERT_FALSE(window.empty()) << "no window appeared";
    // Still running: nothing but the key ends it.
    EXPECT_EQ(WaitForExit(std::chrono::milliseconds(300)), -1);

    ASSERT_TRUE(x11::PressKey(std::stoull(window), "Escape"));
    const Clock::time_point pressed = Clock::now();
    EXPECT_EQ(WaitForExit(std::chrono::seconds(2)), 0);
    EXPECT_LT(Clock::now() - pressed, std::chrono::seconds(2));
    EXPECT_NE(Output().find("Making window active."), std::string::npos);
}

TEST_F(Program, CloseButtonEndsItWithStatusZero)
{
    const std::string window = WaitForWindow();
    ASSERT_FALSE(window.empty()) << "no window appeared";
    EXPECT_EQ(WaitForExit(std::chrono::milliseconds(300)), -1);

    ASSERT_TRUE(x11::SendCloseRequest(std::stoull(window)));
    const Clock::time_point closed = Clock::now();
    EXPECT_EQ(WaitForExit(std::chrono::seconds(2)), 0);
    EXPECT_LT(Clock::now() - closed, std::chrono::seconds(2));
}
} // namespace
