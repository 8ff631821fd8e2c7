#!/usr/bin/env bash
# Checks the sources' #include lines against the tree's layers and prints every line that crosses
# them; fails when there is one.
#   - platform/ includes only platform/;
#   - the libraries (shaping, sqdb, dbutil, textview) include no program;
#   - a program (inputmethod, notes) includes no other program;
#   - a toolkit's headers appear only in its backend's folder, and a backend's headers only in its
#     own facility, in other backends and in a program's app/ folder, where backends are installed.
# Usage: scripts/check-includes.sh [ROOT]   (the tree at ROOT, by default this one)
#        scripts/check-includes.sh --self-test
set -euo pipefail

check() {
  cd "$1"
  local folders=()
  for folder in platform shaping sqdb dbutil textview inputmethod notes; do
    [ -d "$folder" ] && folders+=("$folder")
  done
  grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' --include='*.h' --include='*.cpp' \
    --include='*.c' "${folders[@]}" | awk '
    function layer(path) {
      if (path ~ /^platform\//) return "platform"
      if (path ~ /^(shaping|sqdb|dbutil|textview)\//) return "library"
      if (path ~ /^(inputmethod|notes)\//) return "program " substr(path, 1, index(path, "/") - 1)
      return ""
    }
    function under(path, folders,   n, i, list) {
      n = split(folders, list, " ")
      for (i = 1; i <= n; i++) if (index(path, list[i] "/") == 1) return 1
      return 0
    }
    function facility(path,   part) { split(path, part, "/"); return part[1] "/" part[2] }
    function report(why) { print file ":" line ": " why ": " text; bad++ }
    BEGIN {
      backends = "platform/ui/gtk platform/web/webkit platform/web/poppler platform/imk/ibus " \
                 "platform/notify/libnotify platform/graphics/pango platform/graphics/cairo"
      toolkit["^(gtk|gdk|X11)/"] = "platform/ui/gtk platform/web/webkit"
      toolkit["^(webkit2|JavaScriptCore|jsc)/"] = "platform/web/webkit"
      toolkit["^ibus\\.h$"] = "platform/imk/ibus"
      toolkit["^libnotify/"] = "platform/notify/libnotify"
      toolkit["^(pango|cairo)"] = "platform/graphics"
      toolkit["^poppler"] = "platform/web/poppler"
    }
    {
      file = $0; sub(/:.*/, "", file)
      line = substr($0, length(file) + 2); sub(/:.*/, "", line)
      text = substr($0, length(file) + length(line) + 3)
      if (match(text, /"[^"]+"/)) {
        target = substr(text, RSTART + 1, RLENGTH - 2)
        from = layer(file); to = layer(target)
        if (to == "") next
        if (from == "platform" && to != "platform") report("platform/ includes above itself")
        else if (from == "library" && to ~ /^program/) report("a library includes a program")
        else if (from ~ /^program/ && to ~ /^program/ && from != to) report("a program includes another")
        else if (under(target, backends) && !under(file, backends) && file !~ /(^|\/)app\// &&
                 facility(file) != facility(target)) report("a backend header outside its facility")
      } else if (match(text, /<[^>]+>/)) {
        target = substr(text, RSTART + 1, RLENGTH - 2)
        for (pattern in toolkit)
          if (target ~ pattern && !under(file, toolkit[pattern])) report("a toolkit header outside its backend")
      }
    }
    END { exit bad > 0 }'
}

self_test() {
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  mkdir -p "$tree"/{platform/ui/gtk,platform/graphics,notes/UI/app,inputmethod,textview}
  printf '#include <gtk/gtk.h>\n#include "platform/ui/View.h"\n' >"$tree/platform/ui/gtk/Host.cpp"
  printf '#include <pango/pango.h>\n' >"$tree/platform/graphics/TextLine.cpp"
  printf '#include "platform/ui/gtk/Host.h"\n#include "notes/UI/App.h"\n' >"$tree/notes/UI/app/main.cpp"
  printf '#include "textview/TXTextView.h"\n#include <vector>\n' >"$tree/inputmethod/Controller.cpp"
  (check "$tree") || { echo "self-test: a sound tree was refused"; return 1; }
  printf '#include "notes/store/NoteObject.h"\n' >"$tree/inputmethod/Crossing.cpp"
  printf '#include <gtk/gtk.h>\n#include "platform/ui/gtk/Host.h"\n' >"$tree/notes/UI/Toolkit.cpp"
  printf '#include "textview/TXTextView.h"\n' >"$tree/platform/ui/Upward.cpp"
  printf '#include "inputmethod/Controller.h"\n#include <cairo.h>\n' >"$tree/textview/Upward.cpp"
  local found
  found=$( (check "$tree" || true) | wc -l)
  [ "$found" -eq 6 ] || { echo "self-test: $found of 6 crossing lines found"; return 1; }
  echo "self-test passed"
}

if [ "${1:-}" = --self-test ]; then
  self_test
else
  check "${1:-$(dirname "$0")/..}"
fi
