#pragma once

#include "cli/cli_options.h"

#include <span>
#include <string_view>

namespace kurvant::cli {

/// Every verb of kurvant-cli, in the order `kurvant-cli --help` lists them.
std::span<const TVerb> Verbs();

/// The verb called `name`, or none.
const TVerb* FindVerb(std::string_view name);

} // namespace kurvant::cli
