// Huffman encoding throughput on 65,535-byte blocks (the coder's limit): generated prose and
// skewed random bytes. The coder's trace goes to standard output unconditionally; it is part
// of what is measured, sent to /dev/null while the loop runs so the report stays readable.
#include "foundation/logging.h"
#include "toolkit/huffman.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

std::vector<uint8_t> Prose()
{
    static const char *words[] = {"the",   "ship",  "fires", "at",    "a",      "formation",
                                  "of",    "ten",   "enemy", "ships", "sway",   "from",
                                  "side",  "to",    "and",   "boss",  "shield", "level",
                                  "score", "bonus", "lives", "every", "fifth",  "brings"};
    std::mt19937 engine(7);
    std::vector<uint8_t> text;
    while (text.size() < HUFFMAN_MAX_INPUT)
    {
        const std::string word = words[engine() % (sizeof(words) / sizeof(words[0]))];
        text.insert(text.end(), word.begin(), word.end());
        text.push_back(engine() % 9 == 0 ? '\n' : ' ');
    }
    text.resize(HUFFMAN_MAX_INPUT);
    return text;
}

std::vector<uint8_t> SkewedBytes()
{
    std::mt19937 engine(11);
    std::vector<double> weights;
    weights.reserve(256);
    for (int32_t i = 0; i < 256; i++)
    {
        weights.push_back(std::pow(0.985, i));
    }
    std::discrete_distribution<int32_t> pick(weights.begin(), weights.end());
    std::vector<uint8_t> bytes(HUFFMAN_MAX_INPUT);
    for (uint8_t &b : bytes)
    {
        b = static_cast<uint8_t>(pick(engine));
    }
    return bytes;
}

// Standard output goes to /dev/null while it lives.
class QuietStdout
{
  public:
    QuietStdout()
    {
        fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout()
    {
        fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }

  private:
    int saved = -1;
};

void Encode(benchmark::State &state, const std::vector<uint8_t> &input)
{
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Huffman *huffman = Huffman_Create();
    Huffman_SetUncompressedInput(huffman, input.data(), static_cast<int32_t>(input.size()));
    int32_t bits = 0;
    {
        QuietStdout quiet;
        for (auto _ : state)
        {
            if (Huffman_Encode(huffman) != HUFFMAN_OK)
            {
                state.SkipWithError("encoding refused");
                break;
            }
            uint8_t *output = nullptr;
            Huffman_GetOutput(huffman, &output, &bits);
            benchmark::DoNotOptimize(output);
        }
    }
    Huffman_Destroy(huffman);
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(input.size()));
    state.counters["bits/byte"] = static_cast<double>(bits) / static_cast<double>(input.size());
}

void BM_Huffman_Encode_Prose(benchmark::State &state)
{
    static const std::vector<uint8_t> input = Prose();
    Encode(state, input);
}
BENCHMARK(BM_Huffman_Encode_Prose)->Unit(benchmark::kMicrosecond);

void BM_Huffman_Encode_SkewedBytes(benchmark::State &state)
{
    static const std::vector<uint8_t> input = SkewedBytes();
    Encode(state, input);
}
BENCHMARK(BM_Huffman_Encode_SkewedBytes)->Unit(benchmark::kMicrosecond);

} // namespace
