// Fresh directories under the test temp directory, each one removed with all
// its files when its owner goes. mkdtemp names them, so tests that ctest runs
// side by side never share one.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace testsupport {

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = ::testing::TempDir() + "marrowick-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a directory from " << pattern;
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A scratch directory that is the working directory while it lives: the show
// opens its data files by bare name, so a test puts them here. The previous
// working directory comes back before the files go.
class WorkingDirectory : public ScratchDirectory {
public:
    WorkingDirectory() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(path()); }
    ~WorkingDirectory() { leave(); }

    void leave() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

}  // namespace testsupport
