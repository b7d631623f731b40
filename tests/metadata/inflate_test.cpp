#include <gio/gio.h>
#include <gtest/gtest.h>

#include <random>

#include "platform/linux/inflate.h"

namespace {

using ByteString = std::vector<std::uint8_t>;

ByteString Compress(const ByteString& in, int level) {
  GZlibCompressor* compressor = g_zlib_compressor_new(G_ZLIB_COMPRESSOR_FORMAT_ZLIB, level);
  ByteString out(in.size() + 1024);
  gsize read = 0, written = 0;
  g_converter_convert(G_CONVERTER(compressor), in.data(), in.size(), out.data(), out.size(),
                      G_CONVERTER_INPUT_AT_END, &read, &written, nullptr);
  g_object_unref(compressor);
  out.resize(written);
  return out;
}

// Text-like bytes: long repeats and a small alphabet, as in a profile's tables.
ByteString Sample(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  ByteString bytes;
  while (bytes.size() < size) {
    if (!bytes.empty() && random() % 3 == 0) {
      std::size_t back = 1 + random() % std::min<std::size_t>(bytes.size(), 300);
      for (std::size_t n = 3 + random() % 40; n > 0 && bytes.size() < size; --n)
        bytes.push_back(bytes[bytes.size() - back]);
    } else {
      bytes.push_back(static_cast<std::uint8_t>('a' + random() % 12));
    }
  }
  return bytes;
}

}  // namespace

TEST(Inflate, UnpacksStoredFixedAndDynamicBlocks) {
  for (std::size_t size : {0, 1, 100, 5000, 200000}) {
    ByteString original = Sample(size, static_cast<unsigned>(size));
    for (int level : {0, 1, 6, 9}) {
      ByteString out;
      ASSERT_TRUE(platform::inflate_zlib(Compress(original, level), out, 1 << 20))
          << size << " bytes at level " << level;
      EXPECT_EQ(out, original);
    }
  }
}

TEST(Inflate, TurnsDownBrokenStreams) {
  ByteString original = Sample(3000, 7);
  ByteString packed = Compress(original, 9);
  ByteString out;
  for (std::size_t length = 0; length < packed.size(); ++length) {
    ByteString cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(platform::inflate_zlib(cut, out, 1 << 20)) << length;
    EXPECT_TRUE(out.empty());
  }
  // A changed byte never gives other bytes: it is caught, at the latest by the
  // check value, unless it only touched the unused bits after the last block.
  for (std::size_t at = 0; at < packed.size(); ++at) {
    ByteString edited = packed;
    edited[at] ^= 0x10;
    if (platform::inflate_zlib(edited, out, 1 << 20)) {
      EXPECT_EQ(out, original) << at;
    }
  }
}

TEST(Inflate, StopsAtTheLimit) {
  ByteString zeros(100000, 0);
  ByteString out;
  EXPECT_FALSE(platform::inflate_zlib(Compress(zeros, 9), out, 99999));
  EXPECT_TRUE(platform::inflate_zlib(Compress(zeros, 9), out, 100000));
}
