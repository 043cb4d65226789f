// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

class CDuxelDoc;

// The JSON form of a document that `duxel-cli dump` prints and `build` reads. Texts are
// UTF-8 in JSON and Windows-1250 in the document.
nlohmann::ordered_json DocumentToJson(const CDuxelDoc& doc);

// Appends the records of `json` to the document's lists in the order given, as loading a
// file does. Throws std::runtime_error naming the offending member on bad input.
void AppendJsonToDocument(const nlohmann::json& json, CDuxelDoc& doc);
