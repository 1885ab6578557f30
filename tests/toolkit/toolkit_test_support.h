// Helpers shared by the toolkit tests: captured log lines, read-only guarded buffers, a GL
// context and external commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The lines written to standard output while action runs, without their newlines.
std::vector<std::string> CaptureLines(const std::function<void()> &action);

// The message parts of the log lines ("Error at file:line - message"); other lines are left out.
std::vector<std::string> LogMessages(const std::vector<std::string> &lines);

// Bytes in read-only memory that ends exactly where an inaccessible page begins: a reader
// that writes to them, or reads one byte past them, crashes the test.
class GuardedBuffer
{
  public:
    explicit GuardedBuffer(const std::string &bytes);
    explicit GuardedBuffer(const std::vector<uint8_t> &bytes);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer &) = delete;
    GuardedBuffer &operator=(const GuardedBuffer &) = delete;
    const uint8_t *data() const { return start; }
    const char *text() const { return reinterpret_cast<const char *>(start); }
    int32_t size() const { return length; }

  private:
    void *mapping = nullptr;
    size_t mappingSize = 0;
    const uint8_t *start = nullptr;
    int32_t length = 0;
};

// A hidden window of width x height pixels whose OpenGL context is current; one window is
// shared by every test of the process and stays open until the process ends.
class GlWindow
{
  public:
    GlWindow(int32_t width, int32_t height);
    ~GlWindow();
    bool ok() const { return window != nullptr; }

  private:
    void *window = nullptr;
};

// Runs a shell command; returns its standard output and stores its exit status.
std::string RunCommand(const std::string &command, int32_t *status);

// A fresh directory under the system's temporary folder, removed by the destructor.
class ScratchDirectory
{
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    std::string Path(const std::string &name) const { return path + "/" + name; }

  private:
    std::string path;
};

void WriteText(const std::string &path, const std::string &text);
std::string ReadText(const std::string &path);
