#include "pack/FreeTypeFaces.h"

#include <stdexcept>

namespace {

constexpr const char* kDejaVuDirectory = "/usr/share/fonts/truetype/dejavu/";

}  // namespace

FreeTypeFaces::FreeTypeFaces() {
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FreeType did not start");
}

FreeTypeFaces::~FreeTypeFaces() {
    for (auto& entry : faces_) FT_Done_Face(entry.second);
    FT_Done_FreeType(library_);
}

FT_Face FreeTypeFaces::face(const std::string& file) {
    const auto found = faces_.find(file);
    if (found != faces_.end()) return found->second;
    const std::string path = kDejaVuDirectory + file;
    FT_Face opened = nullptr;
    if (FT_New_Face(library_, path.c_str(), 0, &opened) != 0) throw std::runtime_error("cannot open font " + path);
    faces_[file] = opened;
    return opened;
}
