#!/usr/bin/env bash
# Installs what is missing, builds, exports the example document examples/scene.json with the
# built lumeno-host to out/scene.xml with its preview out/scene.png (also kept as the README's
# picture docs/demo-preview.png), prints the export's summary (what the scene holds, what was left out
# and why), lists the files the export wrote with their sizes, and prints the
# scene file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# The demo needs the module folders and lumeno-host only, not the test suites.
"$root/scripts/build.sh" demo -DLUMENO_TESTS=OFF

host="$root/build/demo/bin/lumeno-host"
out="$root/out"
mkdir -p "$out"
# The scene file and the mesh files beside it share its name; clear those of an earlier run.
rm -f "$out"/scene.xml "$out"/scene.xml.* "$out"/scene.png

# The demo keeps its preferences in the build folder, away from the user's own.
"$host" export "$root/examples/scene.json" -o "$out/scene.xml" --prefs "$root/build/demo/prefs.json" \
  --preview "$out/scene.png"
cp "$out/scene.png" "$root/docs/demo-preview.png"

echo "Files written:"
for file in "$out"/scene.xml "$out"/scene.xml.* "$out"/scene.png; do
  if [ -e "$file" ]; then
    printf '  %10d bytes  %s\n' "$(stat -c %s "$file")" "${file#"$root"/}"
  fi
done
echo
echo "out/scene.xml:"
cat "$out/scene.xml"
echo
