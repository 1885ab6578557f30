// Started from anywhere and through links, a program finds the archive beside itself.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

struct ShellRun
{
    int status;
    std::string output;
};

ShellRun RunShell(const std::string &command)
{
    FILE *pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> chunk;
    size_t count;
    while ((count = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
    {
        output.append(chunk.data(), count);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class ResourceLocation : public testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zindrel-elsewhere-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        elsewhere = pattern;
        // The program's directory has the archive; this one has none, and a link to it.
        ASSERT_EQ(symlink(RESOURCE_PROBE_PATH, (elsewhere + "/probe-link").c_str()), 0);
    }
    void TearDown() override
    {
        unlink((elsewhere + "/probe-link").c_str());
        rmdir(elsewhere.c_str());
    }
    std::string elsewhere;
};

const char *expected = "found 18 bytes: inside the folder\n";

TEST_F(ResourceLocation, FoundFromAnotherWorkingDirectory)
{
    ShellRun run = RunShell("cd " + elsewhere + " && " RESOURCE_PROBE_PATH);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expected);
}

TEST_F(ResourceLocation, FoundThroughASymbolicLink)
{
    ShellRun run = RunShell("cd " + elsewhere + " && ./probe-link");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expected);
}

TEST_F(ResourceLocation, FoundWhenStartedThroughPath)
{
    // argv[0] is then a bare name without any directory part.
    ShellRun run = RunShell("cd / && PATH=" + elsewhere + ":/usr/bin:/bin probe-link");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expected);
}

} // namespace
