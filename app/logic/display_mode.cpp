#include "display_mode.h"

#include "int32.h"

namespace trellane {
namespace {

// "%Nd" of a 32-bit field: signed reading of the bits, right-aligned in at least minWidth columns.
std::wstring FormatField(std::uint32_t bits, std::size_t minWidth) {
    std::wstring text = std::to_wstring(Int32FromBits(bits));
    if (text.size() < minWidth) text.insert(0, minWidth - text.size(), L' ');
    return text;
}

} // namespace

std::wstring DisplayModeCaption(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                                std::uint32_t frequency) {
    return FormatField(width, 4) + L" x " + FormatField(height, 4) + L" (" + FormatField(bitsPerPixel, 2) +
           L"Bit) " + FormatField(frequency, 2) + L"Hz";
}

std::wstring DisplayModeQuestion(std::wstring_view caption) {
    std::wstring question(caption);
    question += L" \u306B\u5909\u66F4\u3057\u307E\u3059\u3002"; // " に変更します。"
    return question;
}

} // namespace trellane
