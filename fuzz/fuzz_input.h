// Reads typed values from a fuzz input, front to back; once it runs out every value is zero, so a
// harness never has to check for the end before each read.
#ifndef OSTREL_FUZZ_FUZZ_INPUT_H
#define OSTREL_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ostrel::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_position >= m_size; }

    std::uint8_t Byte() { return m_position < m_size ? m_data[m_position++] : 0; }
    bool Boolean() { return (Byte() & 1) != 0; }

    std::uint32_t Word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= std::uint32_t{Byte()} << (8 * i);
        }
        return value;
    }

    // Any value a Direct3D enumeration can hold: they run up to their FORCE_DWORD member,
    // 0x7fffffff, and converting anything larger to one is undefined behaviour in the caller.
    std::uint32_t EnumerationWord() { return Word() & 0x7fffffffu; }

    // Any float at all half the time (NaN, infinities, denormals, huge values); otherwise a
    // modest one, so that ordinary geometry is reached too.
    float Float() {
        const std::uint32_t bits = Word();
        if (Boolean()) {
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return static_cast<float>(static_cast<std::int32_t>(bits) % 4096) / 64.0f;
    }

    template <typename T, std::size_t N>
    T Pick(const T (&choices)[N]) {
        return choices[Byte() % N];
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

}  // namespace ostrel::fuzz

#endif
