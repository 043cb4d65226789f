// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The icon of a message box the core asks the user interface to show.
enum class MessageIcon { None, Stop, Exclamation, Question, Information };
