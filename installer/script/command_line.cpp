#include "installer/script/command_line.h"

#include "base/cp1250.h"

namespace ostravel {

bool ParamExists(const std::vector<std::string>& params, const std::string& text) {
  const std::string wanted = UpperCase(text);
  for (const auto& p : params)
    if (UpperCase(p) == wanted) return true;
  return false;
}

int ParamIndexOf(const std::vector<std::string>& params, const std::string& text) {
  const std::string wanted = UpperCase(text);
  for (size_t i = 0; i < params.size(); ++i)
    if (UpperCase(params[i].substr(0, wanted.size())) == wanted) return int(i) + 1;
  return 0;
}

bool IsLogSwitch(const std::string& param) {
  const std::string head = LowerCase(param.substr(0, 5));
  return head == "/log" || head == "/log=";
}

namespace {

void ReadLogSwitch(const std::vector<std::string>& params, Switches& s) {
  for (const auto& p : params) {
    if (!IsLogSwitch(p)) continue;
    s.log = true;
    std::string path = p.size() > 5 ? p.substr(5) : "";
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    s.logPath = path;
    return;
  }
}

}  // namespace

Switches ReadSwitches(const std::vector<std::string>& params) {
  Switches s;
  ReadLogSwitch(params, s);
  s.uninstall = ParamExists(params, "/u") || ParamExists(params, "-u");
  s.silent = ParamExists(params, "/silent") || ParamExists(params, "-silent");
  s.admin = ParamExists(params, "/a") || ParamExists(params, "-a");
  s.debugInfo = ParamExists(params, "/debuginfo");
  s.devel = ParamExists(params, "/devel");
  if (!s.silent) return s;
  s.noIcon = ParamExists(params, "/noicon") || ParamExists(params, "-noicon");
  int y = ParamIndexOf(params, "/y");
  if (y == 0) y = ParamIndexOf(params, "-y");
  if (y > 0) s.year = params[size_t(y - 1)].substr(2, 4);
  int d = ParamIndexOf(params, "/d");
  if (d == 0) d = ParamIndexOf(params, "-d");
  if (d > 0) {
    const std::string& p = params[size_t(d - 1)];
    // "/devel" begins with "/d" but is never a drive switch.
    if (p.size() > 2 && LowerCase(p.substr(1, 5)) != "devel") s.driveLetter = UpperCaseChar(p[2]);
  }
  return s;
}

}  // namespace ostravel
