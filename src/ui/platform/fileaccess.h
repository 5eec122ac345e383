// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File attributes the editor checks before writing. The read-only test and
// its message are the core's (base/safesave.h), so that vocatrix-cli refuses
// the same files in the same words.

#include "base/safesave.h"

namespace vocatrix::ui {

using vocatrix::FileIsReadOnly;
using vocatrix::ReadOnlyMessage;

}  // namespace vocatrix::ui
