// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QSettings>

#include "records/Regional.h"

// The date order and the separators the dates of the records follow: from the locale's short
// date and time formats, overridden by "iDate", "sDate" and "sTime" in the profile's "intl"
// section, the names under which the diary's users have always set them.
RegionalSettings RegionalFromLocale(const QLocale& locale, QSettings& profile);
