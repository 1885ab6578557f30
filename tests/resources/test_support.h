// Helpers shared by the resource tests: fixture files, captured log lines, a GL context.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Path of a file written by make_fixtures.sh.
std::string FixturePath(const std::string &name);

std::vector<uint8_t> ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::vector<uint8_t> &bytes);

// The lines written to standard output while action runs, without their newlines.
std::vector<std::string> CaptureLines(const std::function<void()> &action);

// The message part of a log line ("Error at file:line - message"), or the line itself.
std::string LogMessage(const std::string &line);

// A hidden window whose OpenGL context is current, made on first use and kept for the rest
// of the process (starting and ending GLFW over and over is not reliable under Xvfb).
// Adds a test failure and returns false when no context can be had.
bool MakeGlContextCurrent();
