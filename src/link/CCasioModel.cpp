// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CCasioModel.h"

#include <cstdio>

#include "records/Cp1250.h"
#include "settings/Profile.h"

namespace {
// The names of the types are listed into 20000 bytes, each followed by a zero byte, with a
// final zero; names beyond that are not looked at.
constexpr std::size_t kNameListBytes = 20000;
}  // namespace

std::string CCasioModel::ProfileText() const {
  char text[160];
  const auto& w = m_modeWidths;
  std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", m_screenWidth, m_maxSpeed,
                w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9]);
  return text;
}

bool CCasioModel::SetFromProfileText(const std::string& text) {
  int v[12];
  if (std::sscanf(text.c_str(), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3],
                  &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11]) != 12)
    return false;
  m_screenWidth = v[0] >= 16 && v[0] <= 50 ? v[0] : 16;
  m_maxSpeed = v[1] == 9600 || v[1] == 4800 || v[1] == 2400 || v[1] == 1200 ? v[1] : 1200;
  for (int m = 0; m < 10; ++m) {
    const int width = v[2 + m];
    m_modeWidths[m] = width == 0 || (width >= 16 && width <= 50) ? width : 16;
  }
  return true;
}

int LoadModels(const Profile& profile, ModelList& models) {
  std::size_t used = 1;  // the final zero
  for (const std::string& name : profile.valueNames(kModelSection)) {
    if (used + name.size() + 1 > kNameListBytes) break;
    used += name.size() + 1;
    std::string text;
    if (!profile.readString(kModelSection, name, text)) continue;
    auto model = std::make_unique<CCasioModel>();
    if (!model->SetFromProfileText(text)) continue;
    model->m_name = name;
    models.push_back(std::move(model));
  }
  return static_cast<int>(models.size());
}

void FreeModels(ModelList& models) { models.clear(); }

CCasioModel ChooseCurrentModel(const Profile& profile, const std::string& typeSetting) {
  ModelList models;
  LoadModels(profile, models);
  if (models.empty()) return CCasioModel();
  CCasioModel current = *models.front();
  if (!typeSetting.empty()) {
    const std::string wanted = UpperCp1250(typeSetting);
    for (const auto& model : models) {
      if (UpperCp1250(model->m_name) == wanted) {
        current = *model;
        break;
      }
    }
  }
  FreeModels(models);
  return current;
}

bool SaveModels(Profile& profile, const ModelList& models) {
  if (!profile.deleteSection(kModelSection)) return false;
  bool ok = true;
  for (const auto& model : models)
    ok = profile.writeString(kModelSection, model->m_name, model->ProfileText()) && ok;
  return ok;
}
