// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

class CDuxelDoc;
namespace CLI {
class App;
}

// The exit statuses of every command.
inline constexpr int kExitDone = 0;           // done as asked
inline constexpr int kExitFailed = 1;         // failed; the message on standard error says why
inline constexpr int kExitUsage = 2;          // the command line was wrong
inline constexpr int kExitDiaryAborted = 3;   // receive, capture: the diary broke off with "!"

// The "Exit status" paragraph of a command's --help; `extra` adds lines of its own.
std::string ExitStatusHelp(const std::string& extra = {});
// Gives every command of `app` that has no help footer yet the general exit statuses.
void AddExitStatusHelp(CLI::App& app);

// Writes "duxel-cli: LINE" to standard error and returns the failure exit code 1.
int Fail(const std::string& line);
// Writes "duxel-cli: LINE" to standard error.
void Warn(const std::string& line);
// Loads a document, answering its password question with `password` (UTF-8). On failure
// `error` holds the one line to show.
bool LoadDocument(const std::string& path, const std::optional<std::string>& password,
                  CDuxelDoc& doc, std::string& error);
