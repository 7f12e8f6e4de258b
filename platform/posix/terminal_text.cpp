#include "platform/posix/terminal_text.h"

namespace velmora::platform::posix {
namespace {

void AppendOctal(std::string& out, unsigned char byte) {
    out += '\\';
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

// The length of the well-formed UTF-8 character at the start of `text`
// (shortest form, no surrogates, at most U+10FFFF), 0 when there is none;
// its code point in `codePoint`.
size_t Utf8Length(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < least || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

// The escapes `ls -b` writes by name; null for any other character.
const char* NamedEscape(char32_t codePoint) {
    switch (codePoint) {
        case '\a':
            return "\\a";
        case '\b':
            return "\\b";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\v':
            return "\\v";
        case '\f':
            return "\\f";
        case '\r':
            return "\\r";
        case '\\':
            return "\\\\";
        default:
            return nullptr;
    }
}

bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

std::string EscapeForTerminal(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    while (!name.empty()) {
        char32_t codePoint = 0;
        const size_t length = Utf8Length(name, codePoint);
        if (length == 0) {
            AppendOctal(out, static_cast<unsigned char>(name[0]));
            name.remove_prefix(1);
            continue;
        }
        if (const char* named = NamedEscape(codePoint)) {
            out += named;
        } else if (IsControl(codePoint)) {
            for (size_t i = 0; i < length; ++i) {
                AppendOctal(out, static_cast<unsigned char>(name[i]));
            }
        } else {
            out.append(name.substr(0, length));
        }
        name.remove_prefix(length);
    }
    return out;
}

}  // namespace velmora::platform::posix
