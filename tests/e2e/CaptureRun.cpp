#include "CaptureRun.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace capture {
namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string commandOutput(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[1 << 16];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

}  // namespace

Result runShow(const std::vector<std::string>& arguments, const std::string& dataDir, const std::string& path) {
    const std::string base =
        (std::filesystem::temp_directory_path() / ("marrowick-capture-test-" + std::to_string(::getpid()))).string();
    std::string command = "cd " + quoted(dataDir) + " && ";
    if (!path.empty()) command += "PATH=" + quoted(path) + " ";
    // Its temporary files where the test can see that none is left behind.
    const std::string temporary = base + ".tmp";
    std::filesystem::create_directories(temporary);
    command += "TMPDIR=" + quoted(temporary) + " ";
    command += quoted(MARROWICK_SHOW_BINARY);
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    command += " >" + base + ".out 2>" + base + ".err";
    const int status = std::system(command.c_str());
    Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(base + ".out"), slurp(base + ".err")};
    result.leftBehind = !std::filesystem::is_empty(temporary);
    std::filesystem::remove_all(temporary);
    std::filesystem::remove(base + ".out");
    std::filesystem::remove(base + ".err");
    return result;
}

std::vector<Stream> probe(const std::string& file) {
    std::istringstream lines(
        commandOutput("ffprobe -v error -count_frames -show_entries "
                      "stream=codec_type,codec_name,width,height,nb_read_frames,duration:stream_tags=DURATION"
                      " -of default=noprint_wrappers=1 " +
                      quoted(file)));
    std::vector<Stream> streams;
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "codec_name") streams.emplace_back().codec = value;
        if (streams.empty() || value == "N/A") continue;
        Stream& stream = streams.back();
        if (key == "codec_type") stream.type = value;
        if (key == "width") stream.width = std::stoi(value);
        if (key == "height") stream.height = std::stoi(value);
        if (key == "nb_read_frames") stream.frames = std::stol(value);
        if (key == "duration") stream.seconds = std::stod(value);
        // Matroska keeps each stream's length as a tag, "H:MM:SS.fraction".
        if (key == "TAG:DURATION") {
            stream.seconds = std::stod(value.substr(0, value.find(':'))) * 3600 +
                             std::stod(value.substr(value.find(':') + 1, 2)) * 60 +
                             std::stod(value.substr(value.rfind(':') + 1));
        }
    }
    return streams;
}

std::vector<Picture> decodeFrames(const std::string& file, const std::vector<long>& indices) {
    const std::vector<Stream> streams = probe(file);
    const Stream& video = streams.at(0);
    std::string select;
    for (const long index : indices)
        select += (select.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(index) + ")";
    const std::string raw = commandOutput("ffmpeg -v error -i " + quoted(file) + " -vf " + quoted("select=" + select) +
                                          " -vsync 0 -f rawvideo -pix_fmt rgb24 -");
    const std::size_t size = static_cast<std::size_t>(video.width) * video.height * 3;
    std::vector<Picture> pictures;
    for (std::size_t at = 0; at + size <= raw.size(); at += size)
        pictures.emplace_back(raw.begin() + at, raw.begin() + at + size);
    return pictures;
}

Picture scaledJpg(const std::string& file, int width, int height) {
    const std::string raw = commandOutput("ffmpeg -v error -i " + quoted(file) + " -vf scale=" + std::to_string(width) +
                                          ":" + std::to_string(height) + " -f rawvideo -pix_fmt rgb24 -");
    return Picture(raw.begin(), raw.end());
}

std::vector<std::string> frameHashes(const std::string& file) {
    std::istringstream lines(commandOutput("ffmpeg -v error -i " + quoted(file) + " -map 0:v -f framemd5 -"));
    std::vector<std::string> hashes;
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != '#') hashes.push_back(line.substr(line.rfind(',') + 1));
    }
    return hashes;
}

double difference(const Picture& a, const Picture& b, int width, int x0, int y0, int x1, int y1) {
    const int height = static_cast<int>(a.size() / 3 / static_cast<std::size_t>(width));
    if (x1 <= x0 || y1 <= y0) {
        x0 = y0 = 0;
        x1 = width;
        y1 = height;
    }
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3 + c;
                sum += std::abs(int(a.at(i)) - int(b.at(i)));
            }
        }
    }
    return sum / (3.0 * (x1 - x0) * (y1 - y0));
}

}  // namespace capture
