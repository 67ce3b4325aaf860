#include "palette/command_line.h"

namespace vxpalette {
namespace {

struct NamedModifier {
  const char16_t* name;
  unsigned bit;
};

// In the order HotkeyText writes them; the first name of a bit is its written one.
static constexpr NamedModifier MODIFIERS[] = {
    {u"ctrl",    HOTKEY_CONTROL},
    {u"control", HOTKEY_CONTROL},
    {u"alt",     HOTKEY_ALT},
    {u"shift",   HOTKEY_SHIFT},
    {u"win",     HOTKEY_WIN},
};
static constexpr const char16_t* MODIFIER_TEXTS[] = {u"Ctrl+", u"Alt+", u"Shift+", u"Win+"};
static constexpr unsigned MODIFIER_ORDER[] = {HOTKEY_CONTROL, HOTKEY_ALT, HOTKEY_SHIFT, HOTKEY_WIN};

struct NamedMethod {
  const char16_t* name;
  InsertMethod method;
};

static constexpr NamedMethod METHODS[] = {
    {u"auto",      InsertMethod::Auto},
    {u"message",   InsertMethod::Message},
    {u"keys",      InsertMethod::Keys},
    {u"clipboard", InsertMethod::Clipboard},
};

constexpr unsigned KEY_SPACE = 0x20;  // VK_SPACE
constexpr unsigned KEY_F1 = 0x70;     // VK_F1
constexpr unsigned FUNCTION_KEYS = 24;

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

// The virtual-key code of a key's name, or 0.
unsigned KeyCode(const std::u16string& name) {
  if (name.size() == 1 && name[0] >= u'a' && name[0] <= u'z') return name[0] - u'a' + 'A';
  if (name.size() == 1 && name[0] >= u'0' && name[0] <= u'9') return name[0];
  if (name == u"space") return KEY_SPACE;
  if (name.size() >= 2 && name.size() <= 3 && name[0] == u'f') {
    unsigned number = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
      if (name[i] < u'0' || name[i] > u'9') return 0;
      number = number * 10 + (name[i] - u'0');
    }
    if (number >= 1 && number <= FUNCTION_KEYS && name[1] != u'0') return KEY_F1 + number - 1;
  }
  return 0;
}

std::u16string KeyName(unsigned key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::u16string(1, static_cast<char16_t>(key));
  if (key == KEY_SPACE) return u"Space";
  if (key >= KEY_F1 && key < KEY_F1 + FUNCTION_KEYS) {
    const unsigned number = key - KEY_F1 + 1;
    std::u16string name = u"F";
    if (number >= 10) name += static_cast<char16_t>(u'0' + number / 10);
    name += static_cast<char16_t>(u'0' + number % 10);
    return name;
  }
  return std::u16string();
}

}  // namespace

bool ParseHotkey(const std::u16string& text, Hotkey& hotkey) {
  const std::u16string lower = Lower(text);
  Hotkey parsed;
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = lower.find(u'+', start);
    const std::u16string part = lower.substr(start, plus == std::u16string::npos ? plus : plus - start);
    if (plus == std::u16string::npos) {
      parsed.key = KeyCode(part);
      break;
    }
    unsigned bit = 0;
    for (const NamedModifier& modifier : MODIFIERS) {
      if (part == modifier.name) bit = modifier.bit;
    }
    if (bit == 0 || (parsed.modifiers & bit)) return false;
    parsed.modifiers |= bit;
    start = plus + 1;
  }
  if (parsed.key == 0 || !(parsed.modifiers & (HOTKEY_CONTROL | HOTKEY_ALT | HOTKEY_WIN))) return false;
  hotkey = parsed;
  return true;
}

std::u16string HotkeyText(const Hotkey& hotkey) {
  std::u16string text;
  for (std::size_t i = 0; i < sizeof MODIFIER_ORDER / sizeof MODIFIER_ORDER[0]; ++i) {
    if (hotkey.modifiers & MODIFIER_ORDER[i]) text += MODIFIER_TEXTS[i];
  }
  return text + KeyName(hotkey.key);
}

bool ParseMethod(const std::u16string& text, InsertMethod& method) {
  for (const NamedMethod& row : METHODS) {
    if (Lower(text) == row.name) {
      method = row.method;
      return true;
    }
  }
  return false;
}

const char16_t* MethodName(InsertMethod method) {
  for (const NamedMethod& row : METHODS) {
    if (row.method == method) return row.name;
  }
  return METHODS[0].name;
}

bool ParseCommandLine(const std::vector<std::u16string>& arguments, CommandLine& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == u"--help" || argument == u"-h" || argument == u"/?") {
      options.help = true;
    } else if (argument == u"--definition" && hasValue && options.definitionPath.empty() && !arguments[i + 1].empty()) {
      options.definitionPath = arguments[++i];
    } else if (argument == u"--method" && hasValue && !options.methodGiven) {
      if (!ParseMethod(arguments[++i], options.method)) return false;
      options.methodGiven = true;
    } else if (argument == u"--hotkey" && hasValue && !options.hotkeyGiven) {
      if (!ParseHotkey(arguments[++i], options.hotkey)) return false;
      options.hotkeyGiven = true;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace vxpalette
