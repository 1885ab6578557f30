// huffman: a byte coder with canonical Huffman codes (RFC 1951 code construction), packed
// most significant bit first, and a decoder that also lists a stream in DEFLATE terms.
// Every step prints its trace to standard output; the trace is part of what the coder does,
// so two coders must not run at the same time if their traces are to stay readable.
#pragma once

#include <cstdint>

struct Huffman;

// Results of Huffman_Encode and Huffman_Decode.
#define HUFFMAN_OK                  0
#define HUFFMAN_NO_INPUT            (-1) // Encode: no input or an empty one
#define HUFFMAN_UNDECODABLE         (-1) // Decode: the stream is not a whole sequence of codes
#define HUFFMAN_INPUT_TOO_LONG      (-2) // Encode: more than HUFFMAN_MAX_INPUT bytes
#define HUFFMAN_BAD_ALPHABET        (-2) // Decode: a length over 15, over-subscribed, too many entries
#define HUFFMAN_SYMBOL_WITHOUT_CODE (-3) // Encode: a byte has no code (only one byte value occurs)
#define HUFFMAN_TREE_TOO_DEEP       (-4) // Encode: a code would need more than 15 bits

// Weights are 16-bit, so one encoded block holds at most this many bytes.
#define HUFFMAN_MAX_INPUT 65535
// Canonical codes are at most 15 bits long.
#define HUFFMAN_MAX_BITS 15
// Node links are 16-bit, which bounds the alphabet a decoder accepts.
#define HUFFMAN_MAX_ALPHABET 32767

// A coder with no input, no output and 256 entries without codes.
// Ownership: the caller; release with Huffman_Destroy.
Huffman *Huffman_Create(void);
// Releases the input, the output, the alphabet, the nodes and the record.
void Huffman_Destroy(Huffman *huffman);

// Replaces the alphabet with copies of count symbols and their code lengths (0 = no code).
// A negative count is logged and taken as 0. The caller keeps its arrays.
void Huffman_SetAlphabet(Huffman *huffman, const uint16_t *symbols, const uint8_t *bits,
                         int32_t count);
// Hands out copies of the alphabet and its size (after Huffman_Encode: the entries that have
// codes, shortest first). Ownership: the caller owns both arrays, always two blocks even for
// an empty alphabet; release each with MEMORY_FREE.
void Huffman_GetAlphabet(Huffman *huffman, uint16_t **symbols, uint8_t **bits, int32_t *count);

// Replaces the input with a copy of length bytes for Huffman_Encode. A length of 0 or less
// leaves no input. The caller keeps its data.
void Huffman_SetUncompressedInput(Huffman *huffman, const uint8_t *data, int32_t length);
// Replaces the input with a copy of the (bits + 7) / 8 bytes that hold bits bits, for
// Huffman_Decode; no byte beyond them is read. A negative count is logged and taken as 0.
void Huffman_SetCompressedInput(Huffman *huffman, const uint8_t *data, int32_t bits);

// The coder's own output: after Huffman_Encode the stream and its length in bits, after
// Huffman_Decode the bytes and their count; null and 0 when the last call produced none.
// Ownership: the coder; valid until the next encode, decode or destroy.
void Huffman_GetOutput(Huffman *huffman, uint8_t **data, int32_t *length);

// Builds a code from the byte frequencies of the input and encodes it. The alphabet left
// behind is what a decoder needs (Huffman_GetAlphabet, then Huffman_SetAlphabet on it).
// Returns HUFFMAN_OK or one of the negative codes above; on failure there is no output.
int32_t Huffman_Encode(Huffman *huffman);

// Rebuilds the code tree from the alphabet, prints the DEFLATE listing of the stream (which
// starts after the three bits of a block header) and emits the low byte of every symbol met
// walking the whole stream from bit 0.
// Returns HUFFMAN_OK with output when the listing ends on a code boundary, or else when the
// whole stream from bit 0 is a sequence of complete codes -- which every stream made by
// Huffman_Encode is, so encode, alphabet hand-over and decode give the input back.
// Returns HUFFMAN_UNDECODABLE (no output) when neither holds, and HUFFMAN_BAD_ALPHABET (no
// output) for an alphabet that cannot be a prefix code.
int32_t Huffman_Decode(Huffman *huffman);
