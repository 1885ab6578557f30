#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh temporary folder, removed with all it holds; Path() is empty when none was made.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string &Path() const { return path; }
    std::string File(const std::string &name) const { return path + "/" + name; }

  private:
    std::string path;
};

std::string FileContents(const std::string &path);

std::string CaptureOutput(const std::function<void()> &call);
// Standard output a line each, log lines cut to their message; with file, only its lines.
std::vector<std::string> CaptureMessages(const std::function<void()> &call,
                                         const std::string &file = "");

// A hidden window's GL context made current, shared and never closed; false (failing) without.
bool MakeGlContextCurrent(int32_t size);
