// A program's resources, read from the .res file that the build embeds in
// the program (the same bytes windres puts into the Windows program).
#ifndef SOLVANE_PLATFORM_RESOURCES_H
#define SOLVANE_PLATFORM_RESOURCES_H

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "win32/types.h"

#define RT_DIALOG_TYPE 5

// A resource type or name: a number, or a string when text is not empty.
struct ResourceName {
    uint16_t number = 0;
    std::u16string text;
};

struct ResourceEntry {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
    std::span<const uint8_t> data;
};

// The module behind an HINSTANCE: its resources. Keeps a view of the bytes
// it was made from, which must outlive it.
struct HINSTANCE__ {
    std::vector<ResourceEntry> resources;
};

// Reads a .res image; a malformed image gives the entries before the fault.
HINSTANCE__ ReadResources(std::span<const uint8_t> image);

// The data of the resource of numeric type with the given name, matched
// without regard to case as Windows does; empty when there is none.
std::span<const uint8_t> FindResourceData(HINSTANCE instance, uint16_t type, const char *name);

#endif
