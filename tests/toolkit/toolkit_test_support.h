// Helpers shared by the toolkit tests: log lines, readers fed from guarded read-only memory, a
// GL context and external commands.
#pragma once

#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Model;

// The message parts of the log lines ("Error at file:line - message") written to standard
// output while action runs, each followed by '|'.
inline std::string LogMessages(const std::function<void()> &action)
{
    std::string joined;
    for (const std::string &message : CaptureMessages(action))
        joined += message + "|";
    return joined;
}

// Keeps the log at Error level during a test and releases the model it leaves behind.
class ModelFixture : public testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replace model with what the OBJ or 3DS reader makes of the bytes, which it is given in
    // read-only memory that ends where an inaccessible page begins: writing to them, or
    // reading one byte past them, crashes the test. Return the log messages of the reading.
    std::string LoadObj(const std::string &text);
    std::string Load3ds(const std::vector<uint8_t> &bytes);

    // The model's counts of positions, texture coordinates, normals and faces, then the first
    // face, face count and end face of every mesh; nothing without a model.
    std::vector<int32_t> Shape();
    // Position, texture coordinate and normal indices of the face.
    std::vector<int32_t> FaceIndices(int32_t face);

    Model *model = nullptr;
};

// Runs a shell command; returns its standard output and stores its exit status.
std::string RunCommand(const std::string &command, int32_t *status);
