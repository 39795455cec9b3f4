// The small lexical pieces the OSTREL_* variables are made of: whole numbers, comma-separated
// lists, format names and virtual-key names. Strict on purpose: no white space, no signs, no
// trailing characters and no empty list items, so a typo is reported instead of half-read.
#ifndef OSTREL_PLATFORM_RUNTIME_CONFIG_VALUES_H
#define OSTREL_PLATFORM_RUNTIME_CONFIG_VALUES_H

#include <d3d8types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::config_values {

// Decimal digits only, within [minimum, maximum].
std::optional<std::uint64_t> WholeNumberFromText(std::string_view text, std::uint64_t minimum,
                                                 std::uint64_t maximum);

// Comma-separated items; an empty text is an empty list; an empty item makes it malformed.
std::optional<std::vector<std::string_view>> ItemsFromList(std::string_view text);

// Splits "head<separator>tail" at the first separator; absent when there is none.
std::optional<std::pair<std::string_view, std::string_view>> SplitAtFirst(std::string_view text, char separator);

// A back-buffer format name without its D3DFMT_ prefix, or any format number.
std::optional<D3DFORMAT> DisplayFormatFromText(std::string_view text);

// D32, D24X8, D16, or any format number.
std::optional<D3DFORMAT> DepthFormatFromText(std::string_view text);

// ESCAPE, SPACE, RETURN, A-Z, 0-9 (the digit keys), F1-F12, or a number of two or more digits
// from 1 to 254 (a single digit always names the digit key).
std::optional<std::uint32_t> VirtualKeyFromText(std::string_view text);

// The value as it can be shown inside quotes on one line: control and non-ASCII bytes as \xNN.
std::string PrintableFromText(std::string_view text);

}  // namespace ostrel::config_values

#endif
