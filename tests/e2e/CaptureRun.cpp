#include "CaptureRun.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace capture {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

Result runShow(const std::vector<std::string>& arguments, const std::string& dataDir, const std::string& path) {
    const std::string base =
        (std::filesystem::temp_directory_path() / ("marrowick-capture-test-" + std::to_string(::getpid()))).string();
    std::string command = "cd " + shellQuoted(dataDir) + " && ";
    if (!path.empty()) command += "PATH=" + shellQuoted(path) + " ";
    // Its temporary files where the test can see that none is left behind.
    const std::string temporary = base + ".tmp";
    std::filesystem::create_directories(temporary);
    command += "TMPDIR=" + shellQuoted(temporary) + " ";
    command += shellQuoted(MARROWICK_SHOW_BINARY);
    for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
    command += " >" + base + ".out 2>" + base + ".err";
    const int status = std::system(command.c_str());
    Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(base + ".out"), slurp(base + ".err")};
    result.leftBehind = !std::filesystem::is_empty(temporary);
    std::filesystem::remove_all(temporary);
    std::filesystem::remove(base + ".out");
    std::filesystem::remove(base + ".err");
    return result;
}

}  // namespace capture
