#include "user/resources.h"

#include <cctype>

namespace {

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Fits(size_t offset, size_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }

    uint16_t Word(size_t offset) const { return Fits(offset, 2) ? (uint16_t)(bytes_[offset] | bytes_[offset + 1] << 8) : 0; }

    uint32_t Dword(size_t offset) const { return Word(offset) | (uint32_t)Word(offset + 2) << 16; }

    // A type or name field: 0xFFFF and a number, or a NUL-terminated UTF-16
    // string. Advances offset past it; false when it runs past the end.
    bool Name(size_t &offset, ResourceName &name) const
    {
        if (!Fits(offset, 2))
            return false;
        if (Word(offset) == 0xFFFF) {
            name.number = Word(offset + 2);
            offset += 4;
            return Fits(offset, 0);
        }
        for (; Fits(offset, 2); offset += 2) {
            uint16_t c = Word(offset);
            if (c == 0) {
                offset += 2;
                return true;
            }
            name.text.push_back((char16_t)c);
        }
        return false;
    }

    std::span<const uint8_t> Slice(size_t offset, size_t size) const { return bytes_.subspan(offset, size); }

private:
    std::span<const uint8_t> bytes_;
};

bool SameName(const std::u16string &text, const char *name)
{
    size_t i = 0;
    for (; i < text.size() && name[i] != '\0'; i++) {
        if (text[i] > 0x7F || std::toupper((unsigned char)text[i]) != std::toupper((unsigned char)name[i]))
            return false;
    }
    return i == text.size() && name[i] == '\0';
}

} // namespace

HINSTANCE__ ReadResources(std::span<const uint8_t> image)
{
    HINSTANCE__ module;
    Reader reader(image);
    size_t offset = 0;
    while (reader.Fits(offset, 32)) {
        uint32_t dataSize = reader.Dword(offset);
        uint32_t headerSize = reader.Dword(offset + 4);
        ResourceEntry entry;
        size_t field = offset + 8;
        if (!reader.Name(field, entry.type) || !reader.Name(field, entry.name))
            break;
        field = (field + 3) & ~(size_t)3;
        entry.language = reader.Word(field + 6);
        size_t data = offset + headerSize;
        if (headerSize < 32 || !reader.Fits(data, dataSize))
            break;
        entry.data = reader.Slice(data, dataSize);
        // Every .res image opens with an empty entry of type 0.
        if (entry.type.number != 0 || !entry.type.text.empty())
            module.resources.push_back(std::move(entry));
        offset = (data + dataSize + 3) & ~(size_t)3;
    }
    return module;
}

std::span<const uint8_t> FindResourceData(HINSTANCE instance, uint16_t type, const char *name)
{
    if (instance == nullptr || name == nullptr)
        return {};
    for (const ResourceEntry &entry : instance->resources) {
        if (entry.type.text.empty() && entry.type.number == type && SameName(entry.name.text, name))
            return entry.data;
    }
    return {};
}
