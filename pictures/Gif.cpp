#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/Dekoder.h"

// Read record by record instead of DGifSlurp: the slurp allocates whatever a
// frame descriptor claims before a single pixel has arrived.
namespace lw::bild {
namespace {

struct Speicher {
    const GifByteType* pos;
    std::size_t rest;
};

// giflib treats a short count as a read failure, so the end of the bytes
// surfaces as an error of the step that needed more.
int SpeicherLesen(GifFileType* gif, GifByteType* ziel, int anzahl) {
    auto* quelle = static_cast<Speicher*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(anzahl, 0)), quelle->rest);
    if (n > 0) std::memcpy(ziel, quelle->pos, n);
    quelle->pos += n;
    quelle->rest -= n;
    return static_cast<int>(n);
}

struct GifSchliessen {
    void operator()(GifFileType* gif) const {
        int fehler = 0;
        DGifCloseFile(gif, &fehler);
    }
};
using GifDatei = std::unique_ptr<GifFileType, GifSchliessen>;

using Farbtabelle = std::array<std::array<std::uint8_t, 4>, 256>;

// Indices beyond the colour map are opaque black. Without any colour map the
// index is taken as a grey level.
Farbtabelle TabelleBauen(const ColorMapObject* karte, int transparent) {
    Farbtabelle tabelle;
    for (int i = 0; i < 256; ++i) {
        const auto grau = static_cast<std::uint8_t>(karte ? 0 : i);
        tabelle[i] = {grau, grau, grau, 255};
    }
    if (karte && karte->Colors) {
        const int anzahl = std::clamp(karte->ColorCount, 0, 256);
        for (int i = 0; i < anzahl; ++i) {
            const GifColorType& f = karte->Colors[i];
            tabelle[i] = {f.Red, f.Green, f.Blue, 255};
        }
    }
    if (transparent >= 0 && transparent < 256) tabelle[transparent] = {0, 0, 0, 0};
    return tabelle;
}

// Skips one extension; returns the transparent index of a Graphic Control
// Extension, otherwise the value it was given.
int ErweiterungLesen(GifFileType* gif, int transparent, const std::string& pfad) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) Beschaedigt(pfad);
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock gcb{};
        // A malformed control block is ignored, as browsers do.
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            transparent = gcb.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) Beschaedigt(pfad);
    }
    return transparent;
}

// The first frame on the logical screen; what the frame leaves uncovered, or
// what lies outside the screen, stays transparent resp. is cut off.
void FrameLesen(GifFileType* gif, int transparent, Bild& bild, const std::string& pfad) {
    if (DGifGetImageDesc(gif) != GIF_OK) Beschaedigt(pfad);
    const GifImageDesc& frame = gif->Image;
    GroessePruefen(pfad, frame.Width, frame.Height);
    bild.rgba.assign(static_cast<std::size_t>(bild.breite) * bild.hoehe * 4, 0);

    const Farbtabelle tabelle =
        TabelleBauen(frame.ColorMap ? frame.ColorMap : gif->SColorMap, transparent);
    const int sichtbar = std::clamp(bild.breite - frame.Left, 0, frame.Width);
    std::vector<GifPixelType> zeile(static_cast<std::size_t>(frame.Width));

    auto zeileLesen = [&](int y) {
        if (DGifGetLine(gif, zeile.data(), frame.Width) != GIF_OK) Beschaedigt(pfad);
        const int bildY = frame.Top + y;
        if (bildY >= bild.hoehe || sichtbar == 0) return;
        std::uint8_t* ziel =
            bild.rgba.data() + (static_cast<std::size_t>(bildY) * bild.breite + frame.Left) * 4;
        for (int x = 0; x < sichtbar; ++x, ziel += 4) {
            const auto& farbe = tabelle[zeile[x]];
            std::copy(farbe.begin(), farbe.end(), ziel);
        }
    };

    if (frame.Interlace) {
        constexpr int kStart[] = {0, 4, 2, 1};
        constexpr int kSchritt[] = {8, 8, 4, 2};
        for (int durchgang = 0; durchgang < 4; ++durchgang)
            for (int y = kStart[durchgang]; y < frame.Height; y += kSchritt[durchgang])
                zeileLesen(y);
    } else {
        for (int y = 0; y < frame.Height; ++y) zeileLesen(y);
    }
}

}  // namespace

Bild GifDekodieren(std::string_view daten, const std::string& pfad) {
    Speicher quelle{reinterpret_cast<const GifByteType*>(daten.data()), daten.size()};
    int fehler = 0;
    const GifDatei gif(DGifOpen(&quelle, SpeicherLesen, &fehler));
    if (!gif) Beschaedigt(pfad);

    GroessePruefen(pfad, gif->SWidth, gif->SHeight);
    Bild bild;
    bild.breite = gif->SWidth;
    bild.hoehe = gif->SHeight;

    // Extensions before the first frame are skipped, except the control block
    // that names the transparent colour. Later frames of an animation are not
    // needed.
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType typ = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &typ) != GIF_OK) Beschaedigt(pfad);
        switch (typ) {
            case EXTENSION_RECORD_TYPE:
                transparent = ErweiterungLesen(gif.get(), transparent, pfad);
                break;
            case IMAGE_DESC_RECORD_TYPE:
                FrameLesen(gif.get(), transparent, bild, pfad);
                return bild;
            default:
                Beschaedigt(pfad);  // ends without a single frame
        }
    }
}

}  // namespace lw::bild
