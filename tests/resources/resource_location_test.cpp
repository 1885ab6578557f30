// Started from anywhere, through a link or through PATH, a program finds its archive.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

TEST(ResourceLocation, FoundBesideTheProgramHoweverItIsStarted)
{
    char pattern[] = "/tmp/zindrel-elsewhere-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string elsewhere = pattern, link = elsewhere + "/probe-link";
    // The working directory has no archive, only a link to the program.
    ASSERT_EQ(symlink(RESOURCE_PROBE_PATH, link.c_str()), 0);
    for (const std::string &command :
         {"cd " + elsewhere + " && " RESOURCE_PROBE_PATH, "cd " + elsewhere + " && ./probe-link",
          // argv[0] is then a bare name without any directory part.
          "cd / && PATH=" + elsewhere + ":/usr/bin:/bin probe-link"})
    {
        FILE *pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char output[128] = {};
        const size_t length = fread(output, 1, sizeof(output) - 1, pipe);
        EXPECT_EQ(pclose(pipe), 0) << command;
        EXPECT_EQ(std::string(output, length), "found 18 bytes: inside the folder\n") << command;
    }
    unlink(link.c_str());
    rmdir(elsewhere.c_str());
}
