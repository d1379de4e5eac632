#pragma once

// The usage texts, generated from the verb table that the parser reads.

#include "cli/cli_options.h"

#include <span>
#include <string>

namespace kurvant::cli {

/// `kurvant-cli --help`: how to call the program and every verb with its description.
std::string ProgramUsage(std::span<const TVerb> verbs);

/// `kurvant-cli VERB --help`: the verb's synopsis, description and every option.
std::string VerbUsage(const TVerb& verb);

} // namespace kurvant::cli
