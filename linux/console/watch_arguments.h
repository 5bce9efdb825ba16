#pragma once

#include "run_watch.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// A run's watch as arguments, so that it crosses the exec from the console's starter to its
// window stage and the start is taken where it happens:
//   STARTED-STEADY-NS STARTED-SYSTEM-NS BEFORE HEADER FOLDER [ARGUMENT...]
// where BEFORE is "-" for no file, or MODIFIED-NS:SIZE, and HEADER is "-" for none, or
// FAULT:CHECKSUM for what the .aas header said.
std::vector<std::string> watchArguments(const RunWatch& watch);
// Nothing when the list breaks that form.
std::optional<RunWatch> watchFromArguments(std::span<const std::string> list);
