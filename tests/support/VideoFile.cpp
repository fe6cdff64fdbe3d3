#include "VideoFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace capture {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
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

std::vector<Stream> probe(const std::string& file) {
    std::istringstream lines(
        commandOutput("ffprobe -v error -count_frames -show_entries "
                      "stream=codec_type,codec_name,pix_fmt,r_frame_rate,width,height,sample_rate,nb_read_frames,"
                      "start_time,duration:stream_tags=DURATION"
                      " -of default=noprint_wrappers=1 " +
                      shellQuoted(file)));
    std::vector<Stream> streams;
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "codec_name") streams.emplace_back().codec = value;
        if (streams.empty() || value == "N/A") continue;
        Stream& stream = streams.back();
        if (key == "codec_type") stream.type = value;
        if (key == "pix_fmt") stream.pixelFormat = value;
        if (key == "r_frame_rate") stream.rate = value;
        if (key == "sample_rate") stream.sampleRate = std::stoi(value);
        if (key == "width") stream.width = std::stoi(value);
        if (key == "height") stream.height = std::stoi(value);
        if (key == "nb_read_frames") stream.frames = std::stol(value);
        if (key == "duration") stream.seconds = std::stod(value);
        if (key == "start_time") stream.start = std::stod(value);
        // Matroska keeps where each stream ends as a tag, "H:MM:SS.fraction";
        // the stream lasts from its start (which WebM moves on by the sound's
        // codec delay) to there.
        if (key == "TAG:DURATION") {
            stream.seconds = std::stod(value.substr(0, value.find(':'))) * 3600 +
                             std::stod(value.substr(value.find(':') + 1, 2)) * 60 +
                             std::stod(value.substr(value.rfind(':') + 1)) - stream.start;
        }
    }
    streams.erase(std::remove_if(streams.begin(), streams.end(),
                                 [](const Stream& s) { return s.type != "video" && s.type != "audio"; }),
                  streams.end());
    return streams;
}

std::vector<ChapterMark> chapters(const std::string& file) {
    std::istringstream lines(
        commandOutput("ffprobe -v error -show_chapters -show_entries chapter=start_time:chapter_tags=title"
                      " -of default=noprint_wrappers=1 " +
                      shellQuoted(file)));
    std::vector<ChapterMark> marks;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("start_time=", 0) == 0) marks.push_back({"", std::stod(line.substr(11))});
        if (line.rfind("TAG:title=", 0) == 0 && !marks.empty()) marks.back().title = line.substr(10);
    }
    return marks;
}

std::string formatTag(const std::string& file, const std::string& key) {
    std::string value = commandOutput("ffprobe -v error -show_entries format_tags=" + key +
                                      " -of default=noprint_wrappers=1:nokey=1 " + shellQuoted(file));
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
}

std::vector<Picture> decodeFrames(const std::string& file, const std::vector<long>& indices) {
    const std::vector<Stream> streams = probe(file);
    const Stream& video = streams.at(0);
    std::string select;
    for (const long index : indices)
        select += (select.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(index) + ")";
    const std::string raw = commandOutput("ffmpeg -v error -i " + shellQuoted(file) + " -vf " +
                                          shellQuoted("select=" + select) + " -vsync 0 -f rawvideo -pix_fmt rgb24 -");
    const std::size_t size = static_cast<std::size_t>(video.width) * video.height * 3;
    std::vector<Picture> pictures;
    for (std::size_t at = 0; at + size <= raw.size(); at += size)
        pictures.emplace_back(raw.begin() + at, raw.begin() + at + size);
    return pictures;
}

std::vector<Picture> decodeAll(const std::string& file, const std::string& pixelFormat, int bytesPerPixel) {
    const Stream video = probe(file).at(0);
    const std::string raw = commandOutput("ffmpeg -v error -i " + shellQuoted(file) +
                                          " -map 0:v -vsync 0 -f rawvideo -pix_fmt " + pixelFormat + " -");
    const std::size_t size = static_cast<std::size_t>(video.width) * video.height * bytesPerPixel;
    std::vector<Picture> pictures;
    for (std::size_t at = 0; at + size <= raw.size(); at += size)
        pictures.emplace_back(raw.begin() + at, raw.begin() + at + size);
    return pictures;
}

long soundSamples(const std::string& file) {
    // One channel of 16-bit samples at the stream's own rate: two bytes a sample.
    return static_cast<long>(
        commandOutput("ffmpeg -v error -i " + shellQuoted(file) + " -map 0:a -ac 1 -f s16le -").size() / 2);
}

Picture scaledJpg(const std::string& file, int width, int height) {
    const std::string raw =
        commandOutput("ffmpeg -v error -i " + shellQuoted(file) + " -vf scale=" + std::to_string(width) + ":" +
                      std::to_string(height) + " -f rawvideo -pix_fmt rgb24 -");
    return Picture(raw.begin(), raw.end());
}

std::vector<std::string> frameHashes(const std::string& file) {
    std::istringstream lines(commandOutput("ffmpeg -v error -i " + shellQuoted(file) + " -map 0:v -f framemd5 -"));
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
