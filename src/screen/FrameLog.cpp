#include "screen/FrameLog.h"

#include <chrono>
#include <stdexcept>

FrameLog::FrameLog(const std::string& path) : file(std::fopen(path.c_str(), "w")) {
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    std::setvbuf(file, nullptr, _IOLBF, 0);
    std::fputs("# frame section swap-us show-ms cue (swap-us: wall clock, microseconds since 1970)\n", file);
}

FrameLog::~FrameLog() { std::fclose(file); }

void FrameLog::frameShown(std::int32_t section, std::uint64_t showMs, const std::string& cue) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::fprintf(file, "%llu %d %lld %llu %s\n", static_cast<unsigned long long>(frames++), section,
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
                 static_cast<unsigned long long>(showMs), cue.empty() ? "-" : cue.c_str());
}
