#include "hub/nmdc_key.h"

#include <array>
#include <cstdint>

namespace tavu::hub {

namespace {

constexpr std::uint8_t kFirstByteSalt = 5;

std::uint8_t swappedNibbles(unsigned value) {
    return static_cast<std::uint8_t>(((value << 4U) | (value >> 4U)) & 0xFFU);
}

void appendKeyByte(std::string& key, std::uint8_t byte) {
    constexpr std::array<std::uint8_t, 6> kUnsendable{0, 5, 36, 96, 124, 126};
    for (const std::uint8_t unsendable : kUnsendable) {
        if (byte == unsendable) {
            const std::string digits = std::to_string(byte);
            key += "/%DCN" + std::string(3 - digits.size(), '0') + digits + "%/";
            return;
        }
    }
    key += static_cast<char>(byte);
}

} // namespace

std::string lockToKey(std::string_view lock) {
    lock = lock.substr(0, lock.find(" Pk="));
    std::string key;
    if (lock.size() < 2) {
        return key;
    }
    const auto byteAt = [&](std::size_t at) {
        return static_cast<unsigned char>(lock[at]);
    };
    key.reserve(lock.size() * 2);
    appendKeyByte(
        key, swappedNibbles(byteAt(0) ^ byteAt(lock.size() - 1) ^ byteAt(lock.size() - 2) ^ kFirstByteSalt));
    for (std::size_t at = 1; at < lock.size(); ++at) {
        appendKeyByte(key, swappedNibbles(byteAt(at) ^ byteAt(at - 1)));
    }
    return key;
}

} // namespace tavu::hub
