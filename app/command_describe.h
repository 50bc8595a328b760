// `describe`: a tag's attribute panel, with edits made as the application's panel makes them.
#pragma once

#include <CLI/CLI.hpp>

namespace app {

/// `describe DOCUMENT --object PATH --tag NAME|ID [--set KEY=VALUE ...] [-o SAVED.json]`.
void addDescribeCommand(CLI::App& cli);

} // namespace app
