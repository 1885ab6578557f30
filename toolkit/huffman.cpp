// huffman: the weight list is threaded through the node array, so building a tree makes no
// allocation per node; canonical codes follow RFC 1951 section 3.2.2, bits are packed most
// significant first. Nothing read from an alphabet or a stream is trusted: lengths, code space,
// node links and bit positions are all checked before they are used.
#include "toolkit/huffman.h"

#include "foundation/allocator.h"
#include "foundation/console.h"
#include "foundation/logging.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

struct HuffmanNode
{
    uint16_t weight;
    uint16_t symbol;
    uint16_t code;
    uint8_t bits;
    uint16_t left;
    uint16_t right;
    uint16_t next;
};

struct Huffman
{
    int32_t inputLength; // bytes before an encode, bits before a decode
    uint8_t *input;
    int32_t outputLength; // bits after an encode, bytes after a decode
    uint8_t *output;
    int32_t alphabetSize;
    uint16_t *alphabet;
    uint8_t *alphabetBits;
    int32_t nodeCount;
    int32_t nextNode;
    HuffmanNode *nodes;
    int32_t nodeCapacity;
};

static constexpr const char *bit2strTable[16] = {
    "0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
    "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111",
};

// Node links are 16-bit, so no tree may grow past this many nodes.
static constexpr int32_t _MAX_NODES = 65536;

static void *_Calloc(int32_t count, size_t size)
{
    void *block = calloc(static_cast<size_t>(std::max(count, 1)), size);
    if (block == nullptr)
    {
        LOG_ERROR("Failed to allocate %d Huffman entries.", count);
        exit(1);
    }
    return block;
}

// Discards the alphabet and the nodes and makes room for size entries (and twice as many nodes).
static void _ResetArrays(Huffman *huffman, int32_t size)
{
    free(huffman->alphabet);
    free(huffman->alphabetBits);
    free(huffman->nodes);
    huffman->alphabetSize = size;
    huffman->alphabet = static_cast<uint16_t *>(_Calloc(size, sizeof(uint16_t)));
    huffman->alphabetBits = static_cast<uint8_t *>(_Calloc(size, sizeof(uint8_t)));
    // No tree can use more nodes than 16-bit links reach; larger alphabets are refused by
    // Huffman_Decode before a node is made.
    huffman->nodeCapacity =
        static_cast<int32_t>(std::clamp<int64_t>(2 * static_cast<int64_t>(size), 2, _MAX_NODES));
    huffman->nodes =
        static_cast<HuffmanNode *>(_Calloc(huffman->nodeCapacity, sizeof(HuffmanNode)));
    huffman->nodeCount = 0;
    huffman->nextNode = 0;
}

static void _ReleaseOutput(Huffman *huffman)
{
    if (huffman->output != nullptr)
    {
        MEMORY_FREE(huffman->output);
    }
    huffman->output = nullptr;
    huffman->outputLength = 0;
}

Huffman *Huffman_Create(void)
{
    Huffman *huffman = MEMORY_ALLOCATE_RECORD(Huffman);
    _ResetArrays(huffman, 256);
    return huffman;
}

void Huffman_Destroy(Huffman *huffman)
{
    if (huffman->input != nullptr)
    {
        MEMORY_FREE(huffman->input);
    }
    _ReleaseOutput(huffman);
    free(huffman->alphabet);
    free(huffman->alphabetBits);
    free(huffman->nodes);
    MEMORY_FREE(huffman);
}

void Huffman_SetAlphabet(Huffman *huffman, const uint16_t *symbols, const uint8_t *bits,
                         int32_t count)
{
    if (count < 0 || (count > 0 && (symbols == nullptr || bits == nullptr)))
    {
        LOG_ERROR("Huffman alphabet of %d entries refused.", count);
        count = 0;
    }
    _ResetArrays(huffman, count);
    if (count > 0)
    {
        memcpy(huffman->alphabet, symbols, static_cast<size_t>(count) * sizeof(uint16_t));
        memcpy(huffman->alphabetBits, bits, static_cast<size_t>(count));
    }
}

void Huffman_GetAlphabet(Huffman *huffman, uint16_t **symbols, uint8_t **bits, int32_t *count)
{
    const int32_t size = huffman->alphabetSize;
    // An empty alphabet still hands out two blocks, so the caller can release both alike.
    *symbols = static_cast<uint16_t *>(MEMORY_ALLOCATE(std::max(size, 1) * sizeof(uint16_t)));
    *bits = static_cast<uint8_t *>(MEMORY_ALLOCATE(std::max(size, 1)));
    if (size > 0)
    {
        memcpy(*symbols, huffman->alphabet, static_cast<size_t>(size) * sizeof(uint16_t));
        memcpy(*bits, huffman->alphabetBits, static_cast<size_t>(size));
    }
    *count = size;
}

static void _ReplaceInput(Huffman *huffman, const uint8_t *data, int32_t bytes, int32_t length)
{
    if (huffman->input != nullptr)
    {
        MEMORY_FREE(huffman->input);
    }
    huffman->input = nullptr;
    huffman->inputLength = 0;
    if (length <= 0 || data == nullptr)
    {
        return;
    }
    huffman->input = static_cast<uint8_t *>(MEMORY_ALLOCATE(bytes));
    memcpy(huffman->input, data, static_cast<size_t>(bytes));
    huffman->inputLength = length;
}

void Huffman_SetUncompressedInput(Huffman *huffman, const uint8_t *data, int32_t length)
{
    _ReplaceInput(huffman, data, length, length);
}

void Huffman_SetCompressedInput(Huffman *huffman, const uint8_t *data, int32_t bits)
{
    if (bits < 0)
    {
        LOG_ERROR("Huffman input of %d bits refused.", bits);
        bits = 0;
    }
    // Only the bytes that hold the bits are read: a whole number of bytes ends exactly there.
    _ReplaceInput(huffman, data, static_cast<int32_t>((static_cast<int64_t>(bits) + 7) / 8), bits);
}

void Huffman_GetOutput(Huffman *huffman, uint8_t **data, int32_t *length)
{
    *data = huffman->output;
    *length = huffman->outputLength;
}

// The low `length` digits of a right-aligned code, most significant first.
static void _CodeToString(uint16_t code, int32_t length, char *text)
{
    char digits[17];
    snprintf(digits, sizeof(digits), "%s%s%s%s", bit2strTable[(code >> 12) & 15],
             bit2strTable[(code >> 8) & 15], bit2strTable[(code >> 4) & 15],
             bit2strTable[code & 15]);
    memcpy(text, digits + 16 - length, static_cast<size_t>(length));
    text[length] = '\0';
}

// Canonical codes for the current alphabet, one per entry (0 for entries without a code).
// Refuses lengths over 15 and lengths that over-subscribe the code space, which could not be
// a prefix code and would make codes collide.
static bool _GenerateCodes(Huffman *huffman, uint16_t *codes)
{
    int32_t lengthCount[HUFFMAN_MAX_BITS + 1] = {};
    for (int32_t k = 0; k < huffman->alphabetSize; k++)
    {
        const uint8_t bits = huffman->alphabetBits[k];
        if (bits > HUFFMAN_MAX_BITS)
        {
            LOG_ERROR("Huffman code length %d of entry %d is over %d.", bits, k, HUFFMAN_MAX_BITS);
            return false;
        }
        lengthCount[bits]++;
    }
    lengthCount[0] = 0;
    uint32_t nextCode[HUFFMAN_MAX_BITS + 1] = {};
    uint32_t code = 0;
    for (int32_t length = 1; length <= HUFFMAN_MAX_BITS; length++)
    {
        code = (code + static_cast<uint32_t>(lengthCount[length - 1])) << 1;
        nextCode[length] = code;
        if (code + static_cast<uint32_t>(lengthCount[length]) > (1u << length))
        {
            LOG_ERROR("Huffman code lengths over-subscribe the code space at length %d.", length);
            return false;
        }
    }
    for (int32_t k = 0; k < huffman->alphabetSize; k++)
    {
        const int32_t bits = huffman->alphabetBits[k];
        codes[k] = 0;
        if (bits == 0)
        {
            continue;
        }
        codes[k] = static_cast<uint16_t>(nextCode[bits]++);
        const uint16_t symbol = huffman->alphabet[k];
        char text[HUFFMAN_MAX_BITS + 1];
        _CodeToString(codes[k], bits, text);
        Console_PrintCStrFormat("Alpha:Code %3d:%c %s\n", symbol,
                                symbol >= 33 && symbol <= 125 ? symbol : ' ', text);
    }
    return true;
}

// Inserts a node after every node of the weight list whose weight is not above its own.
static void _InsertByWeight(HuffmanNode *nodes, uint16_t index)
{
    uint16_t previous = 0;
    uint16_t current = nodes[0].next;
    while (current != 0 && nodes[current].weight <= nodes[index].weight)
    {
        previous = current;
        current = nodes[current].next;
    }
    nodes[index].next = current;
    nodes[previous].next = index;
}

// The state of one length walk; each walk starts its leaf counter at 0.
struct _LengthWalk
{
    int32_t charCounter;
    int32_t deepest;
    char path[512];
};

// Depth-first, 0-branch first: every leaf's depth becomes its length and its alphabet entry.
static void _CalculateBits(Huffman *huffman, uint16_t index, int32_t depth, _LengthWalk *walk)
{
    HuffmanNode *node = &huffman->nodes[index];
    if (node->left == 0 || node->right == 0)
    {
        node->bits = static_cast<uint8_t>(depth);
        huffman->alphabet[walk->charCounter] = node->symbol;
        huffman->alphabetBits[walk->charCounter] = static_cast<uint8_t>(depth);
        walk->charCounter++;
        walk->deepest = std::max(walk->deepest, depth);
        walk->path[depth] = '\0';
        Console_PrintCStrFormat("-> %c %d %s\n", node->symbol, depth, walk->path);
        return;
    }
    const uint16_t right = node->right;
    walk->path[depth] = '0';
    _CalculateBits(huffman, node->left, depth + 1, walk);
    walk->path[depth] = '1';
    _CalculateBits(huffman, right, depth + 1, walk);
}

// Builds the tree of the leaves already in the weight list; returns the number of leaves.
static int32_t _BuildEncodeTree(Huffman *huffman, const uint32_t *counts)
{
    HuffmanNode *nodes = huffman->nodes;
    huffman->nextNode = 1;
    for (int32_t value = 0; value < 256; value++)
    {
        if (counts[value] == 0)
        {
            continue;
        }
        const auto index = static_cast<uint16_t>(huffman->nextNode++);
        nodes[index].weight = static_cast<uint16_t>(counts[value]);
        nodes[index].symbol = static_cast<uint16_t>(value);
        nodes[index].next = 0;
        _InsertByWeight(nodes, index);
    }
    const int32_t leaves = huffman->nextNode - 1;
    huffman->nodeCount = huffman->nextNode;
    while (nodes[0].next != 0 && nodes[nodes[0].next].next != 0)
    {
        const uint16_t first = nodes[0].next;
        const uint16_t second = nodes[first].next;
        nodes[0].next = nodes[second].next;
        const auto index = static_cast<uint16_t>(huffman->nextNode++);
        nodes[index].weight = static_cast<uint16_t>(nodes[first].weight + nodes[second].weight);
        nodes[index].left = std::min(first, second);
        nodes[index].right = std::max(first, second);
        _InsertByWeight(nodes, index);
    }
    return leaves;
}

// Keeps the coded (length, symbol) pairs, shortest first, as the alphabet.
static void _SortEncodeAlphabet(Huffman *huffman, int32_t leaves)
{
    Console_PrintCStrFormat("Sorting Encode...\n");
    std::pair<uint8_t, uint16_t> pairs[256];
    for (int32_t k = 0; k < leaves; k++)
    {
        pairs[k] = {huffman->alphabetBits[k], huffman->alphabet[k]};
    }
    std::sort(pairs, pairs + leaves);
    int32_t kept = 0;
    for (int32_t position = 0; position < leaves; position++)
    {
        if (pairs[position].first == 0)
        {
            continue;
        }
        huffman->alphabet[kept] = pairs[position].second;
        huffman->alphabetBits[kept] = pairs[position].first;
        Console_PrintCStrFormat("self->alphabetBits[%d] = bits[%d] => %d\n", kept, position,
                                pairs[position].first);
        kept++;
    }
    for (int32_t k = kept; k < huffman->alphabetSize; k++)
    {
        huffman->alphabet[k] = 0;
        huffman->alphabetBits[k] = 0;
    }
    huffman->alphabetSize = kept;
}

// The canonical code and its length of every byte value (length 0 for values without a code).
static void _IndexCodesByByte(Huffman *huffman, uint16_t *byteCode, uint8_t *byteBits)
{
    uint16_t codes[256];
    _GenerateCodes(huffman, codes); // a Huffman tree of at most 15 levels always fits
    for (int32_t k = 0; k < huffman->alphabetSize; k++)
    {
        byteCode[huffman->alphabet[k]] = codes[k];
        byteBits[huffman->alphabet[k]] = huffman->alphabetBits[k];
    }
}

// The stream's length in bits, known from the counts before a bit is written; -1 when a byte
// value that occurs has no code, which fails the whole encode.
static int64_t _MeasureStream(const uint32_t *counts, const uint8_t *byteBits)
{
    int64_t totalBits = 0;
    for (int32_t value = 0; value < 256; value++)
    {
        if (counts[value] > 0 && byteBits[value] == 0)
        {
            // Kept as is: this bare trace is part of the coder's observable console output.
            Console_PrintCStrFormat("ERROR");
            return -1;
        }
        totalBits += static_cast<int64_t>(counts[value]) * byteBits[value];
    }
    return totalBits;
}

// Writes the code of every input byte to out, most significant bit first, and pads the last
// byte with zeros; out must hold the measured stream.
static void _PackBits(const Huffman *huffman, const uint16_t *byteCode, const uint8_t *byteBits,
                      uint8_t *out)
{
    uint64_t pending = 0;
    int32_t pendingBits = 0;
    for (int32_t i = 0; i < huffman->inputLength; i++)
    {
        const uint8_t value = huffman->input[i];
        const int32_t bits = byteBits[value];
        // Codes are at most 15 bits and fewer than 32 are pending, so 64 bits always hold them.
        pending = (pending << bits) | byteCode[value];
        pendingBits += bits;
        if (pendingBits >= 32)
        {
            pendingBits -= 32;
            const auto word = static_cast<uint32_t>(pending >> pendingBits);
            out[0] = static_cast<uint8_t>(word >> 24);
            out[1] = static_cast<uint8_t>(word >> 16);
            out[2] = static_cast<uint8_t>(word >> 8);
            out[3] = static_cast<uint8_t>(word);
            out += 4;
        }
    }
    while (pendingBits >= 8)
    {
        pendingBits -= 8;
        *out++ = static_cast<uint8_t>(pending >> pendingBits);
    }
    if (pendingBits > 0)
    {
        *out = static_cast<uint8_t>(pending << (8 - pendingBits));
    }
}

int32_t Huffman_Encode(Huffman *huffman)
{
    _ResetArrays(huffman, 256);
    _ReleaseOutput(huffman);
    if (huffman->input == nullptr || huffman->inputLength <= 0)
    {
        return HUFFMAN_NO_INPUT;
    }
    if (huffman->inputLength > HUFFMAN_MAX_INPUT)
    {
        LOG_ERROR("Huffman input of %d bytes is longer than %d.", huffman->inputLength,
                  HUFFMAN_MAX_INPUT);
        return HUFFMAN_INPUT_TOO_LONG;
    }
    uint32_t counts[256] = {};
    for (int32_t i = 0; i < huffman->inputLength; i++)
    {
        counts[huffman->input[i]]++;
    }
    const int32_t leaves = _BuildEncodeTree(huffman, counts);

    // Kept as is: these traces are printed unconditionally; they are the coder's observable
    // console output.
    Console_PrintCStrFormat("Calling calculateBits\n");
    _LengthWalk walk = {};
    _CalculateBits(huffman, huffman->nodes[0].next, 0, &walk);
    for (int32_t index = 1; index <= leaves; index++)
    {
        Console_PrintCStrFormat("symbol %d ", huffman->nodes[index].symbol);
        Console_PrintCStrFormat("bits %d\n", huffman->nodes[index].bits);
    }
    if (walk.deepest > HUFFMAN_MAX_BITS)
    {
        LOG_ERROR("Huffman code of %d bits is longer than %d.", walk.deepest, HUFFMAN_MAX_BITS);
        _ResetArrays(huffman, 0); // no usable alphabet is left behind
        return HUFFMAN_TREE_TOO_DEEP;
    }
    _SortEncodeAlphabet(huffman, leaves);

    uint16_t byteCode[256] = {};
    uint8_t byteBits[256] = {};
    _IndexCodesByByte(huffman, byteCode, byteBits);
    const int64_t totalBits = _MeasureStream(counts, byteBits);
    if (totalBits < 0)
    {
        return HUFFMAN_SYMBOL_WITHOUT_CODE;
    }
    const int32_t capacity = huffman->inputLength + 2;
    // A Huffman code of at most 256 symbols averages at most 8 bits, so this always holds.
    if (totalBits > static_cast<int64_t>(capacity) * 8)
    {
        LOG_ERROR("Huffman stream of %lld bits does not fit %d bytes.",
                  static_cast<long long>(totalBits), capacity);
        abort();
    }
    huffman->output = static_cast<uint8_t *>(MEMORY_ALLOCATE(capacity));
    _PackBits(huffman, byteCode, byteBits, huffman->output);
    huffman->outputLength = static_cast<int32_t>(totalBits);
    return HUFFMAN_OK;
}

static inline int32_t _ReadBit(const uint8_t *data, int32_t position)
{
    return (data[position >> 3] >> (7 - (position & 7))) & 1;
}

// A new inner node, growing the array when an incomplete code needs more than it holds.
static uint16_t _NewNode(Huffman *huffman)
{
    if (huffman->nextNode >= _MAX_NODES)
    {
        return 0;
    }
    if (huffman->nextNode >= huffman->nodeCapacity)
    {
        const int32_t capacity = std::min(huffman->nodeCapacity * 2, _MAX_NODES);
        auto *nodes = static_cast<HuffmanNode *>(
            realloc(huffman->nodes, static_cast<size_t>(capacity) * sizeof(HuffmanNode)));
        if (nodes == nullptr)
        {
            LOG_ERROR("Failed to grow the Huffman tree to %d nodes.", capacity);
            exit(1);
        }
        memset(nodes + huffman->nodeCapacity, 0,
               static_cast<size_t>(capacity - huffman->nodeCapacity) * sizeof(HuffmanNode));
        huffman->nodes = nodes;
        huffman->nodeCapacity = capacity;
    }
    const auto index = static_cast<uint16_t>(huffman->nextNode++);
    huffman->nodes[index] = HuffmanNode{};
    return index;
}

// Leaf k + 1 per entry k, the root after them; every code is followed from the root.
static bool _BuildDecodeTree(Huffman *huffman, const uint16_t *codes)
{
    const int32_t size = huffman->alphabetSize;
    memset(huffman->nodes, 0, static_cast<size_t>(huffman->nodeCapacity) * sizeof(HuffmanNode));
    huffman->nextNode = size + 1;
    const uint16_t root = _NewNode(huffman);
    huffman->nodes[0].next = root;
    for (int32_t k = 0; k < size; k++)
    {
        HuffmanNode *leaf = &huffman->nodes[k + 1];
        leaf->symbol = huffman->alphabet[k];
        leaf->bits = huffman->alphabetBits[k];
        leaf->code = codes[k];
    }
    huffman->nodeCount = size + 1;
    for (int32_t k = 0; k < size; k++)
    {
        const int32_t bits = huffman->alphabetBits[k];
        uint16_t current = root;
        for (int32_t i = bits - 1; i >= 0; i--)
        {
            const bool one = ((codes[k] >> i) & 1) != 0;
            uint16_t next = one ? huffman->nodes[current].right : huffman->nodes[current].left;
            if (next == 0)
            {
                next = i == 0 ? static_cast<uint16_t>(k + 1) : _NewNode(huffman);
                if (next == 0)
                {
                    LOG_ERROR("Huffman tree needs more than %d nodes.", _MAX_NODES);
                    return false;
                }
                (one ? huffman->nodes[current].right : huffman->nodes[current].left) = next;
            }
            current = next;
        }
    }
    return true;
}

static bool _IsDecodeLeaf(const Huffman *huffman, uint16_t index)
{
    return index >= 1 && index <= huffman->alphabetSize;
}

// Prints a distance code and returns the bits it occupies with its extra bits.
static int32_t _calculateDistance(const Huffman *huffman, int32_t position)
{
    int32_t code = 0;
    for (int32_t i = 0; i < 5; i++)
    {
        code = (code << 1) | _ReadBit(huffman->input, position + i);
    }
    if (code >= 30)
    {
        Console_PrintCStrFormat("     ERROR: Code %d should never occur     ", code);
        return 5;
    }
    Console_PrintCStrFormat("b%d ", code);
    return 5 + (code < 4 ? 0 : code / 2 - 1);
}

// Extra bits of the DEFLATE length symbols 257 to 285.
static int32_t _LengthExtraBits(int32_t symbol)
{
    if (symbol < 265 || symbol == 285)
    {
        return 0;
    }
    return (symbol - 261) / 4;
}

// The DEFLATE listing from bit 3; true when it ends on a code boundary inside the stream.
static bool _PrintListing(Huffman *huffman)
{
    const uint16_t root = huffman->nodes[0].next;
    const int32_t length = huffman->inputLength;
    uint16_t current = root;
    int32_t position = 3;
    bool whole = true;
    while (position < length)
    {
        const HuffmanNode &node = huffman->nodes[current];
        const uint16_t next = _ReadBit(huffman->input, position++) ? node.right : node.left;
        if (next == 0)
        {
            whole = false; // a bit sequence that is no code of this alphabet
            break;
        }
        current = next;
        if (!_IsDecodeLeaf(huffman, current))
        {
            continue;
        }
        const int32_t symbol = huffman->nodes[current].symbol;
        current = root;
        if (symbol <= 255)
        {
            Console_PrintCStrFormat("%d:%c ", symbol, symbol);
        }
        else if (symbol == 256)
        {
            Console_PrintCStrFormat("END_OF_BLOCK ");
        }
        else if (symbol <= 285)
        {
            Console_PrintCStrFormat("%d:l%d ", symbol, _LengthExtraBits(symbol));
            position += _LengthExtraBits(symbol);
            if (position + 5 > length)
            {
                whole = false; // the stream ends inside the length's extra bits or distance
                break;
            }
            position += _calculateDistance(huffman, position);
            if (position > length)
            {
                whole = false;
                break;
            }
        }
        else
        {
            Console_PrintCStrFormat("    ERROR: Code %d should never occur     ", symbol);
        }
    }
    Console_PrintCStrFormat("\n");
    return whole && current == root;
}

// Walks the whole stream from bit 0, writing each symbol's low byte when out is given.
// Returns the symbols met; *whole tells whether the walk ended on a code boundary.
static int32_t _WalkOutput(const Huffman *huffman, uint8_t *out, bool *whole)
{
    const uint16_t root = huffman->nodes[0].next;
    uint16_t current = root;
    int32_t count = 0;
    *whole = false;
    for (int32_t position = 0; position < huffman->inputLength; position++)
    {
        const HuffmanNode &node = huffman->nodes[current];
        current = _ReadBit(huffman->input, position) ? node.right : node.left;
        if (current == 0)
        {
            return count;
        }
        if (_IsDecodeLeaf(huffman, current))
        {
            if (out != nullptr)
            {
                out[count] = static_cast<uint8_t>(huffman->nodes[current].symbol & 0xFF);
            }
            count++;
            current = root;
        }
    }
    *whole = current == root;
    return count;
}

int32_t Huffman_Decode(Huffman *huffman)
{
    Console_PrintCStrFormat("Decode\n");
    _ReleaseOutput(huffman);
    if (huffman->alphabetSize > HUFFMAN_MAX_ALPHABET)
    {
        LOG_ERROR("Huffman alphabet of %d entries is larger than %d.", huffman->alphabetSize,
                  HUFFMAN_MAX_ALPHABET);
        return HUFFMAN_BAD_ALPHABET;
    }
    auto *codes = static_cast<uint16_t *>(_Calloc(huffman->alphabetSize, sizeof(uint16_t)));
    const bool built = _GenerateCodes(huffman, codes) && _BuildDecodeTree(huffman, codes);
    free(codes);
    if (!built)
    {
        return HUFFMAN_BAD_ALPHABET;
    }

    bool listingWhole = true;
    if (huffman->inputLength > 3)
    {
        listingWhole = _PrintListing(huffman);
    }
    bool walkWhole = false;
    const int32_t count = _WalkOutput(huffman, nullptr, &walkWhole);
    if (!listingWhole && !walkWhole)
    {
        LOG_ERROR("Huffman stream of %d bits is no sequence of codes of this alphabet.",
                  huffman->inputLength);
        return HUFFMAN_UNDECODABLE;
    }
    huffman->output = static_cast<uint8_t *>(MEMORY_ALLOCATE(std::max(count, 1)));
    _WalkOutput(huffman, huffman->output, &walkWhole);
    huffman->outputLength = count;
    return HUFFMAN_OK;
}
