#pragma once

#include <QKeySequence>

#include "framework/Resources.h"

/// The key sequence of an accelerator: its virtual key with Ctrl, Shift and Alt as its flags
/// say. An empty sequence for a key that has no Qt counterpart.
QKeySequence KeySequenceOf(const Accelerator& accelerator);
