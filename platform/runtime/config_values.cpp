#include "platform/runtime/config_values.h"

#include <charconv>
#include <cstdio>

namespace ostrel::config_values {
namespace {

struct NamedValue {
    std::string_view name;
    std::uint32_t value;
};

constexpr NamedValue kDisplayFormats[] = {
    {"X8R8G8B8", D3DFMT_X8R8G8B8}, {"R8G8B8", D3DFMT_R8G8B8},     {"R5G6B5", D3DFMT_R5G6B5},
    {"X1R5G5B5", D3DFMT_X1R5G5B5}, {"X4R4G4B4", D3DFMT_X4R4G4B4}, {"A8R8G8B8", D3DFMT_A8R8G8B8},
    {"A1R5G5B5", D3DFMT_A1R5G5B5}, {"A4R4G4B4", D3DFMT_A4R4G4B4},
};

constexpr NamedValue kDepthFormats[] = {
    {"D32", D3DFMT_D32},
    {"D24X8", D3DFMT_D24X8},
    {"D16", D3DFMT_D16},
};

constexpr NamedValue kNamedKeys[] = {
    {"ESCAPE", 0x1B}, {"SPACE", 0x20}, {"RETURN", 0x0D}, {"F1", 0x70},  {"F2", 0x71},  {"F3", 0x72},
    {"F4", 0x73},     {"F5", 0x74},    {"F6", 0x75},     {"F7", 0x76},  {"F8", 0x77},  {"F9", 0x78},
    {"F10", 0x79},    {"F11", 0x7A},   {"F12", 0x7B},
};

// D3DFORMAT is a 32-bit enumeration whose largest member is 0x7fffffff.
constexpr std::uint64_t kLargestFormatNumber = 0x7fffffff;

template <std::size_t N>
std::optional<std::uint32_t> ValueFromName(const NamedValue (&table)[N], std::string_view name) {
    for (const NamedValue& entry : table) {
        if (entry.name == name) {
            return entry.value;
        }
    }
    return std::nullopt;
}

std::optional<D3DFORMAT> FormatFromText(std::optional<std::uint32_t> named, std::string_view text) {
    if (named) {
        return static_cast<D3DFORMAT>(*named);
    }
    if (auto number = WholeNumberFromText(text, 1, kLargestFormatNumber)) {
        return static_cast<D3DFORMAT>(*number);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> WholeNumberFromText(std::string_view text, std::uint64_t minimum,
                                                 std::uint64_t maximum) {
    // from_chars alone would accept a leading '-' for nothing and stop quietly at junk; insist
    // on digits throughout.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<std::string_view>> ItemsFromList(std::string_view text) {
    std::vector<std::string_view> items;
    if (text.empty()) {
        return items;
    }
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (item.empty()) {
            return std::nullopt;
        }
        items.push_back(item);
        if (comma == std::string_view::npos) {
            return items;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<std::pair<std::string_view, std::string_view>> SplitAtFirst(std::string_view text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return std::make_pair(text.substr(0, at), text.substr(at + 1));
}

std::optional<D3DFORMAT> DisplayFormatFromText(std::string_view text) {
    return FormatFromText(ValueFromName(kDisplayFormats, text), text);
}

std::optional<D3DFORMAT> DepthFormatFromText(std::string_view text) {
    return FormatFromText(ValueFromName(kDepthFormats, text), text);
}

std::optional<std::uint32_t> VirtualKeyFromText(std::string_view text) {
    if (auto named = ValueFromName(kNamedKeys, text)) {
        return named;
    }
    // Letters and digits are their own upper-case ASCII codes, as Win32 defines them.
    if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
        return static_cast<std::uint32_t>(text[0]);
    }
    if (auto number = WholeNumberFromText(text, 1, 254)) {
        return static_cast<std::uint32_t>(*number);
    }
    return std::nullopt;
}

std::string PrintableFromText(std::string_view text) {
    std::string printable;
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte >= 0x7F || byte == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            printable += escaped;
        } else {
            printable += character;
        }
    }
    return printable;
}

}  // namespace ostrel::config_values
