#!/usr/bin/env bash
# Fails when module code includes a host header or host code includes a module header:
# the two sides may share only sdk/.
set -u
root=${1:-.}
cd "$root" || exit 2
bad=0
module_dirs=(frame export tags commands)
if grep -rnE '#include[[:space:]]*[<"](\.\./)*(host|app)/' "${module_dirs[@]}" 2>/dev/null; then
  echo "module code includes a host header" >&2; bad=1
fi
if grep -rnE '#include[[:space:]]*[<"](\.\./)*(frame|export|tags|commands)/' host app 2>/dev/null; then
  echo "host code includes a module header" >&2; bad=1
fi
[ $bad -eq 0 ] && echo "boundary ok"
exit $bad
