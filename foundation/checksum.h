// checksum: the standard CRC-32 (zlib, PNG, Ethernet).
#pragma once

#include <cstdint>

// CRC-32 of length bytes at data; 0 for a length of 0 or below, and 0 with an Error line for
// null data.
uint32_t Checksum_CRC32(const uint8_t *data, int32_t length);

// Which way the CRC is computed. The carry-less multiplication (x86 PCLMULQDQ) is used where
// the processor has it and it is allowed (the default); otherwise the table-driven way runs.
// Both give the same results; tests switch the faster way off to check the other one.
void Checksum_AllowCarrylessMultiply(bool allowed);
// True when inputs of 64 bytes or more go through the carry-less multiplication.
bool Checksum_UsesCarrylessMultiply(void);
