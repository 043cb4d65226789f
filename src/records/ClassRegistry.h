// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

struct CRuntimeClass;

// The classes that may appear in a stream by name: every record, list and CCasTime.
// Returns null for a name no class has.
const CRuntimeClass* FindSerialClass(const std::string& name);
