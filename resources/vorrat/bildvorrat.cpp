// Makes the small background textures and button graphics that ship beside
// the program in "Texturen" and "Buttons", so that a user has something to
// choose from. Everything is computed here; no picture comes from elsewhere.
// Usage: lw_bildvorrat <Texturen folder> <Buttons folder>
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <gif_lib.h>
#include <sys/stat.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

using Muster = std::function<Rgb(int x, int y)>;

// A repeatable pseudo-random value in [0, 1) for a pixel, so that the
// textures look grainy but come out identical on every build.
double Rauschen(int x, int y, unsigned saat) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + saat * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0;
}

std::uint8_t Begrenzt(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

bool JpegSchreiben(const std::string& pfad, int breite, int hoehe, const Muster& muster) {
    FILE* datei = std::fopen(pfad.c_str(), "wb");
    if (!datei) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr fehler{};
    info.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, datei);
    info.image_width = static_cast<JDIMENSION>(breite);
    info.image_height = static_cast<JDIMENSION>(hoehe);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 88, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> zeile(static_cast<std::size_t>(breite) * 3);
    for (int y = 0; y < hoehe; ++y) {
        for (int x = 0; x < breite; ++x) {
            const Rgb p = muster(x, y);
            zeile[x * 3] = p.r;
            zeile[x * 3 + 1] = p.g;
            zeile[x * 3 + 2] = p.b;
        }
        JSAMPROW z = zeile.data();
        jpeg_write_scanlines(&info, &z, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(datei) == 0;
}

// A GIF with a palette made of the colours the pattern uses (at most 255) and,
// when transparent pixels are asked for, index 255 as the transparent colour.
bool GifSchreiben(const std::string& pfad, int breite, int hoehe, const Muster& muster,
                  const std::function<bool(int, int)>& durchsichtig = {}) {
    std::vector<GifColorType> palette;
    std::vector<GifByteType> pixel(static_cast<std::size_t>(breite) * hoehe);
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x) {
            GifByteType index = 255;
            if (!durchsichtig || !durchsichtig(x, y)) {
                const Rgb p = muster(x, y);
                auto it = std::find_if(palette.begin(), palette.end(), [&](const GifColorType& c) {
                    return c.Red == p.r && c.Green == p.g && c.Blue == p.b;
                });
                if (it == palette.end()) {
                    if (palette.size() >= 255) return false;
                    palette.push_back({p.r, p.g, p.b});
                    it = palette.end() - 1;
                }
                index = static_cast<GifByteType>(it - palette.begin());
            }
            pixel[static_cast<std::size_t>(y) * breite + x] = index;
        }
    palette.resize(256, GifColorType{255, 255, 255});

    int fehler = 0;
    GifFileType* gif = EGifOpenFileName(pfad.c_str(), false, &fehler);
    if (!gif) return false;
    ColorMapObject* karte = GifMakeMapObject(256, palette.data());
    bool gut = karte && EGifPutScreenDesc(gif, breite, hoehe, 8, 0, karte) == GIF_OK;
    if (gut && durchsichtig) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = 255;
        gcb.DelayTime = 0;
        GifByteType erweiterung[4];
        const size_t laenge = EGifGCBToExtension(&gcb, erweiterung);
        gut = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(laenge),
                               erweiterung) == GIF_OK;
    }
    gut = gut && EGifPutImageDesc(gif, 0, 0, breite, hoehe, false, nullptr) == GIF_OK;
    for (int y = 0; gut && y < hoehe; ++y)
        gut = EGifPutLine(gif, &pixel[static_cast<std::size_t>(y) * breite], breite) == GIF_OK;
    GifFreeMapObject(karte);
    gut = EGifCloseFile(gif, &fehler) == GIF_OK && gut;
    // giflib creates its files for the owner only; these are installed for everyone.
    return gut && ::chmod(pfad.c_str(), 0644) == 0;
}

Muster Stein() {
    return [](int x, int y) {
        const double n = Rauschen(x / 2, y / 2, 7) * 0.6 + Rauschen(x, y, 3) * 0.4;
        const double v = 150 + n * 60;
        return Rgb{Begrenzt(v), Begrenzt(v - 6), Begrenzt(v - 14)};
    };
}

Muster Holz() {
    return [](int x, int y) {
        const double ring = std::sin((x + std::sin(y * 0.09) * 9) * 0.35) * 0.5 + 0.5;
        const double n = Rauschen(x, y, 11) * 14;
        return Rgb{Begrenzt(150 + ring * 50 + n), Begrenzt(100 + ring * 35 + n),
                   Begrenzt(55 + ring * 20)};
    };
}

Muster Papier() {
    return [](int x, int y) {
        const double v = 238 + Rauschen(x, y, 5) * 14;
        return Rgb{Begrenzt(v), Begrenzt(v - 3), Begrenzt(v - 12)};
    };
}

Muster Wasser() {
    return [](int x, int y) {
        const double w = std::sin(x * 0.19 + std::sin(y * 0.13) * 2.2) * 0.5 + 0.5;
        return Rgb{Begrenzt(120 + w * 40), Begrenzt(170 + w * 40), Begrenzt(215 + w * 30)};
    };
}

Muster Karo() {
    return [](int x, int y) {
        const bool hell = ((x / 8) + (y / 8)) % 2 == 0;
        return hell ? Rgb{230, 236, 245} : Rgb{205, 216, 232};
    };
}

// A rounded button face in two tones, darker at the bottom.
Muster Knopf(Rgb oben, Rgb unten, int hoehe) {
    return [=](int, int y) {
        const double t = static_cast<double>(y) / std::max(1, hoehe - 1);
        return Rgb{Begrenzt(oben.r + (unten.r - oben.r) * t),
                   Begrenzt(oben.g + (unten.g - oben.g) * t),
                   Begrenzt(oben.b + (unten.b - oben.b) * t)};
    };
}

std::function<bool(int, int)> RundeEcken(int breite, int hoehe, int radius) {
    return [=](int x, int y) {
        const int dx = x < radius ? radius - x : (x >= breite - radius ? x - (breite - radius - 1) : 0);
        const int dy = y < radius ? radius - y : (y >= hoehe - radius ? y - (hoehe - radius - 1) : 0);
        return dx * dx + dy * dy > radius * radius;
    };
}

// GIF buttons use few colours: the gradient is stepped into bands.
Muster Gestuft(Muster m, int stufen, int hoehe) {
    return [=](int x, int y) {
        const int band = y * stufen / std::max(1, hoehe);
        return m(x, band * hoehe / stufen);
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: lw_bildvorrat <Texturen> <Buttons>\n");
        return 2;
    }
    const std::string texturen = argv[1];
    const std::string buttons = argv[2];
    bool gut = true;
    gut &= JpegSchreiben(texturen + "/Stein.jpg", 96, 96, Stein());
    gut &= JpegSchreiben(texturen + "/Holz.jpg", 128, 128, Holz());
    gut &= JpegSchreiben(texturen + "/Papier.jpg", 64, 64, Papier());
    gut &= JpegSchreiben(texturen + "/Wasser.jpg", 128, 96, Wasser());
    gut &= GifSchreiben(texturen + "/Karo.gif", 32, 32, Karo());

    constexpr int B = 170, H = 50;
    gut &= GifSchreiben(buttons + "/Blau.gif", B, H, Gestuft(Knopf({110, 160, 220}, {30, 70, 140}, H), 12, H),
                        RundeEcken(B, H, 10));
    gut &= GifSchreiben(buttons + "/Gruen.gif", B, H, Gestuft(Knopf({140, 210, 120}, {40, 110, 40}, H), 12, H),
                        RundeEcken(B, H, 10));
    gut &= GifSchreiben(buttons + "/Rot.gif", B, H, Gestuft(Knopf({235, 130, 110}, {150, 40, 30}, H), 12, H),
                        RundeEcken(B, H, 10));
    gut &= JpegSchreiben(buttons + "/Silber.jpg", B, H, Knopf({235, 235, 240}, {150, 155, 165}, H));
    gut &= JpegSchreiben(buttons + "/Holz.jpg", B, H, Holz());
    if (!gut) {
        std::fprintf(stderr, "lw_bildvorrat: Bilder konnten nicht geschrieben werden\n");
        return 1;
    }
    return 0;
}
