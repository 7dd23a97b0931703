#!/bin/bash
# The strings tables hold every text the sources show, and the German one
# translates each of them: extracted afresh, nothing may be new, unfinished
# or left empty.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/resources"
cp "$source_dir"/resources/strings_{en,de}.ts "$work/resources/"
(cd "$source_dir" && scripts/update-translations.sh "$work/resources/strings_en.ts" \
  "$work/resources/strings_de.ts")
status=0
for table in en de; do
  if ! cmp -s "$source_dir/resources/strings_$table.ts" "$work/resources/strings_$table.ts"; then
    echo "resources/strings_$table.ts does not match the sources: run scripts/update-translations.sh"
    diff "$source_dir/resources/strings_$table.ts" "$work/resources/strings_$table.ts" | head -20
    status=1
  fi
done
untranslated=$(grep -c -E 'type="unfinished"|<translation></translation>|<translation/>' \
  "$work/resources/strings_de.ts" || true)
if [ "$untranslated" != 0 ]; then
  echo "resources/strings_de.ts leaves $untranslated texts untranslated"
  status=1
fi
exit $status
