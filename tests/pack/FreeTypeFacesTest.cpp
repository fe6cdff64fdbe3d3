// The faces the pack letters with, found where the DejaVu packages put them;
// a missing one stops the pack with a message that names it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "pack/FreeTypeFaces.h"

TEST(FreeTypeFaces, OpensTheDejaVuFilesTheLetteringNeeds) {
    struct Wanted {
        const char* file;
        const char* family;
        const char* style;
    };
    // The font's face, and the title face that only fonts-dejavu-extra has.
    const Wanted wanted[] = {
        {"DejaVuSans-Bold.ttf", "DejaVu Sans", "Bold"},
        {"DejaVuSerif-BoldItalic.ttf", "DejaVu Serif", "Bold Italic"},
    };
    FreeTypeFaces faces;
    for (const Wanted& w : wanted) {
        SCOPED_TRACE(w.file);
        const FT_Face face = faces.face(w.file);
        ASSERT_NE(face, nullptr);
        EXPECT_STREQ(face->family_name, w.family);
        EXPECT_STREQ(face->style_name, w.style);
        EXPECT_EQ(faces.face(w.file), face) << "opened once, then kept";
    }
}

TEST(FreeTypeFaces, AMissingFaceIsNamedWithItsWholePath) {
    FreeTypeFaces faces;
    try {
        faces.face("DejaVuNoSuchFace.ttf");
        FAIL() << "a face that is not there was opened";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("cannot open font /"), std::string::npos) << message;
        EXPECT_NE(message.find("/DejaVuNoSuchFace.ttf"), std::string::npos) << message;
    }
}
