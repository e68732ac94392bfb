// The standard dialog template (DLGTEMPLATE and its items) read from bytes.
#ifndef SOLVANE_PLATFORM_DIALOG_TEMPLATE_H
#define SOLVANE_PLATFORM_DIALOG_TEMPLATE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "win32/types.h"

// Predefined control classes, as template atoms.
enum class ControlClass : uint16_t { Button = 0x80, Edit = 0x81, Static = 0x82, ScrollBar = 0x84 };

struct ItemTemplate {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    WORD id = 0;
    ControlClass windowClass = ControlClass::Static;
    std::u16string text;
};

struct DialogTemplate {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::u16string caption;
    WORD pointSize = 0;
    std::u16string face;
    std::vector<ItemTemplate> items;
};

// Nothing for a malformed template, an extended one, or an item whose class
// is not one of the predefined atoms above.
std::optional<DialogTemplate> ReadDialogTemplate(std::span<const uint8_t> bytes);

#endif
