// SPDX-License-Identifier: GPL-3.0-or-later
// "apply shared": the saved shared lighting written to every connected device (or to one).
#pragma once

#include "cli/CliContext.h"

namespace varnix::cli {

int runApplyShared(CliContext& context, const CommandArguments& arguments);

} // namespace varnix::cli
