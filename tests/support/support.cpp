#include "tests/support/support.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zindrel-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        path = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!path.empty())
        std::filesystem::remove_all(path, ignored);
}

std::string FileContents(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string CaptureOutput(const std::function<void()> &call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

std::vector<std::string> CaptureMessages(const std::function<void()> &call, const std::string &file)
{
    std::istringstream text(CaptureOutput(call));
    std::vector<std::string> messages;
    for (std::string line; std::getline(text, line);)
    {
        const size_t separator = line.find(" - ");
        if (file.empty() || line.find(" at " + file + ":") < separator)
            messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

bool MakeGlContextCurrent(int32_t size)
{
    // Never closed: restarting GLFW fails under Xvfb, and LeakSanitizer can't read its leftovers.
    static GLFWwindow *window = nullptr;
    if (window == nullptr && glfwInit())
    {
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window = glfwCreateWindow(size, size, "Zindrel test", nullptr, nullptr);
    }
    EXPECT_NE(window, nullptr) << "no OpenGL window (no display?)";
    if (window == nullptr)
        return false;
    glfwSetWindowSize(window, size, size);
    glfwMakeContextCurrent(window);
    return true;
}
