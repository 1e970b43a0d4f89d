// The skin's pictures: every file the generator writes, and how each is drawn.
#pragma once

#include <string>
#include <vector>

#include "tools/skin_art/canvas.h"

enum ArtFormat { ART_BMP8, ART_BMP24, ART_ICON, ART_CURSOR };

struct ArtFile {
    std::string name;  // path below resources/art
    int resourceId;
    ArtFormat format;
    int width;
    int height;
};

// All files of the skin, in resource-id order within each kind.
const std::vector<ArtFile>& ArtFiles();

// The file's bytes, drawn afresh.
std::vector<std::uint8_t> RenderArt(const ArtFile& file);
