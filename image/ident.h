// Identity record: five blank-padded 8-character texts every module carries as constant data.
#pragma once

struct Identity {
  char tag[9];
  char date[9];
  char author[9];
  char platform[9];
  char kind[9];
};
