#include "vxtags/convert_suggestion.h"

#include <cstring>

namespace vxtags {
namespace {

constexpr char PLAIN_BYTES[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._+-:@";

struct ShellRules {
  const char* extraPlain;  // beside PLAIN_BYTES, bytes that need no quoting
  const char* separators;  // what ends a folder in a path
  const char* here;        // the current folder, to put before a leading dash
};

// cmd.exe splits its own commands on ',' and '=', so those are quoted there;
// on Windows a name also ends a drive ("C:name.def").
constexpr ShellRules POSIX_RULES = {"/,=", "/", "./"};
constexpr ShellRules CMD_RULES = {"\\/", "\\/:", ".\\"};

const ShellRules& RulesOf(Shell shell) { return shell == Shell::Cmd ? CMD_RULES : POSIX_RULES; }

bool IsPlain(const std::string& path, const ShellRules& rules) {
  for (char c : path) {
    if (c == '\0' || (std::strchr(PLAIN_BYTES, c) == nullptr && std::strchr(rules.extraPlain, c) == nullptr))
      return false;
  }
  return !path.empty();
}

// Single quotes take everything literally but themselves.
std::string PosixQuoted(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Double quotes keep cmd.exe's operators (& | < > ^ and spaces) literal; the
// program's argument parser then reads backslashes before a quote as escapes,
// so those are doubled (a Windows name holds no quote, but an argument may).
std::string CmdQuoted(const std::string& path) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : path) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

}  // namespace

std::string ShellWord(const std::string& path, Shell shell) {
  const ShellRules& rules = RulesOf(shell);
  if (!path.empty() && path[0] == '-' && path != "-") return ShellWord(rules.here + path, shell);
  if (IsPlain(path, rules)) return path;
  return shell == Shell::Cmd ? CmdQuoted(path) : PosixQuoted(path);
}

std::string ConvertedName(const std::string& path, Shell shell) {
  constexpr const char SOURCE_SUFFIX[] = ".utf8";
  const std::size_t suffix = std::strlen(SOURCE_SUFFIX);
  const std::size_t separator = path.find_last_of(RulesOf(shell).separators);
  const std::size_t name = separator == std::string::npos ? 0 : separator + 1;
  if (path.size() > name + suffix && path.compare(path.size() - suffix, suffix, SOURCE_SUFFIX) == 0)
    return path.substr(0, path.size() - suffix);
  const std::size_t dot = path.rfind('.');
  const std::size_t stem = dot == std::string::npos || dot <= name ? path.size() : dot;
  return path.substr(0, stem) + ".cp932" + path.substr(stem);
}

std::string ConvertCommand(const std::string& input, bool regularFile, Shell shell) {
  const bool named = regularFile && input != "-";
  const std::string output = named ? ConvertedName(input, shell) : "NAME.def";
  return "vxtags convert " + ShellWord(input, shell) + " " + ShellWord(output, shell);
}

}  // namespace vxtags
