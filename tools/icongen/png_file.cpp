#include "tools/icongen/png_file.h"

#include <array>
#include <string_view>

namespace talvessa::icongen {
namespace {

// Writes bits least significant first, as deflate packs them.
class BitWriter {
public:
    void put(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            if (used_ == 0) out_.push_back(0);
            out_.back() |= static_cast<std::uint8_t>(((value >> i) & 1) << used_);
            used_ = (used_ + 1) % 8;
        }
    }
    // Huffman codes go most significant bit first.
    void putCode(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) put((code >> i) & 1, 1);
    }
    Bytes take() { return std::move(out_); }

private:
    Bytes out_;
    int used_ = 0;
};

// The fixed literal/length code of deflate (RFC 1951, 3.2.6).
void putLiteralOrLength(BitWriter& bits, int symbol) {
    if (symbol < 144) bits.putCode(0x30 + symbol, 8);
    else if (symbol < 256) bits.putCode(0x190 + symbol - 144, 9);
    else if (symbol < 280) bits.putCode(symbol - 256, 7);
    else bits.putCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                          15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase{1,    2,    3,    4,    5,    7,     9,     13,
                                            17,   25,   33,   49,   65,   97,    129,   193,
                                            257,  385,  513,  769,  1025, 1537,  2049,  3073,
                                            4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void putMatch(BitWriter& bits, int length, int distance) {
    int l = 28;
    while (kLengthBase[static_cast<std::size_t>(l)] > length) --l;
    putLiteralOrLength(bits, 257 + l);
    bits.put(static_cast<std::uint32_t>(length - kLengthBase[static_cast<std::size_t>(l)]),
             kLengthExtra[static_cast<std::size_t>(l)]);
    int d = 29;
    while (kDistanceBase[static_cast<std::size_t>(d)] > distance) --d;
    bits.putCode(static_cast<std::uint32_t>(d), 5);
    bits.put(static_cast<std::uint32_t>(distance - kDistanceBase[static_cast<std::size_t>(d)]),
             kDistanceExtra[static_cast<std::size_t>(d)]);
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::uint32_t crc32(const Bytes& data, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void putBig32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(Bytes& out, std::string_view type, const Bytes& body) {
    putBig32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(out, start));
}

}  // namespace

Bytes zlibCompress(const Bytes& data) {
    constexpr int kWindow = 32768;
    constexpr int kMaxMatch = 258;
    constexpr int kMaxChain = 64;
    constexpr std::size_t kHashSize = 1 << 15;
    std::vector<int> head(kHashSize, -1);
    std::vector<int> previous(data.size(), -1);
    auto hashAt = [&](std::size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
    };
    auto insert = [&](std::size_t i) {
        if (i + 2 >= data.size()) return;
        const std::size_t h = hashAt(i);
        previous[i] = head[h];
        head[h] = static_cast<int>(i);
    };

    BitWriter bits;
    bits.put(1, 1);  // the last block
    bits.put(1, 2);  // fixed Huffman codes
    std::size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0;
        int bestDistance = 0;
        if (i + 2 < data.size()) {
            int candidate = head[hashAt(i)];
            for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
                const int distance = static_cast<int>(i) - candidate;
                if (distance > kWindow) break;
                int length = 0;
                while (length < kMaxMatch && i + static_cast<std::size_t>(length) < data.size() &&
                       data[static_cast<std::size_t>(candidate + length)] ==
                           data[i + static_cast<std::size_t>(length)])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
                candidate = previous[static_cast<std::size_t>(candidate)];
            }
        }
        if (bestLength >= 3) {
            putMatch(bits, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k) insert(i + static_cast<std::size_t>(k));
            i += static_cast<std::size_t>(bestLength);
        } else {
            putLiteralOrLength(bits, data[i]);
            insert(i);
            ++i;
        }
    }
    putLiteralOrLength(bits, 256);  // end of block

    Bytes out{0x78, 0x01};  // deflate, 32 KB window, no dictionary, check bits
    const Bytes body = bits.take();
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, adler32(data));
    return out;
}

Bytes encodePng(const Picture& picture) {
    const auto side = static_cast<std::uint32_t>(picture.size);
    Bytes header;
    putBig32(header, side);
    putBig32(header, side);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive, no interlace

    Bytes rows;
    for (int y = 0; y < picture.size; ++y) {
        rows.push_back(1);  // Sub: each byte less the same byte of the pixel to its left
        Rgba left{0, 0, 0, 0};
        for (int x = 0; x < picture.size; ++x) {
            const Rgba& p = picture.at(x, y);
            rows.insert(rows.end(), {static_cast<std::uint8_t>(p.red - left.red),
                                     static_cast<std::uint8_t>(p.green - left.green),
                                     static_cast<std::uint8_t>(p.blue - left.blue),
                                     static_cast<std::uint8_t>(p.alpha - left.alpha)});
            left = p;
        }
    }

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibCompress(rows));
    putChunk(out, "IEND", {});
    return out;
}

IconImage encodePngImage(const Picture& picture) {
    return IconImage{picture.size, 32, encodePng(picture)};
}

}  // namespace talvessa::icongen
