#include "show/UserText.h"

std::string shownInMessage(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
        } else {
            out += c;
        }
    }
    return out;
}
