// The show's files include each other in layers: a unit (a header and its
// source, named alike) never reaches itself again through what it includes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Graph = std::map<std::string, std::set<std::string>>;

// "render/Picture" for src/render/Picture.h and src/render/Picture.cpp.
std::string unitOf(const fs::path& file, const fs::path& root) {
    return fs::relative(file, root).replace_extension().generic_string();
}

Graph includesUnder(const fs::path& root) {
    Graph graph;
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& file = entry.path();
        if (file.extension() != ".h" && file.extension() != ".cpp") continue;
        const std::string unit = unitOf(file, root);
        std::ifstream in(file);
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, include) || !fs::exists(root / match[1].str())) continue;
            const std::string target = unitOf(root / match[1].str(), root);
            if (target != unit) graph[unit].insert(target);
        }
    }
    return graph;
}

// A path of units from `from` back to itself, or empty when there is none.
std::vector<std::string> cycleThrough(const Graph& graph, const std::string& from) {
    std::vector<std::vector<std::string>> paths{{from}};
    std::set<std::string> seen;
    while (!paths.empty()) {
        const std::vector<std::string> path = paths.back();
        paths.pop_back();
        const auto next = graph.find(path.back());
        if (next == graph.end()) continue;
        for (const std::string& target : next->second) {
            std::vector<std::string> longer = path;
            longer.push_back(target);
            if (target == from) return longer;
            if (seen.insert(target).second) paths.push_back(longer);
        }
    }
    return {};
}

}  // namespace

TEST(IncludeGraph, NoUnitOfTheShowIncludesItselfAgain) {
    const Graph graph = includesUnder(fs::path(MARROWICK_SOURCE_DIR) / "src");
    ASSERT_GT(graph.size(), 30u);  // the tree was found and read
    for (const auto& [unit, targets] : graph) {
        std::string shown;
        for (const std::string& step : cycleThrough(graph, unit)) shown += step + " -> ";
        EXPECT_TRUE(shown.empty()) << shown;
    }
}

namespace {

// The show's folders from the top down: the entry point, the front ends, the
// show, its scenes, what they are made of, and the services beneath. A file
// includes from its own folder and from rows below its own, never from a row
// above or from another folder of its row (front ends never include each
// other).
const std::vector<std::vector<std::string>> kLayers = {
    {"app"},
    {"screen", "capture", "web"},
    {"show"},
    {"scenes"},
    {"model", "effects", "text"},
    {"render", "music"},
    {"audio", "platform"},
};

int rowOf(const std::string& folder) {
    for (std::size_t row = 0; row < kLayers.size(); ++row) {
        for (const std::string& name : kLayers[row]) {
            if (name == folder) return static_cast<int>(row);
        }
    }
    return -1;
}

}  // namespace

TEST(IncludeGraph, NoFolderIncludesOneAboveItOrBesideIt) {
    const fs::path root = fs::path(MARROWICK_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s*"([a-z0-9]+)/[^"]+\")");
    int filesRead = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& file = entry.path();
        if (file.extension() != ".h" && file.extension() != ".cpp") continue;
        const std::string folder = fs::relative(file, root).begin()->string();
        const int row = rowOf(folder);
        EXPECT_GE(row, 0) << folder << " has no row in the layers: give it one";
        ++filesRead;
        std::ifstream in(file);
        std::smatch match;
        int lineNumber = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNumber;
            if (!std::regex_search(line, match, include)) continue;
            const std::string target = match[1].str();
            if (target == folder || !fs::is_directory(root / target)) continue;
            EXPECT_GT(rowOf(target), row) << fs::relative(file, root).generic_string() << ":" << lineNumber
                                          << " includes " << target << "/, which is not below " << folder << "/";
        }
    }
    EXPECT_GT(filesRead, 100);
}
