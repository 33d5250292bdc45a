#pragma once
// Checks of a setup script against the script model: unknown sections and keys,
// numbered lists whose entries and Count disagree, update rules outside 0..3,
// targets that do not start at a path variable or climb with "..", source names
// used twice, components without files. Every finding names its line.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "installer/script/ext_ini_file.h"

namespace ostravel::media {

struct Finding {
  int line = 0;      // 1-based; 0 when the finding concerns no single line
  std::string text;  // CP1250
};

struct LintOptions {
  // Sections left out of every check (the medium template's own declarations).
  std::function<bool(const std::string& section)> skipSection;
};

// `text` is the plain script (CP1250).
std::vector<Finding> LintScript(const std::string& text, const LintOptions& options = {});

// Why a file target would not land where meant ("does not begin with a path
// variable", "climbs with \"..\""), or empty. `userVariables` are upper-cased names.
std::string TargetProblem(const std::string& target, const std::set<std::string>& userVariables);
// The [Variables] names of a script, upper-cased with their dollar signs.
std::set<std::string> UserVariableNames(const TExtIniFile& ini);

// The plain text of a script file's content: de-scrambled unless some line is
// exactly "[Configuration]", as the launcher decides; a text that does not
// de-scramble into a script is taken as plain.
std::string PlainScriptText(const std::string& content);

// Lines sorted, one "PATH:LINE: text" per finding (UTF-8 for the terminal).
std::string FormatFindings(const std::string& path, std::vector<Finding> findings);

}  // namespace ostravel::media
