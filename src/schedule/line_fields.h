#pragma once
// Single fields of a stored alarm line, read the way the firing code reads
// them: split at every ",", no trimming.
#include <cstddef>
#include <string_view>

namespace kolvi {

inline constexpr std::size_t kNameField = 1;
inline constexpr std::size_t kFileField = 12;
inline constexpr std::size_t kDeleteAfterRunField = 13;

// The field at index (0-based); "" when the line has fewer fields.
std::string_view lineField(std::string_view line, std::size_t index);

}  // namespace kolvi
