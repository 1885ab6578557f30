// Helpers shared by the toolkit tests.
#include "toolkit_test_support.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

std::vector<std::string> CaptureLines(const std::function<void()> &action)
{
    testing::internal::CaptureStdout();
    action();
    std::istringstream text(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
    {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> LogMessages(const std::vector<std::string> &lines)
{
    std::vector<std::string> messages;
    for (const std::string &line : lines)
    {
        const size_t separator = line.find(" - ");
        if (separator != std::string::npos && line.find(" at ") < separator)
        {
            messages.push_back(line.substr(separator + 3));
        }
    }
    return messages;
}

GuardedBuffer::GuardedBuffer(const std::string &bytes)
    : GuardedBuffer(std::vector<uint8_t>(bytes.begin(), bytes.end()))
{
}

GuardedBuffer::GuardedBuffer(const std::vector<uint8_t> &bytes)
{
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t dataPages = (bytes.size() + page - 1) / page + (bytes.empty() ? 1 : 0);
    mappingSize = (dataPages + 1) * page;
    mapping =
        mmap(nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
    {
        ADD_FAILURE() << "mmap failed";
        mapping = nullptr;
        return;
    }
    auto *base = static_cast<uint8_t *>(mapping);
    uint8_t *guard = base + dataPages * page;
    uint8_t *first = guard - bytes.size();
    if (!bytes.empty())
    {
        memcpy(first, bytes.data(), bytes.size());
    }
    mprotect(base, dataPages * page, PROT_READ);
    mprotect(guard, page, PROT_NONE);
    start = first;
    length = static_cast<int32_t>(bytes.size());
}

GuardedBuffer::~GuardedBuffer()
{
    if (mapping != nullptr)
    {
        munmap(mapping, mappingSize);
    }
}

GlWindow::GlWindow(int32_t width, int32_t height)
{
    // One window per process, never closed: unloading the GL driver at glfwTerminate would
    // leave its own unreleased blocks behind without symbols, unrecognisable to LeakSanitizer.
    static GLFWwindow *shared = nullptr;
    if (shared == nullptr)
    {
        if (!glfwInit())
        {
            ADD_FAILURE() << "GLFW cannot start (no display?)";
            return;
        }
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_DEPTH_BITS, 24);
        shared = glfwCreateWindow(width, height, "toolkit test", nullptr, nullptr);
        if (shared == nullptr)
        {
            ADD_FAILURE() << "no OpenGL window";
            return;
        }
    }
    glfwSetWindowSize(shared, width, height);
    glfwMakeContextCurrent(shared);
    window = shared;
}

GlWindow::~GlWindow() = default;

std::string RunCommand(const std::string &command, int32_t *status)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        *status = -1;
        return output;
    }
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
    {
        output.append(buffer, n);
    }
    const int result = pclose(pipe);
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "toolkit-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
    {
        ADD_FAILURE() << "mkdtemp failed";
    }
    path = pattern;
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
