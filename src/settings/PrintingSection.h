// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/AppSettings.h"

class Profile;

// Reads section "Printing" of the profile: "FontName", "CharSet", "FontSize", "Bold",
// "Italic", "PrintCaption", "PrintEmptyEntries", "AllowBreak" and the margins "Left",
// "Right", "Top", "Bottom" (centimetres, read as decimal numbers with a full stop). Missing
// or unreadable values, and margins outside 0..10, take their defaults. The record selection
// is not stored and keeps its default (all records).
PrintSettings LoadPrintSettings(const Profile& profile);
