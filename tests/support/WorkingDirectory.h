// A fresh directory that is the working directory while it lives: the show
// opens its data files by bare name, so a test puts them here. The previous
// working directory comes back and the files go when it is destroyed.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace testsupport {

class WorkingDirectory {
public:
    WorkingDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = ::testing::TempDir() + "marrowick-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a directory from " << pattern;
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~WorkingDirectory() {
        leave();
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // Back to the previous working directory before the files go.
    void leave() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace testsupport
