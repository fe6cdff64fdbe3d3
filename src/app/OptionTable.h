// Every option of the show, one row each. The parser, --help, the checks of
// options against the kind of run, the tests and the fuzzer all read this
// table, so an option is added by adding its row (and the function that
// applies its value).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/ShowOptions.h"

enum class OptionArgument {
    None,         // --mute
    Required,     // --size WxH or --size=WxH
    AfterEquals,  // --window or --window=WxH: a value only after '=', never the next argument
};

// The kind of run an option means something for. Giving a capture option
// without --capture, or a live-show option with it, is an error.
enum class OptionScope { Any, LiveShow, Capture };

// Applies an option to the options parsed so far. `value` is absent for an
// option without an argument, or whose value after '=' was left out. Returns
// why the value is refused, if it is; the parser puts the option's name
// before it.
using OptionEffect = std::optional<std::string> (*)(ShowOptions& options, const std::optional<std::string>& value);

struct OptionRow {
    std::string_view name;  // with its "--"
    OptionArgument argument;
    std::string_view placeholder;  // the argument as --help names it ("WxH", "FILE"); empty without one
    OptionScope scope;
    OptionEffect apply;
    std::string_view help;  // one paragraph, unwrapped
};

// The rows in the order --help lists them, except that it lists a capture's
// after all the others.
struct OptionTable {
    const OptionRow* rows;
    std::size_t size;
    const OptionRow* begin() const { return rows; }
    const OptionRow* end() const { return rows + size; }
};

const OptionTable& optionTable();

// The row of an option name ("--size", without any "=value"), if it is one.
const OptionRow* findOption(std::string_view name);

// The largest width or height a capture draws, supersampled or not: Mesa's
// largest viewport.
constexpr int kLargestDrawnSide = 16384;

// Why the options, each good alone, cannot go together (--archive with an
// .mp4), as one line for the user; nothing when they can.
std::optional<std::string> refusedCombination(const ShowOptions& options);

// How --help and the README write an option: "--mute", "--size WxH", "--window[=WxH]".
std::string optionSynopsis(const OptionRow& row);
