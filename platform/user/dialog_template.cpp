#include "user/dialog_template.h"

constexpr DWORD DS_SETFONT = 0x40;

namespace {

class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }

    WORD Word()
    {
        if (at_ + 2 > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        WORD w = (WORD)(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return w;
    }

    DWORD Dword()
    {
        WORD low = Word();
        return low | (DWORD)Word() << 16;
    }

    short Short() { return (short)Word(); }

    std::u16string String()
    {
        std::u16string s;
        for (WORD c; ok_ && (c = Word()) != 0;)
            s.push_back((char16_t)c);
        return s;
    }

    // A field that is 0, 0xFFFF and an ordinal, or a string.
    void Field(bool &ordinal, WORD &number, std::u16string &text)
    {
        WORD first = Word();
        ordinal = first == 0xFFFF;
        if (ordinal) {
            number = Word();
        } else if (first != 0) {
            text.push_back((char16_t)first);
            text += String();
        }
    }

    void AlignDword() { at_ = (at_ + 3) & ~(size_t)3; }

    void Skip(size_t n)
    {
        if (at_ + n > bytes_.size())
            ok_ = false;
        else
            at_ += n;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

bool KnownClass(WORD atom)
{
    return atom == 0x80 || atom == 0x81 || atom == 0x82 || atom == 0x84;
}

} // namespace

std::optional<DialogTemplate> ReadDialogTemplate(std::span<const uint8_t> bytes)
{
    Cursor in(bytes);
    DialogTemplate dialog;
    dialog.style = in.Dword();
    if ((dialog.style & 0xFFFF0000u) == 0xFFFF0000u)
        return std::nullopt; // DLGTEMPLATEEX: dialog version 1, signature 0xFFFF
    in.Dword(); // extended style
    WORD count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();

    bool ordinal;
    WORD number;
    std::u16string ignored;
    in.Field(ordinal, number, ignored); // menu
    in.Field(ordinal, number, ignored); // window class
    dialog.caption = in.String();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Word();
        dialog.face = in.String();
    }

    for (WORD i = 0; i < count && in.ok(); i++) {
        in.AlignDword();
        ItemTemplate item;
        item.style = in.Dword();
        in.Dword(); // extended style
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Word();
        std::u16string className;
        in.Field(ordinal, number, className);
        if (!ordinal || !KnownClass(number))
            return std::nullopt;
        item.windowClass = (ControlClass)number;
        in.Field(ordinal, number, item.text);
        in.Skip(in.Word()); // creation data
        dialog.items.push_back(std::move(item));
    }
    if (!in.ok())
        return std::nullopt;
    return dialog;
}
