// skin_art: writes the skin's bitmaps, icons and cursor, checks the committed copies, or draws a
// preview of the whole window.
//   skin_art write DIR      writes every file below DIR (resources/art)
//   skin_art check DIR      exits 1 unless every file below DIR has the bytes drawn now
//   skin_art preview FILE.ppm [8|24] [lit]   the window with all panels, as a user sees it
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/hot_spots.h"
#include "model/skin_faces.h"
#include "tools/skin_art/art.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const ArtFile* FindArt(int id, bool bitmap)
{
    for (const ArtFile& f : ArtFiles()) {
        bool isBitmap = f.format == ART_BMP8 || f.format == ART_BMP24;
        if (f.resourceId == id && isBitmap == bitmap) return &f;
    }
    return nullptr;
}

// Every face and background the tables name must be drawn here.
int CheckTablesCovered()
{
    int missing = 0;
    for (const SkinFace& face : SkinFaces) {
        for (int id : {face.normal, face.alternative, face.pressed}) {
            if (id != 0 && !FindArt(id, true)) {
                std::fprintf(stderr, "no art for face %d\n", id);
                ++missing;
            }
        }
    }
    for (const SkinBackground& b : SkinBackgrounds) {
        for (int id : {b.bitmap8, b.bitmap24}) {
            if (!FindArt(id, true)) {
                std::fprintf(stderr, "no art for background %d\n", id);
                ++missing;
            }
        }
    }
    return missing;
}

// Decodes one of our own BMP files (8 or 24 bits, bottom-up) into pixels.
Canvas DecodeBmp(const std::vector<std::uint8_t>& b)
{
    auto u32 = [&](std::size_t o) { return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | static_cast<std::uint32_t>(b[o + 3]) << 24; };
    int w = static_cast<int>(u32(18)), h = static_cast<int>(u32(22)), bits = b[28];
    std::size_t offset = u32(10);
    int stride = ((w * bits + 31) / 32) * 4;
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = b.data() + offset + static_cast<std::size_t>((h - 1 - y) * stride);
        for (int x = 0; x < w; ++x) {
            if (bits == 8) {
                const std::uint8_t* e = b.data() + 54 + row[x] * 4;
                c.At(x, y) = {e[2], e[1], e[0]};
            } else {
                c.At(x, y) = {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
            }
        }
    }
    return c;
}

Canvas Bitmap(int id)
{
    const ArtFile* f = FindArt(id, true);
    return f ? DecodeBmp(RenderArt(*f)) : Canvas(1, 1);
}

// The window as the program paints it: backgrounds, then each tabled control's face.
int Preview(const char* path, bool trueColor, bool lit)
{
    const int templates[4] = {IDD_MAINPANEL, IDD_CDPANEL, IDD_MIDIPANEL, IDD_SOUNDPANEL};
    const PanelKind kinds[4] = {PANEL_MAIN, PANEL_CD, PANEL_MIDI, PANEL_SOUND};
    Canvas window(403, 368, {255, 0, 255});
    FrameRect(window, 0, 0, 403, 368, {0, 0, 0});
    SkinState state;
    state.config = kDefaultConfig;
    state.trueColor = trueColor;
    state.recording = lit;
    state.discPresent = lit;
    state.midiEntries = lit ? 3 : 0;
    state.soundEntries = lit ? 2 : 0;
    state.playing = lit;
    int y = 1;
    for (int p = 0; p < 4; ++p) {
        BackgroundChoice bg = ChooseBackground(templates[p], trueColor);
        Canvas panel(401, bg.rows, {192, 192, 192});
        Blit(panel, Bitmap(bg.bitmap), 0, 0);
        for (const HotSpot& spot : HotSpotTable(kinds[p])) {
            int face = SkinFaceFor(spot.id, kinds[p], false, state);
            if (spot.id == IDC_TRACK || spot.id == IDC_DISPLAY) FillRect(panel, spot.left, spot.top, spot.right - spot.left + 1, spot.bottom - spot.top + 1, {0, 0, 0});
            if (face) Blit(panel, Bitmap(face), spot.left, spot.top);
        }
        Blit(window, panel, 1, y);
        y += bg.rows;
    }
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::fprintf(out, "P6\n%d %d\n255\n", window.width, window.height);
    for (const Rgb& px : window.pixels) std::fwrite(&px, 1, 3, out);
    std::fclose(out);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: skin_art write|check DIR, or skin_art preview FILE.ppm [8|24] [lit]\n");
        return 2;
    }
    if (CheckTablesCovered() != 0) return 1;
    std::string mode = argv[1];
    if (mode == "preview") {
        bool trueColor = !(argc > 3 && std::strcmp(argv[3], "8") == 0);
        bool lit = argc > 4 && std::strcmp(argv[4], "lit") == 0;
        return Preview(argv[2], trueColor, lit);
    }
    std::filesystem::path dir = argv[2];
    int failures = 0;
    for (const ArtFile& file : ArtFiles()) {
        std::vector<std::uint8_t> bytes = RenderArt(file);
        std::filesystem::path path = dir / file.name;
        if (mode == "write") {
            if (!WriteFile(path, bytes)) {
                std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
                ++failures;
            }
        } else if (ReadFile(path) != bytes) {
            std::fprintf(stderr, "%s differs from what the generator draws; run skin_art write\n", path.string().c_str());
            ++failures;
        }
    }
    if (mode == "check") std::printf("%zu files checked, %d differ\n", ArtFiles().size(), failures);
    return failures == 0 ? 0 : 1;
}
