// The decoder of the combined archive: LZSS with a 4096-byte window, adaptive Huffman codes
// for literals and match lengths, a fixed prefix code for match positions. Platform-free.
#pragma once

#include <cstdint>

namespace tidemark {

// Byte source: deliver up to Count bytes into Buffer, report the number in *Actual.
using ReadProc = void (*)(uint8_t* Buffer, uint16_t Count, uint16_t* Actual);
// Byte sink: take Count bytes from Buffer, report the number taken in *Actual. Count 0 is the
// caller's own flush request; the decoder never makes it.
using WriteProc = void (*)(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual);

// How many bytes past the end of a sound stream the decoder asks for: it tops its 16-bit bit
// reservoir up whenever 8 bits or fewer are left, before every bit, so the last bit it uses comes
// with at least 8 bits after it that it has fetched but not used. A stream whose last byte holds
// that last bit (as the encoder writes it) is thus asked for exactly one byte more; one padded
// with a spare byte, for none. A request beyond this means the stream was cut short.
constexpr int32_t kLzhReadsPastEnd = 1;

// Produces OutputSize bytes (a final match is emitted whole) through Write, pulling input
// through Read; missing input counts as zero bytes. Tests ContinueFlag before every symbol and
// stops quietly when it is 0. Raises LzhError when its tables cannot be had or released.
void LzhDecode(int32_t OutputSize, ReadProc Read, WriteProc Write,
               const volatile int32_t& ContinueFlag);

}  // namespace tidemark
