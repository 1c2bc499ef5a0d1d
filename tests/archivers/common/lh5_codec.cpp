#include "tests/archivers/common/lh5_codec.h"

#include <algorithm>
#include <array>
#include <queue>

#include "tests/archivers/common/result_codes.h"

namespace standin {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kDictionaryBits = 13;
constexpr size_t kMaxDistance = (1u << kDictionaryBits) - 1;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 256;
constexpr int kCodeCount = 256 + kMaxMatch - kMinMatch + 1;  // literals and match lengths: 510
constexpr int kTempCount = 16 + 3;                           // code lengths 1..16 and 3 zero runs
constexpr int kOffsetCount = kDictionaryBits + 1;            // bit lengths of an offset: 0..13
constexpr int kCodeCountBits = 9;
constexpr int kTempCountBits = 5;
constexpr int kOffsetCountBits = 4;
constexpr int kMaxCodeLength = 16;
constexpr size_t kBlockItems = 32768;
constexpr int kChainDepth = 128;

class BitWriter {
 public:
  void Put(int count, std::uint32_t value) {
    for (int i = count - 1; i >= 0; --i) {
      current_ = static_cast<std::uint8_t>((current_ << 1) | ((value >> i) & 1));
      if (++filled_ == 8) {
        out_.push_back(current_);
        current_ = 0;
        filled_ = 0;
      }
    }
  }
  Bytes Finish() {
    if (filled_ > 0) Put(8 - filled_, 0);
    return std::move(out_);
  }

 private:
  Bytes out_;
  std::uint8_t current_ = 0;
  int filled_ = 0;
};

class BitReader {
 public:
  explicit BitReader(const Bytes& in) : in_(in) {}
  std::uint32_t Get(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 1) | Bit();
    return value;
  }
  std::uint32_t Bit() {
    if (position_ >= in_.size() * 8) throw ArchiverError{kErrorFileCrc, "packed data ends early"};
    std::uint32_t bit = (in_[position_ / 8] >> (7 - position_ % 8)) & 1;
    ++position_;
    return bit;
  }

 private:
  const Bytes& in_;
  size_t position_ = 0;
};

// Huffman code lengths for the given frequencies, none longer than kMaxCodeLength. Unused
// symbols get 0. Frequencies are halved until the tree is shallow enough.
std::vector<std::uint8_t> CodeLengths(std::vector<std::uint32_t> freq) {
  std::vector<std::uint8_t> lengths(freq.size(), 0);
  for (;;) {
    struct Node {
      std::uint64_t weight;
      int left, right;
    };
    std::vector<Node> nodes;
    using Entry = std::pair<std::uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap;
    for (size_t s = 0; s < freq.size(); ++s) {
      if (freq[s] == 0) continue;
      nodes.push_back({freq[s], -1, static_cast<int>(s)});
      heap.push({freq[s], static_cast<int>(nodes.size() - 1)});
    }
    if (nodes.size() < 2) return lengths;
    while (heap.size() > 1) {
      Entry a = heap.top();
      heap.pop();
      Entry b = heap.top();
      heap.pop();
      nodes.push_back({a.first + b.first, a.second, b.second});
      heap.push({a.first + b.first, static_cast<int>(nodes.size() - 1)});
    }
    int deepest = 0;
    std::vector<std::pair<int, int>> stack{{heap.top().second, 0}};
    while (!stack.empty()) {
      auto [index, depth] = stack.back();
      stack.pop_back();
      const Node& node = nodes[static_cast<size_t>(index)];
      if (node.left < 0) {
        lengths[static_cast<size_t>(node.right)] = static_cast<std::uint8_t>(depth);
        deepest = std::max(deepest, depth);
      } else {
        stack.push_back({node.left, depth + 1});
        stack.push_back({node.right, depth + 1});
      }
    }
    if (deepest <= kMaxCodeLength) return lengths;
    for (std::uint32_t& f : freq) {
      if (f) f = (f >> 1) | 1;
    }
  }
}

// Canonical codes: shorter codes first, equal lengths in symbol order, as LHA decoders build
// their trees.
std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  std::uint32_t code = 0;
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    for (size_t s = 0; s < lengths.size(); ++s) {
      if (lengths[s] == length) codes[s] = static_cast<std::uint16_t>(code++);
    }
    code <<= 1;
  }
  return codes;
}

int SingleSymbol(const std::vector<std::uint32_t>& freq) {
  int used = 0, symbol = 0;
  for (size_t s = 0; s < freq.size(); ++s) {
    if (freq[s]) {
      ++used;
      symbol = static_cast<int>(s);
    }
  }
  return used <= 1 ? symbol : -1;
}

struct Item {
  std::uint16_t code;      // literal byte or 253 + match length
  std::uint16_t distance;  // offset - 1 for a match
};

struct Table {
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
  void Put(BitWriter& out, size_t symbol) const { out.Put(lengths[symbol], codes[symbol]); }
};

int BitLength(std::uint32_t value) {
  int bits = 0;
  while (value) {
    value >>= 1;
    ++bits;
  }
  return bits;
}

// Lengths of a temp or offset table: 3 bits each, 7 and above continued in unary; after the
// third entry of the temp table a 2-bit count skips up to three zero lengths.
void WriteShortLengths(BitWriter& out, const std::vector<std::uint8_t>& lengths, int countBits,
                       int special) {
  int n = static_cast<int>(lengths.size());
  while (n > 0 && lengths[static_cast<size_t>(n - 1)] == 0) --n;
  out.Put(countBits, static_cast<std::uint32_t>(n));
  int i = 0;
  while (i < n) {
    int k = lengths[static_cast<size_t>(i++)];
    if (k <= 6) {
      out.Put(3, static_cast<std::uint32_t>(k));
    } else {
      out.Put(k - 3, (0xFFFFu << 1) & ((1u << (k - 3)) - 1));
    }
    if (i == special) {
      while (i < 6 && i < n && lengths[static_cast<size_t>(i)] == 0) ++i;
      out.Put(2, static_cast<std::uint32_t>(i - special));
    }
  }
}

// Walks the code lengths as the temp table encodes them: a length k as symbol k + 2, runs of
// zeros as symbols 0 (one zero), 1 (3..18 zeros) and 2 (20 and more zeros).
template <typename Emit>
void WalkCodeLengths(const std::vector<std::uint8_t>& lengths, Emit emit) {
  int n = kCodeCount;
  while (n > 0 && lengths[static_cast<size_t>(n - 1)] == 0) --n;
  int i = 0;
  while (i < n) {
    int k = lengths[static_cast<size_t>(i++)];
    if (k != 0) {
      emit(k + 2, 0, 0);
      continue;
    }
    int count = 1;
    while (i < n && lengths[static_cast<size_t>(i)] == 0) {
      ++i;
      ++count;
    }
    if (count <= 2) {
      for (int j = 0; j < count; ++j) emit(0, 0, 0);
    } else if (count <= 18) {
      emit(1, 4, count - 3);
    } else if (count == 19) {
      emit(0, 0, 0);
      emit(1, 4, 15);
    } else {
      emit(2, kCodeCountBits, count - 20);
    }
  }
}

void WriteBlock(BitWriter& out, const std::vector<Item>& items) {
  std::vector<std::uint32_t> codeFreq(kCodeCount, 0), offsetFreq(kOffsetCount, 0);
  for (const Item& item : items) {
    ++codeFreq[item.code];
    if (item.code >= 256) ++offsetFreq[static_cast<size_t>(BitLength(item.distance))];
  }
  out.Put(16, static_cast<std::uint32_t>(items.size()));

  Table code{CodeLengths(codeFreq), {}};
  code.codes = CanonicalCodes(code.lengths);
  int single = SingleSymbol(codeFreq);
  if (single >= 0) {
    out.Put(kTempCountBits, 0);
    out.Put(kTempCountBits, 0);
    out.Put(kCodeCountBits, 0);
    out.Put(kCodeCountBits, static_cast<std::uint32_t>(single));
  } else {
    std::vector<std::uint32_t> tempFreq(kTempCount, 0);
    WalkCodeLengths(code.lengths,
                    [&](int symbol, int, int) { ++tempFreq[static_cast<size_t>(symbol)]; });
    Table temp{CodeLengths(tempFreq), {}};
    temp.codes = CanonicalCodes(temp.lengths);
    int singleTemp = SingleSymbol(tempFreq);
    if (singleTemp >= 0) {
      out.Put(kTempCountBits, 0);
      out.Put(kTempCountBits, static_cast<std::uint32_t>(singleTemp));
    } else {
      WriteShortLengths(out, temp.lengths, kTempCountBits, 3);
    }
    int n = kCodeCount;
    while (n > 0 && code.lengths[static_cast<size_t>(n - 1)] == 0) --n;
    out.Put(kCodeCountBits, static_cast<std::uint32_t>(n));
    WalkCodeLengths(code.lengths, [&](int symbol, int extraBits, int extra) {
      temp.Put(out, static_cast<size_t>(symbol));
      if (extraBits) out.Put(extraBits, static_cast<std::uint32_t>(extra));
    });
  }

  Table offset{CodeLengths(offsetFreq), {}};
  offset.codes = CanonicalCodes(offset.lengths);
  int singleOffset = SingleSymbol(offsetFreq);
  if (singleOffset >= 0) {
    out.Put(kOffsetCountBits, 0);
    out.Put(kOffsetCountBits, static_cast<std::uint32_t>(singleOffset));
  } else {
    WriteShortLengths(out, offset.lengths, kOffsetCountBits, -1);
  }

  for (const Item& item : items) {
    code.Put(out, item.code);
    if (item.code < 256) continue;
    int bits = BitLength(item.distance);
    offset.Put(out, static_cast<size_t>(bits));
    if (bits > 1) out.Put(bits - 1, item.distance & ((1u << (bits - 1)) - 1));
  }
}

// Greedy LZSS parse with hash chains over the whole input.
std::vector<Item> Parse(const Bytes& data) {
  std::vector<Item> items;
  const size_t n = data.size();
  std::vector<std::int32_t> head(1 << 15, -1), previous(n, -1);
  auto hash = [&](size_t at) {
    return ((data[at] << 10) ^ (data[at + 1] << 5) ^ data[at + 2]) & 0x7FFF;
  };
  auto insert = [&](size_t at) {
    if (at + kMinMatch > n) return;
    int h = hash(at);
    previous[at] = head[static_cast<size_t>(h)];
    head[static_cast<size_t>(h)] = static_cast<std::int32_t>(at);
  };
  size_t at = 0;
  while (at < n) {
    size_t bestLength = 0, bestDistance = 0;
    if (at + kMinMatch <= n) {
      size_t limit = std::min(kMaxMatch, n - at);
      std::int32_t candidate = head[static_cast<size_t>(hash(at))];
      for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
        size_t distance = at - static_cast<size_t>(candidate);
        if (distance > kMaxDistance) break;
        size_t length = 0;
        while (length < limit && data[static_cast<size_t>(candidate) + length] == data[at + length])
          ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = distance;
          if (length == limit) break;
        }
        candidate = previous[static_cast<size_t>(candidate)];
      }
    }
    if (bestLength >= kMinMatch) {
      items.push_back({static_cast<std::uint16_t>(bestLength + 256 - kMinMatch),
                       static_cast<std::uint16_t>(bestDistance - 1)});
      for (size_t i = 0; i < bestLength; ++i) insert(at + i);
      at += bestLength;
    } else {
      items.push_back({data[at], 0});
      insert(at);
      ++at;
    }
  }
  return items;
}

// Decoding table of canonical codes (or one symbol read with no bits at all).
class Decoder {
 public:
  static Decoder Single(int symbol) {
    Decoder d;
    d.single_ = symbol;
    return d;
  }
  explicit Decoder(const std::vector<std::uint8_t>& lengths = {}) : count_(kMaxCodeLength + 1, 0) {
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      for (size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] == length) {
          ++count_[static_cast<size_t>(length)];
          symbols_.push_back(static_cast<int>(s));
        }
      }
    }
  }
  int Read(BitReader& in) const {
    if (single_ >= 0) return single_;
    int code = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      code |= static_cast<int>(in.Bit());
      int count = count_[static_cast<size_t>(length)];
      if (code - first < count) return symbols_[static_cast<size_t>(index + code - first)];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    throw ArchiverError{kErrorFileCrc, "impossible Huffman code"};
  }

 private:
  int single_ = -1;
  std::vector<int> count_;
  std::vector<int> symbols_;
};

std::uint32_t ReadLength(BitReader& in) {
  std::uint32_t length = in.Get(3);
  if (length == 7) {
    while (in.Bit()) ++length;
  }
  return length;
}

Decoder ReadShortLengths(BitReader& in, int countBits, int special, int maxCount) {
  int n = static_cast<int>(in.Get(countBits));
  if (n == 0) return Decoder::Single(static_cast<int>(in.Get(countBits)));
  n = std::min(n, maxCount);
  std::vector<std::uint8_t> lengths(static_cast<size_t>(std::max(n, 6)), 0);
  for (int i = 0; i < n; ++i) {
    lengths[static_cast<size_t>(i)] = static_cast<std::uint8_t>(ReadLength(in));
    if (i == special - 1) i += static_cast<int>(in.Get(2));
  }
  lengths.resize(static_cast<size_t>(n));
  return Decoder(lengths);
}

}  // namespace

std::uint16_t Crc16(const std::uint8_t* data, size_t size, std::uint16_t crc) {
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                      : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

Bytes Lh5Encode(const Bytes& data) {
  BitWriter out;
  std::vector<Item> items = Parse(data);
  for (size_t start = 0; start < items.size(); start += kBlockItems) {
    size_t end = std::min(items.size(), start + kBlockItems);
    WriteBlock(out, std::vector<Item>(items.begin() + static_cast<std::ptrdiff_t>(start),
                                      items.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  return out.Finish();
}

Bytes Lh5Decode(const Bytes& packed, std::uint32_t originalSize) {
  BitReader in(packed);
  Bytes out;
  out.reserve(originalSize);
  while (out.size() < originalSize) {
    std::uint32_t items = in.Get(16);
    Decoder temp = ReadShortLengths(in, kTempCountBits, 3, 31);
    Decoder code;
    int n = static_cast<int>(in.Get(kCodeCountBits));
    if (n == 0) {
      code = Decoder::Single(static_cast<int>(in.Get(kCodeCountBits)));
    } else {
      std::vector<std::uint8_t> lengths;
      while (static_cast<int>(lengths.size()) < std::min(n, kCodeCount)) {
        int symbol = temp.Read(in);
        if (symbol > 2) {
          lengths.push_back(static_cast<std::uint8_t>(symbol - 2));
          continue;
        }
        std::uint32_t zeros = symbol == 0   ? 1
                              : symbol == 1 ? in.Get(4) + 3
                                            : in.Get(kCodeCountBits) + 20;
        lengths.insert(lengths.end(), zeros, 0);
      }
      lengths.resize(static_cast<size_t>(std::min(n, kCodeCount)));
      code = Decoder(lengths);
    }
    Decoder offset = ReadShortLengths(in, kOffsetCountBits, -1, 15);
    for (std::uint32_t i = 0; i < items && out.size() < originalSize; ++i) {
      int symbol = code.Read(in);
      if (symbol < 256) {
        out.push_back(static_cast<std::uint8_t>(symbol));
        continue;
      }
      size_t length = static_cast<size_t>(symbol) - 256 + kMinMatch;
      int bits = offset.Read(in);
      size_t distance =
          bits <= 1 ? static_cast<size_t>(bits) : (1u << (bits - 1)) + in.Get(bits - 1);
      if (distance + 1 > out.size())
        throw ArchiverError{kErrorFileCrc, "reference before the start"};
      size_t from = out.size() - distance - 1;
      for (size_t k = 0; k < length && out.size() < originalSize; ++k) out.push_back(out[from + k]);
    }
  }
  return out;
}

}  // namespace standin
