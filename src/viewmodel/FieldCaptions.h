// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

struct AppSettings;

// The field captions of a mode's view and printout (Windows-1250), each followed by ": ".
// Telephone and BusinessCards append the user's names of their six free fields.
std::vector<std::string> FieldCaptions(int mode, const AppSettings& settings);
