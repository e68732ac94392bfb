// Reads program files independently of the platform layer: the resources of
// a .res file or of a PE image, and a PE image's headers and imports.
#ifndef SOLVANE_TESTS_PROGRAM_READER_H
#define SOLVANE_TESTS_PROGRAM_READER_H

#include <cstdint>
#include <string>
#include <vector>

// A resource type or name: a number, or a string when name is not empty.
struct ResourceId {
    uint16_t number = 0;
    std::u16string name;
    bool operator==(const ResourceId &) const = default;
};

struct Resource {
    ResourceId type;
    ResourceId name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> ReadWholeFile(const std::string &path);

// A type, name or template field: 0xFFFF and a number, or a NUL-terminated
// UTF-16 string. Advances offset past it.
ResourceId ReadIdField(const std::vector<uint8_t> &bytes, size_t &offset);

// Both throw std::runtime_error on a malformed file.
std::vector<Resource> ReadResFile(const std::vector<uint8_t> &file);
std::vector<Resource> ReadPeResources(const std::vector<uint8_t> &image);

struct PeHeaders {
    uint16_t machine;   // 0x14C i386, 0x8664 x86-64
    uint16_t magic;     // 0x10B PE32, 0x20B PE32+
    uint16_t subsystem; // 2 GUI
    std::vector<std::string> imports; // DLL names
};

PeHeaders ReadPeHeaders(const std::vector<uint8_t> &image);

// Little-endian reads with bounds checks.
uint16_t Word(const std::vector<uint8_t> &bytes, size_t offset);
uint32_t Dword(const std::vector<uint8_t> &bytes, size_t offset);

#endif
