// decodeDatePicture on any bytes: each '?' at a character boundary becomes one line break,
// two-byte characters pass whole, a lone lead byte at the end goes, and nothing else changes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace {

using talvessa::decodeDatePicture;

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view stored(reinterpret_cast<const char*>(data), size);
    const std::string picture = decodeDatePicture(stored);

    // Walk both texts side by side, one character of the stored text at a time.
    std::size_t out = 0;
    for (std::size_t in = 0; in < stored.size(); ++in) {
        if (static_cast<unsigned char>(stored[in]) >= 0x80) {
            if (in + 1 == stored.size()) break;  // the lone lead byte at the end
            require(picture.compare(out, 2, stored.substr(in, 2)) == 0);
            out += 2;
            ++in;
        } else if (stored[in] == '?') {
            require(picture.compare(out, 2, "\r\n") == 0);
            out += 2;
        } else {
            require(out < picture.size() && picture[out] == stored[in]);
            ++out;
        }
    }
    require(out == picture.size());
    // The result holds no '?' at a character boundary any more.
    require(decodeDatePicture(picture) == picture);
    return 0;
}
