// Choosing, selecting and putting back the pages' text font.
#include "display/text_font.h"

#include "display/primitives.h"

namespace {

const char fullLine[] = "                                     ";  // 37 blanks
const int lineColumns = 37;
const DWORD charHeightMask = 0xFFFF;  // GetCharSize: height in the low word
char fixedFace[] = "Fixed";          // the host's generic fixed-pitch face

}  // namespace

bool FontFitsGrid(const TextGrid &g) {
    if (g.surface == nullptr) return true;
    const int charHeight = static_cast<int>(g.surface->GetCharSize() & charHeightMask);
    const int lineWidth = static_cast<int>(g.surface->GetTextWidth(fullLine, lineColumns));
    return charHeight <= g.lineHeight && lineWidth <= lineColumns * g.cellWidth;
}

oapi::Font *FitTextFont(oapi::Sketchpad *surface, int width, int height) {
    if (surface == nullptr) return nullptr;
    const TextGrid g = MakeTextGrid(surface, width, height);
    if (g.lineHeight <= 0 || FontFitsGrid(g)) return nullptr;
    // A character height of one row is the most that can fit; smaller ones until one does.
    for (int h = g.lineHeight; h >= 1; --h) {
        oapi::Font *font = oapiCreateFont(-h, false, fixedFace);
        if (font == nullptr) return nullptr;
        oapi::Font *previous = surface->SetFont(font);
        const bool fits = FontFitsGrid(g);
        surface->SetFont(previous);
        if (fits) return font;
        oapiReleaseFont(font);
    }
    return nullptr;
}

oapi::Font *UseTextFont(const TextGrid &g, oapi::Font *font) {
    if (g.surface == nullptr || font == nullptr) return nullptr;
    return g.surface->SetFont(font);
}

void RestoreTextFont(const TextGrid &g, oapi::Font *font, oapi::Font *previous) {
    if (g.surface != nullptr && font != nullptr) g.surface->SetFont(previous);
}
