// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Freeing what a lesson no longer needs on a thread of its own. Undo steps
// of a whole lesson's entries take tens of milliseconds to free, which the
// thread of the window need not spend.
//
// What is handed over must be the caller's alone (shared objects in it are
// only released, through their atomic counts).

#include <memory>

namespace vocatrix {

void DisposeLater(std::shared_ptr<void> doomed);

// Waits until everything handed over so far is freed (tests, benchmarks).
void DisposeNow();

}  // namespace vocatrix
