// The command line: what each option sets, and the values it must refuse
// before anything is opened.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/ShowOptions.h"

namespace {

std::variant<ShowOptions, OptionError> parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "marrowick");
    return parseShowOptions(arguments);
}

}  // namespace

TEST(ShowOptions, CaptureOptionsAreReadInBothSpellings) {
    const auto parsed = parse({"--capture", "show.mkv", "--size=640x480", "--fps", "30", "--stretch", "--from=pesants",
                               "--to", "scene3", "--lossless"});
    ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed)) << std::get<OptionError>(parsed).message;
    const ShowOptions& options = std::get<ShowOptions>(parsed);
    const CaptureOptions& capture = options.captureOptions;
    EXPECT_TRUE(options.capture);
    EXPECT_EQ(capture.file, "show.mkv");
    EXPECT_EQ(capture.container, CaptureOptions::Container::Mkv);
    EXPECT_EQ(capture.width, 640);
    EXPECT_EQ(capture.height, 480);
    EXPECT_EQ(capture.fps, 30);
    EXPECT_TRUE(capture.stretch);
    EXPECT_TRUE(capture.lossless);
    EXPECT_EQ(capture.fromCue, "pesants");
    EXPECT_EQ(capture.toCue, "scene3");
}

TEST(ShowOptions, WithoutOptionsEverythingGoesToGlutAsBefore) {
    const auto parsed = parse({"-display", ":3", "-geometry", "640x480+0+0"});
    ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed));
    const ShowOptions& options = std::get<ShowOptions>(parsed);
    EXPECT_FALSE(options.capture);
    EXPECT_EQ(options.glutArguments,
              (std::vector<std::string>{"marrowick", "-display", ":3", "-geometry", "640x480+0+0"}));
    EXPECT_EQ(std::get<ShowOptions>(parse({"--capture", "a.mp4"})).captureOptions.width, 1280);
}

TEST(ShowOptions, BadInputIsRefusedWithAMessageNamingIt) {
    const struct {
        std::vector<std::string> arguments;
        const char* mentions;
    } cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--capture"}, "--capture needs a value"},
        {{"--capture", "show.avi"}, ".mp4 or .mkv"},
        {{"--capture", ".mp4"}, ".mp4 or .mkv"},
        {{"--capture", "a.mp4", "--size", "1280"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "1280x"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "8x8"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "-640x480"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "641x480"}, "even"},
        {{"--capture", "a.mp4", "--fps", "0"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "60.5"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "1001"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "99999999999"}, "--fps"},
        {{"--capture", "a.mp4", "--from="}, "name of a cue"},
        {{"--capture", "a.mp4", "--stretch=yes"}, "takes no value"},
        {{"--size", "640x480"}, "--size needs --capture"},
        {{"--to", "scene3"}, "--to needs --capture"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.arguments);
        ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << c.arguments.front();
        EXPECT_NE(std::get<OptionError>(parsed).message.find(c.mentions), std::string::npos)
            << std::get<OptionError>(parsed).message;
    }
}
