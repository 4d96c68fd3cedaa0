#!/usr/bin/env bash
# A person at the keyboard of the interactive weltor, played through tmux:
# the item list, F11 and its window, a list that keeps F11 for itself, the
# configuration form with its picker and a typed workstation, F12, Esc.
# Usage: weltor_at_the_keyboard.sh WELTOR SAMPLE_DIR WORK_DIR
set -uo pipefail
weltor=$1 sample=$2 work=$3
command -v tmux >/dev/null || { echo "tmux is not installed"; exit 77; }

data="$work/keyboard-data"
rm -rf "$data" && mkdir -p "$data" && cp -R "$sample/." "$data/"
server="weltor-test-$$"
tmux=(tmux -L "$server" -f /dev/null)
trap '"${tmux[@]}" kill-server 2>/dev/null; rm -rf "$data"' EXIT
"${tmux[@]}" new-session -d -s keyboard -x 100 -y 30 "$weltor --data '$data'; echo weltor left with \$?; sleep 30"

screen() { "${tmux[@]}" capture-pane -p -t keyboard; }
# Waits up to five seconds for the text on the screen.
expect() {
  for _ in $(seq 50); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  echo "the screen does not show: $1"
  screen
  exit 1
}
press() {
  for key in "$@"; do
    "${tmux[@]}" send-keys -t keyboard "$key"
    sleep 0.1
  done
}

# Activation: the installation notice over the item list of warehouse 0.
expect "Zainstalowano wtyczkę do programu:"
press Enter
expect "│▸1     Towar próbny nr 00001"
press Down Down Down Down Down Down Down
expect "│▸8     Towar próbny nr 00008"

# F11 on list 147: the plug-in's window with the other warehouses' stock.
press F11
expect "Stany na innych magazynach"
expect "│ Łódź Bałuty 01              79.596 mb │"
press Escape
expect "F11 on list 147: the plug-in took the key (answer -2)"

# List 742 keeps F11 for itself; Ctrl-F6 is the plug-in's key there.
press Tab Tab
expect "item list 742"
press F11
expect "F11 on list 742: the list got the key (answer 0)"

# The configuration: F4 picks warehouse 2 for the third row, 7 is typed
# into its first workstation, F12 saves.
press F9
expect "Ustaw stanowiska dla magazynów"
press F4
expect "│    2  Kraków Podgórze 02"
press Down Down Enter
expect "║  F4  Mag.  Kraków Podgórze ·    ▸······0 ······0 ······0        ║"
press 4 2
expect "║  F4  Mag.  Kraków Podgórze ·    ▸·····42 ······0 ······0        ║"
press BSpace 7 Tab
expect "║  F4  Mag.  Kraków Podgórze ·     ·····47▸······0 ······0        ║"
press F12
expect "Configuration saved (F12)."

# Esc leaves; the options file holds what the form saved.
press Escape
expect "weltor left with 0"
options=$("$weltor" options "$data/Kamoria.dat") || { echo "weltor options failed"; exit 1; }
grep -qF "│  3  F4   Kraków Podgórze            47           0           0          2 │" <<<"$options" || {
  echo "the saved options are not what the form showed:"
  echo "$options"
  exit 1
}
