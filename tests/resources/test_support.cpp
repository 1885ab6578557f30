#include "test_support.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

std::string FixturePath(const std::string &name)
{
    return std::string(RESOURCES_FIXTURE_DIR) + "/" + name;
}

std::vector<uint8_t> ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

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

std::string LogMessage(const std::string &line)
{
    const size_t separator = line.find(" - ");
    return separator == std::string::npos ? line : line.substr(separator + 3);
}

bool MakeGlContextCurrent()
{
    static GLFWwindow *window = nullptr;
    if (window == nullptr)
    {
        if (!glfwInit())
        {
            ADD_FAILURE() << "GLFW cannot start (no display?)";
            return false;
        }
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window = glfwCreateWindow(64, 64, "resources test", nullptr, nullptr);
        if (window == nullptr)
        {
            ADD_FAILURE() << "no OpenGL window";
            return false;
        }
    }
    glfwMakeContextCurrent(window);
    return true;
}
