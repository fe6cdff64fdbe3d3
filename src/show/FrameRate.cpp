#include "show/FrameRate.h"

#include <charconv>
#include <numeric>

namespace {

std::optional<std::uint64_t> term(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value == 0 || value > FrameRate::kLargestTerm) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<FrameRate> FrameRate::parse(const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::optional<std::uint64_t> frames = term(text.substr(0, slash));
    const std::optional<std::uint64_t> seconds = slash == std::string::npos ? 1 : term(text.substr(slash + 1));
    if (!frames || !seconds) return std::nullopt;
    if (*frames < kSlowest * *seconds || *frames > kFastest * *seconds) return std::nullopt;
    const std::uint64_t common = std::gcd(*frames, *seconds);
    return FrameRate{*frames / common, *seconds / common};
}

std::string FrameRate::text() const {
    return seconds == 1 ? std::to_string(frames) : std::to_string(frames) + "/" + std::to_string(seconds);
}
