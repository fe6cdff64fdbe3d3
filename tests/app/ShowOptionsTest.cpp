// The command line: what each option sets, and the values it must refuse
// before anything is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/OptionParser.h"
#include "app/OptionTable.h"

namespace {

std::variant<ShowOptions, OptionError> parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "marrowick");
    return parseShowOptions(arguments);
}

}  // namespace

TEST(ShowOptions, CaptureOptionsAreReadInBothSpellings) {
    const auto parsed = parse({"--capture", "show.mkv", "--size=640x480", "--fps", "30000/1001", "--stretch",
                               "--from=pesants", "--to", "scene3", "--lossless", "--supersample=3", "--blend"});
    ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed)) << std::get<OptionError>(parsed).message;
    const ShowOptions& options = std::get<ShowOptions>(parsed);
    const CaptureOptions& capture = options.captureOptions;
    EXPECT_TRUE(options.capture);
    EXPECT_EQ(capture.file, "show.mkv");
    EXPECT_EQ(capture.container, CaptureOptions::Container::Mkv);
    EXPECT_EQ(capture.width, 640);
    EXPECT_EQ(capture.height, 480);
    EXPECT_EQ(capture.fps, FrameRate(30000, 1001));
    EXPECT_EQ(capture.supersample, 3);
    EXPECT_TRUE(capture.blend);
    EXPECT_TRUE(capture.stretch);
    EXPECT_TRUE(capture.lossless);
    EXPECT_FALSE(capture.archive);
    EXPECT_EQ(capture.from, "pesants");
    EXPECT_EQ(capture.to, "scene3");
}

TEST(ShowOptions, LiveShowOptionsSetWhatTheyName) {
    const struct {
        std::vector<std::string> arguments;
        LiveOptions live;
        std::string dataDir;
    } cases[] = {
        {{}, {false, 640, 480, false, false, false, "", false, "", ""}, ""},
        {{"--window"}, {true, 1024, 768, false, false, false, "", false, "", ""}, ""},
        {{"--window=800x600", "--keep-aspect"}, {true, 800, 600, true, false, false, "", false, "", ""}, ""},
        {{"--mute", "--vsync", "--data", "pack"}, {false, 640, 480, false, true, true, "", false, "", ""}, "pack"},
        {{"--data=/opt/pack", "--capture", "a.mp4"},
         {false, 640, 480, false, false, false, "", false, "", ""},
         "/opt/pack"},
        {{"--timings", "frames.log"}, {false, 640, 480, false, false, false, "frames.log", false, "", ""}, ""},
        {{"--player", "--from", "pesants", "--to=1:02.5"},
         {false, 640, 480, false, false, false, "", true, "pesants", "1:02.5"},
         ""},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.arguments);
        ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed)) << std::get<OptionError>(parsed).message;
        const ShowOptions& options = std::get<ShowOptions>(parsed);
        const LiveOptions& live = options.live;
        const std::string what = c.arguments.empty() ? "no options" : c.arguments.front();
        EXPECT_EQ(live.window, c.live.window) << what;
        EXPECT_EQ(live.width, c.live.width) << what;
        EXPECT_EQ(live.height, c.live.height) << what;
        EXPECT_EQ(live.keepAspect, c.live.keepAspect) << what;
        EXPECT_EQ(live.mute, c.live.mute) << what;
        EXPECT_EQ(live.vsync, c.live.vsync) << what;
        EXPECT_EQ(live.timingsFile, c.live.timingsFile) << what;
        EXPECT_EQ(live.player, c.live.player) << what;
        EXPECT_EQ(live.from, c.live.from) << what;
        EXPECT_EQ(live.to, c.live.to) << what;
        EXPECT_EQ(options.dataDir, c.dataDir) << what;
        EXPECT_EQ(options.glutArguments, std::vector<std::string>{"marrowick"}) << what;
    }
}

TEST(ShowOptions, WithoutOptionsEverythingGoesToGlutAsBefore) {
    const auto parsed = parse({"-display", ":3", "-geometry", "640x480+0+0"});
    ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed));
    const ShowOptions& options = std::get<ShowOptions>(parsed);
    EXPECT_FALSE(options.capture);
    EXPECT_EQ(options.glutArguments,
              (std::vector<std::string>{"marrowick", "-display", ":3", "-geometry", "640x480+0+0"}));
    EXPECT_EQ(std::get<ShowOptions>(parse({"--capture", "a.mp4"})).captureOptions.width, 1280);
    // GLUT's own options begin with '-': after --window they are still GLUT's.
    const auto windowed = parse({"--window", "-geometry", "640x480+0+0"});
    ASSERT_TRUE(std::holds_alternative<ShowOptions>(windowed)) << std::get<OptionError>(windowed).message;
    EXPECT_EQ(std::get<ShowOptions>(windowed).glutArguments,
              (std::vector<std::string>{"marrowick", "-geometry", "640x480+0+0"}));
    EXPECT_EQ(std::get<ShowOptions>(windowed).live.width, 1024);
}

// The file's ending and --archive choose what the video holds; pairings the
// kinds do not have are refused on one line before anything is built.
TEST(ShowOptions, TheFileAndArchiveChooseTheKindOfVideo) {
    using C = CaptureOptions::Container;
    const struct {
        std::vector<std::string> arguments;
        bool accepted;
        C container;
        bool archive;
        const char* refusal;
    } cases[] = {
        {{"--capture", "a.mp4"}, true, C::Mp4, false, ""},
        {{"--capture", "a.webm"}, true, C::WebM, false, ""},
        {{"--capture", "a.webm", "--lossless"}, true, C::WebM, false, ""},
        {{"--capture", "a.mkv"}, true, C::Mkv, false, ""},
        {{"--archive", "--capture", "a.mkv"}, true, C::Mkv, true, ""},
        {{"--capture", "a.mkv", "--archive", "--supersample", "2", "--size", "3840x2160"}, true, C::Mkv, true, ""},
        {{"--capture", "a.mp4", "--archive"}, false, C::Mp4, false, "--archive needs a .mkv file, not \"a.mp4\""},
        {{"--capture", "a.webm", "--archive"}, false, C::Mp4, false, "--archive needs a .mkv file, not \"a.webm\""},
        {{"--capture", "a.mkv", "--archive", "--lossless"}, false, C::Mp4, false, "leave out --lossless"},
        {{"--capture", "a.mkv", "--supersample", "3", "--size", "7680x4320"},
         false,
         C::Mp4,
         false,
         "--supersample 3 at 7680x4320 would draw 23040x12960 pixels; the renderer draws at most 16384 a side"},
        {{"--capture", "a.mkv", "--supersample", "4", "--size", "4098x16"}, false, C::Mp4, false, "16392x64"},
        {{"--capture", "a.mkv", "--supersample", "4", "--size", "4096x4096"}, true, C::Mkv, false, ""},
        {{"--capture", "a.mkv", "--supersample", "2", "--size", "7680x4320"}, true, C::Mkv, false, ""},
        // A still: the one frame --from names, as drawn, so nothing about a
        // rate, a blend, a kind of video or an end, even at its default.
        {{"--capture", "a.png"}, true, C::Png, false, ""},
        {{"--capture", "a.png", "--from", "kubeShow", "--size", "320x240", "--supersample", "2", "--stretch"},
         true,
         C::Png,
         false,
         ""},
        {{"--capture", "a.png", "--fps", "60"}, false, C::Mp4, false, "--fps is for a video, not a still (\"a.png\")"},
        {{"--fps=30", "--capture", "a.png"}, false, C::Mp4, false, "--fps is for a video, not a still"},
        {{"--capture", "a.png", "--blend"}, false, C::Mp4, false, "--blend is for a video"},
        {{"--capture", "a.png", "--lossless"}, false, C::Mp4, false, "--lossless is for a video"},
        {{"--archive", "--capture", "a.png"}, false, C::Mp4, false, "--archive is for a video"},
        {{"--capture", "a.png", "--to", "scene3"}, false, C::Mp4, false, "--to is for a video"},
        {{"--capture", "a.png", "--supersample", "3", "--size", "7680x4320"}, false, C::Mp4, false, "23040x12960"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.arguments);
        const std::string what = c.arguments[1] + (c.arguments.size() > 2 ? " " + c.arguments[2] : "");
        if (!c.accepted) {
            ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << what;
            EXPECT_NE(std::get<OptionError>(parsed).message.find(c.refusal), std::string::npos)
                << std::get<OptionError>(parsed).message;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed))
            << what << ": " << std::get<OptionError>(parsed).message;
        const CaptureOptions& capture = std::get<ShowOptions>(parsed).captureOptions;
        EXPECT_EQ(capture.container, c.container) << what;
        EXPECT_EQ(capture.archive, c.archive) << what;
    }
}

TEST(ShowOptions, BadInputIsRefusedWithAMessageNamingIt) {
    const struct {
        std::vector<std::string> arguments;
        const char* mentions;
    } cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--capture"}, "--capture needs a value"},
        {{"--capture", "show.avi"}, ".mp4, .webm or .mkv"},
        {{"--capture", ".mp4"}, ".mp4, .webm or .mkv"},
        {{"--capture", ".webm"}, ".mp4, .webm or .mkv"},
        {{"--capture", ".png"}, "or .png (a still)"},
        {{"--capture", "still.PNG"}, "or .png (a still)"},
        {{"--capture", "a.mp4", "--size", "1280"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "1280x"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "8x8"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "-640x480"}, "WIDTHxHEIGHT"},
        {{"--capture", "a.mp4", "--size", "641x480"}, "even"},
        {{"--capture", "a.mp4", "--fps", "0"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "60.5"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "1001"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "99999999999"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "0/1"}, "--fps: expected frames per second as N or N/D"},
        {{"--capture", "a.mp4", "--fps", "60000/0"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "1/2"}, "--fps"},
        {{"--capture", "a.mp4", "--fps", "59.94"}, "not \"59.94\""},
        {{"--capture", "a.mp4", "--supersample", "5"}, "--supersample: expected a whole number from 1 to 4"},
        {{"--capture", "a.mp4", "--supersample", "0"}, "--supersample"},
        {{"--capture", "a.mp4", "--supersample", "2x"}, "--supersample"},
        {{"--capture", "a.mp4", "--blend=yes"}, "takes no value"},
        {{"--capture", "a.mp4", "--archive=1"}, "takes no value"},
        {{"--blend"}, "--blend needs --capture"},
        {{"--supersample", "2"}, "--supersample needs --capture"},
        {{"--archive"}, "--archive needs --capture"},
        {{"--capture", "a.mp4", "--from="}, "name of a cue or a time"},
        {{"--capture", "a.mp4", "--stretch=yes"}, "takes no value"},
        {{"--size", "640x480"}, "--size needs --capture"},
        {{"--lossless"}, "--lossless needs --capture"},
        {{"--capture", "a.mp4", "--player"}, "--player is for the show on screen"},
        {{"--window=800"}, "--window: expected WIDTHxHEIGHT"},
        {{"--window=800x"}, "--window: expected WIDTHxHEIGHT"},
        {{"--window="}, "--window: expected WIDTHxHEIGHT"},
        {{"--window=8x8"}, "--window: expected WIDTHxHEIGHT"},
        // The size as the next word would go to GLUT, and the window open at 1024x768.
        {{"--window", "800x600"}, "--window takes its value after '=': write --window=800x600"},
        {{"--window", "800x600", "--keep-aspect"}, "write --window=800x600"},
        {{"--window", "big\n"}, "write --window=big\\n"},
        {{"--data"}, "--data needs a value"},
        {{"--data="}, "--data: expected a folder"},
        {{"--timings="}, "--timings: expected a file name"},
        {{"--keep-aspect=yes"}, "takes no value"},
        {{"--mute=1"}, "takes no value"},
        {{"--vsync", "--capture", "a.mp4"}, "--vsync is for the show on screen"},
        {{"--capture", "a.mp4", "--window"}, "--window is for the show on screen"},
        // What the user typed is shown on the message's one line, control characters escaped.
        {{"--frob\nnicate"}, "unknown option --frob\\nnicate"},
        {{"--versio\x92\xfd\xff\xff\xff\xff\n"}, "unknown option --versio\x92\xfd\xff\xff\xff\xff\\n"},
        {{"--capture", "show\n.avi"}, "not \"show\\n.avi\""},
        {{"--capture", "a.mp4", "--size", "64\tx48"}, "not \"64\\tx48\""},
        {{"--capture", "a.mp4", "--fps", "\x1b[2J"}, "not \"\\x1b[2J\""},
        {{"--window=1\r\x7f"}, "not \"1\\x0d\\x7f\""},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.arguments);
        ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << c.arguments.front();
        EXPECT_NE(std::get<OptionError>(parsed).message.find(c.mentions), std::string::npos)
            << std::get<OptionError>(parsed).message;
    }
}

// Both sizes are held to the same bounds, each dimension to its own limit.
// --size refuses odd sides too, so a refusal must be for the bounds.
TEST(ShowOptions, SizesGoFrom16x16To7680x4320) {
    const struct {
        const char* size;
        bool accepted;
    } sizes[] = {
        {"7680x4320", true}, {"7681x4320", false}, {"7680x4321", false},
        {"16x16", true},     {"15x16", false},     {"16x15", false},
    };
    for (const std::string option : {"--size", "--window"}) {
        const bool window = option == "--window";
        for (const auto& s : sizes) {
            const std::string what = option + " " + s.size;
            const auto parsed = window ? parse({option + "=" + s.size}) : parse({"--capture", "a.mp4", option, s.size});
            if (!s.accepted) {
                ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << what;
                const std::string& message = std::get<OptionError>(parsed).message;
                EXPECT_EQ(message.rfind(option + ": expected WIDTHxHEIGHT from 16x16 to 7680x4320", 0), 0u) << message;
                continue;
            }
            ASSERT_TRUE(std::holds_alternative<ShowOptions>(parsed))
                << what << ": " << std::get<OptionError>(parsed).message;
            const ShowOptions& options = std::get<ShowOptions>(parsed);
            const int width = window ? options.live.width : options.captureOptions.width;
            const int height = window ? options.live.height : options.captureOptions.height;
            EXPECT_EQ(std::to_string(width) + "x" + std::to_string(height), s.size) << what;
        }
    }
}

// README's option table has a row for each option, written as --help writes
// it, saying which kind of run it is for.
TEST(ShowOptions, ReadmeListsTheOptionsOfTheTable) {
    const auto kindOfRun = [](OptionScope scope) {
        switch (scope) {
        case OptionScope::Any:
            return "any run";
        case OptionScope::LiveShow:
            return "the show on screen";
        case OptionScope::Capture:
            return "a capture";
        }
        return "";
    };
    std::vector<std::pair<std::string, std::string>> expected;
    for (const OptionRow& row : optionTable()) expected.emplace_back(optionSynopsis(row), kindOfRun(row.scope));

    // A row's cells without the code marks and the spaces around them; "\\|"
    // is a bar inside a cell.
    const auto cells = [](const std::string& line) {
        std::vector<std::string> cells;
        std::string cell;
        for (std::size_t i = 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
                cell += line[++i];
            } else if (line[i] == '|') {
                cell.erase(std::remove(cell.begin(), cell.end(), '`'), cell.end());
                cells.push_back(cell.substr(1, cell.size() - 2));
                cell.clear();
            } else {
                cell += line[i];
            }
        }
        return cells;
    };
    std::ifstream readme(MARROWICK_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme) << MARROWICK_SOURCE_DIR "/README.md";
    std::vector<std::pair<std::string, std::string>> listed;
    bool inOptions = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("## ", 0) == 0) inOptions = line == "## Options";
        if (!inOptions || line.rfind("| `--", 0) != 0) continue;
        const std::vector<std::string> row = cells(line);
        ASSERT_GE(row.size(), 2u) << line;
        listed.emplace_back(row[0], row[1]);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
}

// --help holds every option, every environment note and every exit status,
// each beginning a line, and no line wider than a terminal's 79 columns; the
// sound systems a PipeWire or PulseAudio user chooses between are named.
TEST(ShowOptions, HelpListsEveryOptionVariableAndExitStatusWithinSeventyNineColumns) {
    const std::string help = usageText("marrowick");
    std::vector<std::string> starts;
    for (const OptionRow& row : optionTable()) starts.push_back("  " + optionSynopsis(row) + " ");
    for (const UsageNote& note : environmentNotes()) starts.push_back("  " + std::string(note.name) + " ");
    for (const UsageNote& note : exitStatusNotes()) starts.push_back("  " + std::string(note.name) + " ");
    for (const char* name : {"SDL_AUDIODRIVER", "DISPLAY"}) starts.push_back("  " + std::string(name) + " ");
    for (const std::string& start : starts) {
        EXPECT_TRUE(help.find("\n" + start) != std::string::npos) << "no line begins \"" << start << "\"";
    }
    for (const char* word : {"pipewire", "pulseaudio", "alsa", "--help"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
    EXPECT_EQ(tryHelpLine("./marrowick"), "Try './marrowick --help' for more information.\n");
}
