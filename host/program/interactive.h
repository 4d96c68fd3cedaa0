// The interactive weltor: an item list a person moves through with the arrow
// keys, the plug-in's hot keys on it, and the configuration form with its
// F-keys and typed workstation numbers. Linux terminals only.
//
// On the list: ↑ ↓ PgUp PgDn Home End move, F11 and Ctrl-F6 are the plug-in's
// hot keys (the list decides which is its own), Tab goes to the next item
// list, F3 chooses the current warehouse, F9 opens the configuration, Esc
// leaves. In the form: F2 … F10 pick the row's warehouse, digits type a
// workstation number, Tab and the arrows move between the workstations,
// F12 saves (OK), Esc cancels.
#pragma once

#include <string>

#include "session.h"

namespace weltor_program {

// False, with `error`, when there is no terminal to work on.
bool runInteractive(Session& session, std::string& error);

}  // namespace weltor_program
