#include "platform/media/class_id.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fc {

namespace {

// SHA-1 of `message` (used only to derive identifiers, not for security).
std::array<std::uint8_t, 20> Sha1(const std::vector<std::uint8_t>& message) {
  std::uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::vector<std::uint8_t> data = message;
  const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
  data.push_back(0x80);
  while (data.size() % 64 != 56) data.push_back(0);
  for (int i = 7; i >= 0; --i) data.push_back(static_cast<std::uint8_t>(bits >> (i * 8)));
  auto rotl = [](std::uint32_t v, int n) { return (v << n) | (v >> (32 - n)); };
  for (std::size_t block = 0; block < data.size(); block += 64) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i)
      w[i] = std::uint32_t(data[block + i * 4]) << 24 | std::uint32_t(data[block + i * 4 + 1]) << 16 |
             std::uint32_t(data[block + i * 4 + 2]) << 8 | std::uint32_t(data[block + i * 4 + 3]);
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
      std::uint32_t f, k;
      if (i < 20) {
        f = (b & c) | (~b & d), k = 0x5A827999;
      } else if (i < 40) {
        f = b ^ c ^ d, k = 0x6ED9EBA1;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
      } else {
        f = b ^ c ^ d, k = 0xCA62C1D6;
      }
      const std::uint32_t t = rotl(a, 5) + f + e + k + w[i];
      e = d, d = c, c = rotl(b, 30), b = a, a = t;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
  }
  std::array<std::uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - (i % 4) * 8));
  return digest;
}

// The namespace of the identifiers of installed video effects.
constexpr std::array<std::uint8_t, 16> kEffectNamespace = {0x5c, 0x0e, 0x7a, 0x31, 0x94, 0x2d, 0x4b, 0x6e,
                                                           0x8f, 0x13, 0x2a, 0xd4, 0x61, 0xb7, 0x09, 0xc8};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Where the dashes of the text form stand, counted in characters after '{'.
constexpr int kDashes[] = {8, 13, 18, 23};

}  // namespace

bool TEffectClassId::IsNull() const {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string TEffectClassId::ToString() const {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text + "}";
}

std::optional<TEffectClassId> TEffectClassId::FromString(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  const std::string_view body = text.substr(1, 36);
  TEffectClassId id;
  std::size_t byte = 0;
  for (int i = 0; i < 36;) {
    if (std::find(std::begin(kDashes), std::end(kDashes), i) != std::end(kDashes)) {
      if (body[static_cast<std::size_t>(i)] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int high = HexDigit(body[static_cast<std::size_t>(i)]), low = HexDigit(body[static_cast<std::size_t>(i) + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    id.bytes[byte++] = static_cast<std::uint8_t>(high << 4 | low);
    i += 2;
  }
  return id;
}

TEffectClassId TEffectClassId::FromName(std::string_view name) {
  std::vector<std::uint8_t> message(kEffectNamespace.begin(), kEffectNamespace.end());
  message.insert(message.end(), name.begin(), name.end());
  const std::array<std::uint8_t, 20> digest = Sha1(message);
  TEffectClassId id;
  std::memcpy(id.bytes.data(), digest.data(), id.bytes.size());
  id.bytes[6] = static_cast<std::uint8_t>((id.bytes[6] & 0x0F) | 0x50);  // version 5
  id.bytes[8] = static_cast<std::uint8_t>((id.bytes[8] & 0x3F) | 0x80);  // the standard variant
  return id;
}

}  // namespace fc
