// Arbitrary bytes as the keys of a "sendkeys " command. A string that is not
// UTF-8 must type nothing; a string that parses must leave no key down: every
// press is released, innermost first, and nothing is released that was not
// pressed. Characters are real code points, keys real virtual-key codes, and
// text with none of the notation's special characters types itself. Nothing
// carries over from one complete string to the next: two strings that parse
// on their own type, put together, what each types in turn.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "command/send_keys.h"

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "send keys: %s\n", what);
    std::abort();
}

// The code points of well-formed UTF-8, by the byte ranges of the Unicode
// standard's table of well-formed sequences; nullopt for anything else.
std::optional<std::vector<char32_t>> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const unsigned lead = b(0);
        std::size_t n = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (lead < 0x80) n = 1;
        else if (lead >= 0xC2 && lead <= 0xDF) n = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) n = 3, lo = lead == 0xE0 ? 0xA0 : 0x80, hi = lead == 0xED ? 0x9F : 0xBF;
        else if (lead >= 0xF0 && lead <= 0xF4) n = 4, lo = lead == 0xF0 ? 0x90 : 0x80, hi = lead == 0xF4 ? 0x8F : 0xBF;
        else return std::nullopt;
        if (text.size() - i < n) return std::nullopt;
        char32_t c = n == 1 ? lead : lead & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const unsigned min = k == 1 ? lo : 0x80, max = k == 1 ? hi : 0xBF;
            if (b(k) < min || b(k) > max) return std::nullopt;
            c = (c << 6) | (b(k) & 0x3Fu);
        }
        out.push_back(c);
        i += n;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto keys = kolvi::parseSendKeys(text);
    const auto codePoints = decodeUtf8(text);
    if (!codePoints) {
        if (keys) fail("text that is not UTF-8 was accepted");
        return 0;
    }
    // The first byte, besides being text, says where to cut.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    const auto head = kolvi::parseSendKeys(text.substr(0, cut));
    const auto tail = kolvi::parseSendKeys(text.substr(cut));
    if (head && tail) {
        std::vector<kolvi::KeyInput> both = *head;
        both.insert(both.end(), tail->begin(), tail->end());
        if (!keys || both != *keys) fail("two strings typed together differ from each typed in turn");
    }
    if (!keys) {
        if (text.find_first_of("+^%~(){}") == std::string_view::npos) fail("plain text was refused");
        return 0;
    }

    std::vector<unsigned> down;
    std::vector<char32_t> typedText;
    for (const kolvi::KeyInput& key : *keys) {
        if (key.kind == kolvi::KeyInput::Kind::character) {
            if (key.keyUp) fail("a character has a release");
            if (key.code > 0x10FFFF || (key.code >= 0xD800 && key.code <= 0xDFFF)) fail("not a code point");
            typedText.push_back(key.code);
        } else if (key.code == 0 || key.code > 0xFE) {
            fail("not a virtual-key code");
        } else if (!key.keyUp) {
            down.push_back(key.code);
        } else {
            if (down.empty() || down.back() != key.code) fail("a release that is not of the last key down");
            down.pop_back();
        }
    }
    if (!down.empty()) fail("a key is left down");
    if (text.find_first_of("+^%~(){}") == std::string_view::npos && typedText != *codePoints) {
        fail("plain text did not type itself");
    }
    return 0;
}
