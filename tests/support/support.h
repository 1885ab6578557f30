// Shared by every test suite: a scratch folder, a file read whole, what a call printed, and a
// hidden GL window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary one, removed with all it holds when the object
// goes. Path() is empty when none could be made.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    const std::string &Path() const { return path; }
    std::string File(const std::string &name) const { return path + "/" + name; }

  private:
    std::string path;
};

// The whole file as bytes; empty when it cannot be read.
std::string FileContents(const std::string &path);

// Everything the call wrote to standard output.
std::string CaptureOutput(const std::function<void()> &call);
// What the call wrote to standard output, a line each, with the log lines ("Error at file:line -
// message") cut to their message; with file given, only the lines logged from that source file.
std::vector<std::string> CaptureMessages(const std::function<void()> &call,
                                         const std::string &file = "");

// Makes current the OpenGL context of a hidden window of size x size pixels, shared by every
// test of the process and never closed. Adds a test failure and returns false without one.
bool MakeGlContextCurrent(int32_t size);
