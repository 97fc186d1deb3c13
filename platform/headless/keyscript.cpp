// The key script: parsing and the per-poll answer.
#include "platform/headless/keyscript.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

char key_from_name(const std::string& name) {
  if (name == "esc") return 27;
  if (name == "space") return ' ';
  if (name.size() == 1 && name[0] > 32 && name[0] < 127) return name[0];
  return 0;
}

}  // namespace

bool keyscript_parse(KeyScript* script, const std::string& list, std::string* error) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(start, comma - start);
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos || colon == 0) {
      *error = "bad key \"" + item + "\" (want INDEX:NAME)";
      return false;
    }
    const std::string index = item.substr(0, colon);
    errno = 0;
    char* end = nullptr;
    const long long at = std::strtoll(index.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || at < 0 || at > 2147483647LL) {
      *error = "bad value for --keys: \"" + index + "\"";
      return false;
    }
    const char key = key_from_name(item.substr(colon + 1));
    if (!key) {
      *error = "unknown key name \"" + item.substr(colon + 1) + "\"";
      return false;
    }
    script->keys.push_back({long(at), key});
    start = comma + 1;
  }
  std::stable_sort(script->keys.begin(), script->keys.end(),
                   [](const ScriptKey& a, const ScriptKey& b) { return a.index < b.index; });
  return true;
}

char keyscript_poll(KeyScript* script, long presents) {
  const long current = presents - 1;
  const bool pausing = presents == script->presents_at_last_poll;
  script->presents_at_last_poll = presents;
  if (script->next < script->keys.size() && (script->keys[script->next].index <= current || pausing)) {
    return script->keys[script->next++].key;
  }
  return pausing ? 'p' : 0;
}
