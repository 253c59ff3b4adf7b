#include "text/fields.h"

namespace kolvi {

std::string_view fieldAt(std::string_view text, std::size_t index, char separator) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) return {};
        start = end + 1;
    }
    return text.substr(start, text.find(separator, start) - start);
}

std::size_t splitFieldsInto(std::string_view text, std::span<std::string_view> out, char separator) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < out.size()) {
        const std::size_t end = text.find(separator, start);
        out[count++] = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return count;
}

std::vector<std::string_view> splitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

bool fieldListContains(std::string_view listText, std::string_view item, char separator) {
    if (listText.empty()) return false;
    for (const std::string_view field : splitFields(listText, separator)) {
        if (field == item) return true;
    }
    return false;
}

}  // namespace kolvi
