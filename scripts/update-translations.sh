#!/bin/bash
# Extracts every text the application shows into its strings tables, keeping
# the translations already made: resources/strings_en.ts (the English source,
# which also spells out the tab titles' keys) and resources/strings_de.ts.
# Run after changing a text, then translate what lupdate marks unfinished.
# Other tables to update may be named as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
tables=("$@")
[ ${#tables[@]} -gt 0 ] || tables=(resources/strings_en.ts resources/strings_de.ts)
"$lupdate" -silent -I . -no-obsolete -locations none \
  app screens imaging resources/PictureScreen.ui -ts "${tables[@]}"
