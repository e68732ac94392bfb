#include "program_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<uint8_t> ReadWholeFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint16_t Word(const std::vector<uint8_t> &bytes, size_t offset)
{
    if (offset + 2 > bytes.size())
        throw std::runtime_error("read past the end");
    return (uint16_t)(bytes[offset] | bytes[offset + 1] << 8);
}

uint32_t Dword(const std::vector<uint8_t> &bytes, size_t offset)
{
    return Word(bytes, offset) | (uint32_t)Word(bytes, offset + 2) << 16;
}

ResourceId ReadIdField(const std::vector<uint8_t> &file, size_t &offset)
{
    ResourceId id;
    if (Word(file, offset) == 0xFFFF) {
        id.number = Word(file, offset + 2);
        offset += 4;
        return id;
    }
    for (uint16_t c; (c = Word(file, offset)) != 0; offset += 2)
        id.name.push_back((char16_t)c);
    offset += 2;
    return id;
}

std::vector<Resource> ReadResFile(const std::vector<uint8_t> &file)
{
    std::vector<Resource> resources;
    size_t offset = 0;
    while (offset < file.size()) {
        uint32_t dataSize = Dword(file, offset);
        uint32_t headerSize = Dword(file, offset + 4);
        size_t field = offset + 8;
        Resource r;
        r.type = ReadIdField(file, field);
        r.name = ReadIdField(file, field);
        field = (field + 3) & ~(size_t)3;
        r.language = Word(file, field + 6);
        size_t data = offset + headerSize;
        if (data + dataSize > file.size())
            throw std::runtime_error("resource data past the end");
        r.data.assign(file.begin() + data, file.begin() + data + dataSize);
        // The first entry of every .res file is an empty marker.
        if (!(r.type.number == 0 && r.type.name.empty() && dataSize == 0))
            resources.push_back(std::move(r));
        offset = (data + dataSize + 3) & ~(size_t)3;
    }
    return resources;
}

namespace {

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct PeImage {
    const std::vector<uint8_t> &bytes;
    std::vector<Section> sections;
    size_t resourceBase = 0; // file offset of the resource directory

    size_t FileOffset(uint32_t rva) const
    {
        for (const Section &s : sections) {
            if (rva >= s.virtualAddress && rva < s.virtualAddress + s.rawSize)
                return rva - s.virtualAddress + s.rawOffset;
        }
        throw std::runtime_error("address outside every section");
    }

    ResourceId EntryId(uint32_t nameField) const
    {
        ResourceId id;
        if (!(nameField & 0x80000000u)) {
            id.number = (uint16_t)nameField;
            return id;
        }
        size_t at = resourceBase + (nameField & 0x7FFFFFFF);
        uint16_t length = Word(bytes, at);
        for (uint16_t i = 0; i < length; i++)
            id.name.push_back((char16_t)Word(bytes, at + 2 + 2 * i));
        return id;
    }

    // Calls visit(id, offsetField) for each entry of the directory at offset.
    template <class Visit>
    void Entries(size_t directory, Visit visit) const
    {
        size_t count = (size_t)Word(bytes, directory + 12) + Word(bytes, directory + 14);
        for (size_t i = 0; i < count; i++) {
            size_t entry = directory + 16 + 8 * i;
            visit(EntryId(Dword(bytes, entry)), Dword(bytes, entry + 4));
        }
    }
};

} // namespace

// The file offset of the COFF header, after the PE signature.
static size_t CoffHeader(const std::vector<uint8_t> &image)
{
    size_t signature = Dword(image, 0x3C);
    if (Dword(image, signature) != 0x00004550)
        throw std::runtime_error("no PE signature");
    return signature + 4;
}

static PeImage Map(const std::vector<uint8_t> &image)
{
    PeImage pe{image, {}, 0};
    size_t coff = CoffHeader(image);
    size_t optional = coff + 20;
    for (size_t i = 0; i < Word(image, coff + 2); i++) {
        size_t s = optional + Word(image, coff + 16) + 40 * i;
        pe.sections.push_back({Dword(image, s + 12), Dword(image, s + 8), Dword(image, s + 20), Dword(image, s + 16)});
    }
    return pe;
}

// The address of data directory `index` (1 imports, 2 resources).
static uint32_t DirectoryRva(const std::vector<uint8_t> &image, int index)
{
    size_t optional = CoffHeader(image) + 20;
    size_t directories = optional + (Word(image, optional) == 0x20B ? 112 : 96);
    return Dword(image, directories + 8 * index);
}

PeHeaders ReadPeHeaders(const std::vector<uint8_t> &image)
{
    size_t coff = CoffHeader(image);
    PeHeaders headers{Word(image, coff), Word(image, coff + 20), Word(image, coff + 20 + 68), {}};
    PeImage pe = Map(image);
    uint32_t importRva = DirectoryRva(image, 1);
    for (size_t d = pe.FileOffset(importRva); Dword(image, d + 12) != 0; d += 20) {
        std::string name;
        for (size_t c = pe.FileOffset(Dword(image, d + 12)); image.at(c) != 0; c++)
            name.push_back((char)image[c]);
        headers.imports.push_back(name);
    }
    return headers;
}

std::vector<Resource> ReadPeResources(const std::vector<uint8_t> &image)
{
    PeImage pe = Map(image);
    uint32_t resourceRva = DirectoryRva(image, 2);
    std::vector<Resource> resources;
    if (resourceRva == 0)
        return resources;
    pe.resourceBase = pe.FileOffset(resourceRva);

    pe.Entries(pe.resourceBase, [&](ResourceId type, uint32_t typeDir) {
        pe.Entries(pe.resourceBase + (typeDir & 0x7FFFFFFF), [&](ResourceId name, uint32_t nameDir) {
            pe.Entries(pe.resourceBase + (nameDir & 0x7FFFFFFF), [&](ResourceId language, uint32_t dataEntry) {
                size_t entry = pe.resourceBase + dataEntry;
                size_t data = pe.FileOffset(Dword(image, entry));
                uint32_t size = Dword(image, entry + 4);
                if (data + size > image.size())
                    throw std::runtime_error("resource data past the end");
                resources.push_back({type, name, language.number,
                                     std::vector<uint8_t>(image.begin() + data, image.begin() + data + size)});
            });
        });
    });
    return resources;
}
