#include "platform/linux/inflate.h"

#include <array>

namespace platform {
namespace {

constexpr int kMaxBits = 15;        // the longest code of a deflate stream
constexpr int kLiteralCodes = 288;  // literals, end of block, lengths
constexpr int kDistanceCodes = 30;

// A canonical Huffman code: how many codes of each length, and the symbols in
// code order.
struct Huffman {
  std::array<std::uint16_t, kMaxBits + 1> counts{};
  std::array<std::uint16_t, kLiteralCodes> symbols{};
};

// Builds a code from the length of each symbol's code. False when the lengths
// ask for more codes than there are (an incomplete code is allowed: a
// stream that uses a missing code is caught when it is decoded).
bool build(Huffman& h, const std::uint8_t* lengths, int count) {
  h.counts.fill(0);
  for (int s = 0; s < count; ++s) ++h.counts[lengths[s]];
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = 2 * left - h.counts[len];
    if (left < 0) return false;
  }
  std::array<std::uint16_t, kMaxBits + 2> offsets{};
  for (int len = 1; len <= kMaxBits; ++len) offsets[len + 1] = offsets[len] + h.counts[len];
  for (int s = 0; s < count; ++s) {
    if (lengths[s] != 0) h.symbols[offsets[lengths[s]]++] = static_cast<std::uint16_t>(s);
  }
  return true;
}

class Inflater {
 public:
  Inflater(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out, std::size_t limit)
      : m_in(in), m_out(out), m_limit(limit) {}

  bool run();

 private:
  // The next `count` bits, first bit lowest; sets m_failed past the end.
  std::uint32_t bits(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (m_at >= m_in.size()) {
        m_failed = true;
        return 0;
      }
      value |= static_cast<std::uint32_t>((m_in[m_at] >> m_bit) & 1) << i;
      if (++m_bit == 8) m_bit = 0, ++m_at;
    }
    return value;
  }

  // One symbol, read a bit at a time down the canonical code; -1 when the
  // bits match no code.
  int decode(const Huffman& h) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits && !m_failed; ++len) {
      code |= static_cast<int>(bits(1));
      int count = h.counts[len];
      if (code - first < count) return h.symbols[index + code - first];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    m_failed = true;
    return -1;
  }

  bool put(std::uint8_t byte) {
    if (m_out.size() >= m_limit) return false;
    m_out.push_back(byte);
    return true;
  }

  bool stored();
  bool fixed();
  bool dynamic();
  bool codes(const Huffman& literals, const Huffman& distances);

  std::span<const std::uint8_t> m_in;
  std::vector<std::uint8_t>& m_out;
  std::size_t m_limit;
  std::size_t m_at = 2;  // past the zlib header
  int m_bit = 0;
  bool m_failed = false;
};

bool Inflater::stored() {
  if (m_bit != 0) m_bit = 0, ++m_at;  // to the next byte
  if (m_at + 4 > m_in.size()) return false;
  unsigned length = m_in[m_at] | m_in[m_at + 1] << 8;
  unsigned check = m_in[m_at + 2] | m_in[m_at + 3] << 8;
  m_at += 4;
  if (length != (~check & 0xFFFF) || length > m_in.size() - m_at) return false;
  for (unsigned i = 0; i < length; ++i) {
    if (!put(m_in[m_at++])) return false;
  }
  return true;
}

bool Inflater::codes(const Huffman& literals, const Huffman& distances) {
  static constexpr std::uint16_t kLengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr std::uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static constexpr std::uint16_t kDistanceBase[] = {
      1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
      193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static constexpr std::uint8_t kDistanceExtra[] = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  for (;;) {
    int symbol = decode(literals);
    if (symbol < 0) return false;
    if (symbol < 256) {
      if (!put(static_cast<std::uint8_t>(symbol))) return false;
      continue;
    }
    if (symbol == 256) return true;  // end of block
    symbol -= 257;
    if (symbol >= 29) return false;
    std::size_t length = kLengthBase[symbol] + bits(kLengthExtra[symbol]);
    int d = decode(distances);
    if (d < 0 || d >= kDistanceCodes) return false;
    std::size_t distance = kDistanceBase[d] + bits(kDistanceExtra[d]);
    if (m_failed || distance > m_out.size()) return false;
    for (std::size_t i = 0; i < length; ++i) {
      if (!put(m_out[m_out.size() - distance])) return false;
    }
  }
}

bool Inflater::fixed() {
  std::array<std::uint8_t, kLiteralCodes> lengths{};
  for (int s = 0; s < kLiteralCodes; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  Huffman literals, distances;
  build(literals, lengths.data(), kLiteralCodes);
  lengths.fill(5);
  build(distances, lengths.data(), kDistanceCodes);
  return codes(literals, distances);
}

bool Inflater::dynamic() {
  static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
  int literal_count = static_cast<int>(bits(5)) + 257;
  int distance_count = static_cast<int>(bits(5)) + 1;
  int length_codes = static_cast<int>(bits(4)) + 4;
  if (m_failed || literal_count > 286 || distance_count > kDistanceCodes) return false;
  std::array<std::uint8_t, kLiteralCodes + kDistanceCodes> lengths{};
  for (int i = 0; i < length_codes; ++i) lengths[kOrder[i]] = static_cast<std::uint8_t>(bits(3));
  Huffman lengths_code;
  if (m_failed || !build(lengths_code, lengths.data(), 19)) return false;
  lengths.fill(0);
  for (int at = 0; at < literal_count + distance_count;) {
    int symbol = decode(lengths_code);
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[at++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    // 16 repeats the previous length 3 to 6 times; 17 and 18 put zeros.
    if (symbol == 16 && at == 0) return false;
    std::uint8_t repeated = symbol == 16 ? lengths[at - 1] : 0;
    int times = symbol == 16 ? 3 + bits(2) : symbol == 17 ? 3 + bits(3) : 11 + bits(7);
    if (m_failed || at + times > literal_count + distance_count) return false;
    while (times-- > 0) lengths[at++] = repeated;
  }
  if (lengths[256] == 0) return false;  // a block must be able to end
  Huffman literals, distances;
  return build(literals, lengths.data(), literal_count) &&
         build(distances, lengths.data() + literal_count, distance_count) &&
         codes(literals, distances);
}

bool Inflater::run() {
  // The zlib header: method 8 (deflate), a header check, no preset dictionary.
  if (m_in.size() < 6 || (m_in[0] & 0x0F) != 8 || ((m_in[0] << 8) | m_in[1]) % 31 != 0 ||
      (m_in[1] & 0x20) != 0)
    return false;
  for (bool last = false; !last;) {
    last = bits(1) != 0;
    std::uint32_t type = bits(2);
    bool ok = !m_failed && (type == 0 ? stored() : type == 1 ? fixed() : type == 2 && dynamic());
    if (!ok || m_failed) return false;
  }
  // The Adler-32 check value of the unpacked bytes follows, big-endian.
  if (m_bit != 0) ++m_at;
  if (m_at + 4 > m_in.size()) return false;
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : m_out) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  std::uint32_t expected = static_cast<std::uint32_t>(m_in[m_at]) << 24 | m_in[m_at + 1] << 16 |
                           m_in[m_at + 2] << 8 | m_in[m_at + 3];
  return expected == (b << 16 | a);
}

}  // namespace

bool inflate_zlib(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out,
                  std::size_t limit) {
  out.clear();
  if (Inflater(in, out, limit).run()) return true;
  out.clear();
  return false;
}

}  // namespace platform
