// KEYSCRIPT: the recorder's keyboard, a list of keys each tied to a present index. A key is
// returned by the poll of the frame whose present index it names (or the first poll after it).
// While paused no frame is presented, so the recorder's time stands still: each poll of a pause
// delivers the next scripted key at once, whatever its index, and when the script has none left
// the pause ends as if P had been pressed.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct ScriptKey {
  long index;   // present index whose frame's key poll returns the key
  char key;
};

struct KeyScript {
  std::vector<ScriptKey> keys;     // sorted by index, stable
  std::size_t next = 0;            // first key not delivered yet
  long presents_at_last_poll = -1;
};

// Parses "400:space,900:m,1200:esc" into `script`; false with a one-line reason in `error`.
// Names: esc, space, or any single printable character.
bool keyscript_parse(KeyScript* script, const std::string& text, std::string* error);
// The key for a poll made after `presents` presents (0: none).
char keyscript_poll(KeyScript* script, long presents);
