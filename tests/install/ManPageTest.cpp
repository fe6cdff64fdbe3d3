// The manual page's text escapes: what the tables say reaches the reader as
// written, never as a troff request or escape.
#include <gtest/gtest.h>

#include <string>

#include "ManPage.h"

TEST(ManPage, TextIsEscapedForTroff) {
    const struct {
        const char* text;
        const char* troff;
    } cases[] = {
        {"--size WxH", "\\-\\-size WxH"},
        {"off-screen, real-time", "off-screen, real-time"},
        {"(-display, -geometry)", "(\\-display, \\-geometry)"},
        {"demoMesh\\queen.3ds", "demoMesh\\equeen.3ds"},
        {".SH not a request", "\\&.SH not a request"},
        {"'br neither", "\\&'br neither"},
        {"one\nline", "one line"},
        {"a . in the middle", "a . in the middle"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(troffText(c.text), c.troff) << c.text;
}
