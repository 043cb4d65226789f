// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

class CDuxelDoc;

// Writes "duxel-cli: LINE" to standard error and returns the failure exit code 1.
int Fail(const std::string& line);
// Writes "duxel-cli: LINE" to standard error.
void Warn(const std::string& line);
// Loads a document, answering its password question with `password` (UTF-8). On failure
// `error` holds the one line to show.
bool LoadDocument(const std::string& path, const std::optional<std::string>& password,
                  CDuxelDoc& doc, std::string& error);
